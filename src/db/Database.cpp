#include "Database.h"

#include "Statement.h"

#include <QFileInfo>
#include <QObject>
#include <QPointer>
#include <sqlite3.h>

#ifndef SQLITE3MC_VERSION_STRING
#error "The encrypted engine (SQLite3 Multiple Ciphers) must be used, not the system's libsqlite3"
#endif

namespace {

// Year(x) and Month(x) over stored date texts "yyyy-MM-dd ..."; null for anything else.
void datePart(sqlite3_context *ctx, int argc, sqlite3_value **argv, int from, int length)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    if (size < 10 || text[4] != '-' || text[7] != '-') {
        sqlite3_result_null(ctx);
        return;
    }
    int value = 0;
    for (int i = from; i < from + length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            sqlite3_result_null(ctx);
            return;
        }
        value = value * 10 + (text[i] - '0');
    }
    sqlite3_result_int(ctx, value);
}

void yearFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) { datePart(ctx, argc, argv, 0, 4); }
void monthFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) { datePart(ctx, argc, argv, 5, 2); }

QString engineMessage(sqlite3 *db, int rc)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

}  // namespace

struct Database::Writer
{
    QPointer<QObject> object;
    std::function<void()> restore;
};

Database::Database(sqlite3 *db, const QString &path) : m_db(db), m_path(path) {}

Database::~Database()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

sqlite3 *Database::openHandle(const QString &path, const QByteArray &key, int flags)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = engineMessage(db, rc);
        sqlite3_close_v2(db);
        throw DbError(DbError::Kind::Other, QStringLiteral("无法打开数据库文件 %1：%2").arg(path, msg), rc);
    }
    sqlite3_extended_result_codes(db, 1);
    // Waiting for another program's lock starts with the very first read.
    sqlite3_busy_timeout(db, 5000);
    // The cipher must be chosen before the key: a bare key would select the engine's own default.
    sqlite3mc_config(db, "default:cipher", sqlite3mc_cipher_index("sqlcipher"));
    sqlite3mc_config_cipher(db, "sqlcipher", "default:legacy", 3);
    rc = sqlite3_key(db, key.constData(), int(key.size()));
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw DbError(DbError::Kind::Other, QStringLiteral("无法设置数据库密钥：%1").arg(path), rc);
    }
    return db;
}

std::unique_ptr<Database> Database::open(const QString &path, const QByteArray &key)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile())
        throw DbError(DbError::Kind::Missing, QStringLiteral("数据库文件不存在：%1").arg(path));

    std::unique_ptr<Database> db(new Database(openHandle(path, key, SQLITE_OPEN_READWRITE), path));

    // Force a first read: only now does a wrong key (or a foreign file) show.
    sqlite3_stmt *probe = nullptr;
    int rc = sqlite3_prepare_v2(db->m_db, "SELECT count(*) FROM sqlite_master", -1, &probe, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe);
    sqlite3_finalize(probe);
    if (rc != SQLITE_ROW) {
        const int primary = rc & 0xff;
        if (primary == SQLITE_NOTADB)
            throw DbError(DbError::Kind::NotADatabase,
                          QStringLiteral("数据库密码错误，或文件不是本系统的数据库：%1").arg(path), rc);
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw DbError(DbError::Kind::Locked, QStringLiteral("数据库文件被其他程序锁定：%1").arg(path), rc);
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("无法读取数据库文件 %1：%2").arg(path, engineMessage(db->m_db, rc)), rc);
    }

    // An empty file opens under any key; only our marker tells it is one of ours.
    if (db->applicationId() != ApplicationId)
        throw DbError(DbError::Kind::ForeignFile, QStringLiteral("文件不是本系统的数据库：%1").arg(path));
    db->configure();
    return db;
}

std::unique_ptr<Database> Database::create(const QString &path, const QByteArray &key)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        throw DbError(DbError::Kind::Usage, QStringLiteral("目标文件已存在，不会覆盖：%1").arg(path));
    std::unique_ptr<Database> db(
        new Database(openHandle(path, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE), path));
    db->exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId));
    db->configure();
    return db;
}

void Database::configure()
{
    // Sorts and groupings never spill to an unencrypted temporary file (the engine is also built so).
    exec(QStringLiteral("PRAGMA temp_store = MEMORY; PRAGMA foreign_keys = ON; PRAGMA journal_mode = DELETE;"));
    sqlite3_busy_timeout(m_db, 5000);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(m_db, "Year", 1, flags, nullptr, yearFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "Month", 1, flags, nullptr, monthFunction, nullptr, nullptr, nullptr);
}

