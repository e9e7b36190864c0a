#include "PlanPanels.h"

#include "ActionGate.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "DbNavigator.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "ListPage.h"
#include "PlanCommands.h"
#include "Utf8.h"
#include "uPublic.h"
#include "uMain.h"
#include "udmMain.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QPushButton *makeButton(const char *objectName, const char *text, QWidget *parent)
{
    auto *b = new QPushButton(s(text), parent);
    b->setObjectName(s(objectName));
    b->setAutoDefault(false);
    return b;
}

// A row of an editor with a note or button beside it.
QWidget *besides(QWidget *editor, QWidget *extra, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(editor, 1);
    layout->addWidget(extra);
    return row;
}

}  // namespace

PlanListPanel::PlanListPanel(const QString &operateCaption, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bar = ListPage::makeToolBar(this);
    m_bar->setObjectName(s("planListBar"));
    layout->addWidget(m_bar);
    m_grid = new DbGrid(this);
    m_grid->setObjectName(s("planGrid"));
    using C = GridColumn;
    m_grid->setColumns({C::centred(s("序号"), s("PlanID"), 45), C::text(s("日期"), s("PlanDate"), 80),
                        C::centred(s("时间"), s("PlanTime"), 65), C::text(s("地址"), s("Address"), 150),
                        C::text(s("客户"), s("CustName"), 100), C::text(s("联系人"), s("Linkman"), 65),
                        C::text(operateCaption, s("OperateId"), 80), C::text(s("参加人员"), s("AttendMan"), 65),
                        C::text(s("备注"), s("Memo"), 120)});
    m_grid->setDataSource(dmMain->dsPlan);
    m_grid->setExportPermission([] { return HasSubRight(s("305"), s("Print")); });
    layout->addWidget(m_grid, 1);
    connect(m_grid->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(this, [] { PlanCommands::syncFolder(); }); });
}

void PlanListPanel::setModifyAction(QAction *modify)
{
    // Acts as "修改" only while that may run: without the Modify sub-right nothing happens.
    connect(m_grid, &DbGrid::rowDoubleClicked, this, [modify] {
        if (ActionGate::instance()->check(modify))
            modify->trigger();
    });
}

