#include "RightCodes.h"

namespace RightCodes {

namespace {

constexpr int InsDel = RightCode::Insert | RightCode::Delete;
constexpr int Full = RightCode::Insert | RightCode::Modify | RightCode::Delete | RightCode::Query | RightCode::Print;
constexpr int QueryPrint = RightCode::Query | RightCode::Print;

RightCode rc(const char *code, const char *name, int sub = 0, bool hidden = false)
{
    return RightCode{QString::fromLatin1(code), QString::fromUtf8(name), sub, hidden};
}

}  // namespace

const QList<RightCode> &all()
{
    static const QList<RightCode> codes = {
        rc("101", "口令设置"),          rc("102", "用户管理"),         rc("103", "数据备份"),
        rc("104", "数据恢复"),          rc("105", "系统日志"),         rc("106", "用户信息"),
        rc("107", "服务器设置", 0, true),
        rc("201", "部门设置", InsDel),   rc("202", "地区设置", InsDel), rc("203", "国家信息", InsDel),
        rc("204", "币别汇率设置", InsDel), rc("205", "金融机构设置", InsDel), rc("206", "客户类型设置", InsDel),
        rc("207", "业务类型设置", InsDel), rc("208", "业务来源设置", InsDel), rc("209", "业务状态设置", InsDel),
        rc("210", "客户级别定义", InsDel), rc("211", "客户状态定义", InsDel), rc("212", "客户来源定义", InsDel),
        rc("301", "客户资料", Full),     rc("302", "联系人资料", Full), rc("303", "工作人员", Full),
        rc("304", "业务资料", Full),     rc("305", "日程安排", Full),   rc("306", "应收账款", QueryPrint),
        rc("307", "应付账款", QueryPrint),
        rc("401", "地区分布分析"),       rc("402", "按时间分析"),       rc("403", "客户级别分析"),
        rc("404", "客户类型分析"),       rc("405", "客户来源分析"),     rc("406", "客户状态分析"),
        rc("407", "客户行业分析"),       rc("408", "收支趋势分析", 0, true),
        rc("409", "业务来源分析"),       rc("410", "业务类型分析"),     rc("411", "业务排行榜"),
        rc("412", "客户排行榜"),         rc("413", "业务员绩效排行榜"), rc("414", "资金分配分析"),
        rc("501", "公告板"),             rc("502", "邮件群发", 0, true), rc("503", "信封标签"),
        rc("601", "员工档案", Full),     rc("602", "工种设置", InsDel), rc("603", "输送单位", Full),
        rc("604", "技能级别", InsDel),   rc("605", "体检设定", InsDel),
    };
    return codes;
}

const RightCode *find(const QString &code)
{
    for (const RightCode &r : all())
        if (r.code == code)
            return &r;
    return nullptr;
}

}  // namespace RightCodes
