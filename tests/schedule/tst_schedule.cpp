// The schedule pages, the today view and their filters, on real database files.
#include "ActionGate.h"
#include "CustomerPick.h"
#include "CustomerWindows.h"
#include "DatasetModel.h"
#include "DateText.h"
#include "DbDateEdit.h"
#include "DbGrid.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "DbNavigator.h"
#include "LogEntries.h"
#include "OperationWindows.h"
#include "PasswordHash.h"
#include "PlanCommands.h"
#include "PlanPanels.h"
#include "ReportService.h"
#include "ScheduleWindows.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uPlan.h"
#include "uPlanNew.h"
#include "uPlanQuery.h"
#include "uPublic.h"
#include "uReport.h"
#include "uToday.h"
#include "udmMain.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
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

QDateTime day(int offset, QTime time = QTime(0, 0))
{
    return QDateTime(QDate::currentDate().addDays(offset), time);
}

// The values of one column over the rows a dataset shows, in order.
QStringList column(Dataset *d, const char *field)
{
    QStringList out;
    d->first();
    while (!d->isEof()) {
        out << d->field(s(field)).asString();
        d->next();
    }
    d->first();
    return out;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

}  // namespace

class TestSchedule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void saveChecks_data();
    void saveChecks();
    void quotesStoredAsTyped();
    void editorClose_data();
    void editorClose();
    void editorPageFlow();
    void enterMovesAlongTheEntry();
    void todayDueRecords_data();
    void todayDueRecords();
    void todayFiltersStay();
    void todayEditsReachTheFile();
    void todayRetriesAFailedClose();
    void todayRefusedPostOpensNothing();
    void actPlanRefusedPostKeepsThePage();
    void ownerFilterWithQuote();
    void customerTabsFollowTheEntry();
    void openHomePage_data();
    void openHomePage();
    void hooksFollowRegistration();
    void hooksOpenTheRealWindows();
    void rightsGateTheButtons();
    void commandsLogFirst();
    void printAfterTodayView();

private:
    void login(const QString &user);
    QWidget *focused() const { return frmPlanNew->PnMain->window()->focusWidget(); }
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestSchedule::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const char *u : {"wang", "o'brien"}) {
        user.insert({s(u), hash, false});
        right.insert({s(u), s("305"), true, true, true, true, true});
    }
    user.insert({s("reader"), hash, false});
    right.insert({s("reader"), s("305"), false, false, true, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("HomePage"), s("Email")});
    c.insert({s("C1"), s("王宅"), s("wang"), s("www.example.cn"), s("wang@example.cn")});
    c.insert({s("C2"), s("李宅"), s("li"), QVariant(), QVariant()});
    c.insert({s("C3"), s("奥宅"), s("o'brien"), QVariant(), QVariant()});
    c.insert({s("C4"), s("外人"), s("x' or sUser<>'"), QVariant(), QVariant()});
    c.insert({s("C5"), s("王二宅"), s("wang"), QVariant(), QVariant()});
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("CustID"), s("SUser"), s("EndDate"), s("OperateTitle")});
    op.insert({s("D1"), s("C1"), s("wang"), day(0), s("王今日")});
    op.insert({s("D2"), s("C2"), s("li"), day(0), s("李今日")});
    op.insert({s("D3"), s("C1"), s("wang"), day(0, QTime(14, 0)), s("王下午")});
    op.insert({s("D4"), s("C1"), s("wang"), day(1), s("王明日")});
    op.insert({s("D5"), s("C3"), s("o'brien"), day(0), s("奥今日")});
    TableInserter st(*db, s("tblCustomerState"), {s("CustID"), s("Linkman"), s("LinkDate")});
    st.insert({s("C1"), s("王接触"), day(-3)});
    st.insert({s("C2"), s("李接触"), day(-2)});
    TableInserter plan(*db, s("tblPlan"),
                       {s("PlanDate"), s("PlanTime"), s("Address"), s("CustID"), s("Linkman"), s("Memo")});
    plan.insert({day(0), s("09:30:00"), s("王家"), s("C1"), s("王先生"), s("今天王")});
    plan.insert({day(0), s("14:00:00"), s("李家"), s("C2"), s("李女士"), s("今天李")});
    plan.insert({day(-7), s("10:00:00"), s("王家"), s("C1"), s("王先生"), s("上周")});
    plan.insert({day(7), s("10:00:00"), s("李家"), s("C2"), s("李女士"), s("下周")});
    plan.insert({day(8), s("10:00:00"), s("王家"), s("C1"), s("王先生"), s("远期")});
    TableInserter board(*db, s("tblBoard"), {s("BDate"), s("BTitle"), s("Man"), s("Memo")});
    board.insert({day(0), s("今日公告"), s("办公室"), s("开会")});
    board.insert({day(-1), s("旧公告"), s("办公室"), s("放假")});
    tx.commit();
}

