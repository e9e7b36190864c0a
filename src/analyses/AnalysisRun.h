#pragma once

#include "AnalysisResult.h"

#include <QPair>
#include <QStringList>
#include <QVariant>

class QueryDataset;

// One analysis being computed: its statements run on the data module's queries with
// the same bound values, and what they return is gathered into a result that is shown
// only once everything has been read. A database error raises and nothing is shown.
class AnalysisRun
{
public:
    using Params = QList<QPair<QString, QVariant>>;

    explicit AnalysisRun(Params params = {}) : m_params(std::move(params)) {}

    // The first column of the first row of `sql` on the shared query; null when none.
    QVariant value(const QStringList &sql);
    // The same as list text.
    QString text(const QStringList &sql);
    // (name, sumIn) of every row of `sql` on the shared query.
    QList<QPair<QString, QVariant>> breakdown(const QStringList &sql, const QString &nameField);
    // Reads the chart rows of `sql` on `query`, which stays open on them.
    void chart(QueryDataset *query, const QStringList &sql, const QString &valueField, const QString &labelField,
               const QString &colourField = {});

    void add(const QString &line) { result.lines << line; }

    // Measuring: while set, every statement run is appended here with its bound values.
    struct Traced
    {
        QString sql;
        Params params;
    };
    static void setTrace(QList<Traced> *trace);

    AnalysisResult result;

private:
    void openOn(QueryDataset *query, const QStringList &sql);

    Params m_params;
};
