#include "StaffWindows.h"

#include "Utf8.h"
#include "uAssign.h"
#include "uMain.h"
#include "uOperaterQuery.h"
#include "uOperaterTrack.h"
#include "uOperaters.h"

void installStaffWindows(TfrmMain &main)
{
    auto *staff = new TfrmOperaters(&main);
    main.registerPage(s("Act_Operaters"), staff->PnMain);
    main.registerCommand(s("Act_Operaters"), [staff] { staff->open(); });
    // "放大" opens the photo viewer through the main window's opener (registered by the
    // worker windows); without one the button does nothing.
    staff->setPhotoViewer([&main](QWidget *parent) { main.openWindow(s("TfrmImage"), parent); });
    main.registerOpener(s("TfrmOperaterQuery"), [](QWidget *parent) { TfrmOperaterQuery::execute(parent); });

    // The main window has logged these and refused users that are not system users.
    main.registerCommand(s("Act_Assign"), [&main] { TfrmAssign::execute(&main); });
    main.registerCommand(s("Act_OperaterTrack"), [&main] { TfrmOperaterTrack::execute(&main); });
}
