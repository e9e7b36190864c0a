#include "SmtpTestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>

namespace {

const char *Script = R"PY(
import sys, json, ssl, socket, email, email.policy, email.utils
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

cfg = json.loads(sys.argv[1])

def out(obj):
    sys.stdout.write(json.dumps(obj) + "\n")
    sys.stdout.flush()

class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if 'refuse' in address:
            return '550 5.1.1 mailbox unavailable'
        if 'drop' in address:
            server.transport.close()
            return '250 OK'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        if any('later' in r for r in envelope.rcpt_tos):
            return '451 4.3.0 try again later'
        msg = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        body = ''
        attachments = []
        for part in msg.walk():
            if part.is_multipart():
                continue
            if part.get_filename():
                attachments.append({'name': part.get_filename(), 'hex': part.get_content().hex()})
            elif part.get_content_type() == 'text/plain':
                body = part.get_content()
        try:
            email.utils.parsedate_to_datetime(msg['Date'])
            date_ok = True
        except Exception:
            date_ok = False
        out({'from': envelope.mail_from, 'rcpts': envelope.rcpt_tos, 'to': str(msg['To']),
             'cc': str(msg['Cc'] or ''), 'hasBcc': 'Bcc' in msg, 'subject': str(msg['Subject']),
             'body': body, 'attachments': attachments, 'dateOk': date_ok,
             'messageId': str(msg['Message-ID'] or '')})
        return '250 OK'

def authenticator(server, session, envelope, mechanism, data):
    ok = isinstance(data, LoginPassword) and data.login == b'user' and data.password == b'secret'
    return AuthResult(success=ok, handled=False)

context = None
if cfg['tls'] != 'none':
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cfg['cert'], cfg['key'])

s = socket.socket(); s.bind(('127.0.0.1', 0)); port = s.getsockname()[1]; s.close()
kwargs = {}
if cfg['auth'] != 'none':
    kwargs['authenticator'] = authenticator
    kwargs['auth_require_tls'] = cfg['tls'] == 'starttls'
    if cfg['auth'] == 'plain':
        kwargs['auth_exclude_mechanism'] = ['LOGIN']
if cfg['tls'] == 'starttls':
    kwargs['tls_context'] = context
    kwargs['require_starttls'] = True
    controller = Controller(Handler(), hostname='127.0.0.1', port=port, **kwargs)
elif cfg['tls'] == 'implicit':
    controller = Controller(Handler(), hostname='127.0.0.1', port=port, ssl_context=context,
                            server_hostname='127.0.0.1', **kwargs)
else:
    controller = Controller(Handler(), hostname='127.0.0.1', port=port, **kwargs)
controller.start()
out({'port': port})
sys.stdin.read()
controller.stop()
)PY";

}  // namespace

SmtpTestServer::SmtpTestServer(const Options &options) : m_process(std::make_unique<QProcess>())
{
    QJsonObject cfg{{QStringLiteral("auth"), options.auth},
                    {QStringLiteral("tls"), options.tls},
                    {QStringLiteral("cert"), options.certFile},
                    {QStringLiteral("key"), options.keyFile}};
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromUtf8(Script),
                      QString::fromUtf8(QJsonDocument(cfg).toJson(QJsonDocument::Compact))});
    if (!m_process->waitForStarted(10000))
        return;
    QDeadlineTimer deadline(15000);
    while (m_port == 0 && !deadline.hasExpired() && m_process->state() == QProcess::Running) {
        m_process->waitForReadyRead(200);
        read();
    }
}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();  // by its own process id
        m_process->waitForFinished(5000);
    }
}

void SmtpTestServer::read()
{
    m_out += m_process->readAllStandardOutput();
    qsizetype end;
    while ((end = m_out.indexOf('\n')) >= 0) {
        const QJsonObject o = QJsonDocument::fromJson(m_out.left(end)).object();
        m_out.remove(0, end + 1);
        if (o.contains(QStringLiteral("port")))
            m_port = o.value(QStringLiteral("port")).toInt();
        else
            m_messages << o;
    }
}

QList<QJsonObject> SmtpTestServer::messages()
{
    read();
    return m_messages;
}

ScriptedServer::ScriptedServer(QByteArray greeting, std::function<QByteArray(const QByteArray &, QTcpSocket *)> reply)
    : m_greeting(std::move(greeting)), m_reply(std::move(reply))
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (!m_greeting.isEmpty())
                socket->write(m_greeting);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    received << QString::fromLatin1(line);
                    if (m_reply) {
                        const QByteArray answer = m_reply(line, socket);
                        if (!answer.isEmpty() && socket->state() == QAbstractSocket::ConnectedState)
                            socket->write(answer);
                    }
                }
            });
        }
    });
}

bool makeCertificate(const QString &certFile, const QString &keyFile)
{
    QProcess p;
    p.start(QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
             QStringLiteral("-nodes"), QStringLiteral("-keyout"), keyFile, QStringLiteral("-out"), certFile,
             QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
             QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")});
    return p.waitForFinished(60000) && p.exitCode() == 0;
}
