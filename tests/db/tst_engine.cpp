// The engine adapter: opening files, keys, the SQL the windows rely on, transactions.
#include "ConnectionString.h"
#include "Database.h"
#include "NewDatabase.h"
#include "PasswordHash.h"
#include "SqlDialect.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QFile>
#include <QtTest>

namespace {

QByteArray key()
{
    return ConnectionString::databasePassword().toUtf8();
}

QStringList column(Database &db, const QString &sql, const QVariantMap &params = {})
{
    Statement st(db, sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        st.bind(it.key(), it.value());
    QStringList out;
    while (st.step()) {
        QStringList row;
        for (int i = 0; i < st.columnCount(); ++i)
            row << st.value(i).toString();
        out << row.join(u'|');
    }
    return out;
}

}  // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openRefusals_data();
    void openRefusals();
    void openRightKey();
    void createNeverOverwrites();

    void yearMonth_data();
    void yearMonth();
    void betweenIncludesMidnightEnds();
    void rightOuterJoinGivesZeroCounts();
    void nestedInnerJoinsAndAggregateArithmetic();
    void deleteStarMapped_data();
    void deleteStarMapped();
    void chineseTextAndLike();
    void parametersIgnoreCase();
    void unknownParameterRefused();
    void typedValuesRoundTrip();

    void transactionRollsBackUnlessCommitted();
    void nestedTransactionIsSavepoint();

    void connectionStringText();
    void connectionStringParse_data();
    void connectionStringParse();

    void passwordHash_data();
    void passwordHash();
    void passwordHashIsSalted();
};

void TestEngine::openRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing file") << "missing" << int(DbError::Kind::Missing);
    QTest::newRow("directory") << "directory" << int(DbError::Kind::Missing);
    QTest::newRow("wrong key") << "wrongkey" << int(DbError::Kind::NotADatabase);
    QTest::newRow("empty 0-byte file") << "empty" << int(DbError::Kind::ForeignFile);
    QTest::newRow("plain unencrypted SQLite") << "plain" << int(DbError::Kind::NotADatabase);
    QTest::newRow("text file") << "text" << int(DbError::Kind::NotADatabase);
    QTest::newRow("keyed, but not ours") << "foreign" << int(DbError::Kind::ForeignFile);
}

void TestEngine::openRefusals()
{
    QFETCH(QString, kind);
    QFETCH(int, expected);
    TestAppDir dir(false);
    QString path = dir.file(QStringLiteral("x.qdb"));
    QByteArray useKey = key();
    if (kind == u"directory") {
        path = dir.file(QStringLiteral("Data"));
    } else if (kind == u"wrongkey") {
        NewDatabase::create(path);
        useKey = "not the key";
    } else if (kind == u"empty") {
        dir.writeFile(QStringLiteral("x.qdb"), {});
    } else if (kind == u"plain") {
        Database::create(path, QByteArray())->exec(QStringLiteral("CREATE TABLE t(x)"));
    } else if (kind == u"text") {
        dir.writeFile(QStringLiteral("x.qdb"), QByteArray("Data Source=C:\\QLM30.qdb\r\n").repeated(200));
    } else if (kind == u"foreign") {
        auto db = Database::create(path, key());
        db->exec(QStringLiteral("PRAGMA application_id = 7; CREATE TABLE t(x)"));
    }
    const QByteArray before = dir.readFile(QStringLiteral("x.qdb"));
    try {
        Database::open(path, useKey);
        QFAIL("the open should have been refused");
    } catch (const DbError &e) {
        QCOMPARE(int(e.kind()), expected);
        QVERIFY(!e.message().isEmpty());
    }
    // A refused open never changes the file.
    QCOMPARE(dir.readFile(QStringLiteral("x.qdb")), before);
}

void TestEngine::openRightKey()
{
    TestAppDir dir;
    auto db = dir.open();
    QCOMPARE(db->applicationId(), Database::ApplicationId);
    QCOMPARE(db->scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    QCOMPARE(db->scalar(QStringLiteral("PRAGMA foreign_keys")).toInt(), 1);
    // The file on disk is encrypted: no plain SQLite header, no plain table names.
    const QByteArray bytes = dir.readFile(QStringLiteral("Data/QLM30.qdb"));
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains("tblCustomers"));
}

