#include "AnalysisChart.h"

#include "ColourValue.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHorizontalBarSeries>
#include <QLocale>
#include <QPieSeries>
#include <QPieSlice>
#include <QScrollArea>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int BarRowHeight = 30;  // one readable line of Chinese per bar, not elided
constexpr int BarChartFrame = 90; // title and value axis

// Slices without a colour of their own: the chart theme's colours, then further hues far
// apart (a pie series would otherwise shade one colour and 30 customers look alike).
QColor themeColour(int index)
{
    static const QRgb theme[] = {0x209fdf, 0x99ca53, 0xf6a625, 0x6d5fd5, 0xbf593e};
    if (index < 5)
        return QColor(theme[index]);
    return QColor::fromHsv((index * 137) % 360, 150 + (index % 3) * 40, 230 - (index % 4) * 25);
}

}  // namespace

AnalysisChart::AnalysisChart(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_chart = new QChart;
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    QFont titleFont = m_chart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    m_chart->setTitleFont(titleFont);
    m_view = new QChartView(m_chart);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("chartScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll);
}

void AnalysisChart::setTitle(const QString &title)
{
    m_chart->setTitle(title);
}

QString AnalysisChart::title() const
{
    return m_chart->title();
}

QPieSeries *AnalysisChart::pieSeries() const
{
    const auto all = m_chart->series();
    return all.isEmpty() ? nullptr : qobject_cast<QPieSeries *>(all.first());
}

QHorizontalBarSeries *AnalysisChart::barSeries() const
{
    const auto all = m_chart->series();
    return all.isEmpty() ? nullptr : qobject_cast<QHorizontalBarSeries *>(all.first());
}

QList<QPair<QString, double>> AnalysisChart::bars() const
{
    QList<QPair<QString, double>> out;
    QHorizontalBarSeries *series = barSeries();
    const auto axes = m_chart->axes(Qt::Vertical);
    auto *names = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first());
    if (!series || series->barSets().isEmpty() || !names)
        return out;
    const QBarSet *set = series->barSets().first();
    for (int i = set->count() - 1; i >= 0; --i)
        out.append({names->at(i), set->at(i)});
    return out;
}

void AnalysisChart::clear()
{
    m_chart->removeAllSeries();
    for (QAbstractAxis *axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
}

void AnalysisChart::showRows(ChartKind kind, const QString &title, const QList<ChartRow> &rows)
{
    clear();
    m_chart->setTitle(title);
    if (kind == ChartKind::Pie)
        drawPie(rows);
    else
        drawBars(rows);
}

QList<ChartRow> AnalysisChart::pieRows(const QList<ChartRow> &rows)
{
    QList<ChartRow> out;
    for (const ChartRow &r : rows)
        if (r.value > 0)
            out.append(r);
    if (out.size() <= MaxSlices)
        return out;
    std::stable_sort(out.begin(), out.end(), [](const ChartRow &a, const ChartRow &b) { return a.value > b.value; });
    ChartRow rest;
    rest.label = QString::fromUtf8("其他");
    for (qsizetype i = MaxSlices - 1; i < out.size(); ++i)
        rest.value += out.at(i).value;
    out.resize(MaxSlices - 1);
    out.append(rest);
    return out;
}

QString AnalysisChart::percentText(double fraction)
{
    return QString::number(fraction * 100.0, 'f', 2) + u'%';
}

QString AnalysisChart::valueText(double value)
{
    const QLocale locale;
    QString text = locale.toString(value, 'f', 3);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

void AnalysisChart::drawPie(const QList<ChartRow> &rows)
{
    m_view->setMinimumHeight(0);
    auto *series = new QPieSeries;
    const QList<ChartRow> slices = pieRows(rows);
    series->setPieSize(slices.size() > 6 ? 0.42 : 0.5);
    QFont labelFont = font();
    if (slices.size() > 6)
        labelFont.setPointSizeF(labelFont.pointSizeF() * 0.85);
    double total = 0;
    for (const ChartRow &r : slices)
        total += r.value;
    // Many thin slices: only those wide enough carry a label, the rest tell theirs on hover.
    const bool crowded = slices.size() > 12;
    int uncoloured = 0;
    const bool hasRest = std::count_if(rows.begin(), rows.end(), [](const ChartRow &r) { return r.value > 0; }) > MaxSlices;
    for (const ChartRow &r : slices) {
        const double fraction = total > 0 ? r.value / total : 0;
        auto *slice = series->append(r.label + u' ' + percentText(fraction), r.value);
        const QColor stored = r.colour.isValid() && !r.colour.isNull() ? ColourValue::toColour(r.colour.toLongLong()) : QColor();
        if (stored.isValid())
            slice->setColor(stored);
        else if (hasRest && &r == &slices.last())
            slice->setColor(QColor(0xb0, 0xb0, 0xb0));  // "其他"
        else
            slice->setColor(themeColour(uncoloured++));
        slice->setLabelVisible(!crowded || fraction >= 0.04);
        slice->setLabelPosition(QPieSlice::LabelOutside);
        slice->setLabelFont(labelFont);
        const QString tip = r.label + u'：' + valueText(r.value) + QStringLiteral("（") + percentText(fraction)
            + QStringLiteral("）");
        connect(slice, &QPieSlice::hovered, slice, [slice, tip](bool on) {
            if (on)
                QToolTip::showText(QCursor::pos(), tip);
            slice->setExploded(on);
        });
    }
    m_chart->addSeries(series);
}

void AnalysisChart::drawBars(const QList<ChartRow> &rows)
{
    const qsizetype n = std::min<qsizetype>(rows.size(), MaxBars);
    auto *set = new QBarSet(QString());
    set->setColor(QColor(0x3a, 0x7b, 0xc8));
    QStringList categories;
    double highest = 0, lowest = 0;
    // The category axis counts upwards from the bottom: the last row goes in first, so the
    // first row is at the top.
    for (qsizetype i = n - 1; i >= 0; --i) {
        const ChartRow &r = rows.at(i);
        set->append(r.value);
        highest = std::max(highest, r.value);
        lowest = std::min(lowest, r.value);
        // Placed by rank: records sharing a title still get a bar each.
        categories << QStringLiteral("%1. %2  %3").arg(i + 1).arg(r.label, valueText(r.value));
    }
    auto *series = new QHorizontalBarSeries;
    series->setBarWidth(0.7);
    series->append(set);
    m_chart->addSeries(series);
    auto *names = new QBarCategoryAxis;
    names->append(categories);
    names->setGridLineVisible(false);
    m_chart->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto *values = new QValueAxis;
    values->setRange(lowest * 1.05, highest > 0 ? highest * 1.05 : 1);
    values->setLabelFormat(QStringLiteral("%.0f"));
    values->setTickCount(5);
    values->applyNiceNumbers();
    m_chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    m_view->setMinimumHeight(int(n) * BarRowHeight + BarChartFrame);
}
