#include "CodeTables.h"

#include "Utf8.h"
#include "udmMain.h"

namespace {

using Kind = CodeTableField::Kind;

CodeTableField text(const char *field, const char *caption, const char *message, int width = 100)
{
    return {s(field), s(caption), QString(), s(message), Kind::Text, {}, width};
}

CodeTableField colour(const char *field, const char *message)
{
    return {s(field), s("颜色设置"), s("颜 色 设  置："), s(message), Kind::Colour, {}, 90};
}

CodeTableField description(const char *message, int width = 200)
{
    return {s("Memo"), s("描述"), s("描　      述："), s(message), Kind::Description, {}, width};
}

CodeTable table(const char *window, const char *action, const char *caption, const char *right,
                DataSource *TdmMain::*source, const char *prefix, QList<CodeTableField> fields)
{
    CodeTable t;
    t.windowName = s(window);
    t.actionName = s(action);
    t.caption = s(caption);
    t.rightCode = s(right);
    t.source = source;
    t.entryPrefix = s(prefix);
    t.fields = std::move(fields);
    return t;
}

QList<CodeTable> build()
{
    QList<CodeTable> all;
    all << table("TfrmCustLevel", "Act_CustLevel", "客户级别设置", "210", &TdmMain::dsCustLevel, "基础资料-客户级别定义",
                 {text("LevelID", "客户级别代码", "请输入客户级别代码！"),
                  text("LevelName", "客户级别名称", "请输入客户级别名称！"),
                  colour("LevelColor", "请选择输入客户级别颜色设置！"), description("请输入客户级别描述！")});
    all << table("TfrmState", "Act_CustState", "客户状态设置", "211", &TdmMain::dsCustState, "基础资料-客户状态定义",
                 {text("StateID", "状态代码", "请输入客户状态代码！"), text("StateName", "状态名称", "请输入客户状态名称！"),
                  colour("StateColor", "请选择输入客户状态颜色设置！"), description("请输入客户状态描述！")});
    CodeTable origin =
        table("TfrmCustOrigin", "Act_CustOrigin", "客户来源设置", "212", &TdmMain::dsCustOrigin, "基础资料-客户来源定义",
              {text("OriginID", "客户来源代码", "请输入客户来源代码！"), text("OriginName", "来源名称", "请输入客户来源名称！"),
               colour("OriginColor", "请选择输入客户来源颜色设置！"), description("请输入客户来源描述！")});
    origin.paletteButton = s("颜色设置");
    all << origin;
    CodeTable vocation =
        table("TfrmVocation", "Act_Vocation", "客户类型设置", "206", &TdmMain::dsVocation, "基础资料-行业类别设置",
              {text("VocationId", "类型代码", "请输入行业代码！"), text("VocationName", "类型名称", "请输入行业名称！"),
               colour("VocationColor", "请选择输入颜色信息！"), description("请输入行业描述！")});
    vocation.gridTitle = s("客户类型列表：");
    all << vocation;
    all << table("TfrmOperateStyle", "Act_OperateStyle", "业务类型设置", "207", &TdmMain::dsOperateType,
                 "基础资料-业务类型设置",
                 {text("TypeID", "业务类型代码", "请输入业务类型代码！"), text("TypeName", "业务类型名称", "请输入业务类型名称！"),
                  colour("TypeColor", "请选择输入业务类型颜色设置！"), description("请输入业务类型描述！")});
    all << table("TfrmOperateOrigin", "Act_OperateOrigin", "业务来源设置", "208", &TdmMain::dsOperateOrigin,
                 "基础资料-业务来源设置",
                 {text("OriginID", "业务来源代码", "请输入业务来源代码！"), text("OriginName", "来源名称", "请输入业务来源名称！"),
                  colour("OriginColor", "请选择输入业务来源颜色设置！"), description("请输入业务来源描述！")});
    all << table("TfrmOperateState", "Act_OperateState", "业务状态设置", "209", &TdmMain::dsOperateState,
                 "基础资料-业务状态设置",
                 {text("OperateStateID", "业务状态代码", "请输入业务状态代码！"),
                  text("OperateStateName", "业务状态名称", "请输入业务状态名称！"),
                  colour("StateColor", "请选择输入业务状态颜色设置！"), description("请输入业务状态描述！")});
    CodeTable region = table("TfrmRegion", "Act_Region", "所在区设置", "202", &TdmMain::dsCustDist, "基础资料-地区设置",
                             {text("DistID", "区域代码", "请输入地区代码！"), text("DistName", "区域名称", "请输入地区名称！"),
                              colour("DistColor", "请选择您要设置的颜色！"), description("请输入地区描述！")});
    region.gridTitle = s("所在区设置列表：");
    all << region;
    CodeTableField continent{s("Continent"), s("所在洲"), QString(), s("请选择所在的洲名称！"), Kind::Choice,
                             {s("亚洲"), s("北美洲"), s("欧洲"), s("澳洲"), s("南美洲"), s("非洲")}, 80};
    all << table("TfrmCountry", "Act_Country", "国家信息", "203", &TdmMain::dsCountry, "基础资料-国家信息",
                 {text("CountryID", "国家代码", "请输入国家代码！", 80), text("CountryName", "国家名称", "请输入国家名称！"),
                  continent, colour("CountryColor", "请选择您要设置的颜色！"), description("请输入描述内容！", 160)});
    CodeTableField rate{s("Rate"), s("汇率"), QString(), s("请输入币别汇率！"), Kind::Number, {}, 90};
    CodeTableField note{s("Memo"), s("备注"), s("备　      注："), s("请输入备注内容！"), Kind::Description, {}, 200};
    all << table("TfrmCurrencyRate", "Act_CurrencyRate", "币别汇率设置", "204", &TdmMain::dsCurrencyRate,
                 "基础资料-币别汇率设置",
                 {text("CurrID", "币别代码", "请输入币别代码！"), text("CurrName", "币别名称", "请输入币别名称！"), rate, note});
    CodeTable organ = table("TfrmFinanceOrgan", "Act_FinanceOrgan", "金融机构设置", "205", &TdmMain::dsFinanceOrgan,
                            "基础资料-金融机构设置",
                            {text("OrganID", "机构代码", "请输入金融机构代码！"),
                             text("OrganName", "机构名称", "请输入金融机构名称！", 160), description("请输入金融机构描述！", 240)});
    organ.gridTitle = s("金融机构列表：");
    all << organ;
    // Opened from "内部管理", which writes its own opening entry; its buttons log under "基础资料".
    all << table("TfrmDepartment", "Act_Department", "部门设置", "201", &TdmMain::dsDepartment, "基础资料-部门设置",
                 {text("DepartmentID", "部门代码", "请输入部门代码！"),
                  text("DepartmentName", "部门名称", "请输入部门名称！", 160), description("请输入部门描述！", 240)});
    return all;
}

}  // namespace

const QList<CodeTable> &codeTables()
{
    static const QList<CodeTable> all = build();
    return all;
}

const CodeTable *codeTable(const QString &windowName)
{
    for (const CodeTable &t : codeTables())
        if (t.windowName == windowName)
            return &t;
    return nullptr;
}
