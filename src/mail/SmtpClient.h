#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QSslSocket;

// An SMTP client driven by the socket's signals: every operation returns at once and
// reports through its callback (an empty reason means success). No waits, no nested loop.
class SmtpClient : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(const QString &reason)>;

    explicit SmtpClient(QObject *parent = nullptr);
    ~SmtpClient() override;

    void setTimeouts(int connectMs, int replyMs);
    // The port that speaks TLS from the first byte (465 unless a test says otherwise).
    void setImplicitTlsPort(int port) { m_implicitTlsPort = port; }
    // Certificates trusted besides the system's (a test's own server).
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates);

    // Greeting, EHLO (HELO when refused), STARTTLS when offered; implicit TLS on port 465.
    void connectToServer(const QString &host, int port, Done done);
    // LOGIN when announced, else PLAIN.
    void authenticate(const QString &user, const QString &password, Done done);
    // One transaction; a refused recipient resets it and names the address.
    void send(const QString &from, const QStringList &recipients, const QByteArray &message, Done done);
    // QUIT when connected, then the socket closes; a pending operation is dropped.
    void disconnectFromServer();

    bool isConnected() const;
    bool isBusy() const { return bool(m_done); }
    QStringList authMechanisms() const { return m_auth; }
    QString host() const { return m_host; }

    // Reasons reported for a lost connection and a timeout.
    static QString lostText();
    static QString timeoutText();

private:
    using Reply = std::function<void(int code, const QString &text)>;
    void command(const QByteArray &line, Reply onReply);
    void expect(Reply onReply);
    void readReplies();
    void fail(const QString &reason);
    void abortWith(const QString &reason);
    void finish(const QString &reason);
    void ehlo();
    void parseExtensions(const QString &text);
    void nextRecipient();

    QSslSocket *m_socket;
    QTimer m_timer;
    int m_connectMs = 30000;
    int m_replyMs = 60000;
    int m_implicitTlsPort = 465;
    QList<QSslCertificate> m_extraCas;
    QByteArray m_buffer;
    QStringList m_lines;  // the lines of a multi-line reply so far
    Reply m_onReply;
    Done m_done;
    bool m_ready = false;
    bool m_tlsOffered = false;
    QStringList m_auth;
    QString m_host;
    QString m_sslReason;
    QMetaObject::Connection m_onConnected, m_onEncrypted;
    // the transaction in progress
    QStringList m_recipients;
    QByteArray m_message;
};