void TestEngine::createNeverOverwrites()
{
    TestAppDir dir;
    const QByteArray before = dir.readFile(QStringLiteral("Data/QLM30.qdb"));
    QVERIFY_THROWS_EXCEPTION(DbError, NewDatabase::create(dir.databasePath()));
    QCOMPARE(dir.readFile(QStringLiteral("Data/QLM30.qdb")), before);
}

void TestEngine::yearMonth_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("year");
    QTest::addColumn<QVariant>("month");
    QTest::newRow("date-time") << QVariant(QDateTime(QDate(2026, 12, 9), QTime(13, 5))) << QVariant(2026) << QVariant(12);
    QTest::newRow("date at midnight") << QVariant(QDate(2003, 1, 31)) << QVariant(2003) << QVariant(1);
    QTest::newRow("null") << QVariant() << QVariant() << QVariant();
    QTest::newRow("not a date") << QVariant(QStringLiteral("hello world")) << QVariant() << QVariant();
}

void TestEngine::yearMonth()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, year);
    QFETCH(QVariant, month);
    TestAppDir dir;
    auto db = dir.open();
    Statement st(*db, QStringLiteral("select Year(:d), month(:D)"));
    st.bind(QStringLiteral("d"), value);
    QVERIFY(st.step());
    QCOMPARE(st.isNull(0), year.isNull());
    QCOMPARE(st.isNull(1), month.isNull());
    if (!year.isNull()) {
        QCOMPARE(st.integer(0), year.toLongLong());
        QCOMPARE(st.integer(1), month.toLongLong());
    }
}

void TestEngine::betweenIncludesMidnightEnds()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, QStringLiteral("tblCustomers"), {QStringLiteral("CustId"), QStringLiteral("CreateDate")});
    ins.insert({QStringLiteral("before"), QDate(2026, 2, 28)});
    ins.insert({QStringLiteral("first"), QDate(2026, 3, 1)});
    ins.insert({QStringLiteral("middle"), QDateTime(QDate(2026, 3, 15), QTime(17, 30))});
    ins.insert({QStringLiteral("last"), QDate(2026, 3, 31)});
    ins.insert({QStringLiteral("after"), QDate(2026, 4, 1)});
    const QStringList got = column(*db,
                                   QStringLiteral("select CustId from tblCustomers where CreateDate Between "
                                                  ":CreateDate1 and :CreateDate2 order by CreateDate"),
                                   {{QStringLiteral("CreateDate1"), QDate(2026, 3, 1)},
                                    {QStringLiteral("CreateDate2"), QDate(2026, 3, 31)}});
    QCOMPARE(got, (QStringList{"first", "middle", "last"}));
    // Year() and Month() against parameters, as the period analyses use them.
    QCOMPARE(column(*db,
                    QStringLiteral("select count(*) from tblCustomers where Year(CreateDate)=:y and Month(CreateDate)=:m"),
                    {{QStringLiteral("y"), 2026}, {QStringLiteral("m"), 3}}),
             QStringList{"3"});
}

void TestEngine::rightOuterJoinGivesZeroCounts()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, QStringLiteral("tblCustomers"), {QStringLiteral("CustId"), QStringLiteral("LevelID")});
    ins.insert({QStringLiteral("c1"), QStringLiteral("A")});
    ins.insert({QStringLiteral("c2"), QStringLiteral("A")});
    ins.insert({QStringLiteral("c3"), QStringLiteral("C")});
    const QStringList got = column(
        *db, QStringLiteral("SELECT tblCustLevel.LevelID, tblCustLevel.LevelName, Count(tblCustomers.CustID) as CustCount "
                            "FROM tblCustomers RIGHT OUTER JOIN tblCustLevel ON tblCustomers.LevelID = tblCustLevel.LevelID "
                            "GROUP BY tblCustLevel.LevelID, tblCustLevel.LevelName ORDER BY tblCustLevel.LevelID"));
    QCOMPARE(got, (QStringList{QStringLiteral("A|重要客户|2"), QStringLiteral("B|普通客户|0"),
                               QStringLiteral("C|潜在客户|1")}));
}

