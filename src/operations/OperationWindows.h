#pragma once

class TfrmMain;

// The business-record window, its customer-side dialog and the item dialog.
void installOperationWindows(TfrmMain &main);
