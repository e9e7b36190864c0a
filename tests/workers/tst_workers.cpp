// The worker window: opening, save checks and focus, "保存" only while editing, rights,
// delete, the filter kept by "刷新" and reopening, pending edits posted before a re-read,
// the worker folders, and the customer and unit tabs.
#include "ActionGate.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DatasetModel.h"
#include "DbPhoto.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "WorkerWindows.h"
#include "uMain.h"
#include "uPublic.h"
#include "uYuangong.h"
#include "CustomerPick.h"
#include "uReport.h"
#include "uYuangongQuery.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
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

QString dbText(const QString &sql)
{
    return dmMain->database()->scalar(sql).toString();
}

void retype(QWidget *w, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(w);
    QVERIFY(e);
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        typeText(e, text);
}

}  // namespace

class TestWorkers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensThePage();
    void saveChecks_data();
    void saveChecks();
    void saveOnlyWhileEditing();
    void subRights_data();
    void subRights();
    void deleteAsks_data();
    void deleteAsks();
    void deleteOnAnEmptyListOnlyLogs();
    void filterKeptByRefreshAndReopening();
    void pendingEditIsPostedBeforeARead();
    void refusedPostStopsTheRead();
    void duplicateNumberIsRefused();
    void folders_data();
    void folders();
    void rowClickMakesTheFolder();
    void tabsShowTheWorkersCustomerAndUnit_data();
    void tabsShowTheWorkersCustomerAndUnit();
    void tabsFollowAChangedCustomer();
    void unitAddedElsewhereIsSeenOnOpening();
    void photoBoxFollowsTheNavigator();
    void pickerWritesTheWorkersCustomerOnly();
    void printsTheListAsFiltered_data();
    void printsTheListAsFiltered();

private:
    void openAs(const QString &user);
    TfrmYuangong *w() const { return frmYuangong; }
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

// Users: Admin (system), wang (every sub-right of 601), guest (only Modify and Query),
// nobody (no row for 601). Customers C1 (wang's), C2 (li's). Units U1, U2.
// Workers W01 (C1, U1), W02 (C2, U2), W03 (no customer, no unit).
void TestWorkers::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *u : {"wang", "li", "guest", "nobody"})
        user.insert({s(u), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    right.insert({s("wang"), s("601"), true, true, true, true, true});
    right.insert({s("li"), s("601"), true, true, true, true, true});
    right.insert({s("guest"), s("601"), false, true, false, true, false});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("Telephone"), s("Email")});
    c.insert({s("C1"), s("王宅"), s("wang"), s("010-1111"), s("c1@home.cn")});
    c.insert({s("C2"), s("李宅"), s("li"), s("010-2222"), QVariant()});
    TableInserter u(*db, s("tblShusong"), {s("ShusongID"), s("ShusongName"), s("Manager")});
    u.insert({s("U1"), s("阳光家政学校"), s("周经理")});
    u.insert({s("U2"), s("东城劳务站"), s("吴站长")});
    TableInserter y(*db, s("tblYuangong"),
                    {s("YuangongID"), s("Name"), s("NickName"), s("Duty"), s("CustID"), s("ShusongID"), s("GongzhongID")});
    y.insert({s("W01"), s("张三"), s("小张"), s("保姆"), s("C1"), s("U1"), s("01")});
    y.insert({s("W02"), s("李四"), s("阿李"), s("月嫂"), s("C2"), s("U2"), s("03")});
    y.insert({s("W03"), s("王五"), s("老王"), s("护工"), QVariant(), QVariant(), s("05")});
    tx.commit();
}

void TestWorkers::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installWorkerWindows(*m_main);
    ReportService::setFolder(QStringLiteral(QLM_LAYOUT_DIR));
    QVERIFY(frmYuangong);
}

void TestWorkers::cleanup()
{
    if (dmMain)
        for (Dataset *d : dmMain->findChildren<Dataset *>())
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->cancel();
    CustomerPickCaller.clear();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestWorkers::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_Yuangong"))->trigger();
    ActionGate::instance()->evaluate();
}

