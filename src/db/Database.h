#pragma once

#include "DbError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QObject;
struct sqlite3;
class Statement;

// One open, keyed connection to a database file. Everything that reaches the
// engine goes through this class, Statement and Transaction.
class Database
{
public:
    // Marker written into every database this program makes ("QLM3").
    static constexpr int ApplicationId = 0x514C4D33;

    // Opens an existing database read-write with the given key. Throws DbError:
    // Missing, NotADatabase (wrong key or not a database), ForeignFile (no marker),
    // TooNew, Locked or Other. Never creates a file.
    static std::unique_ptr<Database> open(const QString &path, const QByteArray &key);

    // Makes a new, empty, keyed file; refuses when anything exists at the path.
    // The caller then lays the schema (Schema::migrate).
    static std::unique_ptr<Database> create(const QString &path, const QByteArray &key);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString path() const { return m_path; }

    // Runs one or more statements without parameters.
    void exec(const QString &sql);
    // Runs a statement that yields one value (or null when it yields no row).
    QVariant scalar(const QString &sql);

    qint64 lastInsertRowId() const;
    int changes() const;
    bool inTransaction() const;

    int userVersion();
    int applicationId();
    // A consistent, keyed copy of the whole database in a new file at `path`
    // (refused when something exists there); never a file copy of the open database.
    void backupTo(const QString &path);

    // "ok" when the file is sound, otherwise the engine's findings.
    QStringList integrityCheck();

    // The error of the last failed call, as a DbError (used by Statement).
    [[noreturn]] void raise(int rc, const QString &context) const;

    sqlite3 *handle() const { return m_db; }

    // True when the engine opened the file read-only, or a write cannot be made
    // (a read-only file or folder). Writes nothing: the probe is rolled back.
    bool isReadOnly();

    // A cursor that wrote rows inside the current transaction registers how to put
    // itself back: when that transaction (or savepoint) rolls back, `restore` runs
    // after the rollback, once per writer, while the writer still exists.
    void noteWrite(QObject *writer, std::function<void()> restore);

private:
    friend class Transaction;
    struct Writer;
    void beginLevel();
    void commitLevel();
    void rollbackLevel();
    Database(sqlite3 *db, const QString &path);
    static sqlite3 *openHandle(const QString &path, const QByteArray &key, int flags);
    void configure();

    sqlite3 *m_db = nullptr;
    QString m_path;
    std::vector<std::vector<Writer>> m_writers;  // one list per open transaction level
};

// Writes run inside one of these; the destructor rolls back unless commit() ran.
// Nested use becomes a savepoint, so helpers may open their own.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_nested = false;
    bool m_done = false;
    QString m_savepoint;
};
