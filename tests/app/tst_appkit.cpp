// The window kit: gated actions, delete checks, printing, the owner filter, related tabs.
#include "ActionGate.h"
#include "DatasetError.h"
#include "DbGrid.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "RelatedRecordsTab.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

// Customer checks as a window states them: every parameter takes the customer's code.
QList<WindowKit::DeleteCheck> customerChecks()
{
    return {{s("select * from tblLinkmans where CustID=:CustID"), {s("CustID")}, s("CustId"), s("有联系人")},
            {s("select * from tblOperates where CustID=:CustID or LinkCustID=:LinkCustID"), {s("CustID"), s("LinkCustID")},
             s("CustId"), s("有业务")}};
}

}  // namespace

class TestAppKit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void subRightsGateActions_data();
    void subRightsGateActions();
    void actionErrorsAreShown_data();
    void actionErrorsAreShown();
    void deleteChecks_data();
    void deleteChecks();
    void printLogsFirst_data();
    void printLogsFirst();
    void ownerFilter_data();
    void ownerFilter();
    void openDatasetsLeavesOpenOnesAlone();
    void relatedNewAndModifyNeedADialog();
    void relatedHiddenColumns();

private:
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
    std::unique_ptr<QWidget> m_owner;
};

void TestAppKit::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *id : {"clerk", "wang", "o'neil"})
        user.insert({s(id), hash, false});
    TableInserter right(*db, s("tblUserRight"), {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    right.insert({s("clerk"), s("301"), false, true, false, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    for (const char *row : {"FREE|无关联|wang", "O'K|有联系人|o'neil", "LC|关联客户|wang", "Q'FREE|无关联|o'neil", "OTHER|别人的|li"}) {
        const QStringList p = s(row).split(u'|');
        c.insert({p[0], p[1], p[2]});
    }
    TableInserter link(*db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name"), s("Duty")});
    link.insert({s("L1"), s("O'K"), s("联系人甲"), s("经理")});
    link.insert({s("L2"), s("OTHER"), s("联系人乙"), s("主任")});
    TableInserter(*db, s("tblOperates"), {s("OperateID"), s("CustID"), s("LinkCustID")}).insert({s("O1"), s("NONE"), s("LC")});
    tx.commit();
}

void TestAppKit::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    CurrentUserID = s("Admin");
    OpenDatasets({dmMain->tblUser, dmMain->tblUserRight});
    m_owner = std::make_unique<QWidget>();
}

void TestAppKit::cleanup()
{
    m_owner.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestAppKit::subRightsGateActions_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("subRight");
    QTest::addColumn<bool>("runs");
    QTest::newRow("sub-right held") << "301" << "Modify" << true;
    QTest::newRow("sub-right withheld") << "301" << "Insert" << false;
    QTest::newRow("another withheld") << "301" << "Delete" << false;
    QTest::newRow("right not held") << "302" << "Modify" << false;
    QTest::newRow("not gated") << "302" << "" << true;
}

void TestAppKit::subRightsGateActions()
{
    QFETCH(QString, code);
    QFETCH(QString, subRight);
    QFETCH(bool, runs);
    CurrentUserID = s("clerk");
    int ran = 0;
    QAction *a = WindowKit::gatedAction(m_owner.get(), {s("Act_Test"), s("测试"), code, subRight, s("Ctrl+T")}, [&ran] { ++ran; });
    ActionGate::instance()->evaluate();
    QCOMPARE(a->isEnabled(), runs);
    a->trigger();
    QCOMPARE(ran, runs ? 1 : 0);
    // The gate asks again when the action runs: a right withdrawn meanwhile refuses it.
    CurrentUserID = s("nobody");
    a->trigger();
    QCOMPARE(ran, runs ? (subRight.isEmpty() ? 2 : 1) : 0);
}

void TestAppKit::actionErrorsAreShown_data()
{
    QTest::addColumn<QString>("subRight");
    QTest::newRow("gated") << "Print";
    QTest::newRow("not gated") << "";
}

void TestAppKit::actionErrorsAreShown()
{
    QFETCH(QString, subRight);
    QAction *a = WindowKit::gatedAction(m_owner.get(), {s("Act_Test"), s("测试"), s("301"), subRight, {}},
                                        [] { throw DatasetError(s("数据集出错")); });
    ActionGate::instance()->evaluate();
    a->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("数据集出错")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
}

void TestAppKit::deleteChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("left");
    QTest::newRow("quote in a refused code") << "O'K" << true << "有联系人" << 1;
    QTest::newRow("refused by the second parameter") << "LC" << true << "有业务" << 1;
    QTest::newRow("question cancelled") << "FREE" << false << "您真的要删除吗？" << 1;
    QTest::newRow("question confirmed") << "FREE" << true << "您真的要删除吗？" << 0;
    QTest::newRow("quote in a free code") << "Q'FREE" << true << "您真的要删除吗？" << 0;
}

void TestAppKit::deleteChecks()
{
    QFETCH(QString, code);
    QFETCH(bool, confirm);
    QFETCH(QString, message);
    QFETCH(int, left);
    Dataset *c = dmMain->tblCustomers;
    c->open();
    QVERIFY(c->locate(s("CustId"), {code}));
    m_rec->answers << (confirm ? Messages::Answer::Ok : Messages::Answer::Cancel);
    WindowKit::deleteCurrent(m_owner.get(), c, customerChecks(), s("您真的要删除吗？"));
    QCOMPARE(m_rec->texts(), QStringList{message});
    const Messages::Request &asked = m_rec->messages.last();
    QCOMPARE(asked.icon, Messages::Icon::Warning);
    if (message == u"您真的要删除吗？") {
        QCOMPARE(asked.buttons, Messages::Buttons::OkCancel);
        QCOMPARE(asked.defaultAnswer, Messages::Answer::Ok);
    }
    Statement st(*dmMain->database(), s("select count(*) from tblCustomers where CustId=:code"));
    st.bind(s("code"), code);
    QVERIFY(st.step());
    QCOMPARE(int(st.integer(0)), left);
    QVERIFY(!dmMain->qryPubQuery->isActive());  // the shared query is left closed for the next user
}

void TestAppKit::printLogsFirst_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("modal");
    QTest::newRow("layout present") << "frCustomers" << QStringList{"frmReport"};
    QTest::newRow("layout missing") << "frNoSuchLayout" << QStringList{};
}

void TestAppKit::printLogsFirst()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, modal);
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
    dmMain->tblCustomers->open();
    QStringList logWhenShown;
    m_rec->onModal = [&logWhenShown](QDialog *) {
        logWhenShown = logEntries();
        return int(QDialog::Rejected);
    };
    WindowKit::print(m_owner.get(), s("客户-打印"), layout, dmMain->tblCustomers);
    QCOMPARE(logEntries(), QStringList{s("客户-打印")});
    QCOMPARE(m_rec->modalWindows, modal);
    if (modal.isEmpty()) {
        QCOMPARE(m_rec->messages.size(), 1);  // the missing layout is named
        QVERIFY(m_rec->lastText().contains(layout));
    } else {
        QCOMPARE(logWhenShown, QStringList{s("客户-打印")});
        QVERIFY(m_rec->messages.isEmpty());
    }
}

