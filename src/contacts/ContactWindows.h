#pragma once

class TfrmMain;

// Creates the contact window, registers its page for Act_Linkman and attaches the
// contact dialog to the customer window's contacts tab.
void installContactWindows(TfrmMain &main);
