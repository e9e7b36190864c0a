#pragma once

class TfrmMain;

// Creates the sending-unit window and hosts it for Act_Shusong.
void installSendingWindows(TfrmMain &main);
