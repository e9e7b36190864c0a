#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>

// A real SMTP server for the tests: Python's aiosmtpd on 127.0.0.1, started per test
// and stopped by its process id. Each delivered message comes back decoded as JSON.
class SmtpTestServer
{
public:
    struct Options
    {
        QString auth = QStringLiteral("none");  // none, login (LOGIN and PLAIN), plain (PLAIN only)
        QString tls = QStringLiteral("none");   // none, starttls (required before AUTH), implicit
        QString certFile;
        QString keyFile;
    };
    explicit SmtpTestServer(const Options &options);
    ~SmtpTestServer();

    bool isRunning() const { return m_port > 0; }
    int port() const { return m_port; }
    // The messages delivered so far (reads what the server has printed).
    QList<QJsonObject> messages();

private:
    void read();
    std::unique_ptr<QProcess> m_process;
    QByteArray m_out;
    int m_port = 0;
    QList<QJsonObject> m_messages;
};

// A scripted stand-in on QTcpServer for servers that misbehave: each line received is
// answered by `reply` (empty: no answer); `greeting` is sent on connecting.
class ScriptedServer : public QTcpServer
{
public:
    explicit ScriptedServer(QByteArray greeting, std::function<QByteArray(const QByteArray &line, QTcpSocket *)> reply = {});
    int port() const { return serverPort(); }
    QStringList received;

private:
    QByteArray m_greeting;
    std::function<QByteArray(const QByteArray &, QTcpSocket *)> m_reply;
};

// Makes a self-signed certificate for 127.0.0.1 with the openssl command.
bool makeCertificate(const QString &certFile, const QString &keyFile);
