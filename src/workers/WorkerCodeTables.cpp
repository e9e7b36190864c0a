#include "WorkerCodeTables.h"

#include "Utf8.h"
#include "udmMain.h"

namespace {

using Kind = CodeTableField::Kind;

CodeTableField text(const char *field, const char *caption, const char *message, int width = 100)
{
    return {s(field), s(caption), QString(), s(message), Kind::Text, {}, width};
}

CodeTableField third(const char *caption, const char *label, const char *message)
{
    return {s("Memo"), s(caption), s(label), s(message), Kind::Description, {}, 240};
}

CodeTable table(const char *window, const char *action, const char *caption, const char *title, const char *right,
                DataSource *TdmMain::*source, const char *prefix, QList<CodeTableField> fields)
{
    CodeTable t;
    t.windowName = s(window);
    t.actionName = s(action);
    t.caption = s(caption);
    t.gridTitle = s(title);
    t.rightCode = s(right);
    t.source = source;
    t.entryPrefix = s(prefix);
    t.fields = std::move(fields);
    return t;
}

QList<CodeTable> build()
{
    QList<CodeTable> all;
    all << table("TfrmGongzhong", "Act_Gongzhong", "工种设置", "工种设置列表：", "602", &TdmMain::dsGongzhong,
                 "内部管理-工种设置",
                 {text("GongzhongID", "工种代码", "请输入工种代码！"), text("GongzhongName", "工种名称", "请输入工种名称！", 140),
                  third("描述", "描　　述：", "请输入工种描述！")});
    all << table("TfrmJineng", "Act_Jineng", "技能级别", "技能级别设置列表：", "604", &TdmMain::dsJineng,
                 "内部管理-技能级别",
                 {text("LevelID", "级别代码", "请输入级别代码！"), text("LevelName", "级别名称", "请输入级别名称！", 140),
                  third("描述", "描　　述：", "请输入技能级别描述！")});
    all << table("TfrmTijian", "Act_Tijian", "体检设定", "体检设定列表：", "605", &TdmMain::dsTijian, "内部管理-体检设定",
                 {text("TJID", "体检代码", "请输入体检设定代码！"), text("TJMS", "体检描述", "请输入体检设定描述！", 140),
                  third("备注", "备    注：", "请输入备注！")});
    return all;
}

}  // namespace

const QList<CodeTable> &workerCodeTables()
{
    static const QList<CodeTable> all = build();
    return all;
}

const CodeTable *workerCodeTable(const QString &windowName)
{
    for (const CodeTable &t : workerCodeTables())
        if (t.windowName == windowName)
            return &t;
    return nullptr;
}
