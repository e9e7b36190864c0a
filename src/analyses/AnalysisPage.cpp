#include "AnalysisPage.h"

#include "AnalysisChart.h"
#include "AnalysisWindows.h"
#include "AnalysisRun.h"
#include "DateText.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "PeriodQuery.h"
#include "Utf8.h"
#include "uMain.h"

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateEdit *dateEdit(QWidget *parent, const char *name)
{
    auto *d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    QString format = DateText::shortDateFormat();
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    d->setDisplayFormat(format);
    return d;
}

QComboBox *choiceBox(QWidget *parent, const char *name, std::initializer_list<const char *> items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const char *item : items)
        box->addItem(s(item));
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

}  // namespace

AnalysisPage::AnalysisPage(const AnalysisMember &member, QWidget *parent) : QWidget(parent), m_member(member)
{
    setObjectName(QString::fromLatin1(member.objectName));
    setWindowTitle(caption());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildBar();
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(1);
    m_chart = new AnalysisChart(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    m_chart->setTitle(caption());
    body->addWidget(m_chart, 1);
    if (member.hasList) {
        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("lbList"));
        m_list->setFixedWidth(215);
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        body->addWidget(m_list);
    }
    layout->addLayout(body, 1);
    buildMenu();
}

AnalysisPage::~AnalysisPage()
{
    forgetAnalysisPage(this);
}

QString AnalysisPage::caption() const
{
    return s(m_member.caption);
}

void AnalysisPage::buildBar()
{
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("titleBar"));
    bar->setStyleSheet(s("QFrame#titleBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef4fb, "
                         "stop:1 #dbe7f4); border-bottom: 1px solid #b8cce4; }"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(4);
    const auto label = [&](const char *text, QWidget *buddy) {
        auto *l = new QLabel(s(text), bar);
        l->setBuddy(buddy);
        row->addWidget(l);
        return l;
    };
    const unsigned c = m_member.controls;
    if (c & AnalysisMember::KindList) {
        m_kind = choiceBox(bar, "cbKind", {"按客户数量分析", "按业务数量分析", "按合同金额分析"});
        label("请选择具体内容查询分析：", m_kind);
        row->addWidget(m_kind);
    }
    if (c & AnalysisMember::TimeKinds) {
        m_timeKind = choiceBox(bar, "cbTimeKind", {"按年度业务分析", "按季度业务分析", "选择时间段业务分析"});
        label("请选择按时间分析的内容：", m_timeKind);
        row->addWidget(m_timeKind);
    }
    if (c & AnalysisMember::FinanceChoice) {
        m_finance = choiceBox(bar, "cbFinance", {"应收账款分析", "应付账款分析"});
        label("请选择资金分配内容分析：", m_finance);
        row->addWidget(m_finance);
    }
    if (c & AnalysisMember::Range) {
        m_start = dateEdit(bar, "deStart");
        m_end = dateEdit(bar, "deEnd");
        label("请选择时间段分析：", m_start);
        row->addWidget(m_start);
        label("至", m_end);
        row->addWidget(m_end);
        const QDate today = QDate::currentDate();
        m_start->setDate(today.addDays(-30));
        m_end->setDate(today);
    }
    if (c & AnalysisMember::Direction) {
        m_direction = choiceBox(bar, "cbDirection", {"收入", "支出"});
        m_direction->setAccessibleName(s("收支方向"));
        m_direction->setToolTip(s("收支方向"));
        row->addWidget(m_direction);
        if (m_kind) {
            // The direction only matters for contract amounts.
            m_direction->setEnabled(false);
            connect(m_kind, &QComboBox::currentIndexChanged, this,
                    [this](int index) { m_direction->setEnabled(index == 2); });
        }
    }
    row->addStretch(1);
    const bool time = c & AnalysisMember::TimeKinds;
    m_refresh = new QPushButton(s(time ? "查询" : "刷新"), bar);
    m_refresh->setObjectName(QStringLiteral("btnRefresh"));
    m_close = new QPushButton(s("关闭"), bar);
    m_close->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *b : {m_refresh, m_close}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(56);
        row->addWidget(b);
    }
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        if (m_member.controls & AnalysisMember::TimeKinds)
            openPeriodDialog();
        else
            refresh();
    });
    connect(m_close, &QPushButton::clicked, this, &AnalysisPage::closePage);
    static_cast<QVBoxLayout *>(layout())->addWidget(bar);
}

