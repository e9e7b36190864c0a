#pragma once

#include <QString>
#include <functional>

class DbGrid;

// A grid's columns as the user left them — order, widths, the hidden ones, the group
// levels — remembered per user and per grid in one INI file per user.
namespace GridLayout {

// Set once by the application: the INI file of the user logged in (empty: nothing is remembered).
void setSettingsFile(std::function<QString()> file);
QString settingsFile();

// Where a grid's layout is kept: the window's caption and the grid's object names.
QString key(const DbGrid &grid);

void save(const DbGrid &grid);
// Applies what was saved; names the grid no longer has are ignored. False when nothing was saved.
bool restore(DbGrid &grid);
void forget(const DbGrid &grid);

// A user ID as a file name: reversible, ASCII, nothing a path could misread.
QString safeFileName(const QString &userId);

}  // namespace GridLayout
