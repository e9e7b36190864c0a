#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "口令设置": the logged-in user changes his own password.
class TfrmPassword : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPassword(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    QLineEdit *edOld = nullptr;
    QLineEdit *edNew = nullptr;
    QLineEdit *edConfirm = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnCancel = nullptr;

    // "保存": the checks in order, then the new hash stored; false when a check stopped it.
    bool save();

protected:
    void showEvent(QShowEvent *event) override;
};
