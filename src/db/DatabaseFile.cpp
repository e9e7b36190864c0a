#include "DatabaseFile.h"

#include "Database.h"
#include "FileSteps.h"
#include "Schema.h"
#include "Statement.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <sqlite3.h>

namespace DatabaseFile {

namespace {

QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString whole = info.canonicalFilePath();
    if (!whole.isEmpty())
        return whole;
    // Not there yet: its folder, resolved, and the name.
    const QString folder = info.absoluteDir().canonicalPath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName());
}

void removeQuietly(const QString &path)
{
    try {
        FileSteps::remove(path);
    } catch (const DbError &) {
        // The reason of the first failure is the one the user needs.
    }
}

// The engine's page copy into a new file under `key`: each page is read and written once,
// under one read transaction, so the copy is consistent while the connection stays open.
void pageCopy(Database &db, const QString &path, const QByteArray &key)
{
    std::unique_ptr<Database> out = Database::create(path, key);
    int rc = SQLITE_OK;
    if (sqlite3_backup *copy = sqlite3_backup_init(out->handle(), "main", db.handle(), "main")) {
        rc = sqlite3_backup_step(copy, -1);
        const int finished = sqlite3_backup_finish(copy);
        if (rc == SQLITE_DONE)
            rc = finished;
    } else {
        rc = sqlite3_extended_errcode(out->handle());
    }
    if (rc != SQLITE_OK)
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("无法复制数据库：%1").arg(QString::fromUtf8(sqlite3_errstr(rc))), rc);
}

}  // namespace

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return canonical(a) == canonical(b);
}

void backup(Database &db, const QString &target, const QByteArray &key)
{
    const QString temporary = FileSteps::temporaryBeside(target);
    try {
        FileSteps::check(FileSteps::Step::OnlineCopy, db.path(), temporary);
        pageCopy(db, temporary, key);
        FileSteps::rename(temporary, target);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
}

bool copyIfMissing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    const QString folder = QFileInfo(to).absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        throw DbError(DbError::Kind::Other, QStringLiteral("无法建立文件夹：%1").arg(QDir::toNativeSeparators(folder)));
    const QString temporary = FileSteps::temporaryBeside(to);
    try {
        FileSteps::copy(from, temporary);
        FileSteps::rename(temporary, to);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
    return true;
}

void check(const QString &path, const QByteArray &key)
{
    std::unique_ptr<Database> db = Database::open(path, key);  // key and marker
    if (db->userVersion() == 0)
        throw DbError(DbError::Kind::ForeignFile, QStringLiteral("文件中没有数据表"));
    Schema::migrate(*db);  // a newer file raises
    QSet<QString> present;
    Statement st(*db, QStringLiteral("select name from sqlite_master where type = 'table'"));
    while (st.step())
        present.insert(st.text(0).toLower());
    for (const TableDef &t : Schema::tables())
        if (!present.contains(t.name.toLower()))
            throw DbError(DbError::Kind::ForeignFile, QStringLiteral("缺少数据表 %1").arg(t.name));
    QStringList findings;
    Statement quick(*db, QStringLiteral("PRAGMA quick_check"));
    while (quick.step())
        findings << quick.text(0);
    if (findings != QStringList{QStringLiteral("ok")})
        throw DbError(DbError::Kind::Other, QStringLiteral("文件已损坏：%1").arg(findings.join(u"; ").left(300)));
}

}  // namespace DatabaseFile
