#include "DatabaseConnector.h"

#include "ConnectionString.h"
#include "Schema.h"

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

QString serverDatabasePath(const QString &appDir)
{
    QString line;
    QString error;
    return readFirstLine(serverFilePath(appDir), &line, &error) ? line : QString();
}

QString readOnlyMessage(const QString &databasePath)
{
    return QStringLiteral("数据库文件是只读的，无法使用：") + QDir::toNativeSeparators(databasePath);
}

QString resetServerFile(const QString &appDir, bool keepBackup)
{
    const QString serverFile = serverFilePath(appDir);
    const QString fallback = defaultDatabasePath(appDir);
    QString out;
    QString error;
    QString oldLine;
    if (keepBackup && QFile::exists(serverFile) && readFirstLine(serverFile, &oldLine, &error)) {
        QFile::remove(serverFile + QStringLiteral(".bak"));
        if (!writeServerFile(serverFile + QStringLiteral(".bak"), oldLine, &error))
            out += QStringLiteral("; cannot save Server.txt.bak: ") + error;
    }
    if (!writeServerFile(serverFile, fallback, &error))
        out += QStringLiteral("; cannot reset Server.txt: ") + error;
    else
        out += QStringLiteral("; Server.txt reset to ") + QDir::toNativeSeparators(fallback);
    return out;
}

Result connect(const QString &appDir)
{
    Result result;
    const QString serverFile = serverFilePath(appDir);
    const QString fallback = defaultDatabasePath(appDir);
    QString error;
    const bool hadServerFile = QFile::exists(serverFile);

    if (hadServerFile) {
        QString line;
        if (readFirstLine(serverFile, &line, &error))
            result.databasePath = line;
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
            std::unique_ptr<Database> db = Database::open(ConnectionString::dataSource(connection),
                                                          ConnectionString::password(connection).toUtf8());
            if (db->userVersion() == 0)
                throw DbError(DbError::Kind::ForeignFile,
                              QStringLiteral("数据库文件没有数据表（建立时中断）：%1").arg(result.databasePath));
            if (db->isReadOnly()) {
                result.readOnly = true;
                result.failure = readOnlyMessage(result.databasePath);
                return result;
            }
            Schema::migrate(*db);  // a newer file raises; an older one is brought up to date
            result.database = std::move(db);
            return result;
        } catch (const DbError &e) {
            result.failure = e.message();
        } catch (const std::exception &e) {
            result.failure = QString::fromLocal8Bit(e.what());
        }
    }

    result.failure += resetServerFile(appDir, hadServerFile);
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
