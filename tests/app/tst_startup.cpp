// Starting the real program on files that are damaged, unfinished, too new, locked for a
// moment, read-only, or in a folder whose name looks like connection-string syntax.
#include "ConnectionString.h"
#include "NewDatabase.h"
#include "TestDb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

struct Run
{
    int exitCode = -1;
    QString stderrText;
};

}  // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedFilesEndTheStart_data();
    void refusedFilesEndTheStart();
    void fileLockedForAMomentStillOpens();
    void readOnlyDatabaseIsToldAndServerFileKept_data();
    void readOnlyDatabaseIsToldAndServerFileKept();
    void folderNameWithConnectionSyntax();

private:
    // The program copied into the folder, so that folder is its AppDir.
    static void install(const TestAppDir &dir);
    static Run start(const TestAppDir &dir, bool asOtherUser = false);
};

void TestStartUp::install(const TestAppDir &dir)
{
    const QString program = dir.file(s("brimwell"));
    QVERIFY(QFile::copy(s(BRIMWELL_PATH), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner | QFile::ExeOther | QFile::ReadOther);
}

Run TestStartUp::start(const TestAppDir &dir, bool asOtherUser)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("QT_QPA_PLATFORM"), s("offscreen"));
    env.insert(s("ASAN_OPTIONS"), s("detect_leaks=0"));
    p.setProcessEnvironment(env);
    const QString program = dir.file(s("brimwell"));
    if (asOtherUser && geteuid() == 0) {
        // The superuser writes through any permission bits: the program runs as another user.
        p.start(s("setpriv"), {s("--reuid=nobody"), s("--regid=nogroup"), s("--clear-groups"), program, s("--check")});
    } else {
        p.start(program, {s("--check")});
    }
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.stderrText = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestStartUp::refusedFilesEndTheStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("damaged pages") << "damaged" << "";
    QTest::newRow("keyed and marked, no tables") << "tableless" << "没有数据表";
    QTest::newRow("made by a newer program") << "newer" << "更新版本";
}

void TestStartUp::refusedFilesEndTheStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestAppDir dir;
    install(dir);
    const QString path = dir.file(s("Data/other.qdb"));
    if (kind == u"tableless") {
        // An interrupted create: keyed, marked as ours, nothing laid.
        auto db = Database::create(path, ConnectionString::databasePassword().toUtf8());
    } else {
        NewDatabase::create(path);
        if (kind == u"newer")
            Database::open(path, ConnectionString::databasePassword().toUtf8())->exec(s("PRAGMA user_version = 99"));
    }
    if (kind == u"damaged") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        QVERIFY(size > 64 * 1024);
        // Every page but the first is overwritten: the header still opens, the tables do not.
        QVERIFY(f.seek(4096));
        f.write(QByteArray(int(size - 4096), '\x5a'));
    }
    dir.writeFile(s("Server.txt"), path.toUtf8() + "\r\n");
    const Run r = start(dir);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.stderrText.contains(s("cannot open the database")), qPrintable(r.stderrText));
    QVERIFY2(r.stderrText.contains(reason), qPrintable(r.stderrText));
    QVERIFY(!r.stderrText.contains(s("terminate called")));
    QCOMPARE(dir.readFile(s("Server.txt")), dir.databasePath().toUtf8() + '\n');
    QCOMPARE(dir.readFile(s("Server.txt.bak")), path.toUtf8() + '\n');
}

void TestStartUp::fileLockedForAMomentStillOpens()
{
    TestAppDir dir;
    install(dir);
    dir.writeFile(s("Server.txt"), dir.databasePath().toUtf8() + '\n');
    // Another program holds the file exclusively for one second.
    QProcess holder;
    holder.start(s("sqlcipher"), {dir.databasePath()});
    QVERIFY(holder.waitForStarted());
    holder.write("PRAGMA key='" + ConnectionString::databasePassword().toUtf8() + "';\n"
                 "BEGIN EXCLUSIVE;\nSELECT count(*) > 0 FROM tblUser;\nSELECT 'locked';\n");
    QByteArray seen;
    while (!seen.contains("locked") && holder.waitForReadyRead(10000))
        seen += holder.readAllStandardOutput();
    QVERIFY2(seen.contains("locked"), seen.constData());
    holder.write(".shell sleep 1\nCOMMIT;\n.quit\n");
    QVERIFY(holder.waitForBytesWritten(10000));
    const Run r = start(dir);
    QVERIFY(holder.waitForFinished(10000));
    QVERIFY2(r.exitCode == 0, qPrintable(r.stderrText));
    QCOMPARE(dir.readFile(s("Server.txt")), dir.databasePath().toUtf8() + '\n');
    QVERIFY(!QFile::exists(dir.file(s("Server.txt.bak"))));
}

void TestStartUp::readOnlyDatabaseIsToldAndServerFileKept_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestStartUp::readOnlyDatabaseIsToldAndServerFileKept()
{
    QFETCH(bool, folder);
    TestAppDir dir;
    install(dir);
    const QString path = dir.file(s("Data/shop.qdb"));
    NewDatabase::create(path);
    dir.writeFile(s("Server.txt"), path.toUtf8() + '\n');
    // The program's user owns the folder; only the file (or its folder) lacks the write right.
    if (geteuid() == 0) {
        QProcess::execute(s("chown"), {s("-R"), s("nobody:nogroup"), dir.appDir()});
        QFile::setPermissions(dir.appDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                | QFile::ExeOther);
    }
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadOther;
    if (folder)
        QFile::setPermissions(dir.file(s("Data")), readOnly | QFile::ExeOwner | QFile::ExeOther);
    else
        QFile::setPermissions(path, readOnly);
    const QByteArray before = dir.readFile(s("Server.txt"));
    const Run r = start(dir, true);
    QFile::setPermissions(dir.file(s("Data")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(r.exitCode, 5);
    QVERIFY2(r.stderrText.contains(s("系统提示: 数据库文件是只读的，无法使用：") + path), qPrintable(r.stderrText));
    QCOMPARE(dir.readFile(s("Server.txt")), before);
    QVERIFY(!QFile::exists(dir.file(s("Server.txt.bak"))));
}

void TestStartUp::folderNameWithConnectionSyntax()
{
    TestAppDir dir;
    install(dir);
    const QString folder = dir.file(s("Data/a;b=c \"x\""));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + s("/QLM30.qdb");
    NewDatabase::create(path);
    dir.writeFile(s("Server.txt"), path.toUtf8() + '\n');
    const Run r = start(dir);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.stderrText.contains(s("cannot open")), false);
    QCOMPARE(dir.readFile(s("Server.txt")), path.toUtf8() + '\n');
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
