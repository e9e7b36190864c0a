#include "WorkerWindows.h"

#include "Utf8.h"
#include "WorkerCodeTables.h"
#include "uImage.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uYuangong.h"
#include "uYuangongNew1.h"
#include "uYuangongQuery.h"

#include <QString>

void installWorkerWindows(TfrmMain &main)
{
    for (const CodeTable &table : workerCodeTables()) {
        const CodeTable *row = &table;
        // The command has written its log entry and tested its right; an opener by name does
        // neither, and the editor is read-only for a user without the table's right.
        main.registerCommand(table.actionName, [row, &main] { CodeTableEditor::execute(*row, &main); });
        main.registerOpener(table.windowName, [row](QWidget *parent) { CodeTableEditor::execute(*row, parent); });
    }
    main.registerOpener(s("TfrmImage"), [](QWidget *parent) { TfrmImage::execute(parent); });
    main.registerOpener(s("TfrmYuangongQuery"), [](QWidget *parent) { TfrmYuangongQuery::execute(parent); });

    auto *workers = new TfrmYuangong(&main);
    main.registerPage(s("Act_Yuangong"), workers->PnMain);
    main.registerCommand(s("Act_Yuangong"), [workers] { workers->open(); });
    // The customer window's worker tab edits its rows in the placed-worker dialog.
    if (frmCustomers)
        frmCustomers->setRelatedDialog(2, [] { TfrmYuangongNew1::execute(frmCustomers ? frmCustomers->PnMain : nullptr); });
}
