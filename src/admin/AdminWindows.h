#pragma once

class TfrmMain;

// Users and rights, password, backup and restore, and the system log on the main
// window's "系统设置" commands.
void installAdminWindows(TfrmMain &main);
