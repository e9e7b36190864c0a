#pragma once

#include "AnalysisResult.h"

#include <QDate>
#include <QWidget>

class AnalysisChart;
class AnalysisRun;
class QAction;
class QComboBox;
class QDateEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QueryDataset;
class TdmMain;

// What the user chose on a page when "刷新" was pressed.
struct AnalysisChoices
{
    int kind = 0;         // the first drop-down (what to analyse)
    bool income = true;   // "收入" or "支出"
    QDate from, to;       // the range
    int finance = 0;      // "应收账款分析" or "应付账款分析"
    QString financeText;
};

// One member of the family of analysis pages: what differs from one to the next.
struct AnalysisMember
{
    enum Control : unsigned {
        KindList = 1,      // "按客户数量分析" / "按业务数量分析" / "按合同金额分析"
        Range = 2,         // start and end date
        Direction = 4,     // "收入" / "支出"
        FinanceChoice = 8, // receivables or payables
        TimeKinds = 16     // the period dialogs, opened by "查询"
    };
    const char *className;   // "TfrmCustLevelAnalyse"
    const char *objectName;  // "frmCustLevelAnalyse"
    const char *action;      // "Act_CustLevelAnalyse"
    const char *caption;
    unsigned controls;
    ChartKind chart;
    QueryDataset *TdmMain::*chartQuery;  // the finance page picks its second one itself
    const char *valueField;
    const char *labelField;
    const char *colourField;  // "" for bars
    bool hasList;
    // Computes the list lines, the chart rows and the title; raises on a database error.
    void (*build)(AnalysisRun &run, const AnalysisChoices &choices, const AnalysisMember &member);
};

// An analysis page hosted in the main window's client area: the choice controls,
// "刷新" and "关闭" over a chart with the totals list at its right, and the chart's pop-up menu.
class AnalysisPage : public QWidget, public AnalysisTarget
{
    Q_OBJECT

public:
    AnalysisPage(const AnalysisMember &member, QWidget *parent = nullptr);
    ~AnalysisPage() override;

    const AnalysisMember &member() const { return m_member; }
    QString className() const { return QString::fromLatin1(m_member.className); }
    QString caption() const;

    // The main window's command after hosting the page: the pop-up items follow the
    // navigation panel and the range goes back to the last 30 days; the chart stays.
    void open();
    // "刷新" ("查询" on the time page).
    void refresh();
    // "关闭": the schedule page comes back with "图表分析" selected.
    void closePage();

    AnalysisChoices choices() const;
    bool incomeChosen() const override;
    void showResult(const AnalysisResult &result) override;

    AnalysisChart *chart() const { return m_chart; }
    QListWidget *list() const { return m_list; }
    QStringList lines() const;
    QMenu *popupMenu() const { return m_menu; }
    // Sets the pop-up items' enabled states from the list and the navigation panel.
    void updateMenu();

    QComboBox *kindBox() const { return m_kind; }
    QComboBox *directionBox() const { return m_direction; }
    QComboBox *financeBox() const { return m_finance; }
    QComboBox *timeKindBox() const { return m_timeKind; }
    QDateEdit *startEdit() const { return m_start; }
    QDateEdit *endEdit() const { return m_end; }
    QPushButton *refreshButton() const { return m_refresh; }

private:
    void buildBar();
    void buildMenu();
    void setListVisible(bool visible);
    void openPeriodDialog();

    const AnalysisMember &m_member;
    AnalysisChart *m_chart = nullptr;
    QListWidget *m_list = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_showList = nullptr, *m_hideList = nullptr, *m_showNav = nullptr, *m_hideNav = nullptr;
    QComboBox *m_kind = nullptr, *m_direction = nullptr, *m_finance = nullptr, *m_timeKind = nullptr;
    QDateEdit *m_start = nullptr, *m_end = nullptr;
    QPushButton *m_refresh = nullptr, *m_close = nullptr;
};

// The eleven members, in menu order.
const QList<AnalysisMember> &analysisMembers();
