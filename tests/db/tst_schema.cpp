// The tables of a new database: columns and types, keys, widths, the seed rows.
#include "Database.h"
#include "NewDatabase.h"
#include "PasswordHash.h"
#include "RightCodes.h"
#include "Schema.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QtTest>

namespace {

// Column name -> declared SQL type, read back from the file.
QMap<QString, QString> columnTypes(Database &db, const QString &table)
{
    QMap<QString, QString> out;
    Statement st(db, QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (st.step())
        out.insert(st.text(1), st.text(2).section(u' ', 0, 0));
    return out;
}

}  // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyTableAndColumn_data();
    void everyTableAndColumn();
    void autoNumberIsAssigned_data();
    void autoNumberIsAssigned();
    void duplicateKeysRefused_data();
    void duplicateKeysRefused();
    void codeTableDescriptionRequired_data();
    void codeTableDescriptionRequired();
    void linkColumnsHoldWholeKeys_data();
    void linkColumnsHoldWholeKeys();
    void migrateIsIdempotentAndRefusesNewer();
    void seedAdminAndRights();
    void seedCodeTables();

private:
    std::unique_ptr<TestAppDir> m_dir;
};

void TestSchema::initTestCase()
{
    m_dir = std::make_unique<TestAppDir>();
}

void TestSchema::everyTableAndColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");  // name:TYPE, T=TEXT R=REAL I=INTEGER
    QTest::newRow("tblUser") << "tblUser"
                             << "UserID:T UserName:T Password:T DeptID:T Duty:T State:T RightID:T Memo:T SUser:T SDate:T Sys:I";
    QTest::newRow("tblUserRight") << "tblUserRight" << "UserID:T RightID:T Insert:I Modify:I Delete:I Query:I Print:I";
    QTest::newRow("tblRight") << "tblRight" << "RightID:T";
    QTest::newRow("tblLog") << "tblLog" << "LogID:I LogDateTime:T UserID:T Operate:T";
    QTest::newRow("tblUserInfo") << "tblUserInfo" << "UserName:T Address:T Telephone:T Fax:T HomePage:T Email:T PostCode:T";
    QTest::newRow("tblPlan") << "tblPlan"
                             << "PlanID:I AttendMan:T PlanDate:T PlanTime:T Address:T CustID:T Linkman:T OperateId:T Memo:T FilePath:T";
    QTest::newRow("tblBoard") << "tblBoard" << "BNo:I BDate:T BTitle:T Man:T Memo:T";
    QTest::newRow("tblCustomers")
        << "tblCustomers"
        << "CNo:I CustId:T CustName:T CountryID:T DistID:T City:T PostCode:T Telephone:T Fax:T Address:T Email:T "
           "HomePage:T VocationID:T OriginID:T LevelID:T StateId:T CreateDate:T OperaterID:T Memo:T FilePath:T "
           "SUser:T SDate:T MainLinkman:T MainTelephone:T";
    QTest::newRow("tblCustomerAddInfo") << "tblCustomerAddInfo"
                                        << "CustID:T BankID:T BankAddress:T Account:T VATaxName:T VATaxID:T VATaxBank:T "
                                           "VATaxAccount:T VATaxAddress:T VATaxPhone:T";
    QTest::newRow("tblLinkmans") << "tblLinkmans"
                                 << "LNo:I LinkmanID:T CustID:T Main:I Name:T NickName:T Department:T Duty:T Telephone:T "
                                    "Fax:T Mobile:T Email:T HomePage:T HomeAddress:T Enjoy:T SpecialDate:T Memo:T "
                                    "FilePath:T SUser:T SDate:T";
    QTest::newRow("tblCustomerState") << "tblCustomerState"
                                      << "CustID:T LinkDate:T LinkTime:T LinkType:T Linkman:T Duty:T Charge:R "
                                         "LinkContent:T Address:T Memo:T";
    QTest::newRow("tblOperates") << "tblOperates"
                                 << "OperateID:T OperateTitle:T CustID:T Link:I LinkCustID:T CreateDate:T LinkmanID:T "
                                    "OriginId:T TypeID:T WriteDate:T EndDate:T OperaterID:T CompactAmount:R Profit:R "
                                    "Rate:R InOrOut:T OperateStateID:T FilePath:T SUser:T SDate:T CurrID:T RMB:R";
    QTest::newRow("tblOperateDetail") << "tblOperateDetail"
                                      << "OperateID:T DetailNo:T DTitle:T OperateDate:T InOut:T Price:R Amount:R "
                                         "DTotal:R CurrID:T RMB:R Memo:T";
    QTest::newRow("tblOperaters") << "tblOperaters"
                                  << "OperaterID:T Name:T NickName:T Sex:T DepartmentID:T Duty:T Education:T Birth:T "
                                     "ID:T Native:T CTelephone:T Fax:T HTelephone:T Mobile:T Address:T Email:T "
                                     "HomePage:T Photo:T Memo:T InTime:T State:T OutTime:T OutReason:T FilePath:T "
                                     "SUser:T SDate:T";
    QTest::newRow("tblYuangong") << "tblYuangong"
                                 << "YuangongID:T Name:T NickName:T Sex:T DepartmentID:T Duty:T Education:T Birth:T "
                                    "ID:T Health:T GongzhongID:T Native:T Jieshao:T JTelephone:T School:T "
                                    "HTelephone:T Mobile:T Address:T Email:T Photo:T Memo:T ShusongID:T CustID:T "
                                    "InTime:T State:T OutTime:T OutReason:T FilePath:T SUser:T SDate:T LevelID:T TJID:T";
    QTest::newRow("tblShusong") << "tblShusong"
                                << "ShusongID:T ShusongName:T Manager:T Duty:T ID:T Telephone:T Fax:T Mobile:T "
                                   "Homepage:T Email:T Memo:T";
    QTest::newRow("tblShusongYJ") << "tblShusongYJ"
                                  << "sNo:I ShusongID:T JDate:T Jingban:T Jieshao:R Qita:R BeginDate:T EndDate:T Memo:T";
    QTest::newRow("tblCountry") << "tblCountry" << "CountryID:T CountryName:T Continent:T CountryColor:I Memo:T";
    QTest::newRow("tblCustDist") << "tblCustDist" << "DistID:T DistName:T DistColor:I Memo:T CountryID:T";
    QTest::newRow("tblCustLevel") << "tblCustLevel" << "LevelID:T LevelName:T LevelColor:I Memo:T";
    QTest::newRow("tblCustState") << "tblCustState" << "StateID:T StateName:T StateColor:I Memo:T";
    QTest::newRow("tblCustOrigin") << "tblCustOrigin" << "OriginID:T OriginName:T OriginColor:I Memo:T";
    QTest::newRow("tblVocation") << "tblVocation" << "VocationId:T VocationName:T VocationColor:I Memo:T";
    QTest::newRow("tblOperateType") << "tblOperateType" << "TypeID:T TypeName:T TypeColor:I Memo:T";
    QTest::newRow("tblOperateOrigin") << "tblOperateOrigin" << "OriginID:T OriginName:T OriginColor:I Memo:T";
    QTest::newRow("tblOperateState") << "tblOperateState" << "OperateStateID:T OperateStateName:T StateColor:I Memo:T";
    QTest::newRow("tblCurrencyRate") << "tblCurrencyRate" << "CurrID:T CurrName:T Rate:R Memo:T";
    QTest::newRow("tblFinanceOrgan") << "tblFinanceOrgan" << "OrganID:T OrganName:T Memo:T";
    QTest::newRow("tblDepartment") << "tblDepartment" << "DepartmentID:T DepartmentName:T Memo:T";
    QTest::newRow("tblGongzhong") << "tblGongzhong" << "GongzhongID:T GongzhongName:T Memo:T";
    QTest::newRow("tblJineng") << "tblJineng" << "LevelID:T LevelName:T Memo:T";
    QTest::newRow("tblTijian") << "tblTijian" << "TJID:T TJMS:T Memo:T";
    QTest::newRow("tblColor") << "tblColor" << "ColorID:I";
    QTest::newRow("tblDuty") << "tblDuty" << "";
    QTest::newRow("tblDisk") << "tblDisk" << "";
    QTest::newRow("tblCity") << "tblCity" << "";
}

