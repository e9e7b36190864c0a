#pragma once

#include <QDialog>
#include <QStringList>

class MailMessage;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;
class SmtpClient;

// The SMTP host names the server dialog offers.
extern const char *const MailHosts[6];

// "邮件内容": subject, CC, BCC, text and attachments of the message; created empty each time.
class TfrmMailMemo : public QDialog
{
    Q_OBJECT

public:
    TfrmMailMemo(MailMessage &message, QStringList &attachments, QWidget *parent = nullptr);
    static int execute(MailMessage &message, QStringList &attachments, QWidget *parent);

    QLineEdit *edSubject = nullptr;
    QLineEdit *edCc = nullptr;
    QLineEdit *edBcc = nullptr;
    QTextEdit *memContent = nullptr;
    QListWidget *lstAttach = nullptr;
    QPushButton *btnAttach = nullptr, *btnImport = nullptr, *btnSave = nullptr, *btnOk = nullptr, *btnCancel = nullptr;

    void addAttachment();
    void importText();
    void saveText();
    // "确定": the checks, then the message takes the dialog's contents; false when refused.
    bool apply();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MailMessage &m_message;
    QStringList &m_attachments;
};

// "服务器设置": connects the window's SMTP client and logs in; the settings are kept nowhere.
class TfrmMailServer : public QDialog
{
    Q_OBJECT

public:
    TfrmMailServer(SmtpClient &smtp, MailMessage &message, QWidget *parent = nullptr);
    static int execute(SmtpClient &smtp, MailMessage &message, QWidget *parent);

    QComboBox *cbHost = nullptr;
    QLineEdit *edPort = nullptr;
    QLineEdit *edSender = nullptr;
    QLineEdit *edUser = nullptr;
    QLineEdit *edPassword = nullptr;
    QPushButton *btnConnect = nullptr, *btnDisconnect = nullptr, *btnClose = nullptr;
    QLabel *lblStatus = nullptr;
    QStringList statusHistory;  // every status shown, in order

    // "连接": the checks, then the connection is started; the status follows it.
    void connectServer();
    void disconnectServer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setStatus(const QString &text);
    void authenticate();

    SmtpClient &m_smtp;
    MailMessage &m_message;
};
