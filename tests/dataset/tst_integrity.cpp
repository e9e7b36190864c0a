// What keeps the rows on screen and in the file the same: rollbacks, writes checked against
// what was read, refusals that fail a post, and filters that read back every date they write.
#include "DateText.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QVariant dbValue(const QString &sql)
{
    return dmMain->database()->scalar(sql);
}

int count(const QString &sql)
{
    return dbValue(sql).toInt();
}

// 400 customers: a day each from 2020-01-01 on, owners "wang", "li" and "o'b" in turn.
void fillCustomers(Database &db)
{
    Transaction tx(db);
    TableInserter cust(db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("CreateDate"), s("CountryID")});
    const char *const owners[] = {"wang", "li", "o'b"};
    for (int i = 0; i < 400; ++i) {
        const QDate day = QDate(2020, 1, 1).addDays(i * 3);
        const QVariant created = i % 7 == 0 ? QVariant(QDateTime(day, QTime(9, 30))) : QVariant(day);
        cust.insert({s("C%1").arg(i, 3, 10, QChar(u'0')), s("客户%1").arg(i), s(owners[i % 3]), created,
                     i % 2 ? s("CN") : s("US")});
    }
    TableInserter link(db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name")});
    link.insert({s("L1"), s("C000"), s("王一")});
    link.insert({s("L2"), s("C001"), s("李二")});
    tx.commit();
}

// "CreateDate=d1 or CreateDate=d2 ..." as the query dialogs build it, one term per day.
QString dayChain(const QDate &from, const QDate &to, const QString &owner)
{
    QStringList terms;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        if (owner.isNull())
            terms << s("CreateDate=") + DateText::shortDate(d);
        else
            terms << s("((CreateDate=") + DateText::shortDate(d) + s(") and (sUser='") + owner + s("'))");
    }
    return terms.join(s(" or "));
}

}  // namespace

class TestIntegrity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rollbackRestoresEveryDatasetWritten();
    void rollbackOfASavepointOnly();
    void writesAreCheckedAgainstWhatWasRead_data();
    void writesAreCheckedAgainstWhatWasRead();
    void detailRefusalKeepsTheMaster_data();
    void detailRefusalKeepsTheMaster();
    void flushRefusalFailsThePost();
    void emptyReadOnlyQueryCannotBeEdited();
    void oldValueIsTheStoredOne();
    void dayChainsGiveThePlainRows_data();
    void dayChainsGiveThePlainRows();
    void yearsReadBackInEveryLocale_data();
    void yearsReadBackInEveryLocale();

private:
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
};

void TestIntegrity::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
    m_template = std::make_unique<TestAppDir>();
    fillCustomers(*m_template->open());
}

void TestIntegrity::init()
{
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_dm = std::make_unique<TdmMain>();
    m_dm->attachDatabase(m_dir->open());
    CurrentUserID = s("Admin");
}

void TestIntegrity::cleanup()
{
    m_dm.reset();
    m_dir.reset();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
}

void TestIntegrity::rollbackRestoresEveryDatasetWritten()
{
    Dataset *cust = m_dm->tblCustomers2;
    Dataset *country = m_dm->tblCountry;
    QVERIFY(cust->locate(s("CustId"), {s("C010")}));
    const int customers = cust->recordCount();
    const int countries = country->recordCount();
    {
        Transaction tx(*m_dm->database());
        cust->edit();
        cust->field(s("CustName")).setValue(s("改过的名字"));
        cust->post();
        cust->append();
        cust->field(s("CustId")).setValue(s("NEW"));
        cust->post();
        country->first();
        country->remove();
        // No commit: the whole transaction rolls back.
    }
    QCOMPARE(cust->recordCount(), customers);
    QVERIFY(!cust->locate(s("CustId"), {s("NEW")}));
    QVERIFY(cust->locate(s("CustId"), {s("C010")}));
    QCOMPARE(cust->field(s("CustName")).asString(), s("客户10"));
    QCOMPARE(country->recordCount(), countries);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='NEW'")), 0);

    // Another cursor now takes the rowid the rolled-back row had; this cursor's rows are
    // what the file holds, so deleting the current row deletes exactly that row.
    Dataset *other = m_dm->tblCustomers;
    other->open();
    other->append();
    other->field(s("CustId")).setValue(s("REAL"));
    other->post();
    cust->last();
    const QString victim = cust->field(s("CustId")).asString();
    QVERIFY(victim != s("REAL"));
    cust->remove();
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='REAL'")), 1);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='%1'").arg(victim)), 0);
    QCOMPARE(count(s("select count(*) from tblCustomers")), customers);
}