void TestSchema::everyTableAndColumn()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    auto db = m_dir->open();
    const auto types = columnTypes(*db, table);
    QVERIFY2(!types.isEmpty(), qPrintable(table + QStringLiteral(" is missing")));
    const QMap<QString, QString> names{{QStringLiteral("T"), QStringLiteral("TEXT")},
                                       {QStringLiteral("R"), QStringLiteral("REAL")},
                                       {QStringLiteral("I"), QStringLiteral("INTEGER")}};
    for (const QString &entry : columns.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = entry.section(u':', 0, 0);
        QVERIFY2(types.contains(name), qPrintable(table + u'.' + name + QStringLiteral(" is missing")));
        QCOMPARE(types.value(name), names.value(entry.section(u':', 1, 1)));
    }
}

void TestSchema::autoNumberIsAssigned_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("autoColumn");
    QTest::addColumn<QString>("otherColumn");
    QTest::newRow("CNo") << "tblCustomers" << "CNo" << "CustId";
    QTest::newRow("LNo") << "tblLinkmans" << "LNo" << "LinkmanID";
    QTest::newRow("PlanID") << "tblPlan" << "PlanID" << "Memo";
    QTest::newRow("LogID") << "tblLog" << "LogID" << "Operate";
    QTest::newRow("BNo") << "tblBoard" << "BNo" << "BTitle";
}

