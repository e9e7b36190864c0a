// The SMTP client and the message against a real server on loopback (aiosmtpd) and
// scripted misbehaving servers: connecting, content decoded exactly, failures.
#include "MailMessage.h"
#include "SmtpClient.h"
#include "SmtpTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QtTest>

namespace {

// Runs one client operation and the event loop until it reports, at most 20 s.
const QString NoReport = QStringLiteral("<no report>");

QString await(const std::function<void(SmtpClient::Done)> &op, int ms = 20000)
{
    bool done = false;
    QString reason;
    op([&](const QString &r) {
        reason = r;
        done = true;
    });
    QDeadlineTimer deadline(ms);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done ? reason : NoReport;
}

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

}  // namespace

class TestSmtp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void addressesAreCheckedStrictly_data();
    void addressesAreCheckedStrictly();
    void encodingFollowsTheMailRules();

    void connecting_data();
    void connecting();
    void untrustedCertificateFailsWithTheReason();
    void contentArrivesExactly();
    void refusedRecipientAndTemporaryFailureLeaveTheRest();
    void invalidEntriesNeverReachTheServer_data();
    void invalidEntriesNeverReachTheServer();
    void misbehavingServers_data();
    void misbehavingServers();
    void idleConnectionClosedByTheServerIsNotConnected();
    void serverClosingMidSendReportsTheLoss();
    void eventsKeepFlowingDuringALargeSend();

private:
    std::unique_ptr<SmtpClient> client(bool trusted = true);
    QTemporaryDir m_dir;
    QString m_cert, m_key;
};

void TestSmtp::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QVERIFY(m_dir.isValid());
    m_cert = m_dir.filePath(QStringLiteral("cert.pem"));
    m_key = m_dir.filePath(QStringLiteral("key.pem"));
    QVERIFY(makeCertificate(m_cert, m_key));
}

std::unique_ptr<SmtpClient> TestSmtp::client(bool trusted)
{
    auto c = std::make_unique<SmtpClient>();
    c->setTimeouts(5000, 5000);
    if (trusted)
        c->setExtraCaCertificates(QSslCertificate::fromPath(m_cert));
    return c;
}

void TestSmtp::addressesAreCheckedStrictly_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "wang@example.com" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("no at") << "abc" << false;
    QTest::newRow("two ats") << "a@b@c" << false;
    QTest::newRow("nothing before") << "@b.c" << false;
    QTest::newRow("nothing after") << "a@" << false;
    QTest::newRow("line break") << "a@b.c\r\nRCPT TO:<x@y.z>" << false;
    QTest::newRow("blank") << "a b@c.d" << false;
    QTest::newRow("angle") << "a>@b.c" << false;
    QTest::newRow("comma") << "a@b.c,d@e.f" << false;
    QTest::newRow("semicolon") << "a@b.c;" << false;
    QTest::newRow("quote") << "\"a\"@b.c" << false;
    QTest::newRow("chinese") << u("王@b.c") << false;
}

void TestSmtp::addressesAreCheckedStrictly()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    QCOMPARE(MailAddress::isValid(address), valid);
}

void TestSmtp::encodingFollowsTheMailRules()
{
    const QString subject = u("家政服务新春优惠通知：保洁、保姆、月嫂、护工全部九折，欢迎新老客户来电垂询");
    const QByteArray encoded = MailMessage::encodeHeaderText(subject);
    const QList<QByteArray> words = encoded.split('\n');
    QVERIFY(words.size() > 1);
    for (QByteArray w : words) {
        w = w.trimmed();
        QVERIFY(w.startsWith("=?UTF-8?B?") && w.endsWith("?="));
        QVERIFY(w.size() <= 75);
    }
    QCOMPARE(MailMessage::encodeHeaderText(u("a\r\nBcc: x@y.z")), QByteArray("a  Bcc: x@y.z"));  // no header injection

    QByteArray all;
    for (int i = 0; i < 1000; ++i)
        all += char(i % 256);
    const QByteArray lines = MailMessage::base64Lines(all);
    for (const QByteArray &l : lines.split('\n').mid(0, lines.count('\n') - 1))
        QVERIFY(l.size() == 77 || (l.size() <= 77 && l.endsWith('\r')));
    QCOMPARE(QByteArray::fromBase64(QByteArray(lines).replace("\r\n", "")), all);

    QCOMPARE(MailMessage::dotStuffed(".\r\n.x\r\na.b"), QByteArray("..\r\n..x\r\na.b\r\n"));

    const QDateTime when(QDate(2026, 12, 7), QTime(9, 5), QTimeZone(8 * 3600));
    QCOMPARE(MailMessage::dateText(when), QByteArray("Mon, 07 Dec 2026 09:05:00 +0800"));
}

