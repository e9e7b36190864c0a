#pragma once

#include <QString>

class TdmMain;

// Connecting at start, and what the program does when it cannot.
namespace StartUp {

// Exit codes of a start that ends before the login dialog.
constexpr int ConnectionFailed = 2;
constexpr int DatabaseReadOnly = 5;

// Connects the data module through Server.txt under appDir. On failure the reason goes
// to stderr; a read-only database file is also told to the user (caption "系统提示").
// Returns 0 when connected, otherwise the exit code the program ends with.
int connect(TdmMain &dm, const QString &appDir);

}  // namespace StartUp
