#pragma once

class TfrmMain;

// Creates the staff window and registers its page and the staff commands (work
// assignment, staff tracking) with the main window.
void installStaffWindows(TfrmMain &main);