void Database::raise(int rc, const QString &context) const
{
    const int primary = rc & 0xff;
    const QString msg = engineMessage(m_db, rc);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        // "UNIQUE constraint failed: tblCustomers.CustId" -> name the code columns for the user.
        const QString columns = msg.section(u':', 1).trimmed();
        DbError error(DbError::Kind::Duplicate, QStringLiteral("代码重复，不能保存：%1 已有相同的代码。").arg(columns), rc);
        QStringList keyColumns;
        for (const QString &c : columns.split(u','))
            keyColumns << c.trimmed();
        error.setKeyColumns(keyColumns);
        throw error;
    }
    if (rc == SQLITE_CONSTRAINT_NOTNULL) {
        const QString column = msg.section(u':', 1).trimmed();
        throw DbError(DbError::Kind::Constraint, QStringLiteral("%1 不能为空。").arg(column), rc);
    }
    if (primary == SQLITE_CONSTRAINT)
        throw DbError(DbError::Kind::Constraint, msg, rc);
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw DbError(DbError::Kind::Locked, QStringLiteral("数据库文件被其他程序锁定：%1").arg(msg), rc);
    if (primary == SQLITE_ERROR || primary == SQLITE_RANGE || primary == SQLITE_MISUSE)
        throw DbError(DbError::Kind::Usage, context.isEmpty() ? msg : msg + QStringLiteral("\n") + context, rc);
    throw DbError(DbError::Kind::Other, msg, rc);
}

void Database::exec(const QString &sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        raise(sqlite3_extended_errcode(m_db), sql);
}

QVariant Database::scalar(const QString &sql)
{
    Statement st(*this, sql);
    return st.step() ? st.value(0) : QVariant();
}

qint64 Database::lastInsertRowId() const { return sqlite3_last_insert_rowid(m_db); }
int Database::changes() const { return sqlite3_changes(m_db); }
bool Database::inTransaction() const { return sqlite3_get_autocommit(m_db) == 0; }
int Database::userVersion() { return scalar(QStringLiteral("PRAGMA user_version")).toInt(); }
int Database::applicationId() { return scalar(QStringLiteral("PRAGMA application_id")).toInt(); }

void Database::backupTo(const QString &path)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        throw DbError(DbError::Kind::Usage, QStringLiteral("目标文件已存在，不会覆盖：%1").arg(path));
    Statement st(*this, QStringLiteral("VACUUM INTO :path"));
    st.bind(QStringLiteral("path"), QFileInfo(path).absoluteFilePath());
    st.execute();
}

QStringList Database::integrityCheck()
{
    QStringList findings;
    Statement st(*this, QStringLiteral("PRAGMA integrity_check"));
    while (st.step())
        findings << st.text(0);
    return findings;
}

bool Database::isReadOnly()
{
    if (sqlite3_db_readonly(m_db, "main") == 1)
        return true;
    // A file the engine opened for writing may still refuse the journal (a read-only folder):
    // write the header's version unchanged and roll it back.
    const int version = userVersion();
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(m_db, QStringLiteral("PRAGMA user_version = %1").arg(version).toUtf8().constData(), nullptr,
                          nullptr, nullptr);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw DbError(DbError::Kind::Locked, QStringLiteral("数据库文件被其他程序锁定：%1").arg(m_path), rc);
    return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM;
}

void Database::noteWrite(QObject *writer, std::function<void()> restore)
{
    if (m_writers.empty())
        return;
    std::vector<Writer> &level = m_writers.back();
    for (const Writer &w : level)
        if (w.object == writer)
            return;
    level.push_back({writer, std::move(restore)});
}

void Database::beginLevel()
{
    m_writers.emplace_back();
}

void Database::commitLevel()
{
    std::vector<Writer> level = std::move(m_writers.back());
    m_writers.pop_back();
    // A released savepoint's writes now belong to the enclosing transaction.
    if (!m_writers.empty())
        for (Writer &w : level)
            noteWrite(w.object, std::move(w.restore));
}

void Database::rollbackLevel()
{
    std::vector<Writer> level = std::move(m_writers.back());
    m_writers.pop_back();
    for (const Writer &w : level)
        if (w.object && w.restore)
            w.restore();
}

Transaction::Transaction(Database &db) : m_db(db)
{
    m_nested = db.inTransaction();
    if (m_nested) {
        static int counter = 0;
        m_savepoint = QStringLiteral("sp%1").arg(++counter);
        db.exec(QStringLiteral("SAVEPOINT ") + m_savepoint);
    } else {
        db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    db.beginLevel();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        if (m_nested)
            m_db.exec(QStringLiteral("ROLLBACK TO ") + m_savepoint + QStringLiteral("; RELEASE ") + m_savepoint);
        else if (m_db.inTransaction())
            m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (const DbError &) {
        // Nothing more can be done from a destructor; the engine has already undone what it could.
    }
    try {
        // Cursors that wrote inside the transaction show again what the file holds.
        m_db.rollbackLevel();
    } catch (...) {
        // A cursor that cannot re-read now raises on its next use instead.
    }
}

void Transaction::commit()
{
    m_db.exec(m_nested ? QStringLiteral("RELEASE ") + m_savepoint : QStringLiteral("COMMIT"));
    m_done = true;
    m_db.commitLevel();
}