void TestSchedule::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installScheduleWindows(*m_main);
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void TestSchedule::cleanup()
{
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestSchedule::login(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

void TestSchedule::saveChecks_data()
{
    QTest::addColumn<bool>("withDate");
    QTest::addColumn<QString>("digits");  // typed into the time edit
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("linkman");
    QTest::addColumn<QString>("message");  // empty: stored
    QTest::addColumn<QString>("focus");
    QTest::newRow("no date") << false << "093000" << "王家" << "C1" << "王" << "请输入日程安排日期！" << "PlanDate";
    QTest::newRow("no time") << true << "" << "王家" << "C1" << "王" << "请输入日程安排时间！" << "PlanTime";
    QTest::newRow("9") << true << "9" << "王家" << "C1" << "王" << "请完整输入日程安排时间！" << "PlanTime";
    QTest::newRow("09:30") << true << "0930" << "王家" << "C1" << "王" << "请完整输入日程安排时间！" << "PlanTime";
    QTest::newRow("no place") << true << "093000" << "  " << "C1" << "王" << "请输入日程安排的地点！" << "Address";
    QTest::newRow("no customer") << true << "093000" << "王家" << "" << "王" << "请选择输入客户名称！" << "CustID";
    QTest::newRow("no contact") << true << "093000" << "王家" << "C1" << "" << "请输入客户联系人名称！" << "Linkman";
    QTest::newRow("09:30:0 stored") << true << "09300" << "王家" << "C1" << "王" << "" << "";
    QTest::newRow("09:30:00 stored") << true << "093000" << "王家" << "C1" << "王" << "" << "";
}

void TestSchedule::saveChecks()
{
    QFETCH(bool, withDate);
    QFETCH(QString, digits);
    QFETCH(QString, place);
    QFETCH(QString, customer);
    QFETCH(QString, linkman);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    const int before = count(s("select count(*) from tblPlan"));
    planShell->Act_Insert->trigger();
    QCOMPARE(m_main->currentPage(), frmPlanNew->PnMain);
    PlanEntryPanel *e = frmPlanNew->entry();
    Dataset *plan = dmMain->qryPlan;
    QCOMPARE(plan->state(), Dataset::State::Insert);
    if (withDate)
        plan->field(s("PlanDate")).setValue(day(2));
    e->timeEdit()->setFocus();
    e->timeEdit()->setCursorPosition(0);
    QTest::keyClicks(e->timeEdit(), digits);
    if (!place.isEmpty())
        plan->field(s("Address")).setValue(place);
    if (!customer.isEmpty())
        plan->field(s("CustID")).setValue(customer);
    if (!linkman.isEmpty())
        plan->field(s("Linkman")).setValue(linkman);
    m_rec->messages.clear();
    ActionGate::instance()->evaluate();
    frmPlanNew->Act_Save->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-日程安排-保存"));
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(plan->state(), Dataset::State::Browse);
        QCOMPARE(count(s("select count(*) from tblPlan")), before + 1);
        const QString stored = dmMain->database()->scalar(s("select PlanTime from tblPlan order by PlanID desc limit 1")).toString();
        QCOMPARE(stored, digits.size() == 5 ? s("09:30:0 ") : s("09:30:00"));
        QVERIFY(QDir(FilesRoot + s("Plans")).exists());
        QCOMPARE(FileListRoot, FilesRoot + s("Plans"));
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(plan->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from tblPlan")), before);
        QVERIFY(e->editor(focus) == focused() || e->editor(focus)->isAncestorOf(focused()));
        plan->cancel();
    }
}

void TestSchedule::quotesStoredAsTyped()
{
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    planShell->Act_Insert->trigger();
    Dataset *plan = dmMain->qryPlan;
    plan->field(s("PlanDate")).setValue(day(3));
    plan->field(s("PlanTime")).setValue(s("10:00:00"));
    plan->field(s("Address")).setValue(s("O'Hara 路 100%_"));
    plan->field(s("CustID")).setValue(s("C1"));
    plan->field(s("Linkman")).setValue(s("a'b"));
    QVERIFY(PlanCommands::save(frmPlanNew->entry()));
    QCOMPARE(count(s("select count(*) from tblPlan where Address='O''Hara 路 100%_' and Linkman='a''b'")), 1);
    // Overlong text is refused at entry: the edit takes no more than the column holds.
    auto *address = qobject_cast<QLineEdit *>(frmPlanNew->entry()->editor(s("Address")));
    QVERIFY(address->maxLength() < 32767);
}

void TestSchedule::editorClose_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("No discards") << false << "王家" << false << false;
    QTest::newRow("Yes, no place") << true << "" << false << true;
    QTest::newRow("Yes, no contact stores") << true << "王家" << true << false;
}

void TestSchedule::editorClose()
{
    QFETCH(bool, yes);
    QFETCH(QString, place);
    QFETCH(bool, stored);
    QFETCH(bool, staysOpen);
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    const int before = count(s("select count(*) from tblPlan"));
    planShell->Act_Insert->trigger();
    Dataset *plan = dmMain->qryPlan;
    plan->field(s("PlanDate")).setValue(day(3));
    plan->field(s("PlanTime")).setValue(s("10:00:00"));
    if (!place.isEmpty())
        plan->field(s("Address")).setValue(place);
    plan->field(s("CustID")).setValue(s("C2"));  // no contact person
    m_rec->answers << (yes ? Messages::Answer::Yes : Messages::Answer::No);
    frmPlanNew->Act_Close->trigger();
    QCOMPARE(m_rec->messages.first().text, s("日程安排尚未保存，保存吗？"));
    QCOMPARE(count(s("select count(*) from tblPlan")), before + (stored ? 1 : 0));
    if (staysOpen) {
        QCOMPARE(m_main->currentPage(), frmPlanNew->PnMain);
        QCOMPARE(m_rec->lastText(), s("请输入日程安排的地点！"));
        QCOMPARE(focused(), frmPlanNew->entry()->editor(s("Address")));
        QCOMPARE(plan->state(), Dataset::State::Insert);
        plan->cancel();
    } else {
        QCOMPARE(m_main->currentPage(), frmPlan->PnMain);
        QCOMPARE(plan->state(), Dataset::State::Browse);
    }
}

void TestSchedule::editorPageFlow()
{
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());
    // Modify from frmPlan's list, save stays on the editor, close returns to the list.
    PlanCommands::showListPage();
    frmPlan->Act_Modify->trigger();
    QCOMPARE(dmMain->qryPlan->state(), Dataset::State::Edit);
    QCOMPARE(m_main->currentPage(), frmPlanNew->PnMain);
    QCOMPARE(m_main->currentNavigationTab(), s("业务管理"));
    dmMain->qryPlan->field(s("Linkman")).setValue(s("新联系人"));
    ActionGate::instance()->evaluate();
    frmPlanNew->Act_Save->trigger();
    QCOMPARE(m_main->currentPage(), frmPlanNew->PnMain);
    QCOMPARE(count(s("select count(*) from tblPlan where Linkman='新联系人'")), 1);
    frmPlanNew->Act_Close->trigger();
    QCOMPARE(m_main->currentPage(), frmPlan->PnMain);
    // Leaving a row posts: the navigator moves on with the change stored, never dropped.
    dmMain->qryPlan->first();
    dmMain->qryPlan->edit();
    dmMain->qryPlan->field(s("Memo")).setValue(s("移动即保存"));
    frmPlanNew->entry()->navigator()->nextButton()->click();
    QCOMPARE(count(s("select count(*) from tblPlan where Memo='移动即保存'")), 1);
    QCOMPARE(FileListRoot, FilesRoot + s("Plans"));
}

