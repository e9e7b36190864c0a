// The dataset layer as the windows use it, through the data module's own datasets.
#include "ConnectionString.h"
#include "DateText.h"
#include "NewDatabase.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

void fill(Database &db)
{
    Transaction tx(db);
    TableInserter staff(db, s("tblOperaters"), {s("OperaterID"), s("Name"), s("DepartmentID")});
    staff.insert({s("S1"), s("张红"), s("01")});
    staff.insert({s("S2"), s("刘芳"), s("02")});
    TableInserter cust(db, s("tblCustomers"),
                       {s("CustId"), s("CustName"), s("CountryID"), s("DistID"), s("VocationID"), s("OriginID"),
                        s("LevelID"), s("StateId"), s("OperaterID"), s("SUser"), s("CreateDate"), s("Address"),
                        s("PostCode")});
    cust.insert({s("C1"), s("王宅"), s("CN"), s("01"), s("01"), s("01"), s("A"), s("01"), s("S1"), s("wang"),
                 QDate(2026, 12, 1), s("朝阳区建国路1号"), s("100020")});
    cust.insert({s("C2"), s("李宅"), s("US"), s("02"), s("02"), s("02"), s("B"), s("02"), s("S2"), s("li"),
                 QDate(2026, 12, 2), s("海淀区学院路2号"), s("100083")});
    cust.insert({s("C3"), s("华信科技"), s("CN"), s("03"), s("02"), s("03"), s("X"), s("03"), s("S9"), s("wang"),
                 QDateTime(QDate(2026, 12, 2), QTime(15, 30)), s("丰台区"), QVariant()});
    TableInserter link(db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name"), s("Main"), s("SUser")});
    link.insert({s("L1"), s("C1"), s("王一"), true, s("wang")});
    link.insert({s("L2"), s("C1"), s("王二"), false, s("wang")});
    link.insert({s("L3"), s("C2"), s("李一"), true, s("li")});
    TableInserter op(db, s("tblOperates"),
                     {s("OperateID"), s("OperateTitle"), s("CustID"), s("LinkmanID"), s("InOrOut"), s("RMB"),
                      s("SUser"), s("EndDate"), s("CurrID"), s("OperaterID")});
    op.insert({s("O1"), s("保姆服务"), s("C1"), s("L3"), s("收款"), 1000.0, s("wang"), QDate(2026, 12, 9), s("RMB"), s("S1")});
    op.insert({s("O2"), s("钟点工"), s("C2"), s("L3"), s("付款"), 500.5, s("li"), QDate(2026, 12, 10), s("USD"), s("S2")});
    TableInserter item(db, s("tblOperateDetail"), {s("OperateID"), s("DetailNo"), s("RMB")});
    item.insert({s("O1"), s("1"), 300.0});
    item.insert({s("O1"), s("2"), 200.25});
    TableInserter state(db, s("tblCustomerState"), {s("CustID"), s("LinkDate"), s("Linkman"), s("Charge")});
    state.insert({s("C1"), QDate(2026, 12, 1), s("王一"), 20.0});
    state.insert({s("C1"), QDate(2026, 12, 1), s("王一"), QVariant()});
    state.insert({s("C2"), QDate(2026, 12, 3), s("李一"), 5.5});
    TableInserter plan(db, s("tblPlan"), {s("PlanDate"), s("CustID"), s("Memo")});
    plan.insert({QDate(2026, 12, 9), s("C1"), s("面试")});
    plan.insert({QDate(2026, 12, 10), s("C2"), s("回访")});
    tx.commit();
}

QVariant dbValue(const QString &sql)
{
    return dmMain->database()->scalar(sql);
}

}  // namespace

class TestDataset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void everyDatasetAndSourceIsThere();
    void afterConnectOpensTheList();
    void closedDatasetRefusesEveryCall_data();
    void closedDatasetRefusesEveryCall();
    void statesOfAppendEditPostCancel();
    void editOnEmptyStartsANewRow();
    void removeCases();
    void pendingChangeIsPostedBeforeAnyMove_data();
    void pendingChangeIsPostedBeforeAnyMove();
    void failedPostRaisesAndNothingMoves();
    void autoNumberReadBackAfterPost();
    void fieldValuesAreChecked_data();
    void fieldValuesAreChecked();
    void nullsOfNumbersAndBooleans();
    void updatableQueriesWriteByRowId();
    void readOnlyQueryRefusesWrites();
    void cursorsAreIndependentSnapshots();
    void detailFollowsMaster();
    void detailOfEmptyOrClosedMasterIsEmpty();
    void masterKeyEditReRestrictsOnNextMove();
    void lookupColumns();
    void lookupFollowsItsSourceAtOnce();
    void lookupRespectsTheSourceFilter();
    void locateCases();
    void filterExamplesEvaluate_data();
    void filterExamplesEvaluate();
    void filterStateRules();
    void postedRowStaysVisibleUntilRefilter();
    void insertGuards();
    void aggregatesAsShortestText();
    void queryParametersAndReopen();
    void execQueries();
    void writeLogAppendsWithCurrentUser();
    void dateTextRoundTrips();
    void gridRowsMapByIdentity();
    void dateFormatsFilterCanRead_data();
    void dateFormatsFilterCanRead();

private:
    std::unique_ptr<TestAppDir> m_template;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
};

void TestDataset::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    fill(*m_template->open());
}

void TestDataset::init()
{
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_dm = std::make_unique<TdmMain>();
    m_dm->attachDatabase(m_dir->open());
    CurrentUserID = s("Admin");
}

void TestDataset::cleanup()
{
    m_dm.reset();
    m_dir.reset();
}