void TestSmtp::connecting_data()
{
    QTest::addColumn<QString>("auth");
    QTest::addColumn<QString>("tls");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("mechanisms");
    QTest::addColumn<QString>("authReply");  // start of the reason; empty: accepted
    QTest::newRow("no AUTH announced") << "none" << "none" << "" << QStringList{} << "";
    QTest::newRow("LOGIN, right password") << "login" << "none" << "secret" << QStringList{"LOGIN", "PLAIN"} << "";
    QTest::newRow("LOGIN, wrong password") << "login" << "none" << "nope" << QStringList{"LOGIN", "PLAIN"} << "535";
    QTest::newRow("PLAIN only, right password") << "plain" << "none" << "secret" << QStringList{"PLAIN"} << "";
    QTest::newRow("PLAIN only, wrong password") << "plain" << "none" << "nope" << QStringList{"PLAIN"} << "535";
    QTest::newRow("STARTTLS required before AUTH") << "login" << "starttls" << "secret" << QStringList{"LOGIN", "PLAIN"}
                                                   << "";
    QTest::newRow("implicit TLS") << "login" << "implicit" << "secret" << QStringList{"LOGIN", "PLAIN"} << "";
}

void TestSmtp::connecting()
{
    QFETCH(QString, auth);
    QFETCH(QString, tls);
    QFETCH(QString, password);
    QFETCH(QStringList, mechanisms);
    QFETCH(QString, authReply);
    SmtpTestServer server({auth, tls, m_cert, m_key});
    QVERIFY(server.isRunning());
    auto c = client();
    if (tls == u"implicit")
        c->setImplicitTlsPort(server.port());
    const auto connected = await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); });
    QVERIFY(connected != NoReport);
    QCOMPARE(connected, QString());
    QVERIFY(c->isConnected());
    QStringList got = c->authMechanisms();
    got.sort();
    QCOMPARE(got, mechanisms);
    if (mechanisms.isEmpty())
        return;
    const auto authed = await([&](SmtpClient::Done d) { c->authenticate(QStringLiteral("user"), password, d); });
    QVERIFY(authed != NoReport);
    if (authReply.isEmpty())
        QCOMPARE(authed, QString());
    else
        QVERIFY2(authed.startsWith(authReply), qPrintable(authed));
    QVERIFY(c->isConnected());  // a refused login keeps the connection
}

void TestSmtp::untrustedCertificateFailsWithTheReason()
{
    SmtpTestServer server({QStringLiteral("login"), QStringLiteral("starttls"), m_cert, m_key});
    QVERIFY(server.isRunning());
    auto c = client(false);
    const auto r = await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); });
    QVERIFY(r != NoReport);
    QVERIFY(!r.isEmpty());
    QVERIFY2(r.contains(u"certificate", Qt::CaseInsensitive), qPrintable(r));
    QVERIFY(!c->isConnected());
}

void TestSmtp::contentArrivesExactly()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    MailMessage m;
    m.from = QStringLiteral("office@agency.example");
    m.subject = u("家政服务新春优惠通知：保洁、保姆、月嫂、护工全部九折，欢迎新老客户来电垂询");
    m.body = QStringList{u("尊敬的客户："), QStringLiteral("."), QStringLiteral(".x"), u("此致 敬礼")};
    m.cc = {QStringLiteral("cc1@x.example"), QStringLiteral("cc2@x.example")};
    m.bcc = {QStringLiteral("hidden@x.example")};
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    const QList<MailMessage::Attachment> files{{u("价目表 2027.bin"), bytes}};
    const QStringList to{QStringLiteral("a@x.example"), QStringLiteral("b@x.example"), QStringLiteral("c@x.example")};
    for (const QString &t : to) {
        m.to = t;
        const auto r = await([&](SmtpClient::Done d) { c->send(m.from, QStringList{t} + m.cc + m.bcc, m.toBytes(files), d); });
        QCOMPARE(r, QString());
    }
    QTRY_COMPARE_WITH_TIMEOUT(server.messages().size(), 3, 10000);
    const QList<QJsonObject> got = server.messages();
    for (int i = 0; i < 3; ++i) {
        const QJsonObject &o = got.at(i);
        QCOMPARE(o.value(u"subject").toString(), m.subject);
        QCOMPARE(o.value(u"body").toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), m.body.join(QLatin1Char(0x0a)));
        QCOMPARE(o.value(u"to").toString(), to.at(i));
        QVERIFY(o.value(u"cc").toString().contains(u"cc2@x.example"));
        QVERIFY(!o.value(u"hasBcc").toBool());
        QVERIFY(o.value(u"dateOk").toBool());
        QVERIFY(!o.value(u"messageId").toString().isEmpty());
        QStringList rcpts;
        for (const QJsonValue &v : o.value(u"rcpts").toArray())
            rcpts << v.toString();
        QCOMPARE(rcpts, QStringList{to.at(i)} + m.cc + m.bcc);
        const QJsonArray att = o.value(u"attachments").toArray();
        QCOMPARE(att.size(), 1);
        QCOMPARE(att.at(0).toObject().value(u"name").toString(), files.first().fileName);
        QCOMPARE(QByteArray::fromHex(att.at(0).toObject().value(u"hex").toString().toLatin1()), bytes);
    }
}

