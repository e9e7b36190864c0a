#include "AnalysisRun.h"

#include "AnalysisText.h"
#include "QueryDataset.h"
#include "udmMain.h"

namespace {

QList<AnalysisRun::Traced> *trace = nullptr;

}  // namespace

void AnalysisRun::setTrace(QList<Traced> *list)
{
    trace = list;
}

void AnalysisRun::openOn(QueryDataset *query, const QStringList &sql)
{
    if (trace)
        trace->append({sql.join(u'\n'), m_params});
    query->close();
    query->setFiltered(false);  // a filter another window left on a shared query must not thin the totals
    query->setSql(sql);
    query->clearParams();
    for (const auto &[name, value] : m_params)
        query->setParam(name, value);
    query->open();
}

QVariant AnalysisRun::value(const QStringList &sql)
{
    QueryDataset *q = dmMain->qryPubQuery;
    openOn(q, sql);
    const QVariant v = q->recordCount() > 0 && q->fieldCount() > 0 ? q->valueAt(0, 0) : QVariant();
    q->close();
    return v;
}

QString AnalysisRun::text(const QStringList &sql)
{
    return AnalysisText::number(value(sql));
}

QList<QPair<QString, QVariant>> AnalysisRun::breakdown(const QStringList &sql, const QString &nameField)
{
    QueryDataset *q = dmMain->qryPubQuery;
    openOn(q, sql);
    const int sum = q->fieldIndex(QStringLiteral("sumIn"));
    const int name = q->fieldIndex(nameField);
    QList<QPair<QString, QVariant>> out;
    const int n = q->recordCount();
    out.reserve(n);
    for (int row = 0; row < n; ++row)
        out.append({q->valueAt(row, name).toString(), q->valueAt(row, sum)});
    q->close();
    return out;
}

void AnalysisRun::chart(QueryDataset *query, const QStringList &sql, const QString &valueField,
                        const QString &labelField, const QString &colourField)
{
    openOn(query, sql);
    const int value = query->fieldIndex(valueField);
    const int label = query->fieldIndex(labelField);
    const int colour = colourField.isEmpty() ? -1 : query->fieldIndex(colourField);
    const int n = query->recordCount();
    result.rows.clear();
    result.rows.reserve(n);
    for (int row = 0; row < n; ++row)
        result.rows.append(ChartRow{query->valueAt(row, value).toDouble(), query->valueAt(row, label).toString(),
                                    colour < 0 ? QVariant() : query->valueAt(row, colour)});
}