void TestDataset::everyDatasetAndSourceIsThere()
{
    const QStringList datasets = s(
        "tblCustomers tblCustomers2 qryCustomers1 qryCustLookup tblCustomerAddInfo tblCustomerState tblLinkmans "
        "tblLinkmans2 qryLinkmans1 qryLinkmans3 tblOperates tblOperates2 qryOperates1 qryOperateInfo tblOperateDetail "
        "tblOperateDetail1 qryGathering qryPayment tblOperaters tblOperaterTrack qryOperaterTrack qryAssignUpdate "
        "tblYuangong tblYuangong1 tblShusong tblShusong1 tblShusongYJ tblGongzhong tblJineng tblTijian qryPlan tblBoard "
        "tblUser tblUserRight tblRight qryDelUserRight tblLog qryLogClear tblUserInfo tblCountry tblCustDist "
        "tblCustLevel tblCustState tblCustOrigin tblVocation tblFinanceOrgan tblCurrencyRate tblOperateType "
        "tblOperateOrigin tblOperateState tblDepartment tblColor qryPubQuery qryChartRegion qryChartTime "
        "qryChartLevel qryChartCustOrigin qryChartCustState qryChartVocation qryChartOperateOrigin "
        "qryChartOperateType qryChartOperateSort qryChartCustomerSort qryChartOperaterSort qryChartPayment "
        "qryChartGathering qryChartInOut tblDuty tblDisk tblCity")
                                   .split(u' ');
    for (const QString &name : datasets)
        QVERIFY2(m_dm->findChild<Dataset *>(name), qPrintable(name));
    for (const QString &name : s("dsCustomers dsCustomers2 dsLinkmans1 dsGongzhong dsDepartment dsYuangong dsYuangong1 "
                                 "dsTijian dsShusongYJ dsShusong1 dsLinkmans dsLinkmans3 dsJineng dsCustLevel dsBoard "
                                 "dsVocation dsShusong dsPlan dsOperates dsOperateType dsOperateState dsOperateOrigin "
                                 "dsFinanceOrgan dsCustomerState dsCustomerAddInfo dsCustState dsCustOrigin dsCustDist "
                                 "dsCurrencyRate dsCountry")
                                   .split(u' ')) {
        auto *ds = m_dm->findChild<DataSource *>(name);
        QVERIFY2(ds && ds->dataset(), qPrintable(name));
    }
    QCOMPARE(m_dm->dsPlan->dataset(), m_dm->qryPlan);
    QCOMPARE(m_dm->dsLinkmans1->dataset(), m_dm->qryLinkmans1);
    // SQL texts the windows later replace start as declared.
    QCOMPARE(m_dm->qryDelUserRight->sql(), (QStringList{"delete * from tblUserRight", "where UserID=:userID"}));
    QCOMPARE(m_dm->qryPlan->sqlText(), s("select * from tblPlan"));
    QCOMPARE(m_dm->qryGathering->sql().size(), 8);
}

void TestDataset::afterConnectOpensTheList()
{
    for (Dataset *d : std::initializer_list<Dataset *>{
             m_dm->tblCountry, m_dm->tblCustDist, m_dm->tblCustLevel, m_dm->tblCustState, m_dm->tblCustOrigin,
             m_dm->tblVocation, m_dm->tblFinanceOrgan, m_dm->tblCurrencyRate, m_dm->tblOperateType,
             m_dm->tblOperateOrigin, m_dm->tblOperateState, m_dm->tblBoard, m_dm->tblLinkmans2, m_dm->qryCustomers1,
             m_dm->tblOperates2, m_dm->tblCustomers2, m_dm->tblOperaters})
        QVERIFY2(d->isActive(), qPrintable(d->name()));
    QVERIFY(!m_dm->tblCustomers->isActive());
    QVERIFY(!m_dm->qryPlan->isActive());
    QCOMPARE(m_dm->qryCustomers1->recordCount(), 3);
}

void TestDataset::closedDatasetRefusesEveryCall_data()
{
    QTest::addColumn<int>("call");
    const char *names[] = {"first", "next", "prior", "last", "append", "edit", "post", "cancel", "remove",
                           "recordCount", "field", "locate", "isEof", "refresh"};
    for (int i = 0; i < int(std::size(names)); ++i)
        QTest::newRow(names[i]) << i;
}

void TestDataset::closedDatasetRefusesEveryCall()
{
    QFETCH(int, call);
    Dataset *d = m_dm->tblCustomers;
    QVERIFY(!d->isActive());
    const std::function<void()> calls[] = {
        [d] { d->first(); },       [d] { d->next(); },        [d] { d->prior(); },
        [d] { d->last(); },        [d] { d->append(); },      [d] { d->edit(); },
        [d] { d->post(); },        [d] { d->cancel(); },      [d] { d->remove(); },
        [d] { d->recordCount(); }, [d] { d->field(s("CustId")); }, [d] { d->locate(s("CustId"), {s("C1")}); },
        [d] { d->isEof(); },       [d] { d->refresh(); }};
    QVERIFY_THROWS_EXCEPTION(DatasetError, calls[call]());
}

void TestDataset::statesOfAppendEditPostCancel()
{
    Dataset *c = m_dm->tblCustomers;
    c->open();
    QCOMPARE(c->state(), Dataset::State::Browse);
    // Writing a field in browse state is refused, and so is posting.
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->field(s("CustName")).setValue(s("x")));
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->post());

    c->first();
    c->append();
    QCOMPARE(c->state(), Dataset::State::Insert);
    for (const QString &f : c->fieldNames())  // no defaults at all
        if (c->field(f).kind() != FieldKind::Lookup)
            QVERIFY2(c->field(f).isNull(), qPrintable(f));
    c->field(s("CustId")).setValue(s("C4"));
    c->field(s("CustName")).setValue(s("赵宅"));
    c->post();
    QCOMPARE(c->state(), Dataset::State::Browse);
    QCOMPARE(c->recordCount(), 4);
    QCOMPARE(c->currentRow(), 3);  // added at the end
    QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C4'")).toString(), s("赵宅"));

    c->first();
    c->edit();
    c->field(s("CustName")).setValue(s("改名"));
    QCOMPARE(c->field(s("CustName")).asString(), s("改名"));
    c->cancel();  // an explicit cancel discards
    QCOMPARE(c->field(s("CustName")).asString(), s("王宅"));
    QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C1'")).toString(), s("王宅"));
    c->append();
    c->cancel();
    QCOMPARE(c->field(s("CustId")).asString(), s("C1"));
    QCOMPARE(c->recordCount(), 4);
}

