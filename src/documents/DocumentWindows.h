#pragma once

class TfrmMain;

// Creates the file tool window, hidden and owned by `main`, hands it to the main window and
// registers the file commands' dialogs. Runs before the other folders' install functions.
void installDocumentWindows(TfrmMain &main);
