#include "CustomerWindows.h"

#include "Utf8.h"
#include "uCustomers.h"
#include "uMain.h"

void installCustomerWindows(TfrmMain &main)
{
    auto *customers = new TfrmCustomers(&main);
    main.registerPage(s("Act_Customers"), customers->PnMain);
    main.registerCommand(s("Act_Customers"), [customers] { customers->open(); });
}