void TestDataset::editOnEmptyStartsANewRow()
{
    Dataset *info = m_dm->tblUserInfo;
    info->open();
    QVERIFY(info->isEmpty());
    info->edit();
    QCOMPARE(info->state(), Dataset::State::Insert);
    info->field(s("UserName")).setValue(s("好帮手家政服务中心"));
    info->post();
    QCOMPARE(dbValue(s("select count(*) from tblUserInfo")).toInt(), 1);
    QVERIFY(!info->isEmpty());
}

void TestDataset::removeCases()
{
    Dataset *u = m_dm->tblUserInfo;
    u->open();
    QVERIFY_THROWS_EXCEPTION(DatasetError, u->remove());  // empty
    u->append();
    u->remove();  // a row in insert state is discarded
    QCOMPARE(u->state(), Dataset::State::Browse);
    QCOMPARE(dbValue(s("select count(*) from tblUserInfo")).toInt(), 0);

    // A table without a key: the row is found by its identity, not by its values.
    Dataset *st = m_dm->tblOperaterTrack;
    st->open();
    QCOMPARE(st->recordCount(), 3);
    st->first();
    st->next();  // the second of two rows with the same customer, date and person
    st->remove();
    QCOMPARE(dbValue(s("select count(*) from tblCustomerState")).toInt(), 2);
    QCOMPARE(dbValue(s("select count(*) from tblCustomerState where CustID='C1' and Charge=20")).toInt(), 1);
    QCOMPARE(st->recordCount(), 2);
    QCOMPARE(st->currentRow(), 1);
}

void TestDataset::pendingChangeIsPostedBeforeAnyMove_data()
{
    QTest::addColumn<QString>("move");
    for (const char *m : {"next", "prior", "first", "last", "locate", "setCurrentRow", "close", "refresh",
                          "setFilter", "setFiltered", "append"})
        QTest::newRow(m) << s(m);
}

void TestDataset::pendingChangeIsPostedBeforeAnyMove()
{
    QFETCH(QString, move);
    Dataset *c = m_dm->tblCustomers;
    c->setFilter(s("sUser='wang'"));
    c->open();
    c->locate(s("CustId"), {s("C3")});
    c->edit();
    c->field(s("CustName")).setValue(s("华信科技（新）"));
    if (move == u"next")
        c->next();
    else if (move == u"prior")
        c->prior();
    else if (move == u"first")
        c->first();
    else if (move == u"last")
        c->last();
    else if (move == u"locate")
        c->locate(s("CustId"), {s("C1")});
    else if (move == u"setCurrentRow")
        c->setCurrentRow(0);
    else if (move == u"close")
        c->close();
    else if (move == u"refresh")
        c->refresh();
    else if (move == u"setFilter") {
        c->setFiltered(true);  // posts here already; edit again for the filter change itself
        c->locate(s("CustId"), {s("C3")});
        c->edit();
        c->field(s("Address")).setValue(s("新地址"));
        c->setFilter(s("sUser='li'"));
        QCOMPARE(dbValue(s("select Address from tblCustomers where CustId='C3'")).toString(), s("新地址"));
    } else if (move == u"setFiltered")
        c->setFiltered(true);
    else if (move == u"append")
        c->append();
    QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C3'")).toString(), s("华信科技（新）"));
    if (c->isActive() && move != u"append")
        QCOMPARE(c->state(), Dataset::State::Browse);
}

void TestDataset::failedPostRaisesAndNothingMoves()
{
    Dataset *c = m_dm->tblCustomers;
    c->open();
    c->last();
    c->append();
    c->field(s("CustId")).setValue(s("c1"));  // the code exists (letter case does not make it new)
    c->field(s("CustName")).setValue(s("重复"));
    try {
        c->first();
        QFAIL("moving on with a duplicate code should raise");
    } catch (const DatasetError &e) {
        QVERIFY2(e.message().contains(s("CustId")), qPrintable(e.message()));
    }
    QCOMPARE(c->state(), Dataset::State::Insert);
    QCOMPARE(c->field(s("CustName")).asString(), s("重复"));  // the typed values are still there
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->close());
    QVERIFY(c->isActive());
    c->field(s("CustId")).setValue(s("C5"));
    c->first();
    QCOMPARE(dbValue(s("select count(*) from tblCustomers")).toInt(), 4);
    QCOMPARE(c->currentRow(), 0);
}

void TestDataset::autoNumberReadBackAfterPost()
{
    QueryDataset *plan = m_dm->qryPlan;
    plan->open();
    plan->append();
    QVERIFY(plan->field(s("PlanID")).isNull());
    QVERIFY(plan->field(s("PlanID")).isReadOnly());
    QVERIFY_THROWS_EXCEPTION(DatasetError, plan->field(s("PlanID")).setValue(99));
    plan->field(s("Memo")).setValue(s("签合同"));
    plan->field(s("PlanDate")).setValue(QDate(2026, 12, 11));
    plan->post();
    const qint64 id = plan->field(s("PlanID")).asInteger();
    QVERIFY(id > 2);
    QCOMPARE(dbValue(s("select Memo from tblPlan where PlanID=%1").arg(id)).toString(), s("签合同"));
}