void TestSchedule::enterMovesAlongTheEntry()
{
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    PlanCommands::showEditorPage();
    PlanEntryPanel *e = frmPlanNew->entry();
    const QStringList order{"PlanDate", "PlanTime", "Address", "AttendMan", "CustID", "Linkman", "OperateId", "Memo"};
    e->editor(order.first())->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(focused(), Qt::Key_Return);
        QWidget *expected = e->editor(order.at(i));
        QVERIFY2(expected == focused() || expected->isAncestorOf(focused()), qPrintable(order.at(i)));
    }
}

void TestSchedule::todayDueRecords_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("due");
    QTest::newRow("system user") << "Admin" << QStringList{"D1", "D2", "D5"};
    QTest::newRow("owner") << "wang" << QStringList{"D1"};
    QTest::newRow("quote in the ID") << "o'brien" << QStringList{"D5"};
}

void TestSchedule::todayDueRecords()
{
    QFETCH(QString, user);
    QFETCH(QStringList, due);
    login(user);
    TfrmToday::prepare();
    // Due at 14:00 today (D3) and tomorrow (D4) are not listed.
    QCOMPARE(sorted(column(dmMain->tblOperates2, "OperateID")), due);
    QCOMPARE(sorted(column(dmMain->qryPlan, "Memo")), sorted({s("今天王"), s("今天李")}));
    QCOMPARE(column(dmMain->tblBoard, "BTitle"), QStringList{s("今日公告")});
    TfrmToday view(m_main.get());
    QCOMPARE(view.size(), QSize(620, 436));
    QCOMPARE(view.tabs()->tabText(1), s("今日日程安排"));
    QCOMPARE(view.grid(0)->model()->rowCount(), due.size());
    for (QPushButton *b : view.boardButtons())
        QVERIFY(!b->isEnabled());
}

