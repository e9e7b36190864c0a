#pragma once

class TfrmMain;

// Puts the code-table editors on their main-window commands, registers each of them and
// the palette with the main window by window name, and gives the editors their palette.
void installRefdataWindows(TfrmMain &main);
