#include "SmtpClient.h"

#include "MailMessage.h"

#include <QSslConfiguration>
#include <QSslSocket>

namespace {
QString replyText(int code, const QString &text)
{
    return QString::number(code) + u' ' + text;
}
}  // namespace

SmtpClient::SmtpClient(QObject *parent) : QObject(parent), m_socket(new QSslSocket(this))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { abortWith(timeoutText()); });
    connect(m_socket, &QSslSocket::readyRead, this, &SmtpClient::readReplies);
    // A long message counts its reply time from when the last bytes left, not from the write.
    connect(m_socket, &QSslSocket::bytesWritten, this, [this] {
        if (m_timer.isActive())
            m_timer.start(m_replyMs);
    });
    connect(m_socket, &QSslSocket::encryptedBytesWritten, this, [this] {
        if (m_timer.isActive())
            m_timer.start(m_replyMs);
    });
    connect(m_socket, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList reasons;
        for (const QSslError &e : errors)
            reasons << e.errorString();
        m_sslReason = reasons.join(QStringLiteral("; "));
    });
    connect(m_socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (!m_done && !m_ready)
            return;
        if (error == QAbstractSocket::RemoteHostClosedError) {
            m_ready = false;  // the socket may still say connected while it reports the close
            fail(lostText());
            return;
        }
        abortWith(m_sslReason.isEmpty() ? m_socket->errorString() : m_sslReason);
    });
    connect(m_socket, &QSslSocket::disconnected, this, [this] {
        m_ready = false;
        if (m_done)
            fail(lostText());
    });
}

SmtpClient::~SmtpClient()
{
    m_done = nullptr;
    m_socket->abort();
}

QString SmtpClient::lostText()
{
    return QStringLiteral("连接已断开");
}

QString SmtpClient::timeoutText()
{
    return QStringLiteral("超时");
}

void SmtpClient::setTimeouts(int connectMs, int replyMs)
{
    m_connectMs = connectMs;
    m_replyMs = replyMs;
}

void SmtpClient::setExtraCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_extraCas = certificates;
}

bool SmtpClient::isConnected() const
{
    return m_ready && m_socket->state() == QAbstractSocket::ConnectedState;
}