void TestSchema::autoNumberIsAssigned()
{
    QFETCH(QString, table);
    QFETCH(QString, autoColumn);
    QFETCH(QString, otherColumn);
    TestAppDir dir;
    auto db = dir.open();
    TableInserter ins(*db, table, {otherColumn});
    const qint64 first = ins.insert({QStringLiteral("a")});
    const qint64 second = ins.insert({QStringLiteral("b")});
    QVERIFY(second > first);
    db->exec(QStringLiteral("delete from %1 where rowid = %2").arg(table).arg(second));
    // AUTOINCREMENT never hands out a number again, even after a delete.
    QVERIFY(ins.insert({QStringLiteral("c")}) > second);
    QCOMPARE(db->scalar(QStringLiteral("select %1 from %2 where rowid = %3").arg(autoColumn, table).arg(first)).toLongLong(),
             first);
}

void TestSchema::duplicateKeysRefused_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("key");
    QTest::newRow("customer code") << "tblCustomers" << QStringList{"CustId"};
    QTest::newRow("contact code") << "tblLinkmans" << QStringList{"LinkmanID"};
    QTest::newRow("business record") << "tblOperates" << QStringList{"OperateID"};
    QTest::newRow("staff") << "tblOperaters" << QStringList{"OperaterID"};
    QTest::newRow("worker") << "tblYuangong" << QStringList{"YuangongID"};
    QTest::newRow("sending unit") << "tblShusong" << QStringList{"ShusongID"};
    QTest::newRow("user") << "tblUser" << QStringList{"UserID"};
    QTest::newRow("user right") << "tblUserRight" << QStringList{"UserID", "RightID"};
    QTest::newRow("item") << "tblOperateDetail" << QStringList{"OperateID", "DetailNo"};
    QTest::newRow("settlement") << "tblShusongYJ" << QStringList{"ShusongID", "sNo"};
    QTest::newRow("country") << "tblCountry" << QStringList{"CountryID"};
    QTest::newRow("district") << "tblCustDist" << QStringList{"DistID"};
    QTest::newRow("level") << "tblCustLevel" << QStringList{"LevelID"};
    QTest::newRow("state") << "tblCustState" << QStringList{"StateID"};
    QTest::newRow("origin") << "tblCustOrigin" << QStringList{"OriginID"};
    QTest::newRow("vocation") << "tblVocation" << QStringList{"VocationId"};
    QTest::newRow("operate type") << "tblOperateType" << QStringList{"TypeID"};
    QTest::newRow("operate origin") << "tblOperateOrigin" << QStringList{"OriginID"};
    QTest::newRow("operate state") << "tblOperateState" << QStringList{"OperateStateID"};
    QTest::newRow("currency") << "tblCurrencyRate" << QStringList{"CurrID"};
    QTest::newRow("bank") << "tblFinanceOrgan" << QStringList{"OrganID"};
    QTest::newRow("department") << "tblDepartment" << QStringList{"DepartmentID"};
    QTest::newRow("work type") << "tblGongzhong" << QStringList{"GongzhongID"};
    QTest::newRow("skill level") << "tblJineng" << QStringList{"LevelID"};
    QTest::newRow("health check") << "tblTijian" << QStringList{"TJID"};
}

