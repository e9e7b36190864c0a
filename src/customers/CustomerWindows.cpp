#include "CustomerWindows.h"

#include "CustomerPick.h"
#include "Utf8.h"
#include "uCustomerNew1.h"
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
    // Other windows (the schedule's customer tabs) open the contact history by name.
    main.registerOpener(s("TfrmCustStateNew"), [](QWidget *parent) { TfrmCustStateNew::execute(parent); });
    // The pick dialog's "新增" and "详细资料" show the customer dialog.
    CustomerPickDialog::setCustomerDialogOpener([](QWidget *parent) { TfrmCustomerNew1::execute(parent); });
}
