#include "ContactWindows.h"

#include "Utf8.h"
#include "uCustomers.h"
#include "uLinkman.h"
#include "uLinkmanNew1.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

void installContactWindows(TfrmMain &main)
{
    auto *contacts = new TfrmLinkman(&main);
    main.registerPage(s("Act_Linkman"), contacts->PnMain);
    main.registerCommand(s("Act_Linkman"), [contacts] { contacts->open(); });
    // The customer window's contacts tab edits its rows in the contact dialog; the
    // customer names it shows are read again first.
    if (frmCustomers)
        frmCustomers->setRelatedDialog(0, [] {
            dmMain->tblCustomers2->close();
            dmMain->tblCustomers2->open();
            TfrmLinkmanNew1::execute(frmCustomers ? frmCustomers->PnMain : nullptr);
        });
}
