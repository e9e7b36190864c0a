#include "FinanceWindows.h"

#include "Utf8.h"
#include "uGathering.h"
#include "uMain.h"

void installFinanceWindows(TfrmMain &main)
{
    auto *gathering = new TfrmGathering(&main);
    main.registerPage(s("Act_Gathering"), gathering->PnMain);
    main.registerCommand(s("Act_Gathering"), [gathering] { gathering->open(); });
    auto *payment = new TfrmPayment(&main);
    main.registerPage(s("Act_Payment"), payment->PnMain);
    main.registerCommand(s("Act_Payment"), [payment] { payment->open(); });
}
