#include "DatabaseConnector.h"

#include "ConnectionString.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace DatabaseConnector {

QString defaultDatabasePath(const QString &appDir)
{
    return appDir + QStringLiteral("Data/QLM30.qdb");
}

QString serverFilePath(const QString &appDir)
{
    return appDir + QStringLiteral("Server.txt");
}

namespace {

bool writeServerFile(const QString &file, const QString &line, QString *error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write((line + u'\n').toUtf8()) < 0 || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

// The first line exactly as written, less its CR LF or LF terminator.
bool readFirstLine(const QString &file, QString *line, QString *error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QByteArray bytes = in.readAll();
    const qsizetype nl = bytes.indexOf('\n');
    if (nl >= 0)
        bytes.truncate(nl);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    *line = QString::fromUtf8(bytes);
    return true;
}

}  // namespace

Result connect(const QString &appDir)
{
    Result result;
    const QString serverFile = serverFilePath(appDir);
    const QString fallback = defaultDatabasePath(appDir);
    bool hadServerFile = QFile::exists(serverFile);
    QString oldLine;
    QString error;

    if (hadServerFile) {
        if (readFirstLine(serverFile, &oldLine, &error))
            result.databasePath = oldLine;
        else
            result.failure = QStringLiteral("cannot read %1: %2").arg(serverFile, error);
    } else {
        result.databasePath = fallback;
        if (!writeServerFile(serverFile, fallback, &error))
            result.failure = QStringLiteral("cannot create %1: %2").arg(serverFile, error);
    }

    if (result.failure.isEmpty()) {
        const QString connection = ConnectionString::build(result.databasePath);
        try {
            result.database = Database::open(ConnectionString::dataSource(connection),
                                             ConnectionString::password(connection).toUtf8());
            return result;
        } catch (const DbError &e) {
            result.failure = e.message();
        }
    }

    // Failed: keep what Server.txt said, then point it back at the default database.
    if (hadServerFile) {
        QFile::remove(serverFile + QStringLiteral(".bak"));
        if (!writeServerFile(serverFile + QStringLiteral(".bak"), oldLine, &error))
            result.failure += QStringLiteral("; cannot save Server.txt.bak: ") + error;
    }
    if (!writeServerFile(serverFile, fallback, &error))
        result.failure += QStringLiteral("; cannot reset Server.txt: ") + error;
    else
        result.failure += QStringLiteral("; Server.txt reset to ") + QDir::toNativeSeparators(fallback);
    return result;
}

bool createWorkingFolders(const QString &appDir)
{
    bool ok = true;
    for (const char *sub : {"Files", "Files/Plans", "Backup", "Log"}) {
        const QString path = appDir + QString::fromLatin1(sub);
        if (!QDir(path).exists())
            ok = QDir().mkpath(path) && ok;
    }
    return ok;
}

}  // namespace DatabaseConnector