void TestDataset::fieldValuesAreChecked_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");  // as the display text reads it back
    QTest::newRow("code at its width") << "tblCustomers" << "CustId" << QVariant(QString(30, u'码')) << true << QString(30, u'码');
    QTest::newRow("code over its width") << "tblCustomers" << "CustId" << QVariant(QString(31, u'a')) << false << "";
    QTest::newRow("rare ideographs count once") << "tblCustomers" << "PostCode" << QVariant(QString(20, QChar(0x4E00)) ) << true << QString(20, QChar(0x4E00));
    QTest::newRow("owner key of 30") << "tblCustomers" << "SUser" << QVariant(QString(30, u'u')) << true << QString(30, u'u');
    QTest::newRow("memo takes long text") << "tblCustomers" << "Memo" << QVariant(QString(5000, u'备')) << true << QString(5000, u'备');
    QTest::newRow("empty text is null") << "tblCustomers" << "CustName" << QVariant(QString()) << true << "";
    QTest::newRow("long from text") << "tblColor" << "ColorID" << QVariant(s(" 12 ")) << true << "12";
    QTest::newRow("long refuses letters") << "tblColor" << "ColorID" << QVariant(s("12a")) << false << "";
    QTest::newRow("long refuses fractions") << "tblColor" << "ColorID" << QVariant(1.5) << false << "";
    QTest::newRow("long refuses overflow") << "tblColor" << "ColorID" << QVariant(s("99999999999")) << false << "";
    QTest::newRow("double from text") << "tblOperaterTrack" << "Charge" << QVariant(s("1234.50")) << true << "1234.5";
    QTest::newRow("double refuses text") << "tblOperaterTrack" << "Charge" << QVariant(s("很多")) << false << "";
    QTest::newRow("date from short date") << "tblOperaterTrack" << "LinkDate" << QVariant(s("2026/12/9")) << true << "2026/12/9";
    QTest::newRow("date drops the time") << "tblOperaterTrack" << "LinkDate" << QVariant(QDateTime(QDate(2026, 1, 2), QTime(10, 0))) << true << "2026/1/2";
    QTest::newRow("date-time keeps the time") << "tblPlan" << "PlanDate" << QVariant(QDateTime(QDate(2026, 1, 2), QTime(10, 5, 6))) << true << "2026/1/2 10:05:06";
    QTest::newRow("date refuses nonsense") << "tblOperaterTrack" << "LinkDate" << QVariant(s("2026/13/45")) << false << "";
    QTest::newRow("cleared date is empty") << "tblOperaterTrack" << "LinkDate" << QVariant(s("")) << true << "";
}

void TestDataset::fieldValuesAreChecked()
{
    QFETCH(QString, dataset);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    Dataset *d = dataset == u"tblPlan" ? static_cast<Dataset *>(m_dm->qryPlan) : m_dm->findChild<Dataset *>(dataset);
    QVERIFY(d);
    d->open();
    d->append();
    if (!accepted) {
        try {
            d->field(field).setValue(value);
            QFAIL("the value should be refused");
        } catch (const DatasetError &e) {
            QVERIFY2(e.message().contains(field), qPrintable(e.message()));
        }
        QVERIFY(d->field(field).isNull());  // refused, never cut
        return;
    }
    d->field(field).setValue(value);
    if (dataset == u"tblCustomers" && field != u"CustId")
        d->field(s("CustId")).setValue(s("NEW"));
    d->post();
    d->refresh();
    d->last();
    QCOMPARE(d->field(field).asString(), stored);
}

void TestDataset::nullsOfNumbersAndBooleans()
{
    Dataset *st = m_dm->tblOperaterTrack;
    st->open();
    st->first();
    st->next();
    QVERIFY(st->field(s("Charge")).isNull());  // a null amount is not 0
    QCOMPARE(st->field(s("Charge")).asString(), QString());
    Dataset *l = m_dm->tblLinkmans2;
    m_dm->tblCustomers2->first();
    QVERIFY(l->field(s("Main")).asBoolean());
    l->append();
    QVERIFY(l->field(s("Main")).isNull());
    QVERIFY(!l->field(s("Main")).asBoolean());  // null counts as false
    l->cancel();
}

void TestDataset::updatableQueriesWriteByRowId()
{
    QueryDataset *q = m_dm->qryLinkmans1;
    q->clearSql();
    q->addSql(s("select * from tblLinkmans"));
    q->addSql(s("where SUser=:SUser"));
    q->setParam(s("suser"), s("wang"));
    q->open();
    QCOMPARE(q->recordCount(), 2);
    q->locate(s("LinkmanID"), {s("L2")});
    q->edit();
    q->field(s("LinkmanID")).setValue(s("L2X"));  // keys are user-editable: rows are not found by them
    q->post();
    QCOMPARE(dbValue(s("select count(*) from tblLinkmans where LinkmanID='L2X'")).toInt(), 1);
    q->append();
    q->field(s("LinkmanID")).setValue(s("L9"));
    q->field(s("SUser")).setValue(s("wang"));
    q->post();
    q->locate(s("LinkmanID"), {s("L1")});
    q->remove();
    QCOMPARE(dbValue(s("select group_concat(LinkmanID) from (select LinkmanID from tblLinkmans order by LinkmanID)"))
                 .toString(),
             s("L2X,L3,L9"));
}

void TestDataset::readOnlyQueryRefusesWrites()
{
    QueryDataset *q = m_dm->qryPubQuery;
    q->setSql({s("select CustID, count(*) as n from tblCustomerState group by CustID")});
    q->open();
    QCOMPARE(q->recordCount(), 2);
    QVERIFY_THROWS_EXCEPTION(DatasetError, q->edit());
    QVERIFY_THROWS_EXCEPTION(DatasetError, q->remove());
    q->append();
    QVERIFY_THROWS_EXCEPTION(DatasetError, q->post());
    q->cancel();
}