void AnalysisPage::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmChart"));
    if (m_list) {
        m_showList = m_menu->addAction(s("显示列表"), this, [this] { setListVisible(true); });
        m_hideList = m_menu->addAction(s("隐藏列表"), this, [this] { setListVisible(false); });
        m_menu->addSeparator();
    }
    m_showNav = m_menu->addAction(s("显示导航条"), this, [] {
        if (frmMain)
            frmMain->setNavigationVisible(true);
    });
    m_hideNav = m_menu->addAction(s("隐藏导航条"), this, [] {
        if (frmMain)
            frmMain->setNavigationVisible(false);
    });
    connect(m_menu, &QMenu::aboutToShow, this, &AnalysisPage::updateMenu);
    QWidget *view = m_chart->view();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint &at) { m_menu->popup(view->mapToGlobal(at)); });
    updateMenu();
}

void AnalysisPage::updateMenu()
{
    if (m_list) {
        const bool shown = !m_list->isHidden();
        m_showList->setEnabled(!shown);
        m_hideList->setEnabled(shown);
    }
    const bool nav = frmMain && frmMain->isNavigationVisible();
    m_showNav->setEnabled(frmMain && !nav);
    m_hideNav->setEnabled(nav);
}

void AnalysisPage::setListVisible(bool visible)
{
    if (m_list)
        m_list->setVisible(visible);
    updateMenu();
}

void AnalysisPage::open()
{
    updateMenu();
    if (m_start) {
        const QDate today = QDate::currentDate();
        m_start->setDate(today.addDays(-30));
        m_end->setDate(today);
    }
}

void AnalysisPage::closePage()
{
    if (!frmMain)
        return;
    frmMain->selectTab(s("图表分析"));
    frmMain->showSchedulePage();
}

AnalysisChoices AnalysisPage::choices() const
{
    AnalysisChoices c;
    c.kind = m_kind ? m_kind->currentIndex() : 0;
    c.income = incomeChosen();
    if (m_start) {
        c.from = m_start->date();
        c.to = m_end->date();
    }
    if (m_finance) {
        c.finance = m_finance->currentIndex();
        c.financeText = m_finance->currentText();
    }
    return c;
}

bool AnalysisPage::incomeChosen() const
{
    return !m_direction || m_direction->currentIndex() != 1;
}

void AnalysisPage::refresh()
{
    if (!m_member.build)
        return;
    const AnalysisChoices c = choices();
    AnalysisRun run({{QStringLiteral("CreateDate1"), c.from}, {QStringLiteral("CreateDate2"), c.to}});
    run.result.kind = m_member.chart;
    if (ErrorHandler::run(this, [&] { m_member.build(run, c, m_member); }))
        showResult(run.result);
}

void AnalysisPage::showResult(const AnalysisResult &result)
{
    if (m_list) {
        m_list->clear();
        m_list->addItems(result.lines);
    }
    m_chart->showRows(result.kind, result.title, result.rows);
}

QStringList AnalysisPage::lines() const
{
    QStringList out;
    if (m_list)
        for (int i = 0; i < m_list->count(); ++i)
            out << m_list->item(i)->text();
    return out;
}

void AnalysisPage::openPeriodDialog()
{
    const int kind = m_timeKind ? m_timeKind->currentIndex() : 0;
    std::unique_ptr<TfrmPeriodQuery> dialog;
    if (kind == 1)
        dialog = std::make_unique<TfrmSeasonQuery>(this, this);
    else if (kind == 2)
        dialog = std::make_unique<TfrmTimeSectQuery>(this, this);
    else
        dialog = std::make_unique<TfrmYearQuery>(this, this);
    Dialogs::showModal(dialog.get());
}
