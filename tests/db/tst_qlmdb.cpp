// The database tool as a user runs it, and its files in Debian's sqlcipher program.
#include "ConnectionString.h"
#include "Statement.h"
#include "TestDb.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return {};
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(300000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

Run qlmdb(const QStringList &args)
{
    return run(QStringLiteral(QLMDB_PATH), args);
}

// A digest of every row of the tables a demo fills, in table order (passwords left out: they are salted).
QByteArray contentDigest(const QString &path)
{
    auto db = Database::open(path, ConnectionString::databasePassword().toUtf8());
    // Photo paths name the folder the demo was made in: compare them below that folder.
    const QString root = QDir::cleanPath(QFileInfo(path).absolutePath() + QStringLiteral("/.."));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char *t : {"tblCustomers", "tblLinkmans", "tblCustomerState", "tblOperates", "tblOperateDetail",
                          "tblOperaters", "tblYuangong", "tblShusong", "tblShusongYJ", "tblPlan", "tblBoard", "tblLog",
                          "tblUserRight"}) {
        Statement st(*db, QStringLiteral("select * from %1 order by rowid").arg(QString::fromLatin1(t)));
        while (st.step())
            for (int i = 0; i < st.columnCount(); ++i)
                hash.addData(st.value(i).toString().replace(root, QStringLiteral("<root>")).toUtf8() + '\x1f');
    }
    return hash.result();
}

}  // namespace

class TestQlmdb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badArguments_data();
    void badArguments();
    void createThenCheck();
    void createRefusesAnExistingFile_data();
    void createRefusesAnExistingFile();
    void checkRefusesForeignFiles_data();
    void checkRefusesForeignFiles();
    void demoFillsEveryTableDeterministically();
    void demoTwiceIsRefusedWithoutDamage();
    void sqlcipherOpensWithKeyOnly();
};

void TestQlmdb::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"erase", "x.qdb"};
    QTest::newRow("create without path") << QStringList{"create"};
    QTest::newRow("create with extra") << QStringList{"create", "a.qdb", "b.qdb"};
    QTest::newRow("scale not a number") << QStringList{"demo", "a.qdb", "--scale", "many"};
    QTest::newRow("scale zero") << QStringList{"demo", "a.qdb", "--scale", "0"};
    QTest::newRow("scale without value") << QStringList{"demo", "a.qdb", "--scale"};
    QTest::newRow("bad anchor") << QStringList{"demo", "a.qdb", "--anchor", "2026-13-01"};
    QTest::newRow("unknown option") << QStringList{"demo", "a.qdb", "--fast", "1"};
}

void TestQlmdb::badArguments()
{
    QFETCH(QStringList, args);
    TestAppDir dir(false);
    QStringList full;
    for (const QString &a : args)
        full << (a.endsWith(QStringLiteral(".qdb")) ? dir.file(a) : a);
    const Run r = qlmdb(full);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("a.qdb"))));
}

void TestQlmdb::createThenCheck()
{
    TestAppDir dir(false);
    const QString path = dir.file(QStringLiteral("新建 数据库.qdb"));
    Run r = qlmdb({QStringLiteral("create"), path});
    QCOMPARE(r.exitCode, 0);
    r = qlmdb({QStringLiteral("check"), path});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("integrity: ok")));
    QVERIFY(r.out.contains(QStringLiteral("check passed")));
}

void TestQlmdb::createRefusesAnExistingFile_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("some document") << QByteArray("家政合同\n");
}

void TestQlmdb::createRefusesAnExistingFile()
{
    QFETCH(QByteArray, existing);
    TestAppDir dir(false);
    dir.writeFile(QStringLiteral("x.qdb"), existing);
    const Run r = qlmdb({QStringLiteral("create"), dir.file(QStringLiteral("x.qdb"))});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.err.isEmpty());
    QCOMPARE(dir.readFile(QStringLiteral("x.qdb")), existing);
}

void TestQlmdb::checkRefusesForeignFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("wrong key") << "wrongkey";
    QTest::newRow("text file") << "text";
    QTest::newRow("older schema") << "old";
}

void TestQlmdb::checkRefusesForeignFiles()
{
    QFETCH(QString, kind);
    TestAppDir dir;
    QString path = dir.databasePath();
    if (kind == u"missing") {
        path = dir.file(QStringLiteral("none.qdb"));
    } else if (kind == u"wrongkey") {
        path = dir.file(QStringLiteral("w.qdb"));
        Database::create(path, "other")->exec(QStringLiteral("PRAGMA application_id = %1").arg(Database::ApplicationId));
    } else if (kind == u"text") {
        path = dir.file(QStringLiteral("t.qdb"));
        dir.writeFile(QStringLiteral("t.qdb"), QByteArray(4096, 'x'));
    } else if (kind == u"old") {
        dir.open()->exec(QStringLiteral("PRAGMA user_version = 0"));
    }
    const Run r = qlmdb({QStringLiteral("check"), path});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("none.qdb"))));
}