void TestDataset::cursorsAreIndependentSnapshots()
{
    Dataset *a = m_dm->tblCustomers;
    Dataset *b = m_dm->tblCustomers2;
    a->open();
    QCOMPARE(b->recordCount(), 3);
    a->append();
    a->field(s("CustId")).setValue(s("C7"));
    a->post();
    QCOMPARE(b->recordCount(), 3);  // b holds what it read
    b->close();
    b->open();
    QCOMPARE(b->recordCount(), 4);
    // A lookup reading the same dataset that changed sees it at once.
    m_dm->tblOperates2->first();
    QCOMPARE(m_dm->tblOperates2->field(s("CustName")).asString(), s("王宅"));
    b->locate(s("CustId"), {s("C1")});
    b->edit();
    b->field(s("CustName")).setValue(s("王府"));
    b->post();
    QCOMPARE(m_dm->tblOperates2->field(s("CustName")).asString(), s("王府"));
}

void TestDataset::detailFollowsMaster()
{
    Dataset *c = m_dm->tblCustomers;
    Dataset *l = m_dm->tblLinkmans;
    c->open();
    l->open();
    m_dm->tblOperates->open();
    m_dm->tblCustomerState->open();
    c->first();
    QCOMPARE(l->recordCount(), 2);
    QCOMPARE(m_dm->tblOperates->recordCount(), 1);
    QCOMPARE(m_dm->tblCustomerState->recordCount(), 2);
    c->next();
    QCOMPARE(l->recordCount(), 1);
    QCOMPARE(l->field(s("Name")).asString(), s("李一"));
    l->append();
    QCOMPARE(l->field(s("CustID")).asString(), s("C2"));  // takes the master's value
    l->field(s("LinkmanID")).setValue(s("L4"));
    l->field(s("Name")).setValue(s("李二"));
    c->next();  // the master's move posts the detail's pending row first
    QCOMPARE(dbValue(s("select CustID from tblLinkmans where LinkmanID='L4'")).toString(), s("C2"));
    QCOMPARE(l->recordCount(), 0);
    c->prior();
    QCOMPARE(l->recordCount(), 2);
    // Money items follow their record.
    m_dm->tblOperateDetail->open();
    m_dm->tblOperates2->locate(s("OperateID"), {s("O1")});
    QCOMPARE(m_dm->tblOperateDetail->recordCount(), 2);
    m_dm->tblOperates2->locate(s("OperateID"), {s("O2")});
    QCOMPARE(m_dm->tblOperateDetail->recordCount(), 0);
}

void TestDataset::detailOfEmptyOrClosedMasterIsEmpty()
{
    Dataset *c = m_dm->tblCustomers;
    Dataset *l = m_dm->tblLinkmans;
    l->open();
    QCOMPARE(l->recordCount(), 0);  // master closed
    l->append();
    QVERIFY(l->field(s("CustID")).isNull());
    l->cancel();
    c->setFilter(s("CustId='none'"));
    c->setFiltered(true);
    c->open();
    QVERIFY(c->isEmpty());
    QCOMPARE(l->recordCount(), 0);
    c->setFiltered(false);
    QCOMPARE(l->recordCount(), 2);
}

void TestDataset::masterKeyEditReRestrictsOnNextMove()
{
    Dataset *c = m_dm->tblCustomers;
    Dataset *l = m_dm->tblLinkmans;
    c->open();
    l->open();
    c->first();
    c->edit();
    c->field(s("CustId")).setValue(s("C1-NEW"));
    // The data module refuses a code its contacts still name; the layer underneath re-restricts.
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->post());
    QCOMPARE(c->state(), Dataset::State::Edit);
    c->setBeforePost({});
    c->post();
    QCOMPARE(l->recordCount(), 2);  // still the rows it showed
    c->next();
    c->prior();
    QCOMPARE(l->recordCount(), 0);  // their CustID still says C1
}

void TestDataset::lookupColumns()
{
    Dataset *c = m_dm->tblCustomers;
    c->open();
    c->first();
    QCOMPARE(c->field(s("CountryName")).asString(), s("中国"));
    QCOMPARE(c->field(s("DistName")).asString(), s("东城区"));
    QCOMPARE(c->field(s("VocationName")).asString(), s("家庭"));
    QCOMPARE(c->field(s("OriginName")).asString(), s("朋友介绍"));
    QCOMPARE(c->field(s("Operater")).asString(), s("张红"));
    QCOMPARE(c->field(s("LevelName")).asString(), s("重要客户"));
    QCOMPARE(c->field(s("State")).asString(), s("洽谈中"));
    c->last();
    QCOMPARE(c->field(s("LevelName")).asString(), QString());  // no match: empty text, no error
    QCOMPARE(c->field(s("Operater")).asString(), QString());
    QVERIFY(c->field(s("LevelName")).isReadOnly());

    // A chained lookup: the staff member of the customer of a contact record.
    Dataset *t = m_dm->tblOperaterTrack;
    t->open();
    t->first();
    QCOMPARE(t->field(s("CustName")).asString(), s("王宅"));
    QCOMPARE(t->field(s("Operater")).asString(), s("张红"));
    // The display name of a record's contact comes from every contact, not only the detail rows.
    m_dm->tblOperates2->first();
    QCOMPARE(m_dm->tblOperates2->field(s("LinkmanName")).asString(), s("李一"));
    QCOMPARE(m_dm->tblOperates2->field(s("CurrName")).asString(), s("人民币"));
    // The envelope query's three lookups.
    m_dm->qryLinkmans3->open();
    m_dm->qryLinkmans3->first();
    QCOMPARE(m_dm->qryLinkmans3->field(s("PostCode")).asString(), s("100020"));
    QCOMPARE(m_dm->qryLinkmans3->field(s("Address")).asString(), s("朝阳区建国路1号"));
}

