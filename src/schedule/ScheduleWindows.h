#pragma once

class TfrmMain;

// Creates the schedule windows, owned by `main` for the rest of the program: the
// schedule list and editor pages, the main window's two schedule tabs, the today view;
// registers Act_Plan, "今日事", the opener "TfrmToday" (shown at login) and the opener
// "TfrmPlan" that shows the schedule list page.
void installScheduleWindows(TfrmMain &main);
