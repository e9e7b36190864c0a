#include "uToday.h"

#include "CentreOnScreen.h"
#include "DateText.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "DbNavigator.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A tab's grid above its detail fields.
struct FieldsTab
{
    QWidget *page;
    QGridLayout *grid;
    QHash<QString, QWidget *> *editors;

    void place(const char *label, QWidget *editor, const char *field, int row, int column, int span = 1,
               const char *note = nullptr)
    {
        auto *l = new QLabel(s(label), page);
        l->setBuddy(editor);
        editor->setObjectName(s("ed") + s(field));
        grid->addWidget(l, row, column * 2);
        QWidget *cell = editor;
        if (note) {
            cell = new QWidget(page);
            auto *h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(editor, 1);
            h->addWidget(new QLabel(s(note), cell));
        }
        grid->addWidget(cell, row, column * 2 + 1, 1, span * 2 - 1);
        editors->insert(s(field).toLower(), editor);
    }
    DbEdit *shown(DataSource *src, const char *field)
    {
        auto *e = new DbEdit(page);
        e->bind(src, s(field));
        e->setReadOnly(true);
        return e;
    }
};

DbGrid *makeGrid(QWidget *page, DataSource *src, const QList<GridColumn> &columns)
{
    auto *g = new DbGrid(page);
    g->setGroupPanelVisible(false);
    g->setColumns(columns);
    g->setDataSource(src);
    return g;
}

QString today()
{
    return DateText::shortDate(QDate::currentDate());
}

// The datasets whose fields the view edits, posted when it closes.
QList<Dataset *> edited()
{
    return {dmMain->tblOperates2, dmMain->qryPlan, dmMain->tblBoard};
}

}  // namespace

