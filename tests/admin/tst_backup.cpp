// Backup and restore of the database file, through the windows and the file steps beneath them.
#include "BackupPaths.h"
#include "ConnectionString.h"
#include "DatabaseFile.h"
#include "FileSteps.h"
#include "LogEntries.h"
#include "SeamRecorder.h"
#include "Schema.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "DateText.h"
#include "uPublic.h"
#include "uRestore.h"
#include "udmMain.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QByteArray key()
{
    return ConnectionString::databasePassword().toUtf8();
}

int customersIn(const QString &file)
{
    auto db = Database::open(file, key());
    return db->scalar(s("select count(*) from tblCustomers")).toInt();
}

void addCustomer(const QString &id)
{
    Statement st(*dmMain->database(), s("insert into tblCustomers (CustId, CustName) values (:id, :id)"));
    st.bind(s("id"), id);
    st.execute();
}

// Files other than the ones expected: a temporary file left behind.
QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({s(".*.tmp-*")}, QDir::Files | QDir::Hidden);
}

// Fails every step of the given kind whose target (or source) contains `part`.
void failStep(FileSteps::Step step, const QString &part)
{
    FileSteps::setInjector([step, part](FileSteps::Step st, const QString &from, const QString &to) {
        return st == step && (from.contains(part) || to.contains(part)) ? s("设备错误（测试）") : QString();
    });
}

}  // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void datedFolderName_data();
    void datedFolderName();
    void browsePutsTheChosenFileInTheBox_data();
    void browsePutsTheChosenFileInTheBox();
    void backupIsKeyedAndComplete();
    void sameDayTwice();
    void cancelTouchesNothing();
    void liveFileRefused_data();
    void liveFileRefused();
    void failedBackupKeepsOldTarget_data();
    void failedBackupKeepsOldTarget();
    void targetFolderWithQuote();

    void restoreReplacesData();
    void swapKeepsTheOldBytes();
    void restoreRefusesBadFiles_data();
    void restoreRefusesBadFiles();
    void restoreSourceMissing();
    void failedRestorePutsOldFileBack_data();
    void failedRestorePutsOldFileBack();
    void checkBringsOlderFileUpToDate();
    void failedPostStopsRestoreBeforeClosing();

private:
    QString live() const { return m_dir->databasePath(); }
    QString backupFolder() const { return m_dir->file(s("Backup")); }
    bool runBackup(const QString &target);
    bool runRestore(const QString &chosen);
    QStringList openDatasets() const;

    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestBackup::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    for (int i = 0; i < 50; ++i)
        c.insert({s("C%1").arg(i), s("客户%1").arg(i), s("Admin")});
    tx.commit();
}

void TestBackup::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    QDir().mkpath(backupFolder());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    CurrentUserID = s("Admin");
    OpenDatasets({dmMain->tblUserRight, dmMain->tblUser});
}

void TestBackup::cleanup()
{
    FileSteps::setInjector({});
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

bool TestBackup::runBackup(const QString &target)
{
    TfrmBackup w;
    w.show();
    w.edPath->setText(QDir::toNativeSeparators(target));
    QTest::mouseClick(w.btnRun, Qt::LeftButton);
    return !w.isVisible();
}

bool TestBackup::runRestore(const QString &chosen)
{
    TfrmRestore w;
    w.show();
    w.edPath->setText(chosen);
    QTest::mouseClick(w.btnRun, Qt::LeftButton);
    return !w.isVisible();
}

QStringList TestBackup::openDatasets() const
{
    QStringList out;
    for (Dataset *d : dmMain->findChildren<Dataset *>())
        if (d->isActive())
            out << d->name();
    return out;
}

void TestBackup::datedFolderName_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("folder");
    QTest::newRow("slashes") << "2024/1/5" << "2024-1-5";
    QTest::newRow("backslashes and colon") << "2024\\1:5" << "2024-1-5";
    QTest::newRow("characters a folder cannot hold") << "1*2?3\"4<5>6|7" << "1-2-3-4-5-6-7";
    QTest::newRow("control character") << QString(s("2024.1") + QChar(9) + s("5")) << "2024.1-5";
    QTest::newRow("dots only") << ".." << QDate::currentDate().toString(Qt::ISODate);
}

void TestBackup::datedFolderName()
{
    QFETCH(QString, date);
    QFETCH(QString, folder);
    QCOMPARE(BackupPaths::datedFolderName(date), folder);
}

void TestBackup::browsePutsTheChosenFileInTheBox_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("answer");
    QTest::newRow("backup, a file chosen") << false << "/elsewhere/copy.qdb";
    QTest::newRow("backup, cancelled") << false << "";
    QTest::newRow("restore, a file chosen") << true << "/elsewhere/copy.qdb";
    QTest::newRow("restore, cancelled") << true << "";
}

