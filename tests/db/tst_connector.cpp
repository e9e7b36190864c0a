// Finding and opening the database at start: Server.txt and the working folders.
#include "DatabaseConnector.h"
#include "NewDatabase.h"
#include "TestDb.h"

#include <QDir>
#include <QtTest>

class TestConnector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serverFile_data();
    void serverFile();
    void missingServerFileIsCreated();
    void opensTheNamedDatabaseNotTheDefault();
    void backupKeepsTheLatestBadLine();
    void workingFolders();
};

void TestConnector::serverFile_data()
{
    // %D = the default database path, %O = another good database, %X = a path that does not exist.
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("opens");
    QTest::newRow("default path, LF") << QByteArray("%D\n") << true;
    QTest::newRow("default path, CR LF") << QByteArray("%D\r\n") << true;
    QTest::newRow("no line terminator") << QByteArray("%D") << true;
    QTest::newRow("several lines, first used") << QByteArray("%O\r\n%X\r\nanything\n") << true;
    QTest::newRow("missing file") << QByteArray("%X\n") << false;
    QTest::newRow("empty first line") << QByteArray("\n%D\n") << false;
    QTest::newRow("empty file") << QByteArray("") << false;
    QTest::newRow("trailing blank is part of the path") << QByteArray("%D \n") << false;
    QTest::newRow("a folder, not a file") << QByteArray("%F\n") << false;
    QTest::newRow("wrong key") << QByteArray("%W\n") << false;
    QTest::newRow("not a database") << QByteArray("%T\n") << false;
}

void TestConnector::serverFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);
    TestAppDir dir;
    NewDatabase::create(dir.file(QStringLiteral("other.qdb")));
    dir.writeFile(QStringLiteral("text.qdb"), "just some text\n");
    {
        auto wrong = Database::create(dir.file(QStringLiteral("wrongkey.qdb")), "another key");
        wrong->exec(QStringLiteral("PRAGMA application_id = %1").arg(Database::ApplicationId));
    }
    content.replace("%D", dir.databasePath().toUtf8());
    content.replace("%O", dir.file(QStringLiteral("other.qdb")).toUtf8());
    content.replace("%X", dir.file(QStringLiteral("Data/nothing.qdb")).toUtf8());
    content.replace("%F", dir.file(QStringLiteral("Data")).toUtf8());
    content.replace("%W", dir.file(QStringLiteral("wrongkey.qdb")).toUtf8());
    content.replace("%T", dir.file(QStringLiteral("text.qdb")).toUtf8());
    dir.writeFile(QStringLiteral("Server.txt"), content);
    const QByteArray otherBefore = dir.readFile(QStringLiteral("other.qdb"));

    const DatabaseConnector::Result r = DatabaseConnector::connect(dir.appDir());
    QCOMPARE(bool(r.database), opens);
    QCOMPARE(r.failure.isEmpty(), opens);
    if (opens) {
        QCOMPARE(dir.readFile(QStringLiteral("Server.txt")), content);  // left as it was
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("Server.txt.bak"))));
    } else {
        QCOMPARE(dir.readFile(QStringLiteral("Server.txt")), dir.databasePath().toUtf8() + '\n');
        QByteArray firstLine = content.left(content.indexOf('\n'));
        if (firstLine.endsWith('\r'))
            firstLine.chop(1);
        QCOMPARE(dir.readFile(QStringLiteral("Server.txt.bak")), firstLine + '\n');
        QVERIFY(r.failure.contains(QStringLiteral("Server.txt")));
    }
    QCOMPARE(dir.readFile(QStringLiteral("other.qdb")), otherBefore);
    // A failed open never creates the database file it looked for.
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("Data/nothing.qdb"))));
}

void TestConnector::missingServerFileIsCreated()
{
    TestAppDir dir;
    const auto r = DatabaseConnector::connect(dir.appDir());
    QVERIFY(r.database);
    QCOMPARE(r.databasePath, dir.databasePath());
    QCOMPARE(dir.readFile(QStringLiteral("Server.txt")), dir.databasePath().toUtf8() + '\n');

    TestAppDir empty(false);
    const auto r2 = DatabaseConnector::connect(empty.appDir());
    QVERIFY(!r2.database);
    QVERIFY(!r2.failure.isEmpty());
    QCOMPARE(empty.readFile(QStringLiteral("Server.txt")), empty.databasePath().toUtf8() + '\n');
    QVERIFY(!QFile::exists(empty.file(QStringLiteral("Server.txt.bak"))));
    QVERIFY(!QFile::exists(empty.databasePath()));
}

void TestConnector::opensTheNamedDatabaseNotTheDefault()
{
    TestAppDir dir(false);
    const QString other = dir.file(QStringLiteral("我的数据 2026.qdb"));
    NewDatabase::create(other)->exec(QStringLiteral("insert into tblLog(Operate) values('marker')"));
    dir.writeFile(QStringLiteral("Server.txt"), other.toUtf8() + "\r\n");
    const auto r = DatabaseConnector::connect(dir.appDir());
    QVERIFY(r.database);
    QCOMPARE(r.databasePath, other);
    QCOMPARE(r.database->scalar(QStringLiteral("select Operate from tblLog")).toString(), QStringLiteral("marker"));
}

void TestConnector::backupKeepsTheLatestBadLine()
{
    TestAppDir dir(false);
    dir.writeFile(QStringLiteral("Server.txt"), "/first/bad.qdb\n");
    QVERIFY(!DatabaseConnector::connect(dir.appDir()).database);
    QCOMPARE(dir.readFile(QStringLiteral("Server.txt.bak")), QByteArray("/first/bad.qdb\n"));
    dir.writeFile(QStringLiteral("Server.txt"), "/second/bad.qdb\n");
    QVERIFY(!DatabaseConnector::connect(dir.appDir()).database);
    QCOMPARE(dir.readFile(QStringLiteral("Server.txt.bak")), QByteArray("/second/bad.qdb\n"));
}

void TestConnector::workingFolders()
{
    TestAppDir dir(false);
    QDir().mkpath(dir.file(QStringLiteral("Files")));
    dir.writeFile(QStringLiteral("Files/keep.txt"), "kept");
    QVERIFY(DatabaseConnector::createWorkingFolders(dir.appDir()));
    for (const char *sub : {"Files", "Files/Plans", "Backup", "Log"})
        QVERIFY2(QDir(dir.file(QString::fromLatin1(sub))).exists(), sub);
    QCOMPARE(dir.readFile(QStringLiteral("Files/keep.txt")), QByteArray("kept"));
    QVERIFY(DatabaseConnector::createWorkingFolders(dir.appDir()));  // again: nothing changes

    // A file where a folder belongs cannot become a folder: reported, not hidden.
    TestAppDir blocked(false);
    blocked.writeFile(QStringLiteral("Log"), "not a folder");
    QVERIFY(!DatabaseConnector::createWorkingFolders(blocked.appDir()));
    QCOMPARE(blocked.readFile(QStringLiteral("Log")), QByteArray("not a folder"));
}

QTEST_GUILESS_MAIN(TestConnector)
#include "tst_connector.moc"
