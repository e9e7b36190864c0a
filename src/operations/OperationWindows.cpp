#include "OperationWindows.h"

#include "Utf8.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uOperateNew1.h"
#include "uOperates.h"

void installOperationWindows(TfrmMain &main)
{
    auto *operations = new TfrmOperates(&main);
    main.registerPage(s("Act_OperatesInfo"), operations->PnMain);
    main.registerCommand(s("Act_OperatesInfo"), [operations] { operations->open(); });
    // The schedule shows the current record of its customer.
    main.registerOpener(s("TfrmOperateNew1"), [](QWidget *parent) { TfrmOperateNew1::openCurrent(parent); });
    // The customer window's business-records tab edits its rows in the customer-side dialog.
    if (frmCustomers)
        frmCustomers->setRelatedDialog(1, [] { TfrmOperateNew1::execute(frmCustomers ? frmCustomers->PnMain : nullptr); });
}
