#pragma once

#include <QByteArray>
#include <QString>

class Database;

// Whole database files: the keyed online copy of backup, the plain copy of a closed
// file, and the check a file passes before it may replace the live one.
namespace DatabaseFile {

// True when both paths name one file: "..", duplicate separators and symbolic links
// are followed; a path that does not exist yet is compared through its folder.
bool sameFile(const QString &a, const QString &b);

// A consistent copy of the open database under `key` (the live file's), written to a new
// file beside `target` and then renamed over it; the connection stays open. On failure
// the new file is removed, `target` is left as it was and DbError carries the reason.
void backup(Database &db, const QString &target, const QByteArray &key);

// A plain copy of a file no connection writes (a finished backup, a closed database) to
// `to`, through a new file renamed into place; the folder is made when missing.
// Returns false, copying nothing, when `to` already exists.
bool copyIfMissing(const QString &from, const QString &to);

// Checks that the file is a sound database of this program, opened with `key`: our
// marker, tables laid, not made by a newer program (an older one is brought up to date
// in place), every table present, and the engine's quick check. Raises DbError with
// the reason when it is not.
void check(const QString &path, const QByteArray &key);

}  // namespace DatabaseFile