void TestBackup::browsePutsTheChosenFileInTheBox()
{
    QFETCH(bool, restore);
    QFETCH(QString, answer);
    std::unique_ptr<TfrmBackup> w = restore ? std::make_unique<TfrmRestore>() : std::make_unique<TfrmBackup>();
    const QString preset = QDir::toNativeSeparators(m_dir->file(s("Backup/QLM30.qdb")));
    QCOMPARE(w->edPath->text(), preset);
    m_rec->files.enqueue(answer);
    QTest::mouseClick(w->btnBrowse, Qt::LeftButton);
    QCOMPARE(w->edPath->text(), answer.isEmpty() ? preset : QDir::toNativeSeparators(answer));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestBackup::backupIsKeyedAndComplete()
{
    const QString target = m_dir->file(s("Backup/QLM30.qdb"));
    TfrmBackup w;
    QCOMPARE(QDir::fromNativeSeparators(w.edPath->text()), target);  // preset
    QVERIFY(runBackup(target));
    QCOMPARE(m_rec->texts().last(), s("数据备份成功！"));
    QCOMPARE(m_rec->messages.first().icon, Messages::Icon::Warning);
    QCOMPARE(m_rec->messages.first().buttons, Messages::Buttons::OkCancel);
    QCOMPARE(customersIn(target), 50);
    QVERIFY_THROWS_EXCEPTION(DbError, Database::open(target, "another key"));
    const QString dated = BackupPaths::datedCopy();
    QVERIFY(QFile::exists(dated));
    QCOMPARE(customersIn(dated), 50);
    QVERIFY(leftovers(backupFolder()).isEmpty());
    QCOMPARE(logEntries().last(), s("系统设置-数据备份-备份"));
}

void TestBackup::sameDayTwice()
{
    const QString target = m_dir->file(s("Backup/QLM30.qdb"));
    QVERIFY(runBackup(target));
    addCustomer(s("LATER"));
    QVERIFY(runBackup(target));
    QCOMPARE(customersIn(BackupPaths::datedCopy()), 50);  // the first state of the day
    QCOMPARE(customersIn(target), 51);                    // the latest state
}

void TestBackup::cancelTouchesNothing()
{
    m_rec->answers.enqueue(Messages::Answer::Cancel);
    QVERIFY(!runBackup(m_dir->file(s("Backup/QLM30.qdb"))));
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(QDir(backupFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    QCOMPARE(logEntries().last(), s("系统设置-数据备份-备份"));
}

void TestBackup::liveFileRefused_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the path itself") << "same";
    QTest::newRow("through ..") << "dots";
    QTest::newRow("a symbolic link") << "link";
}

void TestBackup::liveFileRefused()
{
    QFETCH(QString, how);
    QString target = live();
    if (how == u"dots")
        target = m_dir->file(s("Data/../Data/QLM30.qdb"));
    if (how == u"link") {
        target = m_dir->file(s("Backup/link.qdb"));
        QVERIFY(QFile::link(live(), target));
    }
    const QByteArray before = m_dir->readFile(s("Data/QLM30.qdb"));
    QVERIFY(!runBackup(target));
    QCOMPARE(m_rec->texts().last(), s("对不起，不能备份到正在使用的数据库文件！"));
    QCOMPARE(customersIn(live()), 50);
    QVERIFY(QFileInfo(live()).isFile() && !QFileInfo(live()).isSymLink());
    Q_UNUSED(before);
    QVERIFY(!QFile::exists(BackupPaths::datedCopy()));
}

void TestBackup::failedBackupKeepsOldTarget_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("where");
    QTest::newRow("the online copy") << int(FileSteps::Step::OnlineCopy) << "QLM30.qdb.tmp";
    QTest::newRow("the rename over the target") << int(FileSteps::Step::Rename) << "Backup/QLM30.qdb";
}

void TestBackup::failedBackupKeepsOldTarget()
{
    QFETCH(int, step);
    QFETCH(QString, where);
    const QString target = m_dir->file(s("Backup/QLM30.qdb"));
    m_dir->writeFile(s("Backup/QLM30.qdb"), "the old backup");
    failStep(FileSteps::Step(step), where);
    QVERIFY(!runBackup(target));
    QVERIFY(m_rec->texts().last().startsWith(s("数据备份失败：")));
    QVERIFY(m_rec->texts().last().contains(s("设备错误（测试）")));
    QVERIFY(!m_rec->texts().contains(s("数据备份成功！")));
    QCOMPARE(m_dir->readFile(s("Backup/QLM30.qdb")), QByteArray("the old backup"));
    QVERIFY(leftovers(backupFolder()).isEmpty());
}

void TestBackup::targetFolderWithQuote()
{
    const QString folder = m_dir->file(s("Backup/it's \"here\""));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(runBackup(folder + s("/copy.qdb")));
    QCOMPARE(customersIn(folder + s("/copy.qdb")), 50);
}

void TestBackup::restoreReplacesData()
{
    const QString source = m_dir->file(s("Backup/QLM30.qdb"));
    DatabaseFile::backup(*dmMain->database(), source, key());
    addCustomer(s("AFTER-BACKUP"));
    dmMain->tblCustomers2->setFilter(OwnerFilter());
    dmMain->tblCustomers2->setFiltered(true);
    dmMain->tblLog->open();
    const QStringList before = openDatasets();
    QVERIFY(runRestore(source));
    QCOMPARE(m_rec->texts().last(), s("数据恢复成功！"));
    QCOMPARE(customersIn(live()), 50);
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblCustomers")).toInt(), 50);
    // The old file kept beside it, and the day's copy of it.
    const QString aside = live() + s(".before-restore");
    auto old = Database::open(aside, key());
    QCOMPARE(old->scalar(s("select count(*) from tblCustomers where CustId='AFTER-BACKUP'")).toInt(), 1);
    QCOMPARE(customersIn(BackupPaths::datedCopy()), 51);
    for (const QString &name : before)
        QVERIFY2(openDatasets().contains(name), qPrintable(name));
    QVERIFY(dmMain->qryPlan->isActive());
    QCOMPARE(dmMain->tblCustomers2->filter(), OwnerFilter());
    QVERIFY(HasRight(s("301")));
    QVERIFY(leftovers(m_dir->file(s("Data"))).isEmpty());
    // The command's entry went into the file it replaced.
    QCOMPARE(old->scalar(s("select Operate from tblLog order by LogID desc limit 1")).toString(), s("系统设置-数据恢复-恢复"));
}

void TestBackup::swapKeepsTheOldBytes()
{
    const QString source = m_dir->file(s("Backup/source.qdb"));
    DatabaseFile::backup(*dmMain->database(), source, key());
    addCustomer(s("OLD"));
    const QByteArray oldBytes = m_dir->readFile(s("Data/QLM30.qdb"));
    const QByteArray newBytes = m_dir->readFile(s("Backup/source.qdb"));
    m_dir->writeFile(s("Data/QLM30.qdb.before-restore"), "an older leftover");
    const TdmMain::RestoreResult r = dmMain->restoreFrom(source, live(), BackupPaths::datedCopy());
    QCOMPARE(int(r.outcome), int(TdmMain::RestoreResult::Outcome::Restored));
    QCOMPARE(m_dir->readFile(s("Data/QLM30.qdb.before-restore")), oldBytes);
    QCOMPARE(m_dir->readFile(s("Backup/source.qdb")), newBytes);  // the chosen file itself is never opened
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblCustomers where CustId='OLD'")).toInt(), 0);
}

void TestBackup::restoreRefusesBadFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString invalid = s("对不起，所选文件不是有效的数据库文件！");
    QTest::newRow("the live file") << "live" << s("对不起，不能用正在使用的数据库文件恢复！");
    QTest::newRow("the live file through ..") << "live-dots" << s("对不起，不能用正在使用的数据库文件恢复！");
    QTest::newRow("a plain SQLite file") << "plain" << invalid;
    QTest::newRow("another key") << "wrong-key" << invalid;
    QTest::newRow("keyed but not ours") << "foreign" << invalid;
    QTest::newRow("a text file") << "text" << invalid;
    QTest::newRow("truncated") << "truncated" << invalid;
    QTest::newRow("no tables") << "empty-schema" << invalid;
}

