#include "QueryDataset.h"

#include "Database.h"
#include "Schema.h"
#include "PackedRow.h"
#include "Statement.h"
#include "TableDataset.h"

#include <QRegularExpression>

namespace {

const QString RowIdColumn = QStringLiteral("__qlm_rowid");

// "select * from tblPlan [where ...] [order by ...]": one table, no join, no grouping.
QString updatableTable(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*((where|order\\s+by)\\b.*)?;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return {};
    const QString rest = m.captured(2);
    static const QRegularExpression notSimple(QStringLiteral("\\b(join|group\\s+by|union)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (rest.contains(notSimple))
        return {};
    const TableDef *def = Schema::table(m.captured(1));
    return def ? def->name : QString();
}

FieldKind kindOfDeclType(const QString &decl)
{
    const QString d = decl.toUpper();
    if (d.startsWith(QStringLiteral("INTEGER")))
        return FieldKind::Long;
    if (d.startsWith(QStringLiteral("REAL")))
        return FieldKind::Double;
    if (d.startsWith(QStringLiteral("TEXT")))
        return FieldKind::Text;
    return FieldKind::Variant;
}

}  // namespace

QueryDataset::QueryDataset(Database *db, const QString &name, const QStringList &sql, QObject *parent)
    : Dataset(db, name, parent), m_sql(sql)
{
}

void QueryDataset::setParam(const QString &name, const QVariant &value)
{
    QString key = name.toLower();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    m_params.insert(key, value);
}

QVariant QueryDataset::param(const QString &name) const
{
    QString key = name.toLower();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    return m_params.value(key);
}

void QueryDataset::bindParams(Statement &st) const
{
    for (const QString &p : st.parameterNames())
        st.bind(p, m_params.value(p.toLower()));
}

QString QueryDataset::preparedText()
{
    const QString text = sqlText();
    m_baseTable = updatableTable(text);
    if (m_baseTable.isEmpty())
        return text;
    static const QRegularExpression head(QStringLiteral("^\\s*select\\s+\\*"), QRegularExpression::CaseInsensitiveOption);
    QString rewritten = text;
    rewritten.replace(head, QStringLiteral("select rowid as %1, *").arg(RowIdColumn));
    return rewritten;
}

QList<FieldDef> QueryDataset::describe()
{
    if (sqlText().trimmed().isEmpty())
        raise(QStringLiteral("数据集 %1 没有 SQL 语句").arg(name()));
    m_openedText = preparedText();
    Statement st(*database(), m_openedText);
    const TableDef *table = m_baseTable.isEmpty() ? nullptr : Schema::table(m_baseTable);
    QList<FieldDef> out;
    for (int i = m_baseTable.isEmpty() ? 0 : 1; i < st.columnCount(); ++i) {
        const QString col = st.columnName(i);
        const ColumnDef *c = table ? table->column(col) : nullptr;
        if (c) {
            out.append(FieldDef{c->name, fieldKindOf(c->type), c->width});
            continue;
        }
        // A column of a join keeps the kind of the table column it reads, so dates stay
        // dates; it keeps its own (alias) name.
        const TableDef *origin = Schema::table(st.columnOriginTable(i));
        const ColumnDef *source = origin ? origin->column(st.columnOriginName(i)) : nullptr;
        if (source)
            out.append(FieldDef{col, fieldKindOf(source->type), source->width});
        else
            out.append(FieldDef{col, kindOfDeclType(st.columnDeclType(i)), 0});
    }
    return out;
}

void QueryDataset::readRows(std::vector<qint64> &rowIds, std::vector<QByteArray> &rows)
{
    Statement st(*database(), m_openedText);
    bindParams(st);
    const int first = m_baseTable.isEmpty() ? 0 : 1;
    const int n = st.columnCount();
    qint64 serial = 0;
    while (st.step()) {
        rowIds.push_back(first ? st.integer(0) : ++serial);
        rows.push_back(PackedRow::packStatement(st, first, n - first));
    }
}

int QueryDataset::exec()
{
    if (!database())
        raise(QStringLiteral("数据集 %1 没有连接数据库").arg(name()));
    try {
        Transaction tx(*database());
        Statement st(*database(), sqlText());
        bindParams(st);
        const int changed = st.execute();
        tx.commit();
        return changed;
    } catch (const DbError &e) {
        raise(e.message());
    }
}