void TestDataset::lookupFollowsItsSourceAtOnce()
{
    Dataset *c = m_dm->tblCustomers;
    c->open();
    c->first();
    QSignalSpy spy(c, &Dataset::lookupSourceChanged);
    Dataset *lv = m_dm->tblCustLevel;
    lv->locate(s("LevelID"), {s("A")});
    lv->edit();
    lv->field(s("LevelName")).setValue(s("VIP客户"));
    lv->post();
    QVERIFY(spy.count() > 0);
    QCOMPARE(c->field(s("LevelName")).asString(), s("VIP客户"));
    lv->append();
    lv->field(s("LevelID")).setValue(s("X"));
    lv->field(s("LevelName")).setValue(s("特殊"));
    lv->field(s("Memo")).setValue(s("新增级别"));
    lv->post();
    c->last();
    QCOMPARE(c->field(s("LevelName")).asString(), s("特殊"));
}

void TestDataset::lookupRespectsTheSourceFilter()
{
    m_dm->tblCustomers2->setFilter(s("sUser='li'"));
    m_dm->tblCustomers2->setFiltered(true);
    Dataset *o = m_dm->tblOperates2;
    o->first();
    QCOMPARE(o->field(s("CustName")).asString(), QString());  // owned by wang: hidden
    o->next();
    QCOMPARE(o->field(s("CustName")).asString(), s("李宅"));
}

void TestDataset::locateCases()
{
    Dataset *u = m_dm->tblUserRight;
    u->open();
    QVERIFY(u->locate(s("UserID;RightID"), {s("Admin"), s("305")}));
    QCOMPARE(u->field(s("RightID")).asString(), s("305"));
    QVERIFY(!u->locate(s("userid;rightid"), {s("admin"), s("305")}));  // exact by default
    QVERIFY(u->locate(s("userid;rightid"), {s("admin"), s("305")}, Qt::CaseInsensitive));
    const int before = u->currentRow();
    QVERIFY(!u->locate(s("UserID;RightID"), {s("Admin"), s("999")}));
    QCOMPARE(u->currentRow(), before);  // not found: the cursor stays
    Dataset *user = m_dm->tblUser;
    user->open();
    QVERIFY(user->locate(s("UserID;State"), {s("ADMIN"), s("Yes")}, {Qt::CaseInsensitive, Qt::CaseSensitive}));
    QVERIFY(!user->locate(s("UserID;State"), {s("ADMIN"), s("yes")}, {Qt::CaseInsensitive, Qt::CaseSensitive}));
    QVERIFY(!user->locate(s("UserID"), {QString(40, u'x')}));  // longer than the field: no match, no error
    QVERIFY_THROWS_EXCEPTION(DatasetError, user->locate(s("NoSuchField"), {s("x")}));

    // By one key through the hash index: letter case ignored, filtered-out rows not found.
    Dataset *c = m_dm->tblCustomers2;
    c->open();
    QVERIFY(c->locateKey(s("CustId"), s("c2")));
    QCOMPARE(c->field(s("CustId")).asString(), s("C2"));
    c->setFilter(s("sUser='wang'"));
    c->setFiltered(true);
    QVERIFY(c->locateKey(s("CustId"), s("C3")));
    QVERIFY(!c->locateKey(s("CustId"), s("C2")));
    QVERIFY(!c->locateKey(s("CustId"), QVariant()));
    QCOMPARE(c->field(s("CustId")).asString(), s("C3"));  // not found: the cursor stays
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->locateKey(s("NoSuchField"), s("C1")));
    c->setFiltered(false);
    QVERIFY(c->locateKey(s("CustId"), s("C2")));
}

void TestDataset::filterExamplesEvaluate_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");  // values of the row's code (or link) column, in order
    QTest::newRow("owner") << "tblCustomers2" << "sUser='wang'" << QStringList{"C1", "C3"};
    QTest::newRow("owner other case") << "tblCustomers2" << "SUSER='WANG'" << QStringList{"C1", "C3"};
    QTest::newRow("date equals midnight only") << "tblCustomers2" << "CreateDate=2026/12/2" << QStringList{"C2"};
    QTest::newRow("or of dates") << "tblCustomers2" << "CreateDate=2026/12/1 or CreateDate=2026/12/2" << QStringList{"C1", "C2"};
    QTest::newRow("nested date and owner")
        << "tblCustomers2" << "((CreateDate=2026/12/1) and (sUser='wang')) or ((CreateDate=2026/12/2) and (sUser='wang'))"
        << QStringList{"C1"};
    QTest::newRow("like code") << "tblCustomers2" << "CustID Like '%2%'" << QStringList{"C2"};
    QTest::newRow("like name") << "tblCustomers2" << "CustName Like '%宅%'" << QStringList{"C1", "C2"};
    QTest::newRow("like address") << "tblCustomers2" << "Address Like '%区%'" << QStringList{"C1", "C2", "C3"};
    QTest::newRow("like on null") << "tblCustomers2" << "PostCode Like '%'" << QStringList{"C1", "C2"};
    QTest::newRow("code and owner") << "tblCustomers2" << "LevelID='a' and  sUser='wang'" << QStringList{"C1"};
    QTest::newRow("StateID for StateId") << "tblCustomers2" << "StateID='02'" << QStringList{"C2"};
    QTest::newRow("record like and owner") << "tblOperates2" << "OperateID Like '%o%' And sUser='li'" << QStringList{"O2"};
    QTest::newRow("due date no blank") << "tblOperates2" << "sUser='wang'and Enddate=2026/12/9" << QStringList{"O1"};
    QTest::newRow("contact date") << "tblOperaterTrack" << "LinkDate=2026/12/3" << QStringList{"C2"};
    QTest::newRow("contact person") << "tblOperaterTrack" << "linkman Like '%王%'" << QStringList{"C1", "C1"};
    QTest::newRow("plan date") << "qryPlan" << "plandate=2026/12/10" << QStringList{"2"};
    QTest::newRow("quote doubled") << "tblCustomers2" << "CustName='O''Hara'" << QStringList{};
    QTest::newRow("lookup column") << "tblCustomers2" << "LevelName='重要客户'" << QStringList{"C1"};
}