TfrmToday::TfrmToday(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmToday"));
    setWindowTitle(s("今日事"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(620, 436);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(s("todayTabs"));
    m_tabs->addTab(buildOperatesTab(), s("今日到期业务资料"));
    m_tabs->addTab(buildPlanTab(), s("今日日程安排"));
    m_tabs->addTab(buildBoardTab(), s("今日公告版信息"));
    layout->addWidget(m_tabs, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    m_next = new QPushButton(s(">>下一步"), this);
    m_next->setObjectName(s("btnNext"));
    m_next->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(m_next);
    layout->addLayout(row);
    CentreOnScreen::install(this);
}

QWidget *TfrmToday::buildOperatesTab()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    DataSource *src = dmMain->dsOperates2;
    using C = GridColumn;
    QList<GridColumn> columns = {C::text(s("业务代码"), s("OperateID"), 80), C::text(s("业务标题"), s("OperateTitle"), 120),
                                 C::text(s("客户名称"), s("CustName"), 90), C::text(s("截止日期"), s("EndDate"), 75),
                                 C::money(s("合同金额"), s("CompactAmount"), 75), C::text(s("币别"), s("CurrName"), 50),
                                 C::centred(s("收支类型"), s("InOrOut"), 60), C::text(s("签约日期"), s("WriteDate"), 75),
                                 C::text(s("业务状态"), s("OperateStateName"), 70), C::text(s("建档日期"), s("CreateDate"), 75),
                                 C::text(s("业务员"), s("OperaterName"), 60)};
    columns.last().hidden = true;
    DbGrid *g = makeGrid(page, src, columns);
    g->setObjectName(s("gridOperates"));
    g->sortBy(s("OperateID"));
    v->addWidget(g, 1);
    m_grids << g;
    m_editors.append(QHash<QString, QWidget *>());
    auto *fields = new QWidget(page);
    FieldsTab t{fields, new QGridLayout(fields), &m_editors.last()};
    t.grid->setContentsMargins(2, 2, 2, 2);
    t.grid->setVerticalSpacing(2);
    t.place("业务编码：", t.shown(src, "OperateID"), "OperateID", 0, 0, 2, "（唯一业务编码标识）");
    t.place("业务标题：", t.shown(src, "OperateTitle"), "OperateTitle", 0, 2);
    t.place("相关客户：", t.shown(src, "CustName"), "CustID", 1, 0);
    t.place("建档时间：", t.shown(src, "CreateDate"), "CreateDate", 1, 1);
    t.place("签约日期：", t.shown(src, "WriteDate"), "WriteDate", 1, 2);
    t.place("合同金额：", t.shown(src, "CompactAmount"), "CompactAmount", 2, 0);
    t.place("预计利润：", t.shown(src, "Profit"), "Profit", 2, 1);
    t.place("利润率：", t.shown(src, "Rate"), "Rate", 2, 2);
    t.place("收付类型：", t.shown(src, "InOrOut"), "InOrOut", 3, 0);
    t.place("截止日期：", t.shown(src, "EndDate"), "EndDate", 3, 1);
    auto *state = new DbLookupCombo(fields);
    state->bind(src, s("OperateStateID"));
    state->setList(dmMain->dsOperateState, s("OperateStateID"), s("OperateStateName"));
    t.place("业务状态：", state, "OperateStateID", 3, 2);
    t.place("币别名称：", t.shown(src, "CurrName"), "CurrID", 4, 0);
    t.place("折人民币：", t.shown(src, "RMB"), "RMB", 4, 1);
    t.place("备    注：", t.shown(src, "FilePath"), "FilePath", 4, 2);
    for (int c : {1, 3, 5})
        t.grid->setColumnStretch(c, 1);
    v->addWidget(fields);
    return page;
}

QWidget *TfrmToday::buildPlanTab()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    DataSource *src = dmMain->dsPlan;
    using C = GridColumn;
    DbGrid *g = makeGrid(page, src,
                         {C::centred(s("序号"), s("PlanID"), 45), C::text(s("日期"), s("PlanDate"), 75),
                          C::centred(s("时间"), s("PlanTime"), 60), C::text(s("地址"), s("Address"), 120),
                          C::text(s("客户"), s("CustName"), 90), C::text(s("联系人"), s("Linkman"), 60),
                          C::text(s("业务内容"), s("OperateId"), 70), C::text(s("参加人员"), s("AttendMan"), 60),
                          C::text(s("备注"), s("Memo"), 100)});
    g->setObjectName(s("gridPlan"));
    v->addWidget(g, 1);
    m_grids << g;
    m_editors.append(QHash<QString, QWidget *>());
    auto *fields = new QWidget(page);
    FieldsTab t{fields, new QGridLayout(fields), &m_editors.last()};
    t.grid->setContentsMargins(2, 2, 2, 2);
    t.grid->setVerticalSpacing(2);
    t.place("序    号：", t.shown(src, "PlanID"), "PlanID", 0, 0);
    t.place("日    期：", t.shown(src, "PlanDate"), "PlanDate", 0, 1);
    t.place("时    间：", t.shown(src, "PlanTime"), "PlanTime", 0, 2);
    t.place("地    点：", t.shown(src, "Address"), "Address", 1, 0, 2);
    t.place("参加人员：", t.shown(src, "AttendMan"), "AttendMan", 1, 2);
    auto *customer = new DbLookupCombo(fields);
    customer->bind(src, s("CustID"));
    customer->setList(dmMain->dsCustomers2, s("CustId"), s("CustName"));
    t.place("客    户：", customer, "CustID", 2, 0, 2);
    t.place("联 系 人：", t.shown(src, "Linkman"), "Linkman", 2, 2);
    t.place("业务项目：", t.shown(src, "OperateId"), "OperateId", 3, 0);
    t.place("备注：", t.shown(src, "Memo"), "Memo", 3, 1, 2);
    for (int c : {1, 3, 5})
        t.grid->setColumnStretch(c, 1);
    v->addWidget(fields);
    return page;
}

QWidget *TfrmToday::buildBoardTab()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    DataSource *src = dmMain->dsBoard;
    auto *head = new QHBoxLayout;
    auto *title = new QLabel(s("公告板"), page);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    head->addWidget(title);
    head->addStretch();
    m_navigator = new DbNavigator(page);
    m_navigator->setObjectName(s("boardNavigator"));
    m_navigator->bind(src);
    head->addWidget(m_navigator);
    // The notice buttons have no command here.
    for (const char *text : {"新增", "保存", "删除"}) {
        auto *b = new QPushButton(s(text), page);
        b->setEnabled(false);
        b->setAutoDefault(false);
        head->addWidget(b);
        m_boardButtons << b;
    }
    v->addLayout(head);
    using C = GridColumn;
    DbGrid *g = makeGrid(page, src,
                         {C::text(s("主题"), s("BTitle"), 140), C::text(s("公告日期"), s("BDate"), 85),
                          C::text(s("公告人"), s("Man"), 70), C::text(s("事项描述"), s("Memo"), 260)});
    g->setObjectName(s("gridBoard"));
    v->addWidget(g, 1);
    m_grids << g;
    m_editors.append(QHash<QString, QWidget *>());
    auto *fields = new QWidget(page);
    FieldsTab t{fields, new QGridLayout(fields), &m_editors.last()};
    t.grid->setContentsMargins(2, 2, 2, 2);
    const auto edit = [&](const char *field) {
        auto *e = new DbEdit(fields);
        e->bind(src, s(field));
        return e;
    };
    auto *date = new DbDateEdit(fields);
    date->bind(src, s("BDate"));
    t.place("主    题：", edit("BTitle"), "BTitle", 0, 0);
    t.place("公告日期：", date, "BDate", 0, 1);
    t.place("公 告 人：", edit("Man"), "Man", 0, 2);
    t.place("事项描述：", edit("Memo"), "Memo", 1, 0, 3);
    for (int c : {1, 3, 5})
        t.grid->setColumnStretch(c, 1);
    v->addWidget(fields);
    return page;
}

