#include "FinanceWindows.h"

#include "Utf8.h"
#include "uGathering.h"
#include "uMain.h"
#include "uOperateQuery1.h"

void installFinanceWindows(TfrmMain &main)
{
    auto *gathering = new TfrmGathering(&main);
    main.registerPage(s("Act_Gathering"), gathering->PnMain);
    main.registerCommand(s("Act_Gathering"), [gathering] { gathering->open(); });
    auto *payment = new TfrmPayment(&main);
    main.registerPage(s("Act_Payment"), payment->PnMain);
    main.registerCommand(s("Act_Payment"), [payment] { payment->open(); });
    // The business-record window's "查询" and the item window's query open it by name.
    main.registerOpener(s("TfrmOperateQuery1"), [](QWidget *parent) { TfrmOperateQuery1::execute(parent); });
}
