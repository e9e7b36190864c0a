#include "ScheduleWindows.h"

#include "ErrorHandler.h"
#include "PlanCommands.h"
#include "PlanPanels.h"
#include "Utf8.h"
#include "uMain.h"
#include "uPlan.h"
#include "uPlanNew.h"
#include "uToday.h"
#include "udmMain.h"

#include <QPointer>

void installScheduleWindows(TfrmMain &main)
{
    auto *plan = new TfrmPlan(&main);
    auto *editor = new TfrmPlanNew(&main);
    auto *shell = new PlanShell(main.scheduleTabs(), &main);
    main.registerPage(s("TfrmPlan"), plan->PnMain);
    main.registerPage(s("TfrmPlanNew"), editor->PnMain);
    main.registerCommand(s("Act_Plan"), [] { PlanCommands::openSchedule(); });
    main.registerCommand(s("Tool_Today"), [&main] { TfrmToday::execute(&main); });
    main.registerOpener(s("TfrmToday"), [](QWidget *parent) { TfrmToday::execute(parent); });
    // Pages of other folders that close back to the schedule list.
    main.registerOpener(s("TfrmPlan"), [](QWidget *) { PlanCommands::showListPage(); });

    // The customer tabs follow the entry while one of them is in view.
    const QPointer<PlanEntryPanel> detail = shell->detail();
    const QPointer<PlanEntryPanel> entry = editor->entry();
    const auto follow = [detail, entry] {
        if (!detail || !entry || (!detail->isVisible() && !entry->isVisible()))
            return;
        ErrorHandler::run(detail, [] { PlanCommands::followCustomer(); });
    };
    QueryDataset *planData = dmMain->qryPlan;
    QObject::connect(planData, &Dataset::currentChanged, shell, follow);
    QObject::connect(planData, &Dataset::dataReset, shell, follow);
    QObject::connect(planData, &Dataset::fieldChanged, shell, [follow, planData](int field) {
        if (field == planData->fieldIndex(s("CustID")))
            follow();
    });
}