void TestBackup::restoreRefusesBadFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QString chosen = m_dir->file(s("Backup/chosen.qdb"));
    if (kind == u"live") {
        chosen = live();
    } else if (kind == u"live-dots") {
        chosen = m_dir->file(s("Data/../Data/QLM30.qdb"));
    } else if (kind == u"plain") {
        {
            auto db = Database::create(chosen, QByteArray());
            db->exec(s("create table t (x); insert into t values (1)"));
        }
        QVERIFY(m_dir->readFile(s("Backup/chosen.qdb")).startsWith("SQLite format 3"));
    } else if (kind == u"wrong-key") {
        auto db = Database::create(chosen, "another key");
        db->exec(s("create table tblUser (x)"));
    } else if (kind == u"foreign") {
        auto db = Database::create(chosen, key());
        db->exec(s("PRAGMA application_id = 7; create table t (x)"));
    } else if (kind == u"text") {
        m_dir->writeFile(s("Backup/chosen.qdb"), "not a database at all");
    } else if (kind == u"truncated") {
        DatabaseFile::backup(*dmMain->database(), chosen, key());
        QFile f(chosen);
        QVERIFY(f.resize(f.size() / 2));
    } else if (kind == u"empty-schema") {
        Database::create(chosen, key());
    }
    QVERIFY(!runRestore(chosen));
    QVERIFY2(m_rec->texts().last().startsWith(message), qPrintable(m_rec->texts().last()));
    QCOMPARE(customersIn(live()), 50);
    QVERIFY(!QFile::exists(live() + s(".before-restore")));
    QVERIFY(!QFile::exists(BackupPaths::datedCopy()));
    QVERIFY(leftovers(m_dir->file(s("Data"))).isEmpty());
    QVERIFY(dmMain->database());
    QVERIFY(HasRight(s("301")));
}

