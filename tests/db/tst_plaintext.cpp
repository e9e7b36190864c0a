// Nothing the program writes holds readable customer data: no temporary spill files,
// an encrypted rollback journal, an encrypted backup copy.
#include "ConnectionString.h"
#include "Database.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "udmMain.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

const QByteArray Marker = QByteArray("PLAINTEXT-MARKER-") + QString::fromUtf8("客户机密").toUtf8();

// Counts the files created in a folder, including ones unlinked at once (as the
// engine does with its temporary files), by watching the folder itself.
class CreationWatch
{
public:
    explicit CreationWatch(const QString &folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK);
        if (m_fd >= 0)
            m_wd = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MODIFY);
    }
    ~CreationWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isValid() const { return m_fd >= 0 && m_wd >= 0; }
    int events()
    {
        int n = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                return n;
            for (ssize_t at = 0; at < got;) {
                const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
                ++n;
                at += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
    }

private:
    int m_fd = -1;
    int m_wd = -1;
};

}  // namespace

class TestPlaintext : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void bigSortsAndGroupsWriteNoTemporaryFile();
    void journalAndBackupHoldNoPlaintext();

private:
    QTemporaryDir m_tmp;
    std::unique_ptr<TestAppDir> m_dir;
};

void TestPlaintext::initTestCase()
{
    // The engine reads the temporary folder once, at its first use: point it here before any.
    QVERIFY(m_tmp.isValid());
    qputenv("SQLITE_TMPDIR", QFile::encodeName(m_tmp.path()));
    m_dir = std::make_unique<TestAppDir>();
    auto db = m_dir->open();
    Transaction tx(*db);
    TableInserter log(*db, s("tblLog"), {s("LogDateTime"), s("UserID"), s("Operate")});
    TableInserter cust(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("OperateTitle"), s("CustID"), s("InOrOut"), s("RMB")});
    TableInserter item(*db, s("tblOperateDetail"), {s("OperateID"), s("DetailNo"), s("RMB")});
    for (int i = 0; i < 30000; ++i) {
        const QString n = QString::number(i);
        log.insert({s("2026-12-09 10:00:00"), s("Admin"), QString::fromUtf8(Marker) + n.rightJustified(6, u'0')});
        if (i % 3 == 0) {
            cust.insert({s("C") + n, QString::fromUtf8(Marker) + n, s("wang")});
            op.insert({s("O") + n, QString::fromUtf8(Marker) + n, s("C") + n, s("收款"), 100.0 + i});
            item.insert({s("O") + n, s("1"), 10.0});
        }
    }
    tx.commit();
}

void TestPlaintext::bigSortsAndGroupsWriteNoTemporaryFile()
{
    auto db = m_dir->open();
    // A tiny page cache makes any sort that may spill, spill.
    db->exec(s("PRAGMA cache_size = 10"));
    CreationWatch watch(m_tmp.path());
    QVERIFY(watch.isValid());
    watch.events();
    int rows = 0;
    {
        Statement st(*db, TdmMain::inOutSql(true, false).join(u' '));
        while (st.step())
            ++rows;
    }
    QCOMPARE(rows, 10000);
    int logRows = 0;
    {
        Statement st(*db, s("select * from tblLog order by Operate desc, LogID"));
        while (st.step())
            ++logRows;
    }
    QCOMPARE(logRows, 30000);
    QCOMPARE(watch.events(), 0);
    QCOMPARE(QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestPlaintext::journalAndBackupHoldNoPlaintext()
{
    auto db = m_dir->open();
    const QString journal = m_dir->databasePath() + s("-journal");
    QByteArray journalBytes;
    {
        // A long write transaction: every page holding the marker goes to the journal first.
        Transaction tx(*db);
        db->exec(s("update tblLog set Operate = 'x' where LogID % 2 = 0"));
        db->exec(s("update tblCustomers set CustName = 'y'"));
        QFile f(journal);
        QVERIFY(f.open(QIODevice::ReadOnly));
        journalBytes = f.readAll();
    }
    QVERIFY(journalBytes.size() > 100000);
    QVERIFY(!journalBytes.contains(Marker));
    QVERIFY(!journalBytes.contains("PLAINTEXT-MARKER"));

    const QString copy = m_dir->file(s("Backup/copy.qdb"));
    QDir().mkpath(m_dir->file(s("Backup")));
    db->backupTo(copy);
    QFile f(copy);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray copyBytes = f.readAll();
    QVERIFY(copyBytes.size() > 100000);
    QVERIFY(!copyBytes.contains("PLAINTEXT-MARKER"));
    // The copy opens with the program's key and holds every row.
    auto reopened = Database::open(copy, ConnectionString::databasePassword().toUtf8());
    QCOMPARE(reopened->scalar(s("select count(*) from tblLog")).toInt(), 30000);
    QVERIFY_THROWS_EXCEPTION(DbError, db->backupTo(copy));  // never over an existing file
}

QTEST_GUILESS_MAIN(TestPlaintext)
#include "tst_plaintext.moc"
