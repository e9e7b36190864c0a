#include "Schema.h"

#include "Database.h"
#include "SqlDialect.h"

#include <functional>

namespace {

// One line per table: "name|col:type col:type ...|unique keys|plain indexes".
// Types: T<width> text, M memo, L long, F double, B boolean, D date, DT date-time,
// A autonumber; a trailing "!" means NOT NULL. Keys are ";"-separated, columns in a key ","-separated.
const char *const TableLines[] = {
    // Administration and schedule
    "tblUser|UserID:T30 UserName:T50 Password:T200 DeptID:T50 Duty:T50 State:T30 RightID:T10 Memo:T50 SUser:T30 "
    "SDate:T20 Sys:B|UserID|",
    "tblUserRight|UserID:T30 RightID:T20 Insert:B Modify:B Delete:B Query:B Print:B|UserID,RightID|UserID",
    "tblRight|RightID:T20 RightName:T50 Memo:T200|RightID|",
    "tblLog|LogID:A LogDateTime:T50 UserID:T30 Operate:T200||UserID",
    "tblUserInfo|UserName:T50 Address:T100 Telephone:T50 Fax:T50 HomePage:T50 Email:T50 PostCode:T20||",
    "tblPlan|PlanID:A AttendMan:T50 PlanDate:DT PlanTime:T30 Address:T100 CustID:T30 Linkman:T30 OperateId:T30 "
    "Memo:T100 FilePath:T100||CustID",
    "tblBoard|BNo:A BDate:DT BTitle:T50 Man:T50 Memo:T200||",
    // Customers and contacts
    "tblCustomers|CNo:A CustId:T30 CustName:T50 CountryID:T30 DistID:T30 City:T50 PostCode:T20 Telephone:T50 Fax:T50 "
    "Address:T100 Email:T50 HomePage:T50 VocationID:T30 OriginID:T30 LevelID:T30 StateId:T30 CreateDate:DT "
    "OperaterID:T30 Memo:M FilePath:T100 SUser:T30 SDate:T20 MainLinkman:T20 MainTelephone:T20|CustId|SUser;OperaterID",
    "tblCustomerAddInfo|CustID:T30 BankID:T30 BankAddress:T100 Account:T50 VATaxName:T50 VATaxID:T50 VATaxBank:T50 "
    "VATaxAccount:T50 VATaxAddress:T100 VATaxPhone:T50||CustID",
    "tblLinkmans|LNo:A LinkmanID:T30 CustID:T30 Main:B Name:T50 NickName:T50 Department:T50 Duty:T50 Telephone:T50 "
    "Fax:T50 Mobile:T50 Email:T50 HomePage:T50 HomeAddress:T100 Enjoy:T100 SpecialDate:DT Memo:M FilePath:T100 "
    "SUser:T30 SDate:T20|LinkmanID|CustID;SUser",
    "tblCustomerState|CustID:T30 LinkDate:D LinkTime:T20 LinkType:T30 Linkman:T50 Duty:T50 Charge:F LinkContent:T50 "
    "Address:T50 Memo:T100||CustID",
    // Business records
    "tblOperates|OperateID:T30 OperateTitle:T100 CustID:T30 Link:B LinkCustID:T50 CreateDate:DT LinkmanID:T30 "
    "OriginId:T30 TypeID:T30 WriteDate:DT EndDate:DT OperaterID:T30 CompactAmount:F Profit:F Rate:F InOrOut:T50 "
    "OperateStateID:T30 FilePath:T100 SUser:T30 SDate:T20 CurrID:T20 RMB:F|OperateID|"
    "CustID;LinkCustID;LinkmanID;OperaterID;SUser",
    "tblOperateDetail|OperateID:T30 DetailNo:T20 DTitle:T100 OperateDate:DT InOut:T20 Price:F Amount:F DTotal:F "
    "CurrID:T20 RMB:F Memo:T200|OperateID,DetailNo|OperateID",
    // Staff and workers
    "tblOperaters|OperaterID:T30 Name:T50 NickName:T50 Sex:T10 DepartmentID:T30 Duty:T30 Education:T50 Birth:DT "
    "ID:T50 Native:T100 CTelephone:T50 Fax:T50 HTelephone:T50 Mobile:T50 Address:T100 Email:T50 HomePage:T50 "
    "Photo:T200 Memo:T100 InTime:DT State:T50 OutTime:DT OutReason:T200 FilePath:T255 SUser:T30 SDate:T20|"
    "OperaterID|SUser",
    "tblYuangong|YuangongID:T30 Name:T50 NickName:T50 Sex:T10 DepartmentID:T30 Duty:T30 Education:T50 Birth:DT "
    "ID:T50 Health:T20 GongzhongID:T20 Native:T100 Jieshao:T20 JTelephone:T50 School:T20 HTelephone:T50 Mobile:T50 "
    "Address:T100 Email:T50 Photo:T200 Memo:T100 ShusongID:T50 CustID:T50 InTime:DT State:T50 OutTime:DT "
    "OutReason:T200 FilePath:T255 SUser:T30 SDate:T20 LevelID:T50 TJID:T50|YuangongID|CustID;ShusongID;SUser",
    "tblShusong|ShusongID:T50 ShusongName:T50 Manager:T50 Duty:T50 ID:T50 Telephone:T50 Fax:T50 Mobile:T50 "
    "Homepage:T50 Email:T50 Memo:T200|ShusongID|",
    "tblShusongYJ|sNo:L ShusongID:T50 JDate:D Jingban:T50 Jieshao:F Qita:F BeginDate:D EndDate:D Memo:T200|"
    "ShusongID,sNo|ShusongID",
    // Code tables: the description is required where an editor relies on the database refusing it empty
    "tblCountry|CountryID:T20 CountryName:T50 Continent:T20 CountryColor:L Memo:T200!|CountryID|",
    "tblCustDist|DistID:T20 DistName:T50 DistColor:L Memo:T200! CountryID:T30|DistID|",
    "tblCustLevel|LevelID:T20 LevelName:T50 LevelColor:L Memo:T200!|LevelID|",
    "tblCustState|StateID:T20 StateName:T50 StateColor:L Memo:T200!|StateID|",
    "tblCustOrigin|OriginID:T20 OriginName:T50 OriginColor:L Memo:T200!|OriginID|",
    "tblVocation|VocationId:T20 VocationName:T50 VocationColor:L Memo:T200!|VocationId|",
    "tblOperateType|TypeID:T20 TypeName:T50 TypeColor:L Memo:T200!|TypeID|",
    "tblOperateOrigin|OriginID:T20 OriginName:T50 OriginColor:L Memo:T200!|OriginID|",
    "tblOperateState|OperateStateID:T20 OperateStateName:T50 StateColor:L Memo:T200!|OperateStateID|",
    "tblCurrencyRate|CurrID:T20 CurrName:T50 Rate:F Memo:T200!|CurrID|",
    "tblFinanceOrgan|OrganID:T20 OrganName:T50 Memo:T200!|OrganID|",
    "tblDepartment|DepartmentID:T20 DepartmentName:T50 Memo:T200!|DepartmentID|",
    "tblGongzhong|GongzhongID:T20 GongzhongName:T50 Memo:T200!|GongzhongID|",
    "tblJineng|LevelID:T50 LevelName:T50 Memo:T200!|LevelID|",
    "tblTijian|TJID:T50 TJMS:T50 Memo:T200!|TJID|",
    "tblColor|ColorID:L||",
    // Declared, not used by any window
    "tblDuty|DutyID:T20 DutyName:T50 Memo:T200|DutyID|",
    "tblDisk|DiskID:T20 DiskName:T50 Memo:T200|DiskID|",
    "tblCity|CityID:T20 CityName:T50 Memo:T200|CityID|",
};

ColumnDef parseColumn(const QString &entry)
{
    ColumnDef col;
    const qsizetype colon = entry.indexOf(u':');
    col.name = entry.left(colon);
    QString type = entry.mid(colon + 1);
    if (type.endsWith(u'!')) {
        col.notNull = true;
        type.chop(1);
    }
    if (type == u"DT")
        col.type = ColumnType::DateTime;
    else if (type == u"D")
        col.type = ColumnType::Date;
    else if (type == u"M")
        col.type = ColumnType::Memo;
    else if (type == u"L")
        col.type = ColumnType::Long;
    else if (type == u"F")
        col.type = ColumnType::Double;
    else if (type == u"B")
        col.type = ColumnType::Boolean;
    else if (type == u"A")
        col.type = ColumnType::AutoNumber;
    else {
        col.type = ColumnType::Text;
        col.width = type.mid(1).toInt();
    }
    return col;
}

QList<IndexDef> parseIndexes(const QString &text, bool unique)
{
    QList<IndexDef> out;
    for (const QString &key : text.split(u';', Qt::SkipEmptyParts))
        out.append(IndexDef{key.split(u','), unique});
    return out;
}

QList<TableDef> buildTables()
{
    QList<TableDef> tables;
    for (const char *line : TableLines) {
        const QStringList parts = QString::fromLatin1(line).split(u'|');
        TableDef t;
        t.name = parts.at(0);
        for (const QString &c : parts.at(1).split(u' ', Qt::SkipEmptyParts))
            t.columns.append(parseColumn(c));
        t.indexes = parseIndexes(parts.at(2), true) + parseIndexes(parts.at(3), false);
        tables.append(t);
    }
    return tables;
}

QString sqlType(ColumnType type)
{
    switch (type) {
    case ColumnType::Long:
    case ColumnType::Boolean:
        return QStringLiteral("INTEGER");
    case ColumnType::Double:
        return QStringLiteral("REAL");
    case ColumnType::AutoNumber:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    default:
        return QStringLiteral("TEXT");
    }
}

// Migration 1: every table and index of the first release.
void createAllTables(Database &db)
{
    for (const TableDef &t : Schema::tables()) {
        db.exec(t.createSql());
        for (const IndexDef &ix : t.indexes) {
            QStringList quoted;
            for (const QString &c : ix.columns)
                quoted << SqlDialect::quoteIdentifier(c);
            const QString name = (ix.unique ? QStringLiteral("ux_") : QStringLiteral("ix_")) + t.name + u'_' + ix.columns.join(u'_');
            db.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), SqlDialect::quoteIdentifier(name),
                             SqlDialect::quoteIdentifier(t.name), quoted.join(u", ")));
        }
    }
}