void TestWorkers::opensThePage()
{
    openAs(s("Admin"));
    QCOMPARE(logEntries().last(), s("内部管理-员工档案"));
    QCOMPARE(m_main->currentPage(), w()->PnMain);
    QCOMPARE(m_main->currentNavigationTab(), s("内部管理"));
    QCOMPARE(w()->pages()->tabText(0), s("员工档案列表"));
    QCOMPARE(w()->pages()->tabText(1), s("员工档案详细档案"));
    QCOMPARE(w()->listGrid()->model()->rowCount(), 3);
    QStringList columns;
    for (const GridColumn &c : w()->listGrid()->model()->columns())
        columns << c.caption;
    QCOMPARE(columns, (QStringList{s("员工编号"), s("姓名"), s("称呼"), s("性别"), s("部门"), s("工种"), s("健康状况"),
                                   s("职务"), s("籍贯")}));
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblDepartment), static_cast<Dataset *>(dmMain->tblGongzhong),
                       static_cast<Dataset *>(dmMain->tblTijian), static_cast<Dataset *>(dmMain->tblJineng),
                       static_cast<Dataset *>(dmMain->tblCustomers2), static_cast<Dataset *>(dmMain->tblShusong1)})
        QVERIFY2(d->isActive(), qPrintable(d->objectName()));
    QCOMPARE(FileListRoot, FilesRoot + s("Yuangong/"));
    QVERIFY(QDir(FilesRoot + s("Yuangong")).exists());
    QCOMPARE(w()->lowerTabs()->tabText(0), s("员工状态信息"));
    QCOMPARE(w()->lowerTabs()->tabText(1), s("受聘客户信息"));
    QCOMPARE(w()->lowerTabs()->tabText(2), s("输送单位信息"));
    QCOMPARE(w()->enterOrder().size(), 19);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkers::saveChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");  // empty: saved
    QTest::addColumn<QString>("focus");
    QTest::newRow("no number") << QString() << s("新人") << s("请输入员工代码！") << s("YuangongID");
    QTest::newRow("blanks for a number") << s("  ") << s("新人") << s("请输入员工代码！") << s("YuangongID");
    QTest::newRow("no name") << s("W09") << QString() << s("请输入员工姓名！") << s("Name");
    QTest::newRow("both") << s("W09") << s("新人") << QString() << QString();
}

void TestWorkers::saveChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    openAs(s("wang"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    w()->Act_Insert->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-新增"));
    QCOMPARE(w()->pages()->currentIndex(), 1);
    QVERIFY(!m_main->isNavigationVisible());
    Dataset *y = dmMain->tblYuangong;
    QCOMPARE(y->state(), Dataset::State::Insert);
    if (!code.isEmpty())
        retype(w()->editor(s("YuangongID")), code);
    if (!name.isEmpty())
        retype(w()->editor(s("Name")), name);
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Save->isEnabled());
    w()->Act_Save->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工档案-保存"));
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(y->state(), Dataset::State::Browse);
        QCOMPARE(dbText(s("select Name from tblYuangong where YuangongID = 'W09'")), name);
        // The upper "保存" leaves FilePath empty.
        QCOMPARE(dbText(s("select ifnull(FilePath, '') from tblYuangong where YuangongID = 'W09'")), QString());
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(QApplication::focusWidget(), w()->editor(focus));
        QCOMPARE(y->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from tblYuangong")), 3);
    }
}

void TestWorkers::saveOnlyWhileEditing()
{
    openAs(s("wang"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    ActionGate::instance()->evaluate();
    QVERIFY(!w()->Act_Save->isEnabled());
    // Choosing a photo on a row not in edit puts it into edit: "保存" is on.
    m_rec->files.enqueue(s("/tmp/photo.jpg"));
    QVERIFY(w()->photo()->choose());
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Save->isEnabled());
    y->cancel();
    ActionGate::instance()->evaluate();
    QVERIFY(!w()->Act_Save->isEnabled());
}

void TestWorkers::subRights_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QList<bool>>("enabled");  // Insert, Modify, Delete, Query, Print, Prt, Add, Del, Refresh, Qry
    QTest::newRow("all sub-rights") << s("wang") << QList<bool>{true, true, true, true, true, true, true, true, true, true};
    QTest::newRow("modify and query") << s("guest")
                                      << QList<bool>{false, true, false, true, false, false, false, false, true, true};
    QTest::newRow("no row for 601") << s("nobody")
                                    << QList<bool>{false, false, false, false, false, false, false, false, true, true};
}

void TestWorkers::subRights()
{
    QFETCH(QString, user);
    QFETCH(QList<bool>, enabled);
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    QCOMPARE(m_main->action(s("Act_Yuangong"))->isEnabled(), user != u"nobody");
    const QList<QAction *> actions{w()->Act_Insert, w()->Act_Modify, w()->Act_Delete, w()->Act_Query, w()->Act_Print,
                                   w()->Act_Prt,    w()->Act_Add,    w()->Act_Del,    w()->Act_Refresh, w()->Act_Qry};
    for (int i = 0; i < actions.size(); ++i)
        QVERIFY2(actions.at(i)->isEnabled() == enabled.at(i), qPrintable(actions.at(i)->objectName()));
}

