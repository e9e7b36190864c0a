#pragma once

#include <QDate>
#include <QString>

// Where backup and restore keep their copies under AppDir.
namespace BackupPaths {

// The short date text made fit for one folder name: path separators, ":" and every other
// character a folder name cannot hold become "-" ("2024/1/5" -> "2024-1-5").
QString datedFolderName(const QString &shortDateText);
// AppDir + "Backup/" + the day's folder + "/QLM30.qdb".
QString datedCopy(const QDate &day = QDate::currentDate());
// AppDir + "Backup/QLM30.qdb": the path both windows propose.
QString presetTarget();

}  // namespace BackupPaths