void TestBackup::restoreSourceMissing()
{
    QVERIFY(!runRestore(m_dir->file(s("Backup/none.qdb"))));
    QCOMPARE(m_rec->texts().last(), s("对不起，您要恢复的数据库文件不存在！"));
}

void TestBackup::failedRestorePutsOldFileBack_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("where");
    QTest::newRow("the day's copy") << int(FileSteps::Step::Copy) << "Backup/" + BackupPaths::datedFolderName(DateText::shortDate(QDate::currentDate()));
    QTest::newRow("moving the live file aside") << int(FileSteps::Step::Rename) << ".before-restore";
    QTest::newRow("opening after the swap") << int(FileSteps::Step::Open) << "QLM30.qdb";
}

void TestBackup::failedRestorePutsOldFileBack()
{
    QFETCH(int, step);
    QFETCH(QString, where);
    const QString source = m_dir->file(s("Backup/source.qdb"));
    DatabaseFile::backup(*dmMain->database(), source, key());
    addCustomer(s("KEEP"));
    dmMain->tblLog->open();
    const QStringList before = openDatasets();
    // A pending edit is posted before anything closes.
    dmMain->tblUser->locate(s("UserID"), {s("Admin")});
    dmMain->tblUser->edit();
    dmMain->tblUser->field(s("Memo")).setValue(s("改过"));
    failStep(FileSteps::Step(step), where);
    QVERIFY(!runRestore(source));
    QVERIFY2(m_rec->texts().last().startsWith(s("数据恢复失败：")), qPrintable(m_rec->texts().last()));
    QVERIFY(!m_rec->texts().contains(s("数据恢复成功！")));
    FileSteps::setInjector({});
    QCOMPARE(customersIn(live()), 51);
    QVERIFY(dmMain->database());
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblCustomers")).toInt(), 51);
    QCOMPARE(dmMain->database()->scalar(s("select Memo from tblUser where UserID='Admin'")).toString(), s("改过"));
    for (const QString &name : before)
        QVERIFY2(openDatasets().contains(name), qPrintable(name));
    QVERIFY(dmMain->qryPlan->isActive());
    QVERIFY(HasRight(s("301")));
    QVERIFY(leftovers(m_dir->file(s("Data"))).isEmpty());
}

void TestBackup::checkBringsOlderFileUpToDate()
{
    // A sound file passes; the check leaves it at the current schema version.
    const QString copy = m_dir->file(s("Backup/ok.qdb"));
    DatabaseFile::backup(*dmMain->database(), copy, key());
    DatabaseFile::check(copy, key());
    auto db = Database::open(copy, key());
    QCOMPARE(db->userVersion(), Schema::currentVersion());
    // A newer one is refused.
    db->exec(s("PRAGMA user_version = %1").arg(Schema::currentVersion() + 1));
    db.reset();
    QVERIFY_THROWS_EXCEPTION(DbError, DatabaseFile::check(copy, key()));
}

void TestBackup::failedPostStopsRestoreBeforeClosing()
{
    const QString source = m_dir->file(s("Backup/source.qdb"));
    DatabaseFile::backup(*dmMain->database(), source, key());
    dmMain->database()->exec(s("create trigger t_refuse before update on tblUser begin select raise(abort, 'refused'); end"));
    const QStringList before = openDatasets();
    Dataset *users = dmMain->tblUser;
    users->locate(s("UserID"), {s("Admin")});
    users->edit();
    users->field(s("Memo")).setValue(s("待保存"));
    QVERIFY(!runRestore(source));
    QVERIFY(m_rec->texts().last().contains(s("refused")));
    QCOMPARE(users->state(), Dataset::State::Edit);  // the pending row is still there to mend
    for (const QString &name : before)
        QVERIFY2(openDatasets().contains(name), qPrintable(name));
    QVERIFY(!QFile::exists(live() + s(".before-restore")));
    QVERIFY(!QFile::exists(BackupPaths::datedCopy()));
    QVERIFY(leftovers(m_dir->file(s("Data"))).isEmpty());
    users->cancel();
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
