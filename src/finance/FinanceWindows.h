#pragma once

class TfrmMain;

// Creates the receivables and payables windows, owned by `main` for the rest of the
// program, and registers their pages and commands with it.
void installFinanceWindows(TfrmMain &main);
