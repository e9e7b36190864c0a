#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

enum class ColumnType { Text, Memo, Long, Double, Boolean, Date, DateTime, AutoNumber };

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0;  // characters a Text column accepts; 0 for other types
    bool notNull = false;
};

struct IndexDef
{
    QStringList columns;
    bool unique = false;
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;
    QList<IndexDef> indexes;

    // Case-insensitive; nullptr when absent.
    const ColumnDef *column(const QString &name) const;
    QString createSql() const;
};

// The tables of the database and the numbered migrations that lay them.
namespace Schema {

const QList<TableDef> &tables();
// Case-insensitive; nullptr when absent.
const TableDef *table(const QString &name);

// The user_version a file has once every migration ran.
int currentVersion();

// Runs the migrations the file lacks, each in its own transaction.
// Throws DbError(TooNew) on a file made by a newer program.
void migrate(Database &db);

}  // namespace Schema