void TestSchedule::todayFiltersStay()
{
    login(s("Admin"));
    TfrmToday::prepare();
    m_main->prepareAfterLogin();
    m_main->action(s("Act_Plan"))->trigger();
    Dataset *plan = dmMain->qryPlan;
    QCOMPARE(plan->recordCount(), 2);
    planShell->Act_Refresh->trigger();
    QCOMPARE(plan->recordCount(), 2);
    QCOMPARE(dmMain->tblBoard->recordCount(), 1);
    // The default range, both ends included: a week back and a week ahead, not day 8.
    m_rec->onModal = [](QDialog *d) {
        static_cast<TfrmPlanQuery *>(d)->okButton()->click();
        return d->result();
    };
    planShell->Act_Query->trigger();
    QCOMPARE(sorted(column(plan, "Memo")), sorted({s("今天王"), s("今天李"), s("上周"), s("下周")}));
    QVERIFY(!plan->isFiltered());
    // A start after the end: an empty list and no message.
    m_rec->messages.clear();
    m_rec->onModal = [](QDialog *d) {
        auto *q = static_cast<TfrmPlanQuery *>(d);
        q->startEdit()->setDate(QDate::currentDate().addDays(5));
        q->endEdit()->setDate(QDate::currentDate());
        q->okButton()->click();
        return d->result();
    };
    planShell->Act_Query->trigger();
    QCOMPARE(plan->recordCount(), 0);
    QVERIFY(m_rec->messages.isEmpty());
    // Today's filter again, then "查询全部" lifts it.
    TfrmToday::prepare();
    QCOMPARE(plan->recordCount(), 2);
    m_rec->onModal = [](QDialog *d) {
        static_cast<TfrmPlanQuery *>(d)->allButton()->click();
        return d->result();
    };
    frmPlan->Act_Query->trigger();
    QCOMPARE(plan->recordCount(), 5);
}

void TestSchedule::todayEditsReachTheFile()
{
    login(s("Admin"));
    OpenDatasets({dmMain->tblOperateState});
    TfrmToday::prepare();
    TfrmToday view(m_main.get());
    Dataset *ops = dmMain->tblOperates2;
    QVERIFY(ops->locate(s("OperateID"), {s("D1")}));
    ops->edit();
    ops->field(s("OperateStateID")).setValue(s("02"));
    Dataset *plan = dmMain->qryPlan;
    plan->locate(s("Memo"), {s("今天李")});
    plan->edit();
    plan->field(s("CustID")).setValue(s("C1"));
    Dataset *board = dmMain->tblBoard;
    board->edit();
    board->field(s("Man")).setValue(s("行政部"));
    view.show();
    view.nextButton()->click();
    QVERIFY(!view.isVisible());
    QCOMPARE(dmMain->database()->scalar(s("select OperateStateID from tblOperates where OperateID='D1'")).toString(), s("02"));
    QCOMPARE(count(s("select count(*) from tblPlan where Memo='今天李' and CustID='C1'")), 1);
    QCOMPARE(count(s("select count(*) from tblBoard where Man='行政部'")), 1);
}

