#include "uPlan.h"

#include "PlanCommands.h"
#include "PlanPanels.h"
#include "Utf8.h"
#include "WindowKit.h"

#include <QAction>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

TfrmPlan *frmPlan = nullptr;
PlanShell *planShell = nullptr;

namespace {

const char *const RightCode = "305";

}  // namespace

TfrmPlan::TfrmPlan(QObject *parent) : QObject(parent)
{
    frmPlan = this;
    setObjectName(s("frmPlan"));
    m_list = new PlanListPanel(s("业务项"));
    PnMain = m_list;
    m_panel = PnMain;
    PnMain->setObjectName(s("PnMain"));
    PnMain->setWindowTitle(s("日程安排"));
    WindowKit::ToolRow row(m_list->toolBar(), PnMain, s(RightCode));
    QWidget *page = PnMain;
    Act_Insert = row.add("Act_Insert", s("新增"), "Insert", "Ctrl+N", [] { PlanCommands::insert(false); });
    Act_Modify = row.add("Act_Modify", s("修改"), "Modify", "Ctrl+M", [] { PlanCommands::modify(); });
    Act_Delete = row.add("Act_Delete", s("删除"), "Delete", "Ctrl+D", [page] { PlanCommands::remove(page); });
    Act_Refresh = row.add("Act_Refresh", s("刷新"), "", "", [] { PlanCommands::refresh(); });
    Act_Query = row.add("Act_Query", s("查询"), "Query", "Ctrl+Q", [page] { PlanCommands::query(page); });
    Act_Print = row.add("Act_Print", s("打印"), "Print", "Ctrl+P", [page] { PlanCommands::print(page, false); });
    m_list->setModifyAction(Act_Modify);
}

TfrmPlan::~TfrmPlan()
{
    // A page the main window hosts is deleted with it, possibly before this object.
    if (m_panel && !m_panel->parent())
        delete m_panel;
    if (frmPlan == this)
        frmPlan = nullptr;
}

PlanShell::PlanShell(QTabWidget *tabs, QObject *parent) : QObject(parent)
{
    planShell = this;
    setObjectName(s("planShell"));
    m_list = new PlanListPanel(s("业务内容"), tabs);
    m_detail = new PlanEntryPanel(PlanEntryPanel::Variant::Detail, tabs);
    // One set of actions for both tabs, owned by the tab set; no shortcuts here.
    const auto make = [tabs](const char *name, const char *text, const char *subRight, std::function<void()> run) {
        return WindowKit::gatedAction(tabs, {s(name), s(text), s(RightCode), s(subRight), QString(), {}}, std::move(run));
    };
    PlanEntryPanel *detail = m_detail;
    Act_Insert = make("Act_Insert", "新增", "Insert", [] { PlanCommands::insert(false); });
    Act_Modify = make("Act_Modify", "修改", "Modify", [] { PlanCommands::modify(); });
    Act_Delete = make("Act_Delete", "删除", "Delete", [tabs] { PlanCommands::remove(tabs); });
    Act_Refresh = make("Act_Refresh", "刷新", "", [] { PlanCommands::refresh(); });
    Act_Query = make("Act_Query", "查询", "Query", [tabs] { PlanCommands::query(tabs); });
    Act_Print = make("Act_Print", "打印", "Print", [tabs] { PlanCommands::print(tabs, false); });
    Act_Save = make("Act_Save", "保存", "", [detail] { PlanCommands::save(detail); });
    Act_Cancel = make("Act_Cancel", "放弃", "", [] { PlanCommands::cancel(); });
    m_list->toolBar()->addActions({Act_Insert, Act_Modify, Act_Delete, Act_Refresh, Act_Query, Act_Print});
    m_list->setModifyAction(Act_Modify);
    m_detail->toolBar()->addActions({Act_Insert, Act_Save, Act_Delete, Act_Print, Act_Cancel});
    tabs->addTab(m_list, s("日程安排列表"));
    tabs->addTab(m_detail, s("日程详细安排"));
}