void SmtpClient::connectToServer(const QString &host, int port, Done done)
{
    disconnectFromServer();
    m_socket->abort();
    disconnect(m_onConnected);
    disconnect(m_onEncrypted);
    m_done = std::move(done);
    m_host = host;
    m_auth.clear();
    m_tlsOffered = false;
    m_sslReason.clear();
    m_buffer.clear();
    m_lines.clear();
    m_onReply = nullptr;
    if (port < 1 || port > 65535) {
        fail(QStringLiteral("端口号无效"));
        return;
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    if (!m_extraCas.isEmpty())
        config.addCaCertificates(m_extraCas);
    m_socket->setSslConfiguration(config);
    m_socket->setPeerVerifyName(host);
    // The greeting starts the dialogue; it comes after the TLS handshake on port 465.
    expect([this](int code, const QString &text) {
        if (code != 220) {
            abortWith(replyText(code, text));
            return;
        }
        ehlo();
    });
    m_timer.start(m_connectMs);
    if (port == m_implicitTlsPort)
        m_socket->connectToHostEncrypted(host, quint16(port));
    else
        m_socket->connectToHost(host, quint16(port));
    m_onConnected = connect(m_socket, &QSslSocket::connected, this, [this] {
        disconnect(m_onConnected);
        m_timer.start(m_replyMs);
    });
}

void SmtpClient::ehlo()
{
    command("EHLO localhost", [this](int code, const QString &text) {
        if (code == 250) {
            parseExtensions(text);
            if (m_tlsOffered && !m_socket->isEncrypted()) {
                command("STARTTLS", [this](int code, const QString &text) {
                    if (code != 220) {
                        abortWith(replyText(code, text));
                        return;
                    }
                    m_onEncrypted = connect(m_socket, &QSslSocket::encrypted, this, [this] {
                        disconnect(m_onEncrypted);
                        ehlo();
                    });
                    m_timer.start(m_replyMs);
                    m_socket->startClientEncryption();
                });
                return;
            }
            m_ready = true;
            finish({});
            return;
        }
        command("HELO localhost", [this](int code, const QString &text) {
            if (code != 250) {
                abortWith(replyText(code, text));
                return;
            }
            m_ready = true;
            finish({});
        });
    });
}

void SmtpClient::parseExtensions(const QString &text)
{
    m_auth.clear();
    m_tlsOffered = false;
    for (const QString &line : text.split(u'\n')) {
        const QString upper = line.trimmed().toUpper();
        if (upper == u"STARTTLS")
            m_tlsOffered = true;
        else if (upper.startsWith(u"AUTH ") || upper.startsWith(u"AUTH="))
            for (const QString &m : upper.mid(5).split(u' ', Qt::SkipEmptyParts))
                if (!m_auth.contains(m))
                    m_auth << m;
    }
}

void SmtpClient::authenticate(const QString &user, const QString &password, Done done)
{
    m_done = std::move(done);
    if (!isConnected()) {
        fail(lostText());
        return;
    }
    const auto accepted = [this](int code, const QString &text) { finish(code == 235 ? QString() : replyText(code, text)); };
    if (m_auth.contains(u"LOGIN") || !m_auth.contains(u"PLAIN")) {
        const QByteArray u = user.toUtf8().toBase64(), p = password.toUtf8().toBase64();
        command("AUTH LOGIN", [this, u, p, accepted](int code, const QString &text) {
            if (code != 334)
                return finish(replyText(code, text));
            command(u, [this, p, accepted](int code, const QString &text) {
                if (code != 334)
                    return finish(replyText(code, text));
                command(p, accepted);
            });
        });
    } else {
        const QByteArray token = (QByteArray(1, '\0') + user.toUtf8() + QByteArray(1, '\0') + password.toUtf8()).toBase64();
        command("AUTH PLAIN " + token, accepted);
    }
}

void SmtpClient::send(const QString &from, const QStringList &recipients, const QByteArray &message, Done done)
{
    m_done = std::move(done);
    if (!isConnected()) {
        fail(lostText());
        return;
    }
    // A named list: `QStringList(recipients) << from` would hand the loop a reference into
    // a temporary that is gone before the first pass.
    const QStringList addresses = QStringList(recipients) << from;
    for (const QString &a : addresses)
        if (!MailAddress::isValid(a))
            return finish(QStringLiteral("不是有效的邮件地址"));
    m_recipients = recipients;
    m_message = message;
    command("MAIL FROM:<" + from.toLatin1() + '>', [this](int code, const QString &text) {
        if (code != 250) {
            command("RSET", [this, code, text](int, const QString &) { finish(replyText(code, text)); });
            return;
        }
        nextRecipient();
    });
}

void SmtpClient::nextRecipient()
{
    if (m_recipients.isEmpty()) {
        command("DATA", [this](int code, const QString &text) {
            if (code != 354) {
                command("RSET", [this, code, text](int, const QString &) { finish(replyText(code, text)); });
                return;
            }
            m_socket->write(MailMessage::dotStuffed(m_message));
            command(".", [this](int code, const QString &text) {
                finish(code == 250 ? QString() : replyText(code, text));
            });
        });
        return;
    }
    const QString to = m_recipients.takeFirst();
    command("RCPT TO:<" + to.toLatin1() + '>', [this, to](int code, const QString &text) {
        if (code != 250 && code != 251) {
            const QString reason = to + QStringLiteral(" 被拒绝：") + replyText(code, text);
            command("RSET", [this, reason](int, const QString &) { finish(reason); });
            return;
        }
        nextRecipient();
    });
}

void SmtpClient::disconnectFromServer()
{
    m_done = nullptr;
    m_onReply = nullptr;
    m_timer.stop();
    const bool wasReady = isConnected();
    m_ready = false;
    if (wasReady) {
        m_socket->write("QUIT\r\n");
        m_socket->disconnectFromHost();  // sends what is written, then closes
    } else {
        m_socket->abort();
    }
}

void SmtpClient::command(const QByteArray &line, Reply onReply)
{
    expect(std::move(onReply));
    m_socket->write(line + "\r\n");
    m_timer.start(m_replyMs);
}

void SmtpClient::expect(Reply onReply)
{
    m_onReply = std::move(onReply);
}

void SmtpClient::readReplies()
{
    m_buffer += m_socket->readAll();
    qsizetype end;
    while ((end = m_buffer.indexOf("\r\n")) >= 0) {
        const QString line = QString::fromUtf8(m_buffer.left(end));
        m_buffer.remove(0, end + 2);
        bool ok = false;
        const int code = line.left(3).toInt(&ok);
        if (!ok || line.size() < 3 || (line.size() > 3 && line.at(3) != u' ' && line.at(3) != u'-')) {
            abortWith(QStringLiteral("服务器应答无效：") + line.left(80));
            return;
        }
        m_lines << line.mid(4);
        if (line.size() > 3 && line.at(3) == u'-')
            continue;
        const QString text = m_lines.join(u'\n');
        m_lines.clear();
        m_timer.stop();
        Reply handler = std::move(m_onReply);
        m_onReply = nullptr;
        if (handler)
            handler(code, text);
    }
    if (m_buffer.size() > 65536) {
        abortWith(QStringLiteral("服务器应答无效"));
    }
}

void SmtpClient::abortWith(const QString &reason)
{
    // The socket goes first, so its own signals find nothing left to report.
    Done done = std::move(m_done);
    m_done = nullptr;
    m_onReply = nullptr;
    m_timer.stop();
    m_ready = false;
    m_socket->abort();
    if (done)
        done(reason);
}

void SmtpClient::fail(const QString &reason)
{
    m_timer.stop();
    m_onReply = nullptr;
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        m_ready = false;
    finish(reason);
}

void SmtpClient::finish(const QString &reason)
{
    m_timer.stop();
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(reason);
}
