#pragma once

class TfrmMain;

// Creates the bulk-mail window and registers the mail and envelope commands.
void installMailWindows(TfrmMain &main);