void TestEngine::nestedInnerJoinsAndAggregateArithmetic()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter cust(*db, QStringLiteral("tblCustomers"), {QStringLiteral("CustId"), QStringLiteral("CustName")});
    cust.insert({QStringLiteral("c1"), QStringLiteral("张宅")});
    cust.insert({QStringLiteral("c2"), QStringLiteral("李宅")});
    TableInserter op(*db, QStringLiteral("tblOperates"),
                     {QStringLiteral("OperateID"), QStringLiteral("CustID"), QStringLiteral("InOrOut"), QStringLiteral("RMB")});
    op.insert({QStringLiteral("o1"), QStringLiteral("c1"), QStringLiteral("收款"), 1000.0});
    op.insert({QStringLiteral("o2"), QStringLiteral("c2"), QStringLiteral("收款"), 500.0});
    op.insert({QStringLiteral("o3"), QStringLiteral("c2"), QStringLiteral("付款"), 800.0});
    TableInserter item(*db, QStringLiteral("tblOperateDetail"),
                       {QStringLiteral("OperateID"), QStringLiteral("DetailNo"), QStringLiteral("RMB")});
    item.insert({QStringLiteral("o1"), QStringLiteral("1"), 300.0});
    item.insert({QStringLiteral("o1"), QStringLiteral("2"), 200.0});
    item.insert({QStringLiteral("o2"), QStringLiteral("1"), 100.0});
    item.insert({QStringLiteral("o3"), QStringLiteral("1"), 800.0});
    const QStringList got = column(
        *db, QStringLiteral("SELECT tblOperates.OperateID, tblCustomers.CustName, sum(tblOperateDetail.RMB) as gathering, "
                            "(tblOperates.RMB-sum(tblOperateDetail.RMB)) as surPlus "
                            "FROM (tblOperates Inner JOIN tblOperateDetail ON tblOperates.OperateID = tblOperateDetail.OperateID) "
                            " INNER JOIN tblCustomers ON tblOperates.CustID = tblCustomers.custID "
                            "WHERE tblOperates.InorOut='收款' GROUP BY tblOperates.OperateID, tblCustomers.CustName, tblOperates.RMB "
                            "order by sum(tblOperateDetail.RMB) DESC"));
    QCOMPARE(got, (QStringList{QStringLiteral("o1|张宅|500|500"), QStringLiteral("o2|李宅|100|400")}));
    // Result columns are found without regard to case.
    Statement st(*db, QStringLiteral("select sum(RMB) as Gathering from tblOperateDetail"));
    QVERIFY(st.step());
    QCOMPARE(st.columnIndex(QStringLiteral("gathering")), 0);
    QCOMPARE(st.columnIndex(QStringLiteral("GATHERING")), 0);
    QCOMPARE(st.columnIndex(QStringLiteral("nothing")), -1);
}

void TestEngine::deleteStarMapped_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "delete * from tblLog" << "delete from tblLog";
    QTest::newRow("case and blanks") << "DELETE  *  FROM tblUserRight where UserID=:userID"
                                     << "delete from tblUserRight where UserID=:userID";
    QTest::newRow("star inside a literal") << "select 'delete * from x' from t" << "select 'delete * from x' from t";
    QTest::newRow("doubled quote") << "select 'it''s' from t; delete * from t"
                                   << "select 'it''s' from t; delete from t";
    QTest::newRow("select star untouched") << "select * from tblPlan" << "select * from tblPlan";
}

void TestEngine::deleteStarMapped()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(SqlDialect::toEngine(input), expected);
}