void TestDataset::filterExamplesEvaluate()
{
    QFETCH(QString, dataset);
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    Dataset *d = m_dm->findChild<Dataset *>(dataset);
    d->setFilter(filter);
    d->setFiltered(true);
    d->open();
    QStringList got;
    const QString code = dataset == u"tblOperates2" ? s("OperateID")
                         : dataset == u"qryPlan"     ? s("PlanID")
                                                     : s("CustID");
    for (d->first(); !d->isEof(); d->next())
        got << d->field(code).asString();
    QCOMPARE(got, expected);
}

void TestDataset::filterStateRules()
{
    Dataset *c = m_dm->tblCustomers;
    c->setFilter(s("sUser='li'"));  // set while closed: kept for later
    QVERIFY(!c->isFiltered());
    c->open();
    QCOMPARE(c->recordCount(), 3);  // flag off: text kept, not applied
    c->setFiltered(true);
    QCOMPARE(c->recordCount(), 1);
    c->close();
    c->open();
    QCOMPARE(c->recordCount(), 1);  // survives close and open
    QCOMPARE(c->filter(), s("sUser='li'"));
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->setFilter(s("sUser='li")));
    QVERIFY(c->isFiltered());  // the flag stays on
    QCOMPARE(c->recordCount(), 1);
    QVERIFY_THROWS_EXCEPTION(DatasetError, c->setFilter(s("NoSuchColumn='x'")));
    QCOMPARE(c->filter(), s("sUser='li'"));
    c->refresh();
    QCOMPARE(c->recordCount(), 1);
}

void TestDataset::postedRowStaysVisibleUntilRefilter()
{
    Dataset *c = m_dm->tblCustomers;
    c->setFilter(s("sUser='wang'"));
    c->setFiltered(true);
    c->open();
    c->first();
    c->edit();
    c->field(s("SUser")).setValue(s("li"));
    c->post();
    QCOMPARE(c->recordCount(), 2);  // still shown
    c->refresh();
    QCOMPARE(c->recordCount(), 1);
}

void TestDataset::insertGuards()
{
    Dataset *c = m_dm->tblCustomers;
    c->open();
    c->append();
    c->field(s("CustName")).setValue(s("无代码"));
    c->post();  // dropped silently
    QCOMPARE(c->state(), Dataset::State::Browse);
    QCOMPARE(dbValue(s("select count(*) from tblCustomers")).toInt(), 3);
    // Editing an existing row to an empty code is not the insert guard's business
    // (a customer nothing names: the code rule stays out of it).
    QVERIFY(c->locate(s("CustId"), {s("C3")}));
    c->edit();
    c->field(s("CustId")).clear();
    c->post();
    QCOMPARE(dbValue(s("select count(*) from tblCustomers where CustId is null")).toInt(), 1);

    Dataset *o = m_dm->tblOperates2;
    o->append();
    o->field(s("OperateTitle")).setValue(s("无编码"));
    o->post();
    QCOMPARE(dbValue(s("select count(*) from tblOperates")).toInt(), 2);
    // Other datasets on the same table have no guard.
    Dataset *o1 = m_dm->tblOperates;
    c->last();
    o1->open();
    o1->append();
    o1->post();
    QCOMPARE(dbValue(s("select count(*) from tblOperates")).toInt(), 3);
}

void TestDataset::aggregatesAsShortestText()
{
    QueryDataset *q = m_dm->qryPubQuery;
    q->setSql({s("select sum(RMB) as total, sum(Charge) as nullsum, count(*) as n from tblOperateDetail "
                 "left join tblCustomerState on 1=0")});
    q->open();
    QCOMPARE(q->field(s("TOTAL")).asString(), s("500.25"));
    QCOMPARE(q->field(s("nullsum")).asString(), QString());  // a null sum is empty
    QCOMPARE(q->field(s("n")).asString(), s("2"));
    q->close();
    m_dm->qryGathering->open();
    QCOMPARE(m_dm->qryGathering->recordCount(), 1);
    QCOMPARE(m_dm->qryGathering->field(s("Gathering")).asString(), s("499.75"));
    QCOMPARE(m_dm->qryGathering->field(s("sumRMB")).asString(), s("500.25"));
    QCOMPARE(m_dm->qryGathering->field(s("CustName")).asString(), s("王宅"));
    // Columns of the join keep their table column's kind and width; expressions do not.
    QCOMPARE(m_dm->qryGathering->field(s("EndDate")).kind(), FieldKind::DateTime);
    QCOMPARE(m_dm->qryGathering->field(s("CustName")).kind(), FieldKind::Text);
    QCOMPARE(m_dm->qryGathering->field(s("sumRMB")).kind(), FieldKind::Variant);
    q->setSql({s("select o.EndDate as Due, c.CustName as Who from tblOperates o join tblCustomers c on c.CustId = o.CustID")});
    q->open();
    QCOMPARE(q->field(s("Due")).kind(), FieldKind::DateTime);
    QCOMPARE(q->field(s("Who")).kind(), FieldKind::Text);
    QVERIFY(!q->field(s("Due")).asString().contains(u':'));
    q->close();
}

