#include "CustomerWindows.h"

#include "Utf8.h"
#include "uCustStateNew.h"
#include "uCustomers.h"
#include "uMain.h"

void installCustomerWindows(TfrmMain &main)
{
    auto *customers = new TfrmCustomers(&main);
    main.registerPage(s("Act_Customers"), customers->PnMain);
    main.registerCommand(s("Act_Customers"), [customers] { customers->open(); });
    // The contact-history tab edits its rows in the contact-history dialog.
    customers->setRelatedDialog(3, [customers] { TfrmCustStateNew::execute(customers->PnMain); });
}