PlanEntryPanel::PlanEntryPanel(Variant variant, QWidget *parent) : QWidget(parent), m_variant(variant)
{
    const bool editorPage = variant == Variant::Editor;
    setObjectName(s(editorPage ? "planEditor" : "planDetail"));
    DataSource *src = dmMain->dsPlan;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(2);

    // The tool row (filled by the page) with the navigator at its right.
    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    m_bar = ListPage::makeToolBar(this);
    m_bar->setObjectName(s("planEntryBar"));
    top->addWidget(m_bar);
    top->addStretch();
    top->addWidget(new QLabel(s("日程安排："), this));
    m_navigator = new DbNavigator(this);
    m_navigator->setObjectName(s("planNavigator"));
    m_navigator->bind(src);
    for (QToolButton *b : {m_navigator->firstButton(), m_navigator->priorButton(), m_navigator->nextButton(),
                           m_navigator->lastButton()})
        connect(b, &QToolButton::clicked, this, [this] { ErrorHandler::run(this, [] { PlanCommands::syncFolder(); }); });
    top->addWidget(m_navigator);
    layout->addLayout(top);

    auto *fields = new QWidget(this);
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    QList<QWidget *> order;
    const auto place = [&](const char *label, QWidget *editor, const char *field, int row, int column, int span = 1,
                           QWidget *cell = nullptr) {
        auto *l = new QLabel(s(label), fields);
        l->setBuddy(editor);
        editor->setObjectName(s("ed") + s(field));
        grid->addWidget(l, row, column * 2);
        grid->addWidget(cell ? cell : editor, row, column * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), editor);
    };
    const auto edit = [&](const char *field) {
        auto *e = new DbEdit(fields);
        e->bind(src, s(field));
        return e;
    };
    DbEdit *id = edit("PlanID");
    id->setReadOnly(true);
    auto *date = new DbDateEdit(fields);
    date->bind(src, s("PlanDate"));
    auto *time = new DbMaskEdit(s("##:##:##"), fields);
    time->bind(src, s("PlanTime"));
    auto *customer = new DbLookupCombo(fields);
    customer->bind(src, s("CustID"));
    customer->setList(dmMain->dsCustomers2, s("CustId"), s("CustName"));
    customer->installEventFilter(this);
    m_pick = makeButton("btnPickCustomer", "查询...", fields);
    connect(m_pick, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { PlanCommands::pickCustomer(this); }); });
    place("序    号：", id, "PlanID", 0, 0);
    place("日    期：", date, "PlanDate", 0, 1);
    place("时    间：", time, "PlanTime", 0, 2);
    place("地    点：", edit("Address"), "Address", 1, 0, 2);
    place("参加人员：", edit("AttendMan"), "AttendMan", 1, 2);
    place("客    户：", customer, "CustID", 2, 0, 2, besides(customer, m_pick, fields));
    place("联 系 人：", edit("Linkman"), "Linkman", 2, 2);
    place("业务项目：", edit("OperateId"), "OperateId", 3, 0);
    place("备注：", edit("Memo"), "Memo", 3, 1, 2);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);
    for (const char *f : {"PlanID", "PlanDate", "PlanTime", "Address", "AttendMan", "CustID", "Linkman", "OperateId", "Memo"})
        order << editor(s(f));
    FocusChain::install(order, this);
    layout->addWidget(fields);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(s("customerTabs"));
    m_tabs->addTab(buildCustomerTab(), s("客户资料"));
    m_tabs->addTab(buildGridTab(m_operates, m_operate, "显示业务资料"), s("业务资料"));
    m_tabs->addTab(buildGridTab(m_states, m_state, "查看客户接触信息"), s("客户接触"));
    layout->addWidget(m_tabs, 1);

    using C = GridColumn;
    m_operates->setObjectName(s("operatesGrid"));
    m_operates->setColumns({C::text(s("业务编码"), s("OperateID"), 85), C::text(s("业务标题"), s("OperateTitle"), 130),
                            C::text(s("相关客户"), s("CustName"), 100), C::text(s("建档时间"), s("CreateDate"), 80),
                            C::text(s("截止日期"), s("EndDate"), 80), C::money(s("合同金额"), s("CompactAmount"), 85),
                            C::text(s("联系人"), s("LinkmanName"), 65), C::text(s("业务员"), s("OperaterName"), 65)});
    m_operates->setDataSource(dmMain->dsOperates);
    m_operates->sortBy(s("OperateID"));
    m_operate->setObjectName(s("btnShowOperate"));
    connect(m_operate, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { PlanCommands::showOperate(this); }); });
    m_states->setObjectName(s("statesGrid"));
    m_states->setColumns({C::text(s("联系日期"), s("LinkDate"), 80), C::text(s("联系时间"), s("LinkTime"), 65),
                          C::text(s("联系人"), s("Linkman"), 65), C::text(s("职务"), s("Duty"), 60),
                          C::text(s("联系方式"), s("LinkType"), 80), C::text(s("联系内容"), s("LinkContent"), 150),
                          C::money(s("费用开销"), s("Charge"), 75), C::text(s("地点"), s("Address"), 100),
                          C::text(s("备注"), s("Memo"), 100)});
    m_states->setDataSource(dmMain->dsCustomerState);
    m_states->sortBy(s("LinkDate"));
    m_state->setObjectName(s("btnShowState"));
    connect(m_state, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { PlanCommands::showState(this); }); });
    if (editorPage) {
        // The editor's grids open their dialogs on double-click too, while their button may.
        connect(m_operates, &DbGrid::rowDoubleClicked, this, [this] {
            if (m_operate->isEnabled())
                m_operate->click();
        });
        connect(m_states, &DbGrid::rowDoubleClicked, this, [this] {
            if (m_state->isEnabled())
                m_state->click();
        });
    }
    updateHookButtons();
}

