#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

class Dataset;

// Run-wide values, set once and read by every window.
extern QString AppDir;         // the program's folder, ending with "/"
extern QString FilesRoot;      // AppDir + "Files/": root of the record document folders
extern QString CurrentUserID;  // the user ID exactly as typed at login

// Caller tags: set by a window, read by the dialog it then opens.
extern QString CustomerPickCaller;  // "联系人详细资料", "联系客户", "联系客户1", "相关客户", "日程安排", "受聘客户"
extern QString InOutQueryCaller;    // "应收账款" or "应付账款"
extern QString PhotoViewCaller;     // "Yuangong", "Yuangong1" or "Operaters"
extern QString FileClipboardMode;   // "Cut" or "Copy"

// The folder the file tool window lists: record windows point it at the current record's folder.
extern QString FileListRoot;

// The document folder of a record code under `root`, made when missing. A code that
// cannot be a folder name (empty, "." or "..", a path separator, : * ? " < > |, a
// control character) gives `root` itself and makes nothing: a code never leads outside.
QString RecordFolder(const QString &root, const QString &code);

// Sets AppDir and FilesRoot from the program's folder.
void SetAppDir(const QString &folder);

// Appends one entry to the system log with the current user. Callers pass the
// current date-time as text (DateText::now()). Database errors reach the caller.
void WriteLog(const QString &dateTimeText, const QString &operate);
// The usual call: WriteLog(DateText::now(), operate).
void WriteLog(const QString &operate);

// Rights of the current user (tblUserRight, open in dmMain). HasRight moves
// tblUserRight's current row to the match; code walking that table must not rely on
// its current row across idle moments.
bool HasRight(const QString &code);
// HasRight and the sub-right column ("Insert", "Modify", "Delete", "Query", "Print") set.
bool HasSubRight(const QString &code, const QString &column);
// The Sys flag of the current user's tblUser row.
bool IsSystemUser();

// The dataset filter that restricts customer rows to the current user's own
// (sUser = CurrentUserID), the ID's quotes doubled so any typed ID stays one value.
QString OwnerFilter();

// Runs `sql` on the data module's shared query with each of `params` bound to `key`;
// true when a row comes back. The query is left closed.
bool PubQueryFinds(const QString &sql, const QStringList &params, const QVariant &key);

// Opens, in order, each dataset that is not open yet; open ones keep their rows and position.
void OpenDatasets(std::initializer_list<Dataset *> datasets);
