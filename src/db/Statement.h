#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;
struct sqlite3_stmt;

// A prepared statement with named parameters (":name", matched without regard
// to case) and typed column access. SQL passes through SqlDialect first.
class Statement
{
public:
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement &operator=(Statement &&) = delete;

    // Parameter names as written in the SQL, without the colon.
    QStringList parameterNames() const;
    bool hasParameter(const QString &name) const;
    // Binds a value to every occurrence of the parameter; throws DbError(Usage) for an unknown name.
    void bind(const QString &name, const QVariant &value);
    void bind(int index, const QVariant &value);  // 1-based
    void clearBindings();

    // Advances; true while a row is available.
    bool step();
    // Steps to the end, discarding rows; returns the number of rows changed.
    int execute();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    // The declared type of a result column that comes straight from a table; empty for expressions.
    QString columnDeclType(int column) const;
    // The table and column a result column reads straight from (through joins and
    // aggregates); both empty for expressions.
    QString columnOriginTable(int column) const;
    QString columnOriginName(int column) const;
    // Case-insensitive; -1 when absent.
    int columnIndex(const QString &name) const;
    enum class ColumnKind { Null, Integer, Real, Text, Blob };
    ColumnKind columnKind(int column) const;
    // The text of a column as the engine holds it; valid until the next step.
    QByteArrayView utf8(int column) const;
    bool isNull(int column) const;
    QVariant value(int column) const;
    QString text(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;

private:
    Database *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
    QHash<QString, QList<int>> m_params;  // lower-case name -> indexes
    mutable QHash<QString, int> m_columns;
};