void TestIntegrity::rollbackOfASavepointOnly()
{
    Dataset *cust = m_dm->tblCustomers2;
    Dataset *log = m_dm->tblLog;
    {
        Transaction outer(*m_dm->database());
        WriteLog(s("外层"));
        {
            Transaction inner(*m_dm->database());
            cust->append();
            cust->field(s("CustId")).setValue(s("INNER"));
            cust->post();
        }
        outer.commit();
    }
    QVERIFY(!cust->locate(s("CustId"), {s("INNER")}));
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='INNER'")), 0);
    QCOMPARE(count(s("select count(*) from tblLog where Operate='外层'")), 1);
    log->last();
    QCOMPARE(log->field(s("Operate")).asString(), s("外层"));
}

void TestIntegrity::writesAreCheckedAgainstWhatWasRead_data()
{
    QTest::addColumn<QString>("ours");      // "update" CustName, or "delete"
    QTest::addColumn<QString>("theirs");    // the other program's statement on C020
    QTest::addColumn<bool>("refused");
    QTest::newRow("update, they changed the same field")
        << "update" << "update tblCustomers set CustName='他们的' where CustId='C020'" << true;
    QTest::newRow("update, they changed another field")
        << "update" << "update tblCustomers set Address='他们的地址' where CustId='C020'" << false;
    QTest::newRow("update, they deleted the row") << "update" << "delete from tblCustomers where CustId='C020'" << true;
    QTest::newRow("update, they set a field we left empty")
        << "update" << "update tblCustomers set PostCode='100000' where CustId='C020'" << false;
    QTest::newRow("delete, they changed a field")
        << "delete" << "update tblCustomers set Address='他们的地址' where CustId='C020'" << true;
    QTest::newRow("delete, they filled an empty field")
        << "delete" << "update tblCustomers set PostCode='100000' where CustId='C020'" << true;
    QTest::newRow("delete, they deleted it first") << "delete" << "delete from tblCustomers where CustId='C020'" << true;
    QTest::newRow("update, nobody else") << "update" << "" << false;
    QTest::newRow("delete, nobody else") << "delete" << "" << false;
}

void TestIntegrity::writesAreCheckedAgainstWhatWasRead()
{
    QFETCH(QString, ours);
    QFETCH(QString, theirs);
    QFETCH(bool, refused);
    Dataset *cust = m_dm->tblCustomers2;
    QVERIFY(cust->locate(s("CustId"), {s("C020")}));
    if (!theirs.isEmpty()) {
        auto other = m_dir->open();  // another program on the same file
        other->exec(theirs);
    }
    const QVariant theirAddress = dbValue(s("select Address from tblCustomers where CustId='C020'"));
    const QVariant theirName = dbValue(s("select CustName from tblCustomers where CustId='C020'"));
    const int rows = count(s("select count(*) from tblCustomers"));
    QString error;
    try {
        if (ours == u"update") {
            cust->edit();
            cust->field(s("CustName")).setValue(s("我们的"));
            cust->post();
        } else {
            cust->remove();
        }
    } catch (const DatasetError &e) {
        error = e.message();
    }
    if (refused) {
        QCOMPARE(error, s("该记录已被修改或删除，请刷新后重试！"));
        QCOMPARE(count(s("select count(*) from tblCustomers")), rows);  // nothing deleted
        QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C020'")), theirName);
        if (ours == u"update")
            QCOMPARE(cust->state(), Dataset::State::Edit);  // the typed values are kept for another try
    } else {
        QCOMPARE(error, QString());
        if (ours == u"update") {
            QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C020'")).toString(), s("我们的"));
            // Their change to another field is not overwritten with what we read before it.
            QCOMPARE(dbValue(s("select Address from tblCustomers where CustId='C020'")), theirAddress);
        } else {
            QCOMPARE(count(s("select count(*) from tblCustomers where CustId='C020'")), 0);
        }
    }
}

