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
};

// appDir ends with "/". The default database: appDir + "Data/QLM30.qdb".
QString defaultDatabasePath(const QString &appDir);
QString serverFilePath(const QString &appDir);

// Reads the first line of Server.txt (only the line terminator is stripped),
// creating the file with the default path when it is missing, and opens that
// database. On any failure the old first line is kept in Server.txt.bak,
// Server.txt is reset to the default path, and the reason is returned.
Result connect(const QString &appDir);

// Files/, Files/Plans, Backup and Log under appDir, each made only when missing.
// Returns false when one could not be made.
bool createWorkingFolders(const QString &appDir);

}  // namespace DatabaseConnector