void TestSchedule::todayRetriesAFailedClose()
{
    login(s("Admin"));
    TfrmToday::prepare();
    TfrmToday view(m_main.get());
    view.show();
    Dataset *ops = dmMain->tblOperates2;
    QVERIFY(ops->locate(s("OperateID"), {s("D1")}));
    ops->edit();
    ops->field(s("OperateID")).setValue(s("D2"));  // a duplicate code: the post is refused
    view.close();
    QVERIFY(view.isVisible());
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(ops->state(), Dataset::State::Edit);
    ops->field(s("OperateID")).setValue(s("D9"));
    view.close();
    QVERIFY(!view.isVisible());
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID='D9'")), 1);
}

void TestSchedule::todayRefusedPostOpensNothing()
{
    login(s("Admin"));
    Dataset *ops = dmMain->tblOperates2;
    OpenDatasets({ops});
    ops->setFilter(s("OperateID='D1' or OperateID='D4'"));
    ops->setFiltered(true);
    QVERIFY(ops->locate(s("OperateID"), {s("D4")}));
    ops->edit();
    ops->field(s("OperateID")).setValue(s("D1"));
    const QString planFilter = dmMain->qryPlan->filter();
    const bool planFiltered = dmMain->qryPlan->isFiltered();
    m_main->action(s("Tool_Today"))->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{});
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(ops->filter(), s("OperateID='D1' or OperateID='D4'"));
    QCOMPARE(ops->state(), Dataset::State::Edit);
    QCOMPARE(dmMain->qryPlan->filter(), planFilter);
    QCOMPARE(dmMain->qryPlan->isFiltered(), planFiltered);
    // A new business record without a code is dropped by its guard, and the view opens.
    ops->cancel();
    ops->append();
    m_main->action(s("Tool_Today"))->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmToday"});
    QCOMPARE(logEntries().last(), s("工具-今日事"));
}

void TestSchedule::actPlanRefusedPostKeepsThePage()
{
    login(s("wang"));
    QWidget other;
    m_main->registerPage(s("Act_Customers"), &other);
    m_main->showPage(&other);
    Dataset *c2 = dmMain->tblCustomers2;
    QVERIFY(c2->locate(s("CustId"), {s("C5")}));
    c2->edit();
    c2->field(s("CustId")).setValue(s("C2"));  // another customer's code: the post is refused
    QueryDataset *plan = dmMain->qryPlan;
    plan->setFilter(s("Memo='上周'"));
    plan->setFiltered(true);
    m_main->action(s("Act_Plan"))->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(m_main->currentPage(), &other);
    QCOMPARE(c2->state(), Dataset::State::Edit);
    QCOMPARE(plan->recordCount(), 1);
    QCOMPARE(plan->filter(), s("Memo='上周'"));
    c2->cancel();
    other.setParent(nullptr);
}

void TestSchedule::ownerFilterWithQuote()
{
    login(s("o'brien"));
    m_main->action(s("Act_Plan"))->trigger();
    QCOMPARE(column(dmMain->tblCustomers2, "CustId"), QStringList{"C3"});
    QVERIFY(dmMain->tblCustomers2->isFiltered());
    // Every entry is listed: the schedule has no owner.
    QCOMPARE(dmMain->qryPlan->recordCount(), 5);
    // The customer drop-down lifts the owner filter on focus.
    m_main->scheduleTabs()->setCurrentIndex(1);
    planShell->detail()->customerCombo()->setFocus();
    QApplication::processEvents();
    QVERIFY(!dmMain->tblCustomers2->isFiltered());
    QCOMPARE(dmMain->tblCustomers2->recordCount(), 5);
}

void TestSchedule::customerTabsFollowTheEntry()
{
    login(s("Admin"));
    OpenDatasets({dmMain->tblOperates, dmMain->tblCustomerState});
    m_main->action(s("Act_Plan"))->trigger();
    m_main->scheduleTabs()->setCurrentIndex(1);
    QueryDataset *plan = dmMain->qryPlan;
    for (const char *memo : {"今天李", "今天王", "下周"}) {
        QVERIFY(plan->locate(s("Memo"), {s(memo)}));
        const QString code = plan->field(s("CustID")).asString();
        QCOMPARE(dmMain->tblCustomers2->field(s("CustId")).asString(), code);
        QCOMPARE(dmMain->tblCustomers->field(s("CustId")).asString(), code);
        QCOMPARE(column(dmMain->tblCustomerState, "CustID"), QStringList{code});
        QVERIFY(!dmMain->tblOperates->isEmpty());
        QCOMPARE(dmMain->tblOperates->field(s("CustID")).asString(), code);
    }
    // A changed customer moves the tabs too.
    plan->edit();
    plan->field(s("CustID")).setValue(s("C3"));
    QCOMPARE(dmMain->tblCustomers->field(s("CustId")).asString(), s("C3"));
    plan->cancel();
}

