#pragma once

class TfrmMain;

// Creates the worker windows, owned by `main` for the rest of the program, and registers
// their pages and commands with it.
void installWorkerWindows(TfrmMain &main);
