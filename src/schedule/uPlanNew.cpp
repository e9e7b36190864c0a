#include "uPlanNew.h"

#include "PlanCommands.h"
#include "PlanPanels.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "udmMain.h"

#include <QAction>

TfrmPlanNew *frmPlanNew = nullptr;

TfrmPlanNew::TfrmPlanNew(QObject *parent) : QObject(parent)
{
    frmPlanNew = this;
    setObjectName(s("frmPlanNew"));
    m_entry = new PlanEntryPanel(PlanEntryPanel::Variant::Editor);
    PnMain = m_entry;
    m_panel = PnMain;
    PnMain->setWindowTitle(s("日程安排"));
    Dataset *plan = dmMain->qryPlan;
    PlanEntryPanel *entry = m_entry;
    WindowKit::ToolRow row(m_entry->toolBar(), PnMain, s("305"));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+N", [plan] { return plan->state() != Dataset::State::Insert; },
                      [] { PlanCommands::insert(true); });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", [plan] { return plan->isActive() && WindowKit::isEditing(plan); },
                       [entry] { PlanCommands::save(entry); });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "Ctrl+D", [entry] { PlanCommands::remove(entry); });
    Act_Print = row.add("Act_Print", s("打印"), "", "Ctrl+P", [entry] { PlanCommands::print(entry, true); });
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [] { PlanCommands::closeEditor(); });
}

TfrmPlanNew::~TfrmPlanNew()
{
    if (m_panel && !m_panel->parent())
        delete m_panel;
    if (frmPlanNew == this)
        frmPlanNew = nullptr;
}