void TestSchedule::openHomePage_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("opened");
    QTest::newRow("https") << "https://www.example.cn/a?b=1" << "https://www.example.cn/a?b=1";
    QTest::newRow("no scheme") << "www.example.cn" << "http://www.example.cn";
    QTest::newRow("path") << "/etc/passwd" << "";
    QTest::newRow("windows path") << "C:\\Windows\\system32\\calc.exe" << "";
    QTest::newRow("file") << "file:///etc/passwd" << "";
    QTest::newRow("javascript") << "javascript:alert(1)" << "";
    QTest::newRow("empty") << "" << "";
}

void TestSchedule::openHomePage()
{
    QFETCH(QString, home);
    QFETCH(QString, opened);
    login(s("Admin"));
    Dataset *c2 = dmMain->tblCustomers2;
    QVERIFY(c2->locate(s("CustId"), {s("C2")}));
    c2->edit();
    c2->field(s("HomePage")).setValue(home.isEmpty() ? QVariant() : QVariant(home));
    c2->post();
    frmPlanNew->entry()->openButton()->click();
    QCOMPARE(m_rec->opened, opened.isEmpty() ? QStringList{} : QStringList{opened});
}

void TestSchedule::hooksFollowRegistration()
{
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    m_main->scheduleTabs()->setCurrentIndex(1);
    PlanEntryPanel *detail = planShell->detail();
    QVERIFY(!detail->operateButton()->isEnabled());
    QVERIFY(!detail->stateButton()->isEnabled());
    // The business-record window registers later: the button follows at the next show.
    int shown = 0;
    Dataset::State state = Dataset::State::Inactive;
    m_main->registerOpener(s("TfrmOperateNew1"), [&](QWidget *) {
        ++shown;
        state = dmMain->tblOperates->state();
    });
    m_main->scheduleTabs()->setCurrentIndex(0);
    m_main->scheduleTabs()->setCurrentIndex(1);
    QVERIFY(detail->operateButton()->isEnabled());
    detail->operateButton()->click();
    QCOMPARE(shown, 1);
    QCOMPARE(state, Dataset::State::Edit);
    dmMain->tblOperates->cancel();
    // The editor's grid opens it on double-click too.
    PlanCommands::showEditorPage();
    emit frmPlanNew->entry()->operatesGrid()->rowDoubleClicked();
    QCOMPARE(shown, 2);
    dmMain->tblOperates->cancel();
    // "查询..." is the pick dialog writing qryPlan's customer.
    QString caller;
    m_rec->onModal = [&caller](QDialog *) {
        caller = CustomerPickCaller;
        return int(QDialog::Rejected);
    };
    detail->pickButton()->click();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmCustomerQuery"});
    QCOMPARE(caller, s("日程安排"));
}

// With the customer and business-record folders installed as the start-up does, the two
// buttons open their real dialogs on the entry's customer.
void TestSchedule::hooksOpenTheRealWindows()
{
    installCustomerWindows(*m_main);
    installOperationWindows(*m_main);
    login(s("Admin"));
    m_main->action(s("Act_Plan"))->trigger();
    m_main->scheduleTabs()->setCurrentIndex(1);
    QVERIFY(dmMain->qryPlan->locate(s("Memo"), {s("今天王")}));
    PlanEntryPanel *detail = planShell->detail();
    QVERIFY(detail->operateButton()->isEnabled());
    QVERIFY(detail->stateButton()->isEnabled());
    QStringList seen;
    m_rec->onModal = [&seen](QDialog *d) {
        if (d->objectName() == u"frmOperateNew1")
            seen << d->objectName() + u':' + dmMain->tblOperates->field(s("CustID")).asString();
        else if (d->objectName() == u"frmCustStateNew")
            seen << d->objectName() + u':' + dmMain->tblCustomerState->field(s("CustID")).asString();
        return int(QDialog::Rejected);
    };
    detail->operateButton()->click();
    detail->stateButton()->click();
    QCOMPARE(m_rec->modalWindows, (QStringList{s("frmOperateNew1"), s("frmCustStateNew")}));
    QCOMPARE(seen, (QStringList{s("frmOperateNew1:C1"), s("frmCustStateNew:C1")}));
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblOperates), static_cast<Dataset *>(dmMain->tblCustomerState)})
        if (WindowKit::isEditing(d))
            d->cancel();
}

