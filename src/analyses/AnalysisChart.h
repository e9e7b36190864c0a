#pragma once

#include "AnalysisResult.h"

#include <QWidget>

class QChart;
class QChartView;
class QHorizontalBarSeries;
class QPieSeries;
class QScrollArea;

// The chart of an analysis page: a pie of shares or horizontal bars of a ranking,
// redrawn whole from a list of rows. Long rankings scroll instead of squeezing labels.
class AnalysisChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxSlices = 30;  // the largest 29 and one slice for the rest
    static constexpr int MaxBars = 50;

    explicit AnalysisChart(QWidget *parent = nullptr);

    void showRows(ChartKind kind, const QString &title, const QList<ChartRow> &rows);
    // Only the title: an empty chart before the first analysis.
    void setTitle(const QString &title);

    QString title() const;
    QChart *chart() const { return m_chart; }
    QChartView *view() const { return m_view; }
    // What is drawn now: one of them, or neither.
    QPieSeries *pieSeries() const;
    QHorizontalBarSeries *barSeries() const;
    // The bars drawn, top to bottom: "1. label  value" and the value.
    QList<QPair<QString, double>> bars() const;

    // The slices a pie draws: values above 0, at most MaxSlices, the rest summed into "其他".
    static QList<ChartRow> pieRows(const QList<ChartRow> &rows);
    // "12.34%"
    static QString percentText(double fraction);
    // "#,##0.###" in the default locale
    static QString valueText(double value);

private:
    void clear();
    void drawPie(const QList<ChartRow> &rows);
    void drawBars(const QList<ChartRow> &rows);

    QScrollArea *m_scroll;
    QChartView *m_view;
    QChart *m_chart;
};