void TestWorkers::deleteAsks_data()
{
    QTest::addColumn<Messages::Answer>("answer");
    QTest::newRow("OK") << Messages::Answer::Ok;
    QTest::newRow("cancel") << Messages::Answer::Cancel;
}

void TestWorkers::deleteAsks()
{
    QFETCH(Messages::Answer, answer);
    openAs(s("wang"));
    QVERIFY(dmMain->tblYuangong->locate(s("YuangongID"), {s("W02")}));
    m_rec->answers.enqueue(answer);
    w()->Act_Delete->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-删除"));
    QCOMPARE(m_rec->texts(), QStringList{s("您真的要删除该员工档案吗？")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(count(s("select count(*) from tblYuangong where YuangongID = 'W02'")), answer == Messages::Answer::Ok ? 0 : 1);
}

void TestWorkers::deleteOnAnEmptyListOnlyLogs()
{
    dmMain->database()->exec(s("delete from tblYuangong"));
    openAs(s("wang"));
    w()->Act_Del->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-删除"));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkers::filterKeptByRefreshAndReopening()
{
    openAs(s("wang"));
    m_rec->onModal = [](QDialog *d) -> int {
        auto *q = qobject_cast<TfrmYuangongQuery *>(d);
        if (!q)
            return QDialog::Rejected;
        q->show();
        q->kindBox()->setCurrentIndex(2);
        typeText(q->textEdit(), s("李"));
        QTest::mouseClick(q->okButton(), Qt::LeftButton);
        return q->result();
    };
    w()->Act_Query->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-查询"));
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmYuangongQuery")});
    QCOMPARE(w()->listGrid()->model()->rowCount(), 1);
    w()->Act_Refresh->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-刷新"));
    QCOMPARE(w()->listGrid()->model()->rowCount(), 1);
    m_main->action(s("Act_Yuangong"))->trigger();
    QCOMPARE(w()->listGrid()->model()->rowCount(), 1);
    m_rec->onModal = [](QDialog *d) -> int {
        auto *q = qobject_cast<TfrmYuangongQuery *>(d);
        if (!q)
            return QDialog::Rejected;
        q->show();
        QTest::mouseClick(q->okButton(), Qt::LeftButton);  // "所有员工"
        return q->result();
    };
    w()->Act_Qry->trigger();
    QCOMPARE(w()->listGrid()->model()->rowCount(), 3);
}

void TestWorkers::pendingEditIsPostedBeforeARead()
{
    openAs(s("wang"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    y->edit();
    y->field(s("Duty")).setValue(s("育婴师"));
    w()->Act_Refresh->trigger();
    QCOMPARE(y->state(), Dataset::State::Browse);
    QCOMPARE(dbText(s("select Duty from tblYuangong where YuangongID = 'W03'")), s("育婴师"));
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    y->edit();
    y->field(s("Duty")).setValue(s("厨师"));
    m_main->action(s("Act_Yuangong"))->trigger();
    QCOMPARE(dbText(s("select Duty from tblYuangong where YuangongID = 'W03'")), s("厨师"));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkers::refusedPostStopsTheRead()
{
    openAs(s("wang"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    y->edit();
    y->field(s("YuangongID")).setValue(s("W01"));
    w()->Act_Refresh->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(y->state(), Dataset::State::Edit);
    // The command still shows the page, the row still in edit.
    m_main->action(s("Act_Yuangong"))->trigger();
    QCOMPARE(m_rec->messages.size(), 2);
    QCOMPARE(y->state(), Dataset::State::Edit);
    QCOMPARE(m_main->currentPage(), w()->PnMain);
}

void TestWorkers::duplicateNumberIsRefused()
{
    openAs(s("wang"));
    w()->Act_Insert->trigger();
    retype(w()->editor(s("YuangongID")), s("W01"));
    retype(w()->editor(s("Name")), s("重号"));
    ActionGate::instance()->evaluate();
    w()->Act_Save->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY2(m_rec->lastText().contains(s("代码重复")), qPrintable(m_rec->lastText()));
    QCOMPARE(dmMain->tblYuangong->state(), Dataset::State::Insert);
}

void TestWorkers::folders_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("own");  // a folder of its own; else the area folder itself
    QTest::newRow("W1") << s("W1") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("..") << s("..") << false;
    QTest::newRow("../x") << s("../x") << false;
    QTest::newRow("a/b") << s("a/b") << false;
    QTest::newRow("con:1") << s("con:1") << false;
}

// The status tab's "保存": FilePath is the worker's folder (or the area folder for a number
// that cannot name one), the record is saved, and nothing is made outside Files/.
void TestWorkers::folders()
{
    QFETCH(QString, code);
    QFETCH(bool, own);
    openAs(s("wang"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    y->edit();
    retype(w()->editor(s("YuangongID")), code);
    QTest::mouseClick(w()->stateSaveButton(), Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(y->state(), Dataset::State::Browse);
    const QString area = FilesRoot + s("Yuangong/");
    const QString expected = own ? area + code : area;
    QCOMPARE(FileListRoot, expected);
    QCOMPARE(dbText(s("select FilePath from tblYuangong where Name = '王五'")), QDir::toNativeSeparators(expected));
    QVERIFY(QDir(expected).exists());
    QVERIFY(!QDir(AppDir + s("x")).exists());
    QVERIFY(!QDir(FilesRoot + s("x")).exists());
    QStringList inArea = QDir(area).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(inArea, own ? QStringList{code} : QStringList());
    QCOMPARE(QDir(FilesRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{s("Yuangong")});
}

void TestWorkers::rowClickMakesTheFolder()
{
    openAs(s("wang"));
    QVERIFY(dmMain->tblYuangong->locate(s("YuangongID"), {s("W02")}));
    w()->syncFolder();
    QCOMPARE(FileListRoot, FilesRoot + s("Yuangong/W02"));
    QVERIFY(QDir(FileListRoot).exists());
}

void TestWorkers::tabsShowTheWorkersCustomerAndUnit_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("worker");
    QTest::addColumn<QString>("custName");
    QTest::addColumn<QString>("unitName");
    QTest::newRow("system user, W01") << s("Admin") << s("W01") << s("王宅") << s("阳光家政学校");
    QTest::newRow("system user, W02") << s("Admin") << s("W02") << s("李宅") << s("东城劳务站");
    QTest::newRow("wang, his customer") << s("wang") << s("W01") << s("王宅") << s("阳光家政学校");
    QTest::newRow("wang, li's customer is not shown") << s("wang") << s("W02") << QString() << s("东城劳务站");
    QTest::newRow("no customer, no unit") << s("Admin") << s("W03") << QString() << QString();
}

void TestWorkers::tabsShowTheWorkersCustomerAndUnit()
{
    QFETCH(QString, user);
    QFETCH(QString, worker);
    QFETCH(QString, custName);
    QFETCH(QString, unitName);
    openAs(user);
    Dataset *c2 = dmMain->tblCustomers2;
    const int before = c2->currentRow();
    QVERIFY(dmMain->tblYuangong->locate(s("YuangongID"), {worker}));
    QCOMPARE(w()->customerField(s("CustName"))->text(), custName);
    QCOMPARE(w()->customerField(s("Telephone"))->text().isEmpty(), custName.isEmpty());
    QCOMPARE(w()->unitField(s("ShusongName"))->text(), unitName);
    QCOMPARE(c2->currentRow(), before);  // the shared cursor has not moved
}

void TestWorkers::tabsFollowAChangedCustomer()
{
    openAs(s("Admin"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    QCOMPARE(w()->customerField(s("CustName"))->text(), QString());
    y->edit();
    y->field(s("CustID")).setValue(s("C1"));
    QCOMPARE(w()->customerField(s("CustName"))->text(), s("王宅"));
    y->cancel();
    QCOMPARE(w()->customerField(s("CustName"))->text(), QString());
}

void TestWorkers::unitAddedElsewhereIsSeenOnOpening()
{
    openAs(s("Admin"));
    dmMain->database()->exec(s("insert into tblShusong (ShusongID, ShusongName) values ('U3', '新单位')"));
    dmMain->database()->exec(s("update tblYuangong set ShusongID = 'U3' where YuangongID = 'W03'"));
    m_main->action(s("Act_Yuangong"))->trigger();
    QVERIFY(dmMain->tblYuangong->locate(s("YuangongID"), {s("W03")}));
    QCOMPARE(dmMain->tblYuangong->field(s("ShusongName")).asString(), s("新单位"));
    QCOMPARE(w()->unitField(s("ShusongName"))->text(), s("新单位"));
}

void TestWorkers::photoBoxFollowsTheNavigator()
{
    QTemporaryDir files;
    const QString a = files.filePath(s("a.png")), b = files.filePath(s("b.png"));
    QImage img(30, 40, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(a, "PNG"));
    img.fill(Qt::blue);
    QVERIFY(img.save(b, "PNG"));
    dmMain->database()->exec(s("update tblYuangong set Photo = '%1' where YuangongID = 'W01'").arg(a));
    dmMain->database()->exec(s("update tblYuangong set Photo = '%1' where YuangongID = 'W02'").arg(b));
    openAs(s("Admin"));
    Dataset *y = dmMain->tblYuangong;
    y->first();
    QCOMPARE(w()->photo()->path(), a);
    y->next();
    QCOMPARE(w()->photo()->path(), b);
    QCOMPARE(w()->photo()->picture().pixelColor(0, 0), QColor(Qt::blue));
    y->next();
    QCOMPARE(w()->photo()->path(), QString());
    QVERIFY(w()->photo()->picture().isNull());
}

// "查询..." on the worker page: the chosen customer goes into the worker in edit; the
// schedule's open appointment keeps its own customer.
void TestWorkers::pickerWritesTheWorkersCustomerOnly()
{
    dmMain->database()->exec(s("insert into tblPlan (PlanDate, CustID, Address) values ('2026-12-09', 'C1', '王宅')"));
    openAs(s("Admin"));
    OpenDatasets({dmMain->qryPlan});
    QCOMPARE(dmMain->qryPlan->field(s("CustID")).asString(), s("C1"));
    Dataset *y = dmMain->tblYuangong;
    QVERIFY(y->locate(s("YuangongID"), {s("W03")}));
    QCOMPARE(y->state(), Dataset::State::Browse);
    QVERIFY(w()->pickButton());
    m_rec->onModal = [](QDialog *d) -> int {
        auto *pick = qobject_cast<CustomerPickDialog *>(d);
        if (!pick)
            return -1;
        pick->show();
        if (!dmMain->tblCustomers2->locate(s("CustId"), {s("C2")}))
            return -2;
        QTest::mouseClick(pick->chooseButton(), Qt::LeftButton);
        return pick->isVisible() ? -3 : pick->result();
    };
    QTest::mouseClick(w()->pickButton(), Qt::LeftButton);
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmCustomerQuery")});
    QCOMPARE(CustomerPickCaller, s("受聘客户"));
    QCOMPARE(y->state(), Dataset::State::Edit);
    QCOMPARE(y->field(s("YuangongID")).asString(), s("W03"));
    QCOMPARE(y->field(s("CustID")).asString(), s("C2"));
    QCOMPARE(w()->customerField(s("CustName"))->text(), s("李宅"));
    QCOMPARE(dmMain->qryPlan->state(), Dataset::State::Browse);
    QCOMPARE(dmMain->qryPlan->field(s("CustID")).asString(), s("C1"));
    y->post();
    QCOMPARE(dmMain->database()->scalar(s("select CustID from tblYuangong where YuangongID = 'W03'")).toString(), s("C2"));
}

void TestWorkers::printsTheListAsFiltered_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("every worker") << QString() << QStringList{"张三", "李四", "王五"} << QStringList{};
    QTest::newRow("one customer's") << s("CustID='C1'") << QStringList{"张三"} << QStringList{"李四", "王五"};
    QTest::newRow("two by number") << s("GongzhongID='03' Or GongzhongID='05'") << QStringList{"李四", "王五"}
                                   << QStringList{"张三"};
}

void TestWorkers::printsTheListAsFiltered()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, printed);
    QFETCH(QStringList, left);
    openAs(s("wang"));
    Dataset *y = dmMain->tblYuangong;
    y->setFilter(filter);
    y->setFiltered(!filter.isEmpty());
    QCOMPARE(y->recordCount(), int(printed.size()));
    const QString pdf = m_dir->file(s("workers.pdf"));
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Print->isEnabled());
    w()->Act_Print->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmReport")});
    QCOMPARE(logEntries().last(), s("内部管理-员工资料-打印"));
    QProcess p;
    p.start(s("pdftotext"), {s("-layout"), pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    for (const QString &name : printed)
        QVERIFY2(text.contains(name), qPrintable(name + u'\n' + text));
    for (const QString &name : left)
        QVERIFY2(!text.contains(name), qPrintable(name + u'\n' + text));
}

QTEST_MAIN(TestWorkers)
#include "tst_workers.moc"