const QList<std::function<void(Database &)>> &migrations()
{
    static const QList<std::function<void(Database &)>> list = {createAllTables};
    return list;
}

}  // namespace

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString TableDef::createSql() const
{
    QStringList cols;
    for (const ColumnDef &c : columns) {
        QString def = SqlDialect::quoteIdentifier(c.name) + u' ' + sqlType(c.type);
        if (c.type == ColumnType::Text || c.type == ColumnType::Memo)
            def += QStringLiteral(" COLLATE NOCASE");
        if (c.notNull)
            def += QStringLiteral(" NOT NULL");
        cols << def;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(SqlDialect::quoteIdentifier(name), cols.join(u", "));
}

namespace Schema {

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef *table(const QString &name)
{
    for (const TableDef &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

int currentVersion()
{
    return int(migrations().size());
}

void migrate(Database &db)
{
    const int have = db.userVersion();
    if (have > currentVersion())
        throw DbError(DbError::Kind::TooNew,
                      QStringLiteral("数据库由更新版本的程序建立（版本 %1，本程序支持 %2）").arg(have).arg(currentVersion()));
    for (int v = have; v < currentVersion(); ++v) {
        Transaction tx(db);
        migrations().at(v)(db);
        db.exec(QStringLiteral("PRAGMA user_version = %1").arg(v + 1));
        tx.commit();
    }
}

}  // namespace Schema
