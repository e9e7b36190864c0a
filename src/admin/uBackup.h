#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "数据备份" and "数据恢复": a path box with its file dialog and one command each.
class TfrmBackup : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBackup(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    QLineEdit *edPath = nullptr;
    QPushButton *btnBrowse = nullptr;
    QPushButton *btnRun = nullptr;
    QPushButton *btnCancel = nullptr;

    // "备份": the log entry, the question, then the copies; false when nothing was made.
    bool backup();

protected:
    // Both windows share the look; the restore window passes its own texts.
    TfrmBackup(QWidget *parent, const char *objectName, const char *title, const char *label, const char *command);
    virtual void browse();
    virtual bool run();
};
