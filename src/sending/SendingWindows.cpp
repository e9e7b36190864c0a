#include "SendingWindows.h"

#include "Utf8.h"
#include "uMain.h"
#include "uShusong.h"

void installSendingWindows(TfrmMain &main)
{
    auto *units = new TfrmShusong(&main);
    main.registerPage(s("Act_Shusong"), units->PnMain);
    main.registerCommand(s("Act_Shusong"), [units] { units->open(); });
}
