#pragma once

#include <QDialog>

class DbEdit;
class QPushButton;

// "用户登记信息": the agency's own particulars, the one row of tblUserInfo, which the
// envelopes print as sender.
class TfrmUserInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmUserInfo(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    DbEdit *edUserName = nullptr;
    DbEdit *edAddress = nullptr;
    DbEdit *edTelephone = nullptr;
    DbEdit *edFax = nullptr;
    DbEdit *edHomePage = nullptr;
    DbEdit *edEmail = nullptr;
    DbEdit *edPostCode = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnClose = nullptr;

    // "保存": the checks in order, then the row posted; false when a check stopped it.
    bool save();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
};
