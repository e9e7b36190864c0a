// The customer window: owner rule, delete checks, folders, printing, rights.
#include "ActionGate.h"
#include "DbGrid.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"
#include "uReport.h"

#include <QAction>
#include <QProcess>
#include <QTabWidget>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

int count(const QString &sql)
{
    return dmMain->database()->scalar(sql).toInt();
}

}  // namespace

class TestCustomers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void ownerRule_data();
    void ownerRule();
    void deleteChecks_data();
    void deleteChecks();
    void workersDoNotBlockDeletion();
    void emptyListDeleteOnlyLogs();
    void customerFolders_data();
    void customerFolders();
    void printShowsTheListAsFiltered();
    void insertAndModifyGoToTheDetailTab();
    void relatedDeleteChecks();
    void noRightsNoButtons();

private:
    void openAs(const QString &user);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TfrmCustomers> m_cust;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestCustomers::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    user.insert({s("wang"), hash, false});
    user.insert({s("guest"), hash, false});
    TableInserter right(*db, s("tblUserRight"), {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    right.insert({s("wang"), s("301"), true, true, true, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("LevelID")});
    for (const char *row : {"FREE:无关联:wang", "LINK:有联系人:wang", "OP:有业务:li", "LCUST:关联客户:wang",
                            "STATE:有接触:wang", "INFO:有附加:li", "PLAN:有日程:wang", "WORK:有员工:wang", "../x:坏代码:wang"}) {
        const QStringList p = s(row).split(u':');
        c.insert({p[0], p[1], p[2], s("A")});
    }
    TableInserter(*db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name")}).insert({s("L1"), s("LINK"), s("联系人甲")});
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("CustID"), s("LinkCustID"), s("LinkmanID")});
    op.insert({s("O1"), s("OP"), QVariant(), s("L1")});
    op.insert({s("O2"), s("FREE-NOT"), s("LCUST"), QVariant()});
    TableInserter(*db, s("tblOperateDetail"), {s("OperateID"), s("DetailNo")}).insert({s("O1"), s("1")});
    TableInserter(*db, s("tblCustomerState"), {s("CustID"), s("Linkman")}).insert({s("STATE"), s("x")});
    TableInserter(*db, s("tblCustomerAddInfo"), {s("CustID"), s("BankID")}).insert({s("INFO"), s("01")});
    TableInserter(*db, s("tblPlan"), {s("CustID"), s("Memo")}).insert({s("PLAN"), s("约")});
    TableInserter(*db, s("tblYuangong"), {s("YuangongID"), s("CustID"), s("Name")}).insert({s("Y1"), s("WORK"), s("阿姨")});
    tx.commit();
}

void TestCustomers::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    m_cust = std::make_unique<TfrmCustomers>();
    m_main->registerPage(s("Act_Customers"), m_cust->PnMain);
    TfrmCustomers *cust = m_cust.get();
    m_main->registerCommand(s("Act_Customers"), [cust] { cust->open(); });
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
}

void TestCustomers::cleanup()
{
    m_cust.reset();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestCustomers::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_Customers"))->trigger();
    ActionGate::instance()->evaluate();
}

void TestCustomers::ownerRule_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("rows");
    QTest::newRow("system user") << "Admin" << 9;
    QTest::newRow("owner") << "wang" << 7;
}

void TestCustomers::ownerRule()
{
    QFETCH(QString, user);
    QFETCH(int, rows);
    openAs(user);
    QCOMPARE(dmMain->tblCustomers->recordCount(), rows);
    QCOMPARE(dmMain->tblCustomers2->recordCount(), rows);
    QCOMPARE(m_cust->listGrid()->model()->rowCount(), rows);
    QCOMPARE(m_main->currentPage(), m_cust->PnMain);
    QCOMPARE(logEntries(), QStringList{"客户业务管理-客户资料"});
}

void TestCustomers::deleteChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("contacts") << "LINK" << "对不起，该客户有联系人资料，不能删除！";
    QTest::newRow("business records") << "OP" << "对不起，该客户有业务资料，不能删除！";
    QTest::newRow("related customer of a record") << "LCUST" << "对不起，该客户有业务资料，不能删除！";
    QTest::newRow("contact history") << "STATE" << "对不起，该客户有客户接触信息，不能删除！";
    QTest::newRow("additional information") << "INFO" << "对不起，该客户有其他资料信息，不能删除！";
    QTest::newRow("appointments") << "PLAN" << "对不起，该客户有日程安排，不能删除！";
}

void TestCustomers::deleteChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    openAs(s("Admin"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {code}));
    m_cust->Act_Delete->trigger();
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='%1'").arg(code)), 1);
    QCOMPARE(logEntries().last(), s("客户业务管理-客户资料-删除"));
}

