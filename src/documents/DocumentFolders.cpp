#include "DocumentFolders.h"

#include "uPublic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

namespace DocumentFolders {

namespace {

const QByteArray GnomeMarker = QByteArrayLiteral("x-special/gnome-copied-files");
const QByteArray KdeMarker = QByteArrayLiteral("application/x-kde-cutselection");

// Present on disk, a dangling symbolic link included.
bool present(const QFileInfo &info)
{
    return info.exists() || info.isSymLink();
}

}  // namespace

QString root()
{
    if (FilesRoot.isEmpty())
        return {};
    const QString files = QDir::cleanPath(FilesRoot);
    QDir().mkpath(files);
    const QString canonical = QFileInfo(files).canonicalFilePath();
    return canonical.isEmpty() ? files : canonical;
}

QString resolve(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::cleanPath(FilesRoot) + u'/' + path;
    // Level by level as the system walks a path: a link is followed where it stands, so ".."
    // after it leaves the link's target. Levels that are not there yet are kept as written.
    QString at = QStringLiteral("/");
    bool missing = false;
    for (const QString &level : absolute.split(u'/', Qt::SkipEmptyParts)) {
        if (level == u".")
            continue;
        if (level == u"..") {
            at = QFileInfo(at).path();
            continue;
        }
        const QString next = at == u"/" ? u'/' + level : at + u'/' + level;
        if (!missing && present(QFileInfo(next))) {
            at = QFileInfo(next).canonicalFilePath();
            if (at.isEmpty())
                return {};  // a link to nowhere
        } else {
            missing = true;
            at = next;
        }
    }
    return at;
}

bool isInside(const QString &resolved)
{
    const QString top = root();
    if (resolved.isEmpty() || top.isEmpty())
        return false;  // no document root yet: nothing counts as inside
    return resolved == top || resolved.startsWith(top + u'/');
}

QString bounded(const QString &path)
{
    const QString resolved = resolve(path);
    return isInside(resolved) ? resolved : root();
}

QString listRoot()
{
    return bounded(FileListRoot.isEmpty() ? FilesRoot : FileListRoot);
}

void setListRoot(const QString &resolved)
{
    const QString top = root();
    const QString folder = bounded(resolved);
    FileListRoot = folder == top ? FilesRoot : FilesRoot + folder.mid(top.size() + 1);
}

QString parentOf(const QString &resolved)
{
    const QString folder = bounded(resolved);
    return folder == root() ? folder : bounded(QFileInfo(folder).path());
}

bool isValidName(const QString &name)
{
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f\\x7f]"));
    const QString n = name.trimmed();
    return !n.isEmpty() && n != u"." && !n.contains(QStringLiteral("..")) && !n.contains(unsafe);
}

Created createEmpty(const QString &folder, const QString &fileName, QString *error)
{
    const QString target = resolve(folder);
    if (!isInside(target) || !isValidName(fileName))
        return Created::Outside;
    QDir().mkpath(target);
    const QString path = target + u'/' + fileName;
    if (present(QFileInfo(path)))
        return Created::Exists;
    QFile file(path);
    // NewOnly: created here or not at all, never truncated, not even by a file made meanwhile.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (present(QFileInfo(path)))
            return Created::Exists;
        if (error)
            *error = file.errorString();
        return Created::Failed;
    }
    file.close();
    return Created::Ok;
}

Pasted paste(const QString &source, const QString &folder, bool cut)
{
    const QFileInfo from(source);
    if (source.isEmpty() || !from.isFile())
        return Pasted::NoSource;
    const QString target = resolve(folder);
    if (!isInside(target))
        return Pasted::Outside;
    if (resolve(from.absolutePath()) == target)
        return Pasted::SameFolder;  // a file cut into its own folder stays where it is
    QDir().mkpath(target);
    const QString to = target + u'/' + from.fileName();
    if (present(QFileInfo(to)))
        return Pasted::Exists;
    // QFile::copy writes a temporary file and renames it into place without replacing one.
    if (!QFile::copy(from.absoluteFilePath(), to))
        return present(QFileInfo(to)) ? Pasted::Exists : Pasted::Failed;
    // A source that cannot be removed stays as well: the paste was then a copy.
    if (!cut || !QFile::remove(from.absoluteFilePath()))
        return Pasted::Copied;
    return Pasted::Moved;
}

Renamed rename(const QString &folder, const QString &from, const QString &to)
{
    const QString name = to.trimmed();
    if (name == from)
        return Renamed::Unchanged;
    if (!isValidName(name) || !isValidName(from))
        return Renamed::BadName;
    const QString dir = resolve(folder);
    if (!isInside(dir))
        return Renamed::Failed;
    const QString oldPath = dir + u'/' + from;
    const QString newPath = dir + u'/' + name;
    if (present(QFileInfo(newPath)))
        return Renamed::Exists;
    const QFileInfo item(oldPath);
    if (!present(item))
        return Renamed::Failed;
    const bool done = item.isDir() && !item.isSymLink() ? QDir(dir).rename(from, name) : QFile::rename(oldPath, newPath);
    return done ? Renamed::Ok : Renamed::Failed;
}

QMimeData *clipboardData(const QStringList &files, bool cut)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    QStringList native;
    QByteArray gnome = cut ? QByteArrayLiteral("cut") : QByteArrayLiteral("copy");
    for (const QString &f : files) {
        const QUrl url = QUrl::fromLocalFile(f);
        urls << url;
        native << QDir::toNativeSeparators(f);
        gnome += '\n' + url.toEncoded();
    }
    data->setUrls(urls);
    data->setText(native.join(u'\n'));
    data->setData(QString::fromLatin1(GnomeMarker), gnome);
    data->setData(QString::fromLatin1(KdeMarker), cut ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
    return data;
}

ClipboardFiles clipboardFiles(const QMimeData *data)
{
    ClipboardFiles out;
    if (!data)
        return out;
    QList<QUrl> urls = data->urls();
    const QString gnomeFormat = QString::fromLatin1(GnomeMarker);
    if (data->hasFormat(gnomeFormat)) {
        const QList<QByteArray> lines = data->data(gnomeFormat).split('\n');
        out.cut = !lines.isEmpty() && lines.first().trimmed() == "cut";
        if (urls.isEmpty())
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (!lines.at(i).trimmed().isEmpty())
                    urls << QUrl::fromEncoded(lines.at(i).trimmed());
    }
    const QString kdeFormat = QString::fromLatin1(KdeMarker);
    if (data->hasFormat(kdeFormat))
        out.cut = out.cut || data->data(kdeFormat).trimmed() == "1";
    for (const QUrl &url : std::as_const(urls))
        if (url.isLocalFile())
            out.files << url.toLocalFile();
    return out;
}

}  // namespace DocumentFolders