void TestDataset::queryParametersAndReopen()
{
    QueryDataset *q = m_dm->qryGathering;
    q->setSql(TdmMain::inOutSql(true, true));
    q->setParam(s("EndDate1"), QDate(2026, 12, 1));
    q->setParam(s("enddate2"), QDate(2026, 12, 9));  // inclusive at midnight
    q->open();
    QCOMPARE(q->recordCount(), 1);
    q->close();
    q->setParam(s("EndDate2"), QDate(2026, 12, 8));
    q->open();
    QCOMPARE(q->recordCount(), 0);
    q->close();
    q->setSql(TdmMain::inOutSql(false, false));
    q->open();
    QCOMPARE(q->recordCount(), 0);  // the payable record has no items
}

void TestDataset::execQueries()
{
    m_dm->qryDelUserRight->setParam(s("UserID"), s("nobody"));
    QCOMPARE(m_dm->qryDelUserRight->exec(), 0);
    m_dm->qryDelUserRight->setParam(s("userID"), s("Admin"));
    QCOMPARE(m_dm->qryDelUserRight->exec(), 48);
    WriteLog(s("测试"));
    QVERIFY(m_dm->qryLogClear->exec() >= 1);
    QCOMPARE(dbValue(s("select count(*) from tblLog")).toInt(), 0);
}

void TestDataset::writeLogAppendsWithCurrentUser()
{
    CurrentUserID = s("wang");
    WriteLog(s("2026/12/9 08:00:00"), s("客户业务管理-业务资料-保存"));
    WriteLog(s("客户业务管理-客户资料"));
    Statement st(*m_dm->database(), s("select LogID, LogDateTime, UserID, Operate from tblLog order by LogID"));
    QVERIFY(st.step());
    const qint64 first = st.integer(0);
    QCOMPARE(st.text(1), s("2026/12/9 08:00:00"));
    QCOMPARE(st.text(2), s("wang"));
    QCOMPARE(st.text(3), s("客户业务管理-业务资料-保存"));
    QVERIFY(st.step());
    QVERIFY(st.integer(0) > first);
    QCOMPARE(st.text(1).left(10), DateText::shortDate(QDate::currentDate()) + u' ');
    // The log's own cursor shows the entry it wrote, current.
    QCOMPARE(m_dm->tblLog->field(s("Operate")).asString(), s("客户业务管理-客户资料"));
    QCOMPARE(m_dm->tblLog->recordCount(), 2);
}

void TestDataset::dateTextRoundTrips()
{
    for (const QDate &d : {QDate(2026, 1, 1), QDate(2026, 12, 31), QDate(1999, 2, 28), QDate(2030, 7, 4)}) {
        QCOMPARE(DateText::parseShortDate(DateText::shortDate(d)), d);
        QVERIFY(!FilterExpression::parse(s("BDate=") + DateText::shortDate(d)).isEmpty());
    }
    QCOMPARE(DateText::shortDate(QDate(2026, 12, 9)), s("2026/12/9"));
    QCOMPARE(DateText::dateTime(QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3))), s("2026/12/9 08:05:03"));
    QVERIFY(!DateText::parseShortDate(s("not a date")).isValid());
}

void TestDataset::gridRowsMapByIdentity()
{
    // Two contact records with the same customer, date and person: only identity tells them apart.
    Dataset *t = m_dm->tblOperaterTrack;
    t->open();
    const qint64 second = t->rowIdAt(1);
    const qint64 third = t->rowIdAt(2);
    QVERIFY(second != t->rowIdAt(0));
    QCOMPARE(t->visibleRowOfRowId(second), 1);
    QSignalSpy moved(t, &Dataset::currentChanged);
    t->setCurrentRow(1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(t->rowIdAt(t->currentRow()), second);
    t->first();
    t->remove();
    QCOMPARE(t->visibleRowOfRowId(second), 0);
    QCOMPARE(t->visibleRowOfRowId(third), 1);
    QCOMPARE(t->rowIdAt(5), -1);
    QCOMPARE(t->visibleRowOfRowId(-7), -1);
    t->setFilter(s("LinkDate=2026/12/3"));
    t->setFiltered(true);
    QCOMPARE(t->visibleRowOfRowId(third), 0);
    QCOMPARE(t->visibleRowOfRowId(second), -1);
    QVERIFY_THROWS_EXCEPTION(DatasetError, t->setCurrentRow(3));
}

void TestDataset::dateFormatsFilterCanRead_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("format");
    QTest::newRow("chinese") << "zh_CN" << "yyyy/M/d";
    QTest::newRow("english (US), year widened to four digits") << "en_US" << "M/d/yyyy";
    QTest::newRow("german, dots, year widened") << "de_DE" << "dd.MM.yyyy";
    QTest::newRow("C: blanks and month names fall back") << "C" << "yyyy/M/d";
}

void TestDataset::dateFormatsFilterCanRead()
{
    QFETCH(QString, locale);
    QFETCH(QString, format);
    QLocale::setDefault(QLocale(locale));
    DateText::reloadFormats();
    QCOMPARE(DateText::shortDateFormat(), format);
    // What the one routine writes, a filter reads back, whatever the system's format.
    Dataset *c = m_dm->tblCustomers2;
    c->setFilter(s("CreateDate=") + DateText::shortDate(QDate(2026, 12, 2)));
    c->setFiltered(true);
    QCOMPARE(c->recordCount(), 1);
    QCOMPARE(c->field(s("CustId")).asString(), s("C2"));
    QCOMPARE(DateText::parseShortDate(DateText::shortDate(QDate(2026, 12, 2))), QDate(2026, 12, 2));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
}

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
