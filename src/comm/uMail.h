#pragma once

#include "MailMessage.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class DbGrid;
class QAction;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolBar;
class QWidget;
class SmtpClient;
class TfrmMain;

// "邮件群发": one composed e-mail sent to each address of the pending list, one send per
// address, over one SMTP connection; the failed addresses are collected with their reasons.
class TfrmMail : public QObject
{
    Q_OBJECT

public:
    explicit TfrmMail(TfrmMain *main = nullptr);
    ~TfrmMail() override;

    QWidget *PnMain = nullptr;

    // What Act_Mail does after the main window has logged it and shown the panel.
    void open();

    QAction *Act_Send = nullptr;
    QAction *Act_Memo = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_MailTool = nullptr;
    QAction *Act_Close = nullptr;
    QAction *Act_Server = nullptr;
    DbGrid *grdLinkmans = nullptr;
    QPushButton *btnAdd = nullptr, *btnAddAll = nullptr, *btnRemove = nullptr, *btnRemoveAll = nullptr;
    QListWidget *lstPending = nullptr;
    QListWidget *lstFailed = nullptr;
    QLabel *lblProgress = nullptr;
    QProgressBar *barProgress = nullptr;
    QPushButton *btnCancel = nullptr;

    SmtpClient *smtp() const { return m_smtp; }
    MailMessage &message() { return m_message; }
    QStringList &attachmentPaths() { return m_attachments; }
    bool isSending() const { return m_sending; }

    void addCurrent(bool move);
    void addAll();
    void removeSelected();
    void send();
    void cancelBatch();
    void mailTool();

    // The failed entries' addresses, in order.
    QStringList failedAddresses() const;

private:
    void sendNext();
    void failEntry(const QString &entry, const QString &reason);
    void endBatch();
    void setBusy(bool busy);
    void showMemo();
    void showServer();

    TfrmMain *m_main;
    QPointer<QWidget> m_panel;
    SmtpClient *m_smtp;
    MailMessage m_message;
    QStringList m_attachments;
    QList<MailMessage::Attachment> m_loaded;
    QStringList m_batch;
    int m_next = 0;
    bool m_sending = false;
};

extern TfrmMail *frmMail;
