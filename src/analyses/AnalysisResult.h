#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One row of a chart: its value, its label and its colour (0x00BBGGRR; null takes
// the theme's colour).
struct ChartRow
{
    double value = 0;
    QString label;
    QVariant colour;
};

enum class ChartKind { Pie, Bar };

// Everything one analysis shows, computed before any of it is shown.
struct AnalysisResult
{
    QStringList lines;
    QList<ChartRow> rows;
    QString title;
    ChartKind kind = ChartKind::Pie;
};

// What the period dialogs fill: the time window's list, chart and title.
class AnalysisTarget
{
public:
    virtual ~AnalysisTarget() = default;
    // True while the target's chart shows income ("收入"), false for expense.
    virtual bool incomeChosen() const = 0;
    virtual void showResult(const AnalysisResult &result) = 0;
};