DbGrid *TfrmToday::grid(int tab) const
{
    return m_grids.value(tab);
}

QWidget *TfrmToday::editor(int tab, const QString &field) const
{
    return m_editors.value(tab).value(field.toLower());
}

void TfrmToday::prepare()
{
    // Pending edits go first; a new business record without a code is dropped by its guard.
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblUser), static_cast<Dataset *>(dmMain->tblCustomers2),
                       static_cast<Dataset *>(dmMain->tblOperates2), static_cast<Dataset *>(dmMain->tblBoard),
                       static_cast<Dataset *>(dmMain->qryPlan)})
        if (d->isActive() && WindowKit::isEditing(d))
            d->post();
    Dataset *users = dmMain->tblUser;
    users->close();
    users->open();
    const bool sys = IsSystemUser();

    Dataset *c2 = dmMain->tblCustomers2;
    if (sys) {
        c2->setFiltered(false);
        c2->setFilter(QString());
        if (!c2->isActive())
            c2->open();
    } else {
        c2->close();
        c2->setFilter(OwnerFilter());
        c2->setFiltered(true);
        c2->open();
    }
    OpenDatasets({dmMain->tblOperateState, dmMain->tblCurrencyRate, dmMain->tblOperaters});

    Dataset *ops = dmMain->tblOperates2;
    ops->close();
    ops->setFilter(IsSystemUser() ? s("Enddate=") + today() : OwnerFilter() + s("and Enddate=") + today());
    ops->setFiltered(true);
    ops->open();

    Dataset *board = dmMain->tblBoard;
    board->close();
    board->setFilter(s("BDate=") + today());
    board->setFiltered(true);
    board->open();

    QueryDataset *plan = dmMain->qryPlan;
    plan->close();
    plan->setSql({s("select * from tblPlan ")});
    plan->setFilter(s("plandate=") + today());
    plan->setFiltered(true);
    plan->open();
}

int TfrmToday::execute(QWidget *parent)
{
    if (!ErrorHandler::run(parent, [] { prepare(); }))
        return QDialog::Rejected;
    TfrmToday view(parent);
    return Dialogs::showModal(&view);
}

void TfrmToday::done(int result)
{
    const bool posted = ErrorHandler::run(this, [] {
        for (Dataset *d : edited())
            if (d->isActive() && WindowKit::isEditing(d))
                d->post();
    });
    if (posted)
        QDialog::done(result);
}