void TestSchedule::rightsGateTheButtons()
{
    login(s("reader"));  // 305 without Insert and Modify
    m_main->action(s("Act_Plan"))->trigger();
    ActionGate::instance()->evaluate();
    for (QAction *a : {planShell->Act_Insert, frmPlan->Act_Insert, frmPlanNew->Act_Add})
        QVERIFY(!a->isEnabled());
    QVERIFY(planShell->Act_Save->isEnabled());
    QVERIFY(planShell->Act_Cancel->isEnabled());
    QVERIFY(planShell->Act_Delete->isEnabled());
    // Without Modify a double-click does nothing.
    emit planShell->list()->grid()->rowDoubleClicked();
    emit frmPlan->list()->grid()->rowDoubleClicked();
    QCOMPARE(dmMain->qryPlan->state(), Dataset::State::Browse);
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());
    QVERIFY(!logEntries().contains(s("客户业务管理-日程安排-修改")));
}

void TestSchedule::commandsLogFirst()
{
    login(s("wang"));
    m_main->action(s("Act_Plan"))->trigger();
    // Ctrl+N belongs to frmPlan's page: nothing on the main window's own page.
    m_main->scheduleTabs()->widget(0)->setFocus();
    QTest::keyClick(m_main->scheduleTabs()->widget(0), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(dmMain->qryPlan->state(), Dataset::State::Browse);
    PlanCommands::showListPage();
    frmPlan->list()->grid()->view()->setFocus();
    QTest::keyClick(frmPlan->list()->grid()->view(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(dmMain->qryPlan->state(), Dataset::State::Insert);
    // A refused save and a cancelled delete are logged.
    ActionGate::instance()->evaluate();
    frmPlanNew->Act_Save->trigger();
    QCOMPARE(m_rec->lastText(), s("请输入日程安排日期！"));
    dmMain->qryPlan->cancel();
    const int plans = count(s("select count(*) from tblPlan"));
    m_rec->answers << Messages::Answer::Cancel;
    frmPlan->Act_Delete->trigger();
    QCOMPARE(m_rec->lastText(), s("您真的要删除该日程安排记录吗？"));
    QCOMPARE(count(s("select count(*) from tblPlan")), plans);
    frmPlan->Act_Refresh->trigger();
    planShell->Act_Modify->trigger();
    const QStringList expected{"客户业务管理-日程安排", "客户业务管理-日程安排-新增", "客户业务管理-日程安排-保存",
                               "客户业务管理-日程安排-删除", "客户业务管理-日程安排-刷新", "客户业务管理-日程安排-修改"};
    QCOMPARE(logEntries().mid(logEntries().size() - 6), expected);
    dmMain->qryPlan->cancel();
}

void TestSchedule::printAfterTodayView()
{
    login(s("Admin"));
    TfrmToday::prepare();
    m_main->prepareAfterLogin();
    m_main->action(s("Act_Plan"))->trigger();
    const QString pdf = m_dir->file(s("plans.pdf"));
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    planShell->Act_Print->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmReport"});
    QCOMPARE(logEntries().last(), s("客户业务管理-日程安排-打印"));
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(s("王家")) && text.contains(s("李家")), qPrintable(text));
    QVERIFY(text.contains(s("09:30:00")));
    QVERIFY(!text.contains(s("上周")) && !text.contains(s("远期")));
    // The editor's "打印" prints the entry cards of frPlanDetail over the same rows.
    const QString cards = m_dir->file(s("cards.pdf"));
    m_rec->files << cards;
    frmPlanNew->Act_Print->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-日程安排-打印"));
    QProcess q;
    q.start(s("pdftotext"), {cards, s("-")});
    QVERIFY(q.waitForFinished(30000));
    const QString cardText = QString::fromUtf8(q.readAllStandardOutput());
    // (pdftotext gives some Han characters as their radical forms: compare on others)
    QVERIFY2(cardText.contains(s("安排详细资料")) && cardText.contains(s("今天王")) && cardText.contains(s("今天李")),
             qPrintable(cardText));
    QVERIFY(!cardText.contains(s("上周")));
}

QTEST_MAIN(TestSchedule)
#include "tst_schedule.moc"