void TestSchema::duplicateKeysRefused()
{
    QFETCH(QString, table);
    QFETCH(QStringList, key);
    TestAppDir dir;
    auto db = dir.open();
    const TableDef *def = Schema::table(table);
    QVERIFY(def);
    QStringList columns = key;
    QVariantList values;
    for (const QString &c : key) {
        const ColumnDef *col = def->column(c);
        values << (col->type == ColumnType::Long ? QVariant(77) : QVariant(QStringLiteral("DUP-%1").arg(c)));
    }
    if (def->column(QStringLiteral("Memo")) && def->column(QStringLiteral("Memo"))->notNull) {
        columns << QStringLiteral("Memo");
        values << QStringLiteral("描述");
    }
    TableInserter ins(*db, table, columns);
    ins.insert(values);
    const int before = db->scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt();
    try {
        ins.insert(values);
        QFAIL("a duplicate key was stored");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::Kind::Duplicate);
        QVERIFY2(e.message().contains(key.first()), qPrintable(e.message()));
    }
    // The same key in another letter case is the same code.
    values[0] = values.at(0).toString().toLower();
    if (def->column(key.first())->type == ColumnType::Text)
        QVERIFY_THROWS_EXCEPTION(DbError, ins.insert(values));
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt(), before);
}

void TestSchema::codeTableDescriptionRequired_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code");
    for (const char *t : {"tblCountry:CountryID", "tblCustDist:DistID", "tblCustLevel:LevelID", "tblCustState:StateID",
                          "tblCustOrigin:OriginID", "tblVocation:VocationId", "tblOperateType:TypeID",
                          "tblOperateOrigin:OriginID", "tblOperateState:OperateStateID", "tblCurrencyRate:CurrID",
                          "tblFinanceOrgan:OrganID", "tblDepartment:DepartmentID", "tblGongzhong:GongzhongID",
                          "tblJineng:LevelID", "tblTijian:TJID"}) {
        const QString s = QString::fromLatin1(t);
        QTest::newRow(t) << s.section(u':', 0, 0) << s.section(u':', 1, 1);
    }
}

void TestSchema::codeTableDescriptionRequired()
{
    QFETCH(QString, table);
    QFETCH(QString, code);
    auto db = m_dir->open();
    try {
        TableInserter(*db, table, {code}).insert({QStringLiteral("NEW")});
        QFAIL("a code without a description was stored");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::Kind::Constraint);
    }
}

void TestSchema::linkColumnsHoldWholeKeys_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("width");
    for (const char *t : {"tblUser", "tblCustomers", "tblLinkmans", "tblOperates", "tblOperaters", "tblYuangong"})
        QTest::newRow(qPrintable(QStringLiteral("%1.SUser").arg(QString::fromLatin1(t)))) << t << "SUser" << 30;
    QTest::newRow("state CustID") << "tblCustomerState" << "CustID" << 30;
    QTest::newRow("add-info CustID") << "tblCustomerAddInfo" << "CustID" << 30;
    QTest::newRow("item OperateID") << "tblOperateDetail" << "OperateID" << 30;
    QTest::newRow("right UserID") << "tblUserRight" << "UserID" << 30;
    QTest::newRow("log UserID") << "tblLog" << "UserID" << 30;
    QTest::newRow("worker LevelID") << "tblYuangong" << "LevelID" << 50;
    QTest::newRow("password holds a hash") << "tblUser" << "Password" << 200;
    QTest::newRow("operation text") << "tblLog" << "Operate" << 200;
    QTest::newRow("customer code") << "tblCustomers" << "CustId" << 30;
}