QWidget *PlanEntryPanel::buildCustomerTab()
{
    const bool editorPage = m_variant == Variant::Editor;
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    DataSource *src = dmMain->dsCustomers2;
    const auto place = [&](const char *label, const char *field, int row, int column, int span = 1,
                           QWidget *extra = nullptr) {
        auto *e = new DbEdit(page);
        e->bind(src, s(field));
        e->setReadOnly(true);
        e->setObjectName(s("cust") + s(field));
        auto *l = new QLabel(s(label), page);
        l->setBuddy(e);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(extra ? besides(e, extra, page) : e, row, column * 2 + 1, 1, span * 2 - 1);
        m_customerFields.insert(s(field).toLower(), e);
    };
    place("客户名称：", "CustName", 0, 0);
    place("客户代码：", "CustId", 0, 1, 2, new QLabel(s("（唯一代码标识）"), page));
    place("客户来源：", "OriginName", 1, 0);
    place(editorPage ? "行业类别：" : "客户类型：", "VocationName", 1, 1);
    place("客户级别：", "LevelName", 1, 2);
    place("客户状态：", "StateName", 2, 0);
    place("建档日期：", "CreateDate", 2, 1);
    place("传　　真：", "Fax", 2, 2);
    m_mail = makeButton("btnSendMail", "发送邮件", page);
    connect(m_mail, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [] { PlanCommands::sendMail(); }); });
    place("Email邮箱：", "Email", 3, 0, 2, m_mail);
    place("联系电话：", "Telephone", 3, 2);
    place("详细地址：", "Address", 4, 0, 2);
    place("邮政编码：", "PostCode", 4, 2);
    place(editorPage ? "地　　区：" : "所 在 区：", "DistName", 5, 0);
    place(editorPage ? "国　　家：" : "国　 籍：", "CountryName", 5, 1);
    if (editorPage) {
        place("城　　市：", "City", 5, 2);
        m_open = makeButton("btnOpenHomePage", "打开...", page);
        connect(m_open, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [] { PlanCommands::openHomePage(); }); });
        place("主　　页：", "HomePage", 6, 0, 2, m_open);
        m_customer = makeButton("btnShowCustomer", "显示客户资料", page);
        connect(m_customer, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [] { PlanCommands::showCustomer(); }); });
        grid->addWidget(m_customer, 6, 5, Qt::AlignRight);
    } else {
        place("受聘人数：", "City", 5, 2, 1, new QLabel(s("人"), page));
        place("主要成员：", "HomePage", 6, 0, 2);
    }
    place("备　　注：", "Memo", 7, 0, 3);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(8, 1);
    return page;
}

QWidget *PlanEntryPanel::buildGridTab(DbGrid *&grid, QPushButton *&button, const char *buttonText)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    button = makeButton("", buttonText, page);
    auto *row = new QHBoxLayout;
    row->addWidget(button);
    row->addStretch();
    layout->addLayout(row);
    grid = new DbGrid(page);
    grid->setGroupPanelVisible(false);
    layout->addWidget(grid, 1);
    return page;
}

DbDateEdit *PlanEntryPanel::dateEdit() const
{
    return static_cast<DbDateEdit *>(editor(s("PlanDate")));
}

DbMaskEdit *PlanEntryPanel::timeEdit() const
{
    return static_cast<DbMaskEdit *>(editor(s("PlanTime")));
}

DbLookupCombo *PlanEntryPanel::customerCombo() const
{
    return static_cast<DbLookupCombo *>(editor(s("CustID")));
}

void PlanEntryPanel::updateHookButtons()
{
    m_operate->setEnabled(frmMain && frmMain->hasOpener(s("TfrmOperateNew1")));
    m_state->setEnabled(frmMain && frmMain->hasOpener(s("TfrmCustStateNew")));
}

void PlanEntryPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateHookButtons();
    ErrorHandler::run(this, [] { PlanCommands::followCustomer(); });
}

bool PlanEntryPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Every customer may be chosen, also those of other users: the owner filter goes on focus.
    if (watched == customerCombo() && event->type() == QEvent::FocusIn) {
        ErrorHandler::run(this, [] {
            Dataset *c2 = dmMain->tblCustomers2;
            if (c2->isFiltered())
                c2->setFiltered(false);
        });
    }
    return QWidget::eventFilter(watched, event);
}