void TestAppKit::ownerFilter_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("plain ID") << "wang" << QStringList{"FREE", "LC"};
    QTest::newRow("typed in another case") << "WANG" << QStringList{"FREE", "LC"};
    QTest::newRow("quote in the ID") << "o'neil" << QStringList{"O'K", "Q'FREE"};
    QTest::newRow("filter syntax in the ID") << "x' or sUser<>'" << QStringList{};
}

void TestAppKit::ownerFilter()
{
    QFETCH(QString, user);
    QFETCH(QStringList, codes);
    CurrentUserID = user;
    Dataset *c = dmMain->tblCustomers2;
    c->close();
    c->setFilter(OwnerFilter());
    c->setFiltered(true);
    c->open();
    QStringList seen;
    for (c->first(); !c->isEof(); c->next())
        seen << c->field(s("CustId")).asString();
    seen.sort();
    QCOMPARE(seen, codes);
}

void TestAppKit::openDatasetsLeavesOpenOnesAlone()
{
    Dataset *open = dmMain->tblCustomers;
    open->close();
    open->setFilter(s("SUser='wang'"));
    open->setFiltered(true);
    open->open();
    open->last();
    const QString current = open->field(s("CustId")).asString();
    dmMain->tblLinkmans2->close();
    OpenDatasets({open, dmMain->tblLinkmans2});
    QVERIFY(dmMain->tblLinkmans2->isActive());
    QCOMPARE(open->recordCount(), 2);
    QCOMPARE(open->field(s("CustId")).asString(), current);
}

void TestAppKit::relatedNewAndModifyNeedADialog()
{
    Dataset *links = dmMain->tblLinkmans2;
    links->close();
    dmMain->tblCustomers2->open();
    QVERIFY(dmMain->tblCustomers2->locate(s("CustId"), {s("O'K")}));
    RelatedRecordsTab tab({.caption = s("联系人"),
                           .newCaption = s("新增联系人"),
                           .rightCode = s("302"),
                           .dataset = links,
                           .source = dmMain->dsLinkmans2,
                           .columns = {GridColumn::text(s("姓名"), s("Name"))},
                           .layout = s("frCustomerLinkman"),
                           .printLog = s("联系人-打印"),
                           .deleteQuestion = s("删除吗？")});
    ActionGate::instance()->evaluate();
    tab.action(s("new"))->trigger();
    tab.action(s("modify"))->trigger();
    QVERIFY(!links->isActive());  // no dialog: nothing started, nothing opened
    int shown = 0;
    Dataset::State seen = Dataset::State::Inactive;
    tab.setRelatedDialog([&] {
        ++shown;
        seen = links->state();
        links->cancel();
    });
    tab.action(s("new"))->trigger();
    QCOMPARE(shown, 1);
    QCOMPARE(seen, Dataset::State::Insert);
    tab.action(s("modify"))->trigger();
    QCOMPARE(shown, 2);
    QCOMPARE(seen, Dataset::State::Edit);
    QCOMPARE(links->field(s("LinkmanID")).asString(), s("L1"));
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(tab.action(s("unknown")) == nullptr);
}

void TestAppKit::relatedHiddenColumns()
{
    RelatedRecordsTab tab({.caption = s("联系人"),
                           .newCaption = s("新增联系人"),
                           .rightCode = s("302"),
                           .dataset = dmMain->tblLinkmans2,
                           .source = dmMain->dsLinkmans2,
                           .columns = {GridColumn::text(s("代码"), s("LinkmanID")), GridColumn::text(s("职务"), s("Duty")),
                                       GridColumn::text(s("姓名"), s("Name"))},
                           .hiddenFields = {s("duty")},
                           .sortField = s("Name"),
                           .layout = s("frCustomerLinkman"),
                           .printLog = s("联系人-打印"),
                           .deleteQuestion = s("删除吗？")});
    QTreeView *view = tab.grid()->view();
    QVERIFY(!view->isColumnHidden(0));
    QVERIFY(view->isColumnHidden(1));
    QVERIFY(!view->isColumnHidden(2));
    QCOMPARE(view->header()->sortIndicatorSection(), 2);
}

QTEST_MAIN(TestAppKit)
#include "tst_appkit.moc"
