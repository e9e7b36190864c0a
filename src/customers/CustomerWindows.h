#pragma once

class TfrmMain;

// Creates the customer windows, owned by `main` for the rest of the program, and
// registers their pages and commands with it.
void installCustomerWindows(TfrmMain &main);