void TestSchema::linkColumnsHoldWholeKeys()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(int, width);
    const TableDef *def = Schema::table(table);
    QVERIFY(def);
    const ColumnDef *col = def->column(column);
    QVERIFY(col);
    QCOMPARE(col->type, ColumnType::Text);
    QVERIFY2(col->width >= width, qPrintable(QString::number(col->width)));
}

void TestSchema::migrateIsIdempotentAndRefusesNewer()
{
    TestAppDir dir;
    auto db = dir.open();
    QCOMPARE(db->userVersion(), Schema::currentVersion());
    Schema::migrate(*db);  // nothing left to do
    QCOMPARE(db->userVersion(), Schema::currentVersion());
    db->exec(QStringLiteral("PRAGMA user_version = %1").arg(Schema::currentVersion() + 1));
    try {
        Schema::migrate(*db);
        QFAIL("a newer file was accepted");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::Kind::TooNew);
    }
}

void TestSchema::seedAdminAndRights()
{
    auto db = m_dir->open();
    Statement user(*db, QStringLiteral("select UserID, Password, State, Sys from tblUser"));
    QVERIFY(user.step());
    QCOMPARE(user.text(0), QStringLiteral("Admin"));
    QVERIFY(PasswordHash::verify(QStringLiteral("482716"), user.text(1)));
    QVERIFY(!PasswordHash::verify(QStringLiteral("482716 "), user.text(1)));
    QCOMPARE(user.text(2), QStringLiteral("Yes"));
    QCOMPARE(user.integer(3), 1);
    QVERIFY(!user.step());

    QStringList codes;
    Statement rights(*db, QStringLiteral("select RightID from tblUserRight where UserID='Admin' and "
                                         "\"Insert\"=1 and Modify=1 and \"Delete\"=1 and Query=1 and Print=1 order by RightID"));
    while (rights.step())
        codes << rights.text(0);
    QStringList expected;
    for (const RightCode &r : RightCodes::all())
        expected << r.code;
    QCOMPARE(codes, expected);
    QCOMPARE(codes.size(), 48);
    for (const char *c : {"101", "107", "212", "307", "401", "408", "414", "502", "605"})
        QVERIFY2(codes.contains(QString::fromLatin1(c)), c);
}

void TestSchema::seedCodeTables()
{
    auto db = m_dir->open();
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblColor")).toInt(), 16);
    QCOMPARE(db->scalar(QStringLiteral("select count(distinct ColorID) from tblColor")).toInt(), 16);
    QCOMPARE(db->scalar(QStringLiteral("select Rate from tblCurrencyRate where CurrName='人民币'")).toDouble(), 1.0);
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblUserInfo")).toInt(), 0);
    for (const char *t : {"tblCustLevel", "tblCustState", "tblCustOrigin", "tblVocation", "tblOperateType",
                          "tblOperateOrigin", "tblOperateState", "tblCurrencyRate", "tblFinanceOrgan", "tblDepartment",
                          "tblGongzhong", "tblJineng", "tblTijian", "tblCountry", "tblCustDist"})
        QVERIFY2(db->scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(t))).toInt() >= 3, t);
    // Every colour a code table holds is one of the palette's.
    QCOMPARE(db->scalar(QStringLiteral("select count(*) from tblCustLevel where LevelColor not in (select ColorID from tblColor)"))
                 .toInt(),
             0);
    QCOMPARE(db->integrityCheck(), QStringList{QStringLiteral("ok")});
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