void TestCustomers::workersDoNotBlockDeletion()
{
    openAs(s("Admin"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("WORK")}));
    m_rec->answers << Messages::Answer::Cancel;
    m_cust->Act_Delete->trigger();
    QCOMPARE(m_rec->lastText(), s("您真的要删除该客户吗？"));
    QCOMPARE(m_rec->messages.last().buttons, Messages::Buttons::OkCancel);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='WORK'")), 1);
    m_cust->Act_Delete->trigger();  // OK this time
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='WORK'")), 0);
    QCOMPARE(count(s("select count(*) from tblYuangong where CustID='WORK'")), 1);  // the worker keeps the code
}

void TestCustomers::emptyListDeleteOnlyLogs()
{
    openAs(s("wang"));
    dmMain->tblCustomers->setFilter(s("CustId='none'"));
    m_cust->Act_Delete->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries().last(), s("客户业务管理-客户资料-删除"));
    QCOMPARE(count(s("select count(*) from tblCustomers")), 9);
}

void TestCustomers::customerFolders_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("ownFolder");
    QTest::newRow("plain code") << "FREE" << true;
    QTest::newRow("parent path") << "../x" << false;
}

void TestCustomers::customerFolders()
{
    QFETCH(QString, code);
    QFETCH(bool, ownFolder);
    openAs(s("Admin"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {code}));
    m_cust->syncFolder(true);
    if (ownFolder) {
        QCOMPARE(FileListRoot, FilesRoot + code);
        QVERIFY(QDir(FilesRoot + code).exists());
    } else {
        QCOMPARE(FileListRoot, FilesRoot);
        QVERIFY(!QDir(AppDir + s("x")).exists());
        QVERIFY(!QDir(FilesRoot + s("../x")).exists());
    }
    for (const char *bad : {"", ".", "..", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a|b", "a\tb"})
        QCOMPARE(RecordFolder(FilesRoot, s(bad)), FilesRoot);
    QCOMPARE(QDir(AppDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"Data", "Files"}));  // nothing escaped Files/
}

void TestCustomers::printShowsTheListAsFiltered()
{
    openAs(s("wang"));
    const QString pdf = m_dir->file(s("printed.pdf"));
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    m_cust->Act_Print->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmReport"});
    QCOMPARE(logEntries().last(), s("客户业务管理-客户资料-打印"));
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY(text.contains(s("FREE")));
    QVERIFY(text.contains(s("LCUST")));
    QVERIFY(!text.contains(s("INFO")));  // li's customer
}

void TestCustomers::insertAndModifyGoToTheDetailTab()
{
    openAs(s("wang"));
    m_cust->Act_Insert->trigger();
    QCOMPARE(dmMain->tblCustomers->state(), Dataset::State::Insert);
    QCOMPARE(m_cust->pages()->currentIndex(), 1);
    dmMain->tblCustomers->cancel();
    m_cust->pages()->setCurrentIndex(0);
    dmMain->tblCustomers->locate(s("CustId"), {s("FREE")});
    m_cust->Act_Modify->trigger();
    QCOMPARE(dmMain->tblCustomers->state(), Dataset::State::Edit);
    QCOMPARE(m_cust->pages()->currentIndex(), 1);
    QCOMPARE(FileListRoot, FilesRoot + s("FREE"));
    QCOMPARE(logEntries().mid(1), (QStringList{"客户业务管理-客户资料-新增", "客户业务管理-客户资料-修改"}));
}

void TestCustomers::relatedDeleteChecks()
{
    openAs(s("Admin"));
    dmMain->tblCustomers->locate(s("CustId"), {s("LINK")});
    QCOMPARE(m_cust->relatedGrid(0)->model()->rowCount(), 1);
    m_cust->relatedAction(0, s("delete"))->trigger();
    QCOMPARE(m_rec->lastText(), s("对不起，业务资料有该联系人信息，不能删除！"));
    dmMain->tblCustomers->locate(s("CustId"), {s("OP")});
    QCOMPARE(m_cust->relatedGrid(1)->model()->rowCount(), 1);
    m_cust->relatedAction(1, s("delete"))->trigger();
    QCOMPARE(m_rec->lastText(), s("对不起，该业务资料包括业务子项信息，不能删除！"));
    dmMain->tblCustomers->locate(s("CustId"), {s("STATE")});
    m_rec->answers << Messages::Answer::Ok;
    m_cust->relatedAction(3, s("delete"))->trigger();
    QCOMPARE(m_rec->lastText(), s("您真的要删除该接触机会信息吗？"));
    QCOMPARE(count(s("select count(*) from tblCustomerState")), 0);
    QCOMPARE(logEntries().size(), 1);  // related deletes write no entry
}

void TestCustomers::noRightsNoButtons()
{
    openAs(s("guest"));
    for (QAction *a : {m_cust->Act_Insert, m_cust->Act_Modify, m_cust->Act_Delete, m_cust->Act_Query, m_cust->Act_Print})
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    for (int t = 0; t < 4; ++t) {
        QVERIFY(!m_cust->relatedAction(t, s("new"))->isEnabled());
        QVERIFY(m_cust->relatedAction(t, s("refresh"))->isEnabled());
    }
    m_cust->Act_Delete->trigger();  // refused by the gate: nothing at all
    QVERIFY(m_rec->messages.isEmpty());
}

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