void TestIntegrity::detailRefusalKeepsTheMaster_data()
{
    QTest::addColumn<bool>("masterInserts");
    QTest::addColumn<bool>("masterPosts");  // false: the master cancels
    QTest::newRow("new customer posted") << true << true;
    QTest::newRow("new customer cancelled") << true << false;
    QTest::newRow("edited customer cancelled") << false << false;
}

void TestIntegrity::detailRefusalKeepsTheMaster()
{
    QFETCH(bool, masterInserts);
    QFETCH(bool, masterPosts);
    Dataset *cust = m_dm->tblCustomers;
    Dataset *links = m_dm->tblLinkmans;
    cust->open();
    links->open();
    QVERIFY(cust->locate(s("CustId"), {s("C002")}));
    if (masterInserts) {
        cust->append();
        cust->field(s("CustId")).setValue(s("MASTER"));
    } else {
        cust->edit();
        cust->field(s("CustName")).setValue(s("改名"));
    }
    links->append();
    links->field(s("LinkmanID")).setValue(s("L1"));  // taken: the post is refused
    const Dataset::State before = cust->state();
    QVERIFY_THROWS_EXCEPTION(DatasetError, masterPosts ? cust->post() : cust->cancel());
    QCOMPARE(cust->state(), before);
    QCOMPARE(links->state(), Dataset::State::Insert);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='MASTER'")), 0);
    // Once the detail row is put right, the master goes on as asked.
    links->field(s("LinkmanID")).setValue(s("L9"));
    masterPosts ? cust->post() : cust->cancel();
    QCOMPARE(cust->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='L9'")), 1);
    QCOMPARE(count(s("select count(*) from tblCustomers where CustId='MASTER'")), masterPosts ? 1 : 0);
}

void TestIntegrity::flushRefusalFailsThePost()
{
    Dataset *cust = m_dm->tblCustomers2;
    QVERIFY(cust->locate(s("CustId"), {s("C030")}));
    // A bound control that cannot write what it holds while the post gathers the values.
    const auto refuse = connect(cust, &Dataset::updateRecord, this, [cust] { cust->refuseFlush(s("“Amount”必须是数字：-")); });
    cust->edit();
    cust->field(s("CustName")).setValue(s("不该保存"));
    try {
        cust->post();
        QFAIL("the post went through");
    } catch (const DatasetError &e) {
        QCOMPARE(e.message(), s("“Amount”必须是数字：-"));
    }
    QCOMPARE(cust->state(), Dataset::State::Edit);
    QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C030'")).toString(), s("客户30"));
    disconnect(refuse);
    cust->post();
    QCOMPARE(dbValue(s("select CustName from tblCustomers where CustId='C030'")).toString(), s("不该保存"));
    // A refusal outside a post changes nothing.
    cust->refuseFlush(s("x"));
    cust->edit();
    cust->post();
}

void TestIntegrity::emptyReadOnlyQueryCannotBeEdited()
{
    QueryDataset *q = m_dm->qryPubQuery;
    q->setSql({s("select CustID, count(*) as n from tblLinkmans where CustID='nobody' group by CustID")});
    q->open();
    QVERIFY(q->isEmpty());
    QVERIFY_THROWS_EXCEPTION(DatasetError, q->edit());
    QCOMPARE(q->state(), Dataset::State::Browse);
}

void TestIntegrity::oldValueIsTheStoredOne()
{
    Dataset *cust = m_dm->tblCustomers2;
    QVERIFY(cust->locate(s("CustId"), {s("C040")}));
    cust->edit();
    cust->field(s("CustId")).setValue(s("TYPED"));
    QCOMPARE(cust->field(s("CustId")).value().toString(), s("TYPED"));
    QCOMPARE(cust->field(s("CustId")).oldValue().toString(), s("C040"));
    cust->cancel();
    cust->append();
    QVERIFY(!cust->field(s("CustId")).oldValue().isValid());
    cust->cancel();
}

void TestIntegrity::dayChainsGiveThePlainRows_data()
{
    QTest::addColumn<QString>("filter");
    const QDate from(2020, 1, 1), to(2023, 4, 1);
    QTest::newRow("system user, three years") << dayChain(from, to, QString());
    QTest::newRow("owner and-ed to each day") << dayChain(from, to, s("wang"));
    QTest::newRow("owner with a quote") << dayChain(from, to, s("o''b"));
    QTest::newRow("one day") << dayChain(QDate(2020, 1, 4), QDate(2020, 1, 4), s("li"));
    QTest::newRow("day term on the other side")
        << s("((sUser='li') and (CreateDate=2020/1/4)) or ((sUser='li') and (CreateDate=2020/1/10)) or "
             "((sUser='li') and (CreateDate=2020/1/13)) or ((sUser='li') and (CreateDate=2020/1/16))");
    QTest::newRow("further terms differ: no shortcut")
        << s("((CreateDate=2020/1/1) and (sUser='wang')) or ((CreateDate=2020/1/4) and (sUser='li')) or "
             "((CreateDate=2020/1/7) and (sUser='o''b'))");
    QTest::newRow("codes, any letter case") << s("CustId='c001' or CustId='C002' or custid='c003' or CustId='x'");
    QTest::newRow("numbers") << s("CNo='1' or CNo='5' or CNo='9' or CNo='400'");
    QTest::newRow("lookup column") << s("CountryName='中国' or CountryName='美国' or CountryName='无'");
    QTest::newRow("mixed with a like") << s("CustId='C001' or CustId='C002' or CustName like '客户1%'");
}

void TestIntegrity::dayChainsGiveThePlainRows()
{
    QFETCH(QString, filter);
    Dataset *cust = m_dm->tblCustomers2;
    const QList<int> fast = cust->rowsMatching(filter, true);
    const QList<int> plain = cust->rowsMatching(filter, false);
    QCOMPARE(fast, plain);
    QVERIFY(!fast.isEmpty());
    // The dataset's own filter gives the same rows.
    cust->setFilter(filter);
    cust->setFiltered(true);
    QCOMPARE(cust->recordCount(), plain.size());
    cust->setFiltered(false);
}

void TestIntegrity::yearsReadBackInEveryLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("en_US 2030") << "en_US" << QDate(2030, 7, 4) << "7/4/2030";
    QTest::newRow("en_US 2045") << "en_US" << QDate(2045, 1, 31) << "1/31/2045";
    QTest::newRow("en_US 1925") << "en_US" << QDate(1925, 12, 25) << "12/25/1925";
    QTest::newRow("de_DE 2030") << "de_DE" << QDate(2030, 7, 4) << "04.07.2030";
    QTest::newRow("zh_CN 2030") << "zh_CN" << QDate(2030, 7, 4) << "2030/7/4";
}

void TestIntegrity::yearsReadBackInEveryLocale()
{
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    DateText::reloadFormats();
    QCOMPARE(DateText::shortDate(date), text);
    QCOMPARE(DateText::parseShortDate(text), date);
    Dataset *cust = m_dm->tblCustomers2;
    cust->append();
    cust->field(s("CustId")).setValue(s("END"));
    cust->field(s("CreateDate")).setValue(date);
    cust->post();
    cust->setFilter(s("CreateDate=") + DateText::shortDate(date));
    cust->setFiltered(true);
    QCOMPARE(cust->recordCount(), 1);
    QCOMPARE(cust->field(s("CustId")).asString(), s("END"));
}

QTEST_GUILESS_MAIN(TestIntegrity)
#include "tst_integrity.moc"