void TestSmtp::refusedRecipientAndTemporaryFailureLeaveTheRest()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    MailMessage m;
    m.from = QStringLiteral("office@agency.example");
    m.subject = QStringLiteral("s");
    m.body = {QStringLiteral("b")};
    const auto send = [&](const QStringList &rcpts) {
        m.to = rcpts.first();
        return await([&](SmtpClient::Done d) { c->send(m.from, rcpts, m.toBytes({}), d); });
    };
    const auto refused = send({QStringLiteral("ok1@x.example"), QStringLiteral("refuse@x.example")});
    QVERIFY(refused != NoReport);
    QVERIFY2(refused.contains(u"refuse@x.example") && refused.contains(u"550"), qPrintable(refused));
    const auto later = send({QStringLiteral("later@x.example")});
    QVERIFY(later != NoReport);
    QVERIFY2(later.startsWith(u"451"), qPrintable(later));
    QCOMPARE(send({QStringLiteral("ok2@x.example")}), QString());
    QTRY_COMPARE_WITH_TIMEOUT(server.messages().size(), 1, 10000);
    QCOMPARE(server.messages().first().value(u"to").toString(), QStringLiteral("ok2@x.example"));  // nothing half-sent
}

void TestSmtp::invalidEntriesNeverReachTheServer_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("empty") << "";
    QTest::newRow("not an address") << "abc";
    QTest::newRow("smuggled command") << "a@b.c\r\nRCPT TO:<x@y.z>";
}

void TestSmtp::invalidEntriesNeverReachTheServer()
{
    QFETCH(QString, entry);
    ScriptedServer server("220 ready\r\n", [](const QByteArray &line, QTcpSocket *) -> QByteArray {
        if (line.startsWith("DATA"))
            return "354 go\r\n";
        return "250 ok\r\n";
    });
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    const int before = int(server.received.size());
    const auto r = await([&](SmtpClient::Done d) { c->send(QStringLiteral("me@x.example"), {entry}, "x\r\n", d); });
    QCOMPARE(r, QStringLiteral("不是有效的邮件地址"));
    QCoreApplication::processEvents();
    QCOMPARE(server.received.size(), before);
    QVERIFY(c->isConnected());
}

void TestSmtp::misbehavingServers_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QString>("reason");
    QTest::newRow("silent") << QByteArray() << "超时";
    QTest::newRow("garbage greeting") << QByteArray("hello there\r\n") << "服务器应答无效";
    QTest::newRow("refusing greeting") << QByteArray("554 go away\r\n") << "554";
}

void TestSmtp::misbehavingServers()
{
    QFETCH(QByteArray, greeting);
    QFETCH(QString, reason);
    ScriptedServer server(greeting);
    auto c = client();
    c->setTimeouts(500, 500);
    const auto r = await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }, 10000);
    QVERIFY(r != NoReport);
    QVERIFY2(r.startsWith(reason), qPrintable(r));
    QVERIFY(!c->isConnected());
}

void TestSmtp::idleConnectionClosedByTheServerIsNotConnected()
{
    ScriptedServer server("220 ready\r\n", [](const QByteArray &, QTcpSocket *) -> QByteArray { return "250 ok\r\n"; });
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    QVERIFY(c->isConnected());
    for (QTcpSocket *s : server.findChildren<QTcpSocket *>())
        s->disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(!c->isConnected(), 5000);
    const auto r = await([&](SmtpClient::Done d) { c->send(QStringLiteral("me@x.example"), {QStringLiteral("a@b.c")}, "x", d); });
    QCOMPARE(r, SmtpClient::lostText());
}

void TestSmtp::serverClosingMidSendReportsTheLoss()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    const auto r = await([&](SmtpClient::Done d) { c->send(QStringLiteral("me@x.example"), {QStringLiteral("drop@x.example")}, "x", d); });
    QCOMPARE(r, SmtpClient::lostText());
    QVERIFY(!c->isConnected());
}

void TestSmtp::eventsKeepFlowingDuringALargeSend()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    auto c = client();
    QCOMPARE(await([&](SmtpClient::Done d) { c->connectToServer(QStringLiteral("127.0.0.1"), server.port(), d); }),
             QString());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    MailMessage m;
    m.from = QStringLiteral("me@x.example");
    m.to = QStringLiteral("a@x.example");
    m.subject = QStringLiteral("big");
    m.body = {QStringLiteral("see attachment")};
    c->setTimeouts(5000, 20000);
    const QByteArray big(4 * 1024 * 1024, 'z');
    const auto r = await([&](SmtpClient::Done d) { c->send(m.from, {m.to}, m.toBytes({{QStringLiteral("big.bin"), big}}), d); });
    QCOMPARE(r, QString());
    QVERIFY2(ticks > 3, qPrintable(QString::number(ticks)));  // the send returned at once; the loop kept running
}

QTEST_MAIN(TestSmtp)
#include "tst_smtp.moc"
