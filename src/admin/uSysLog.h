#pragma once

#include <QDialog>

class DbGrid;
class QPushButton;

// "系统日志": the entries of tblLog, saved to an INI file or cleared.
class TfrmSysLog : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSysLog(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    DbGrid *grid() const { return m_grid; }
    QPushButton *btnSave = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnClose = nullptr;

    // "保存日志": the log entry, the file dialog, then every entry into the chosen file.
    void saveLog();
    // "清空日志": the log entry, then every entry deleted (that one too).
    void clearLog();

    // Writes every row of tblLog into the INI file at `path` (section "LogFile").
    static void writeIni(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;

private:
    DbGrid *m_grid = nullptr;
};