void TestEngine::chineseTextAndLike()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, QStringLiteral("tblCustomers"), {QStringLiteral("CustId"), QStringLiteral("CustName")});
    ins.insert({QStringLiteral("c1"), QStringLiteral("北京华信科技有限公司")});
    ins.insert({QStringLiteral("c2"), QStringLiteral("王宅（朝阳区）")});
    ins.insert({QStringLiteral("C3"), QStringLiteral("𠀀 rare ideograph")});
    QCOMPARE(column(*db, QStringLiteral("select CustName from tblCustomers where CustName Like '%华信%'")),
             QStringList{QStringLiteral("北京华信科技有限公司")});
    QCOMPARE(column(*db, QStringLiteral("select CustId from tblCustomers where CustName Like :p"),
                    {{QStringLiteral("p"), QStringLiteral("%（朝阳区）%")}}),
             QStringList{QStringLiteral("c2")});
    QCOMPARE(column(*db, QStringLiteral("select CustName from tblCustomers where CustId = 'c3'")),
             QStringList{QStringLiteral("𠀀 rare ideograph")});
    // Text compares without regard to letter case, as codes are looked up by users.
    QCOMPARE(column(*db, QStringLiteral("select count(*) from tblCustomers where CustId Like '%c%'")), QStringList{"3"});
}

void TestEngine::parametersIgnoreCase()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, QStringLiteral("tblShusongYJ"), {QStringLiteral("ShusongID"), QStringLiteral("sNo")});
    ins.insert({QStringLiteral("U1"), 1});
    ins.insert({QStringLiteral("U1"), 2});
    ins.insert({QStringLiteral("U2"), 1});
    Statement st(*db, QStringLiteral("select count(*) from tblShusongYJ where ShusongID=:shusongID or ShusongID=:SHUSONGID"));
    QCOMPARE(st.parameterNames().size(), 1);
    st.bind(QStringLiteral("ShusongID"), QStringLiteral("U1"));
    QVERIFY(st.step());
    QCOMPARE(st.integer(0), 2);
}

void TestEngine::unknownParameterRefused()
{
    TestAppDir dir;
    auto db = dir.open();
    Statement st(*db, QStringLiteral("select * from tblUser where UserID=:UserID"));
    try {
        st.bind(QStringLiteral("Password"), QStringLiteral("x"));
        QFAIL("binding an unknown parameter should raise");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::Kind::Usage);
    }
    QVERIFY_THROWS_EXCEPTION(DbError, Statement(*db, QStringLiteral("select * from noSuchTable")));
}

void TestEngine::typedValuesRoundTrip()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, QStringLiteral("tblOperates"),
                      {QStringLiteral("OperateID"), QStringLiteral("Link"), QStringLiteral("CreateDate"),
                       QStringLiteral("RMB"), QStringLiteral("Profit"), QStringLiteral("FilePath")});
    ins.insert({QStringLiteral("o1"), true, QDateTime(QDate(2026, 12, 9), QTime(8, 7, 6)), 12.5, QVariant(), QString()});
    Statement st(*db, QStringLiteral("select Link, CreateDate, RMB, Profit, FilePath from tblOperates"));
    QVERIFY(st.step());
    QCOMPARE(st.integer(0), 1);
    QCOMPARE(st.text(1), QStringLiteral("2026-12-09 08:07:06"));
    QCOMPARE(st.real(2), 12.5);
    QVERIFY(st.isNull(3));  // a null amount stays null, never 0
    QVERIFY(st.isNull(4));  // a null QString is stored as NULL
}

void TestEngine::transactionRollsBackUnlessCommitted()
{
    TestAppDir dir;
    auto db = dir.open();
    try {
        Transaction tx(*db);
        TableInserter(*db, QStringLiteral("tblLog"), {QStringLiteral("Operate")}).insert({QStringLiteral("lost")});
        throw std::runtime_error("failure mid-way");
    } catch (const std::runtime_error &) {
    }
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblLog")).toInt(), 0);
    {
        Transaction tx(*db);
        TableInserter(*db, QStringLiteral("tblLog"), {QStringLiteral("Operate")}).insert({QStringLiteral("kept")});
        tx.commit();
    }
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblLog")).toInt(), 1);
    QVERIFY(!db->inTransaction());
}

