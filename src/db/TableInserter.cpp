#include "TableInserter.h"

#include "Database.h"
#include "SqlDialect.h"

namespace {

QString insertSql(const QString &table, const QStringList &columns)
{
    QStringList quoted;
    QStringList marks;
    for (const QString &c : columns) {
        quoted << SqlDialect::quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(SqlDialect::quoteIdentifier(table), quoted.join(u", "), marks.join(u", "));
}

}  // namespace

TableInserter::TableInserter(Database &db, const QString &table, const QStringList &columns)
    : m_db(db), m_columnCount(int(columns.size())), m_statement(db, insertSql(table, columns))
{
}

qint64 TableInserter::insert(const QVariantList &values)
{
    if (values.size() != m_columnCount)
        throw DbError(DbError::Kind::Usage, QStringLiteral("插入的值个数与列数不符"));
    m_statement.reset();
    for (int i = 0; i < m_columnCount; ++i)
        m_statement.bind(i + 1, values.at(i));
    m_statement.execute();
    return m_db.lastInsertRowId();
}
