#pragma once

#include "Database.h"

#include <QString>
#include <memory>

// How the program finds and opens its database at start.
namespace DatabaseConnector {

struct Result
{
    std::unique_ptr<Database> database;  // null on failure
    QString databasePath;                // the path that was tried
    QString failure;                     // why it failed, for stderr; empty on success
    // The file opened but cannot be written: Server.txt is left as it is (the file is
    // fine, the rights on it are not) and `failure` holds the message for the user.
    bool readOnly = false;
};

// appDir ends with "/". The default database: appDir + "Data/QLM30.qdb".
QString defaultDatabasePath(const QString &appDir);
QString serverFilePath(const QString &appDir);
// The live database path: the first line of Server.txt (only its terminator stripped);
// empty when the file cannot be read.
QString serverDatabasePath(const QString &appDir);

// Reads the first line of Server.txt (only the line terminator is stripped),
// creating the file with the default path when it is missing, and opens that
// database. On any failure the old first line is kept in Server.txt.bak,
// Server.txt is reset to the default path, and the reason is returned.
// A file that opens is also checked: one without tables (an interrupted create) or from a
// newer program fails; an older one is brought up to date by the numbered migrations.
Result connect(const QString &appDir);

// What a failed start does to Server.txt: the first line is kept in Server.txt.bak (when
// `keepBackup`) and the file points at the default database again. Returns the text to add
// to the failure reason.
QString resetServerFile(const QString &appDir, bool keepBackup = true);

// "数据库文件是只读的，无法使用：" + the path as the system shows it.
QString readOnlyMessage(const QString &databasePath);

// Files/, Files/Plans, Backup and Log under appDir, each made only when missing.
// Returns false when one could not be made.
bool createWorkingFolders(const QString &appDir);

}  // namespace DatabaseConnector
