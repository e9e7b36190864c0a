#include "TableDataset.h"

#include "Database.h"
#include "Schema.h"
#include "SqlDialect.h"
#include "PackedRow.h"
#include "Statement.h"

FieldKind fieldKindOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Text: return FieldKind::Text;
    case ColumnType::Memo: return FieldKind::Memo;
    case ColumnType::Long: return FieldKind::Long;
    case ColumnType::Double: return FieldKind::Double;
    case ColumnType::Boolean: return FieldKind::Boolean;
    case ColumnType::Date: return FieldKind::Date;
    case ColumnType::DateTime: return FieldKind::DateTime;
    case ColumnType::AutoNumber: return FieldKind::AutoNumber;
    }
    return FieldKind::Variant;
}

TableDataset::TableDataset(Database *db, const QString &name, const QString &table, const QString &orderBy,
                           QObject *parent)
    : Dataset(db, name, parent), m_table(table), m_orderBy(orderBy)
{
}

QList<FieldDef> TableDataset::describe()
{
    const TableDef *def = Schema::table(m_table);
    if (!def)
        raise(QStringLiteral("数据库中没有表 %1").arg(m_table));
    QList<FieldDef> out;
    for (const ColumnDef &c : def->columns)
        out.append(FieldDef{c.name, fieldKindOf(c.type), c.width});
    return out;
}

void TableDataset::readRows(std::vector<qint64> &rowIds, std::vector<QByteArray> &rows)
{
    const TableDef *def = Schema::table(m_table);
    QStringList cols;
    for (const ColumnDef &c : def->columns)
        cols << SqlDialect::quoteIdentifier(c.name);
    const QString order = m_orderBy.isEmpty() ? QStringLiteral("rowid") : SqlDialect::quoteIdentifier(m_orderBy) + QStringLiteral(", rowid");
    Statement st(*database(), QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY %3")
                                  .arg(cols.join(u", "), SqlDialect::quoteIdentifier(m_table), order));
    const int n = int(cols.size());
    while (st.step()) {
        rowIds.push_back(st.integer(0));
        rows.push_back(PackedRow::packStatement(st, 1, n));
    }
}
