#include "NewDatabase.h"

#include "ConnectionString.h"
#include "PasswordHash.h"
#include "RightCodes.h"
#include "Schema.h"
#include "TableInserter.h"

namespace NewDatabase {

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

struct CodeRow
{
    const char *code;
    const char *name;
    const char *memo;
};

// Code, name, colour, description: the shape most code tables share.
void seedColouredCodes(Database &db, const char *table, const char *codeCol, const char *nameCol,
                       const char *colourCol, std::initializer_list<CodeRow> rows)
{
    TableInserter ins(db, u8(table), {u8(codeCol), u8(nameCol), u8(colourCol), QStringLiteral("Memo")});
    const QList<qint64> colours = paletteColours();
    int i = 9;  // start at the bright colours; black is a poor slice colour
    for (const CodeRow &r : rows)
        ins.insert({u8(r.code), u8(r.name), colours.at(i++ % colours.size()), u8(r.memo)});
}

void seedPlainCodes(Database &db, const char *table, const char *codeCol, const char *nameCol,
                    std::initializer_list<CodeRow> rows)
{
    TableInserter ins(db, u8(table), {u8(codeCol), u8(nameCol), QStringLiteral("Memo")});
    for (const CodeRow &r : rows)
        ins.insert({u8(r.code), u8(r.name), u8(r.memo)});
}

void seedUsers(Database &db)
{
    TableInserter user(db, QStringLiteral("tblUser"),
                       {QStringLiteral("UserID"), QStringLiteral("UserName"), QStringLiteral("Password"),
                        QStringLiteral("DeptID"), QStringLiteral("Duty"), QStringLiteral("State"),
                        QStringLiteral("Memo"), QStringLiteral("Sys")});
    user.insert({u8(AdminUser), u8("系统管理员"), PasswordHash::make(u8(InitialPassword)), u8("01"), u8("管理员"),
                 u8("Yes"), u8("内置系统用户"), true});

    TableInserter right(db, QStringLiteral("tblUserRight"),
                        {QStringLiteral("UserID"), QStringLiteral("RightID"), QStringLiteral("Insert"),
                         QStringLiteral("Modify"), QStringLiteral("Delete"), QStringLiteral("Query"),
                         QStringLiteral("Print")});
    TableInserter rightName(db, QStringLiteral("tblRight"), {QStringLiteral("RightID"), QStringLiteral("RightName")});
    for (const RightCode &code : RightCodes::all()) {
        right.insert({u8(AdminUser), code.code, true, true, true, true, true});
        rightName.insert({code.code, code.name});
    }
}

void seedCodeTables(Database &db)
{
    {
        TableInserter ins(db, QStringLiteral("tblCountry"),
                          {QStringLiteral("CountryID"), QStringLiteral("CountryName"), QStringLiteral("Continent"),
                           QStringLiteral("CountryColor"), QStringLiteral("Memo")});
        const QList<qint64> c = paletteColours();
        ins.insert({u8("CN"), u8("中国"), u8("亚洲"), c.at(9), u8("中华人民共和国")});
        ins.insert({u8("US"), u8("美国"), u8("北美洲"), c.at(12), u8("美利坚合众国")});
        ins.insert({u8("JP"), u8("日本"), u8("亚洲"), c.at(13), u8("日本国")});
        ins.insert({u8("GB"), u8("英国"), u8("欧洲"), c.at(14), u8("大不列颠及北爱尔兰联合王国")});
        ins.insert({u8("AU"), u8("澳大利亚"), u8("澳洲"), c.at(10), u8("澳大利亚联邦")});
    }
    {
        TableInserter ins(db, QStringLiteral("tblCustDist"),
                          {QStringLiteral("DistID"), QStringLiteral("DistName"), QStringLiteral("DistColor"),
                           QStringLiteral("Memo"), QStringLiteral("CountryID")});
        const QList<qint64> c = paletteColours();
        const char *const names[] = {"东城区", "西城区", "朝阳区", "海淀区", "丰台区", "石景山区"};
        int i = 0;
        for (const char *n : names) {
            ins.insert({QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')), u8(n), c.at(9 + i % 7),
                        u8(n) + u8("客户"), u8("CN")});
            ++i;
        }
    }
    seedColouredCodes(db, "tblCustLevel", "LevelID", "LevelName", "LevelColor",
                      {{"A", "重要客户", "长期合作、需求量大的客户"},
                       {"B", "普通客户", "一般客户"},
                       {"C", "潜在客户", "有意向尚未签约的客户"}});
    seedColouredCodes(db, "tblCustState", "StateID", "StateName", "StateColor",
                      {{"01", "洽谈中", "正在洽谈服务内容"},
                       {"02", "已签约", "已签订服务合同"},
                       {"03", "服务中", "家政人员在岗服务"},
                       {"04", "已结束", "服务已结束"}});
    seedColouredCodes(db, "tblCustOrigin", "OriginID", "OriginName", "OriginColor",
                      {{"01", "朋友介绍", "老客户或朋友介绍"},
                       {"02", "电话咨询", "客户来电咨询"},
                       {"03", "网络", "网站或网络平台"},
                       {"04", "广告", "报纸、传单等广告"},
                       {"05", "上门", "客户直接上门"}});
    seedColouredCodes(db, "tblVocation", "VocationId", "VocationName", "VocationColor",
                      {{"01", "家庭", "家庭客户"},
                       {"02", "企业", "企业客户"},
                       {"03", "机关事业单位", "机关、学校等单位"},
                       {"04", "医院", "医院及养老机构"}});
    seedColouredCodes(db, "tblOperateType", "TypeID", "TypeName", "TypeColor",
                      {{"01", "保姆", "住家保姆服务"},
                       {"02", "钟点工", "按小时计费的家务服务"},
                       {"03", "月嫂", "产妇及新生儿护理"},
                       {"04", "育婴师", "婴幼儿照护"},
                       {"05", "护工", "老人及病人护理"},
                       {"06", "保洁", "单位及家庭保洁"}});
    seedColouredCodes(db, "tblOperateOrigin", "OriginID", "OriginName", "OriginColor",
                      {{"01", "新客户", "首次签约"},
                       {"02", "老客户续约", "原有客户续签合同"},
                       {"03", "转介绍", "客户介绍的新业务"}});
    seedColouredCodes(db, "tblOperateState", "OperateStateID", "OperateStateName", "StateColor",
                      {{"01", "洽谈", "尚在洽谈"},
                       {"02", "执行中", "合同执行中"},
                       {"03", "已完成", "合同已履行完毕"},
                       {"04", "已终止", "合同提前终止"}});
    {
        TableInserter ins(db, QStringLiteral("tblCurrencyRate"),
                          {QStringLiteral("CurrID"), QStringLiteral("CurrName"), QStringLiteral("Rate"),
                           QStringLiteral("Memo")});
        ins.insert({u8("RMB"), u8(HomeCurrency), 1.0, u8("本位币")});
        ins.insert({u8("USD"), u8("美元"), 7.1, u8("美元兑人民币")});
        ins.insert({u8("HKD"), u8("港币"), 0.91, u8("港币兑人民币")});
    }
    seedPlainCodes(db, "tblFinanceOrgan", "OrganID", "OrganName",
                   {{"01", "中国工商银行", "工行"},
                    {"02", "中国建设银行", "建行"},
                    {"03", "中国银行", "中行"},
                    {"04", "中国农业银行", "农行"}});
    seedPlainCodes(db, "tblDepartment", "DepartmentID", "DepartmentName",
                   {{"01", "办公室", "行政及综合事务"},
                    {"02", "业务部", "客户接洽与合同"},
                    {"03", "财务部", "收付款与结算"},
                    {"04", "培训部", "家政人员培训"}});
    seedPlainCodes(db, "tblGongzhong", "GongzhongID", "GongzhongName",
                   {{"01", "保姆", "住家保姆"},
                    {"02", "钟点工", "按小时服务"},
                    {"03", "月嫂", "母婴护理"},
                    {"04", "育婴师", "婴幼儿照护"},
                    {"05", "护工", "老人病人护理"}});
    seedPlainCodes(db, "tblJineng", "LevelID", "LevelName",
                   {{"01", "初级", "经培训上岗"}, {"02", "中级", "一年以上经验"}, {"03", "高级", "三年以上经验并持证"}});
    seedPlainCodes(db, "tblTijian", "TJID", "TJMS",
                   {{"01", "合格", "体检合格"}, {"02", "待复查", "需复查项目"}, {"03", "不合格", "暂不宜上岗"}});
}

}  // namespace

QList<qint64> paletteColours()
{
    return {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
            0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
}

std::unique_ptr<Database> create(const QString &path)
{
    std::unique_ptr<Database> db = Database::create(path, ConnectionString::databasePassword().toUtf8());
    Schema::migrate(*db);
    Transaction tx(*db);
    seedUsers(*db);
    seedCodeTables(*db);
    TableInserter colour(*db, QStringLiteral("tblColor"), {QStringLiteral("ColorID")});
    for (qint64 c : paletteColours())
        colour.insert({c});
    tx.commit();
    return db;
}

}  // namespace NewDatabase
