#pragma once

#include "AnalysisResult.h"

#include <QDate>
#include <QDialog>

#include <optional>

class AnalysisRun;
class QComboBox;
class QDateEdit;
class QPushButton;

// The period dialogs of the time window: a year, a quarter of a year, or a span of days.
// "确定" computes the counts and sums of the period and the pie of amounts per customer,
// hands them to the target and closes; "取消" changes nothing.
class TfrmPeriodQuery : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Year, Season, TimeSect };

    TfrmPeriodQuery(Kind kind, AnalysisTarget *target, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    QComboBox *yearBox() const { return m_year; }
    QComboBox *seasonBox() const { return m_season; }
    QDateEdit *startEdit() const { return m_start; }
    QDateEdit *endEdit() const { return m_end; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // "确定": true when the target was filled and the dialog closed.
    bool confirm();

    // The analyses themselves, for the dialog and for measuring them.
    static AnalysisResult yearResult(int year, bool income);
    static AnalysisResult seasonResult(int year, int quarter, bool income);
    static AnalysisResult timeSectResult(const QDate &from, const QDate &to, bool income);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::optional<int> checkedYear();

    Kind m_kind;
    AnalysisTarget *m_target;
    QComboBox *m_year = nullptr;
    QComboBox *m_season = nullptr;
    QDateEdit *m_start = nullptr;
    QDateEdit *m_end = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

class TfrmYearQuery : public TfrmPeriodQuery
{
public:
    explicit TfrmYearQuery(AnalysisTarget *target, QWidget *parent = nullptr)
        : TfrmPeriodQuery(Kind::Year, target, parent)
    {
    }
};

class TfrmSeasonQuery : public TfrmPeriodQuery
{
public:
    explicit TfrmSeasonQuery(AnalysisTarget *target, QWidget *parent = nullptr)
        : TfrmPeriodQuery(Kind::Season, target, parent)
    {
    }
};

class TfrmTimeSectQuery : public TfrmPeriodQuery
{
public:
    explicit TfrmTimeSectQuery(AnalysisTarget *target, QWidget *parent = nullptr)
        : TfrmPeriodQuery(Kind::TimeSect, target, parent)
    {
    }
};
