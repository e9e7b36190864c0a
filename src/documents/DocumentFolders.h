#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// The document folders under FilesRoot and the file operations on them. Every folder the
// program lists or writes into is compared with FilesRoot after ".", ".." and symbolic links
// are resolved, so no path leads outside it; a file to copy in may come from anywhere.
namespace DocumentFolders {

// FilesRoot resolved, made when missing; no trailing separator.
QString root();
// The absolute path with ".", ".." and symbolic links resolved; a relative path counts from
// FilesRoot. Levels that do not exist yet are kept as written. Empty when it cannot be resolved.
QString resolve(const QString &path);
// True for a resolved path that is FilesRoot or lies below it.
bool isInside(const QString &resolved);
// `path` resolved when it lies under FilesRoot (missing or not), otherwise FilesRoot itself.
QString bounded(const QString &path);
// The folder the file lists show: FileListRoot bounded, FilesRoot while it is empty.
QString listRoot();
// Points FileListRoot at a resolved folder, spelt from FilesRoot as the record windows spell it.
void setListRoot(const QString &resolved);
// The parent of a resolved folder; FilesRoot stays where it is.
QString parentOf(const QString &resolved);

// A name for a file or folder: not blank, no "..", no path separator, none of : * ? " < > |
// and no control character.
bool isValidName(const QString &name);

enum class Created { Ok, Exists, Outside, Failed };
// Creates the empty file `fileName` in `folder` (made when missing) with an exclusive create,
// so an existing file is never emptied. `error` receives the system's reason on Failed.
Created createEmpty(const QString &folder, const QString &fileName, QString *error = nullptr);

enum class Pasted { Copied, Moved, NoSource, SameFolder, Exists, Outside, Failed };
// Copies the file `source` into `folder` under its own name, never over an existing file;
// with `cut` the source is removed once its copy is complete. A folder as source is refused.
Pasted paste(const QString &source, const QString &folder, bool cut);

enum class Renamed { Ok, Unchanged, BadName, Exists, Failed };
// Renames the item `from` of `folder` to `to`, never over an existing item.
Renamed rename(const QString &folder, const QString &from, const QString &to);

// The desktop's clipboard form of files: file URLs as text/uri-list, the paths as text, and
// the GNOME and KDE markers that tell a cut from a copy. The caller owns the result.
QMimeData *clipboardData(const QStringList &files, bool cut);
struct ClipboardFiles
{
    QStringList files;  // local paths, in clipboard order
    bool cut = false;
};
ClipboardFiles clipboardFiles(const QMimeData *data);

}  // namespace DocumentFolders