void TestQlmdb::demoFillsEveryTableDeterministically()
{
    TestAppDir a;
    TestAppDir b;
    for (const TestAppDir *d : {&a, &b}) {
        const Run r = qlmdb({QStringLiteral("demo"), d->databasePath(), QStringLiteral("--anchor"),
                             QStringLiteral("2026-12-09")});
        QCOMPARE(r.exitCode, 0);
    }
    QCOMPARE(contentDigest(a.databasePath()), contentDigest(b.databasePath()));

    auto db = a.open();
    for (const char *t : {"tblCustomers", "tblCustomerAddInfo", "tblLinkmans", "tblCustomerState", "tblOperates",
                          "tblOperateDetail", "tblOperaters", "tblYuangong", "tblShusong", "tblShusongYJ", "tblPlan",
                          "tblBoard", "tblLog"})
        QVERIFY2(db->scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(t))).toInt() > 0, t);
    // Links hold: every contact, record and placed worker points at a customer that exists.
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblLinkmans where CustID not in (select CustId from tblCustomers)"))
                 .toInt(),
             0);
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblOperateDetail where OperateID not in "
                                       "(select OperateID from tblOperates)"))
                 .toInt(),
             0);
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblYuangong where CustID is not null and CustID not in "
                                       "(select CustId from tblCustomers)"))
                 .toInt(),
             0);
    // The today view has something to show on the anchor day.
    QVERIFY(db->scalar(QStringLiteral("select count(*) from tblPlan where PlanDate='2026-12-09 00:00:00'")).toInt() > 0);
    QVERIFY(db->scalar(QStringLiteral("select count(*) from tblBoard where BDate='2026-12-09 00:00:00'")).toInt() > 0);
    // Every tab of the today view and both schedule pages show rows for the ordinary user "wang"
    // (his own due records) and for the system user (others' records and appointments too).
    for (const char *owner : {"SUser='wang'", "SUser<>'wang'"}) {
        QVERIFY2(db->scalar(QStringLiteral("select count(*) from tblOperates where EndDate='2026-12-09 00:00:00' and ")
                            + QString::fromLatin1(owner))
                         .toInt()
                     > 0,
                 owner);
        QVERIFY2(db->scalar(QStringLiteral("select count(*) from tblPlan p join tblCustomers c on c.CustId=p.CustID "
                                           "where p.PlanDate='2026-12-09 00:00:00' and c.")
                            + QString::fromLatin1(owner))
                         .toInt()
                     > 0,
                 owner);
    }
    // Owners: more than one user owns customers, so the owner filter shows something.
    QVERIFY(db->scalar(QStringLiteral("select count(distinct SUser) from tblCustomers")).toInt() >= 2);
    QCOMPARE(db->integrityCheck(), QStringList{QStringLiteral("ok")});
    // A few documents in the folders of the first records, for the file tool window.
    for (const char *folder : {"Files/C000001", "Files/Operaters/S0001", "Files/Plans"})
        QVERIFY2(!QDir(a.file(QString::fromLatin1(folder))).isEmpty(QDir::Files), folder);
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblCustomers where CustId='C000001'")).toInt(), 1);
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblOperaters where OperaterID='S0001'")).toInt(), 1);
}

void TestQlmdb::demoTwiceIsRefusedWithoutDamage()
{
    TestAppDir dir;
    QCOMPARE(qlmdb({QStringLiteral("demo"), dir.databasePath()}).exitCode, 0);
    const QByteArray before = contentDigest(dir.databasePath());
    const Run r = qlmdb({QStringLiteral("demo"), dir.databasePath()});
    QCOMPARE(r.exitCode, 1);  // the codes exist already
    QVERIFY(!r.err.isEmpty());
    QCOMPARE(contentDigest(dir.databasePath()), before);  // nothing half-written
}

void TestQlmdb::sqlcipherOpensWithKeyOnly()
{
    const QString sqlcipher = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    QVERIFY2(!sqlcipher.isEmpty(), "Debian's sqlcipher program is installed by scripts/setup.sh");
    TestAppDir dir(false);
    const QString path = dir.file(QStringLiteral("x.qdb"));
    QCOMPARE(qlmdb({QStringLiteral("create"), path}).exitCode, 0);

    const QByteArray keyed = "PRAGMA key='" + ConnectionString::databasePassword().toUtf8()
        + "';\nselect UserID from tblUser;\nselect count(*) from tblUserRight;\nPRAGMA integrity_check;\n";
    Run r = run(sqlcipher, {path}, keyed);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts), (QStringList{"Admin", "48", "ok"}));

    r = run(sqlcipher, {path}, "select count(*) from tblUser;\n");
    QVERIFY(r.exitCode != 0 || r.err.contains(QStringLiteral("not a database")));
    QVERIFY(!r.out.contains(QStringLiteral("Admin")));
}

QTEST_GUILESS_MAIN(TestQlmdb)
#include "tst_qlmdb.moc"