void TestEngine::nestedTransactionIsSavepoint()
{
    TestAppDir dir;
    auto db = dir.open();
    TableInserter log(*db, QStringLiteral("tblLog"), {QStringLiteral("Operate")});
    {
        Transaction outer(*db);
        log.insert({QStringLiteral("outer")});
        {
            Transaction inner(*db);
            log.insert({QStringLiteral("inner")});
        }  // inner rolled back alone
        outer.commit();
    }
    QCOMPARE(column(*db, QStringLiteral("select Operate from tblLog")), QStringList{"outer"});
}

void TestEngine::connectionStringText()
{
    const QString expected = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/srv/家政/QLM30.qdb;Mode=Share Deny None;"
        "Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
        "Jet OLEDB:Database Password=\"plumtreeharbours\";Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=1;"
        "Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
        "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
        "Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");
    QCOMPARE(ConnectionString::build(QStringLiteral("/srv/家政/QLM30.qdb")), expected);
}

void TestEngine::connectionStringParse_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/opt/qlm/Data/QLM30.qdb";
    QTest::newRow("blanks and Chinese") << "/home/王 丽/我的 数据/QLM30.qdb";
    QTest::newRow("semicolon in a folder name") << "/data/a;b/QLM30.qdb";
    QTest::newRow("semicolon and equals sign") << "/data/a;b=c/QLM30.qdb";
    QTest::newRow("a property inside the name") << "/data/x;Jet OLEDB:Database Password=\"\";y/QLM30.qdb";
    QTest::newRow("double quotes") << "/data/\"quoted\"/QLM30.qdb";
    QTest::newRow("equals sign only") << "/data/a=b/QLM30.qdb";
    QTest::newRow("leading and trailing blanks kept") << " /tmp/x.qdb ";
    QTest::newRow("empty") << "";
}

void TestEngine::connectionStringParse()
{
    QFETCH(QString, path);
    const QString text = ConnectionString::build(path);
    QCOMPARE(ConnectionString::dataSource(text), path);
    QCOMPARE(ConnectionString::password(text), QStringLiteral("plumtreeharbours"));
    const auto props = ConnectionString::parse(text);
    QCOMPARE(props.value(QStringLiteral("jet oledb:engine type")), QStringLiteral("5"));
    QCOMPARE(props.value(QStringLiteral("jet oledb:don't copy locale on compact")), QStringLiteral("False"));
    QCOMPARE(props.value(QStringLiteral("extended properties")), QString());
}

void TestEngine::passwordHash_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");
    const QString initial = PasswordHash::make(QStringLiteral("482716"), 1000);
    const QString chinese = PasswordHash::make(QStringLiteral("口令 Ab"), 1000);
    QTest::newRow("exact") << initial << "482716" << true;
    QTest::newRow("trailing blank counts") << initial << "482716 " << false;
    QTest::newRow("leading blank counts") << initial << " 482716" << false;
    QTest::newRow("empty typed") << initial << "" << false;
    QTest::newRow("chinese exact") << chinese << "口令 Ab" << true;
    QTest::newRow("case matters") << chinese << "口令 ab" << false;
    QTest::newRow("empty stored") << "" << "" << false;
    QTest::newRow("null stored") << QString() << QString() << false;
    QTest::newRow("plain text stored is no hash") << "482716" << "482716" << false;
    QTest::newRow("tampered iterations") << QString(initial).replace(QStringLiteral("$1000$"), QStringLiteral("$999$"))
                                         << "482716" << false;
    QTest::newRow("absurd iterations") << "pbkdf2-sha256$2000000000$AAAA$AAAA" << "x" << false;
    QTest::newRow("malformed") << "pbkdf2-sha256$$" << "" << false;
}

void TestEngine::passwordHash()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    QCOMPARE(PasswordHash::verify(typed, stored), matches);
}

void TestEngine::passwordHashIsSalted()
{
    const QString a = PasswordHash::make(QStringLiteral("482716"), 1000);
    const QString b = PasswordHash::make(QStringLiteral("482716"), 1000);
    QVERIFY(a != b);
    QVERIFY(!a.contains(QStringLiteral("482716")));
    QVERIFY(a.startsWith(QStringLiteral("pbkdf2-sha256$1000$")));
    QVERIFY(a.size() <= 200);  // fits tblUser.Password
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
