#include "uCustomers.h"

#include "ActionGate.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "ReportService.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmCustomers *frmCustomers = nullptr;

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

const QString RightCode = QStringLiteral("301");

// The related-record tabs of the detail page.
struct RelatedTab
{
    const char *caption;
    const char *newCaption;
    const char *layout;
    const char *printLog;
};

const RelatedTab Related[] = {
    {"联系人资料", "新增联系人", "frCustomerLinkman", "客户业务管理-客户资料-联系人-打印"},
    {"业务（合同）资料", "新增业务", "frCustomerOperate", "客户业务管理-客户资料-业务资料-打印"},
    {"受聘员工", "新增员工", "frCustomerYuangong", "客户业务管理-客户资料-员工资料-打印"},
    {"客户接触", "新增接触", "frCustomerState", "客户业务管理-客户资料-客户接触-打印"},
};

Dataset *relatedDataset(int tab)
{
    switch (tab) {
    case 0: return dmMain->tblLinkmans;
    case 1: return dmMain->tblOperates;
    case 2: return dmMain->tblYuangong1;
    default: return dmMain->tblCustomerState;
    }
}

DataSource *relatedSource(int tab)
{
    switch (tab) {
    case 0: return dmMain->dsLinkmans;
    case 1: return dmMain->dsOperates;
    case 2: return dmMain->dsYuangong1;
    default: return dmMain->dsCustomerState;
    }
}

QList<GridColumn> relatedColumns(int tab)
{
    using C = GridColumn;
    switch (tab) {
    case 0:
        return {C::text(s("联系人代码"), s("LinkmanID"), 90), C::text(s("姓名"), s("Name"), 70), C::text(s("部门"), s("Department"), 80),
                C::text(s("职务"), s("Duty"), 70), C::text(s("电话"), s("Telephone"), 100), C::text(s("传真"), s("Fax"), 100),
                C::text(s("手机"), s("Mobile"), 100), C::text(s("电子邮件"), s("Email"), 140)};
    case 1:
        return {C::text(s("业务编码"), s("OperateID"), 90), C::text(s("业务标题"), s("OperateTitle"), 130),
                C::text(s("相关客户"), s("CustName"), 100), C::text(s("建档时间"), s("CreateDate"), 85),
                C::text(s("截止日期"), s("EndDate"), 85), C::money(s("合同金额"), s("CompactAmount"), 90),
                C::text(s("联系人"), s("LinkmanName"), 70), C::text(s("业务员"), s("OperaterName"), 70)};
    case 2: {
        QList<GridColumn> c = {C::text(s("员工编号"), s("YuangongID"), 80), C::text(s("姓名"), s("Name"), 70),
                               C::text(s("称呼"), s("NickName"), 60), C::centred(s("性别"), s("Sex"), 45),
                               C::text(s("部门"), s("Department"), 80), C::text(s("工种"), s("GongzhongName"), 70),
                               C::text(s("健康状况"), s("Health"), 70), C::text(s("职务"), s("Duty"), 70),
                               C::text(s("籍贯"), s("Native"), 120)};
        c[6].hidden = true;
        return c;
    }
    default:
        return {C::text(s("联系日期"), s("LinkDate"), 85), C::text(s("联系时间"), s("LinkTime"), 70), C::text(s("联系人"), s("Linkman"), 70),
                C::text(s("职务"), s("Duty"), 60), C::text(s("联系方式"), s("LinkType"), 90), C::text(s("联系内容"), s("LinkContent"), 150),
                C::money(s("费用开销"), s("Charge"), 80), C::text(s("地点"), s("Address"), 100), C::text(s("备注"), s("Memo"), 120)};
    }
}

QAction *gatedAction(QWidget *owner, const QString &text, const QString &right, std::function<void()> run,
                     const QString &shortcut = {})
{
    auto *a = new QAction(text, owner);
    if (!shortcut.isEmpty()) {
        a->setShortcut(QKeySequence(shortcut));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    owner->addAction(a);
    if (right.isEmpty())
        QObject::connect(a, &QAction::triggered, owner, [owner, run] { ErrorHandler::run(owner, run); });
    else
        ActionGate::instance()->gate(a, [right] { return HasSubRight(RightCode, right); }, run);
    return a;
}

bool confirmDelete(QWidget *parent, const QString &text)
{
    return Messages::show(parent, {text, Messages::defaultCaption(), Messages::Icon::Warning, Messages::Buttons::OkCancel,
                                   Messages::Answer::Ok})
        == Messages::Answer::Ok;
}

}  // namespace

TfrmCustomers::TfrmCustomers(QObject *parent) : QObject(parent)
{
    frmCustomers = this;
    setObjectName(s("frmCustomers"));
    PnMain = new QWidget;
    PnMain->setObjectName(s("PnMain"));
    PnMain->setWindowTitle(s("客户资料"));
    auto *layout = new QVBoxLayout(PnMain);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QTabWidget(PnMain);
    m_pages->addTab(buildListPage(), s("客户资料列表"));
    m_pages->addTab(buildDetailPage(), s("客户详细资料"));
    layout->addWidget(m_pages);
    m_relatedDialogs.resize(4);
}

TfrmCustomers::~TfrmCustomers()
{
    if (!PnMain->parent())
        delete PnMain;
    if (frmCustomers == this)
        frmCustomers = nullptr;
}

QWidget *TfrmCustomers::buildListPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = new QToolBar(page);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Act_Insert = gatedAction(PnMain, s("新增"), s("Insert"), [this] { insertOrModify(true); }, s("Ctrl+N"));
    Act_Modify = gatedAction(PnMain, s("修改"), s("Modify"), [this] { insertOrModify(false); }, s("Ctrl+M"));
    Act_Delete = gatedAction(PnMain, s("删除"), s("Delete"), [this] { remove(); }, s("Ctrl+D"));
    QAction *refreshAction = gatedAction(PnMain, s("刷新"), {}, [this] { refresh(); });
    Act_Query = gatedAction(PnMain, s("查询"), s("Query"), [] { WriteLog(s("客户业务管理-客户资料-查询")); }, s("Ctrl+Q"));
    Act_Print = gatedAction(PnMain, s("打印"), s("Print"), [this] { print(); }, s("Ctrl+P"));
    for (QAction *a : {Act_Insert, Act_Modify, Act_Delete, refreshAction, Act_Query, Act_Print})
        bar->addAction(a);
    Act_Insert->setObjectName(s("Act_Insert"));
    Act_Modify->setObjectName(s("Act_Modify"));
    Act_Delete->setObjectName(s("Act_Delete"));
    refreshAction->setObjectName(s("Act_Refresh"));
    Act_Query->setObjectName(s("Act_Query"));
    Act_Print->setObjectName(s("Act_Print"));
    layout->addWidget(bar);
    m_list = new DbGrid(page);
    m_list->setObjectName(s("gridCustomers"));
    m_list->setColumns({GridColumn::centred(s("自动编号"), s("CNo"), 80), GridColumn::centred(s("客户代码"), s("CustId"), 80),
                        GridColumn::text(s("客户名称"), s("CustName"), 140), GridColumn::centred(s("主要联系人"), s("MainLinkman"), 80),
                        GridColumn::text(s("地址"), s("Address"), 200), GridColumn::text(s("客户类型"), s("VocationName"), 80),
                        GridColumn::text(s("客户级别"), s("LevelName"), 80), GridColumn::text(s("客户来源"), s("OriginName"), 80),
                        GridColumn::text(s("工作人员"), s("Operater"), 70)});
    m_list->setDataSource(dmMain->dsCustomers);
    m_list->sortBy(s("CNo"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { syncFolder(true); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    layout->addWidget(m_list, 1);
    return page;
}

QWidget *TfrmCustomers::buildDetailPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    // The customer the related records belong to; the full editor sits above them.
    auto *head = new QHBoxLayout;
    const auto show = [&](const char *label, const char *field, int width) {
        auto *edit = new DbEdit(page);
        edit->setReadOnly(true);
        edit->bind(dmMain->dsCustomers, s(field));
        edit->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), page);
        l->setBuddy(edit);
        head->addWidget(l);
        head->addWidget(edit, width);
    };
    show("客户代码：", "CustId", 1);
    show("客户名称：", "CustName", 2);
    show("主联系人：", "MainLinkman", 1);
    layout->addLayout(head);
    auto *tabs = new QTabWidget(page);
    tabs->setObjectName(s("relatedTabs"));
    for (int t = 0; t < 4; ++t) {
        auto *tab = new QWidget(tabs);
        auto *column = new QVBoxLayout(tab);
        column->setContentsMargins(2, 2, 2, 2);
        auto *bar = new QToolBar(tab);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QHash<QString, QAction *> actions;
        actions[s("new")] = gatedAction(tab, s(Related[t].newCaption), s("Insert"), [this, t] {
            if (m_relatedDialogs.value(t)) {
                Dataset *d = relatedDataset(t);
                if (!d->isActive())
                    d->open();
                d->append();
                m_relatedDialogs[t]();
            }
        });
        actions[s("modify")] = gatedAction(tab, s("修改"), s("Modify"), [this, t] {
            if (m_relatedDialogs.value(t)) {
                relatedDataset(t)->edit();
                m_relatedDialogs[t]();
            }
        });
        actions[s("delete")] = gatedAction(tab, s("删除"), s("Delete"), [this, t] {
            Dataset *d = relatedDataset(t);
            if (!d->isActive() || d->isEmpty())
                return;
            if (t == 0 && refusedBy(s("select * from tblOperates where LinkmanID=:LinkmanID"), {s("LinkmanID")},
                                    d->field(s("LinkmanID")).value(), s("对不起，业务资料有该联系人信息，不能删除！")))
                return;
            if (t == 1 && refusedBy(s("select * from tblOperateDetail where OperateID=:OperateID "), {s("OperateID")},
                                    d->field(s("OperateID")).value(), s("对不起，该业务资料包括业务子项信息，不能删除！")))
                return;
            const char *const questions[] = {"您真的要删除该联系人资料吗？", "您真的要删除该业务资料吗？",
                                             "您真的要删除该员工资料吗？", "您真的要删除该接触机会信息吗？"};
            if (confirmDelete(PnMain, s(questions[t])))
                d->remove();
        });
        actions[s("refresh")] = gatedAction(tab, s("刷新"), {}, [t] {
            Dataset *d = relatedDataset(t);
            d->close();
            d->open();
        });
        actions[s("print")] = gatedAction(tab, s("打印"), s("Print"), [this, t] {
            WriteLog(s(Related[t].printLog));
            ReportService::preview(PnMain, s(Related[t].layout), relatedDataset(t));
        });
        for (const char *k : {"new", "modify", "delete", "refresh", "print"})
            bar->addAction(actions[s(k)]);
        column->addWidget(bar);
        auto *grid = new DbGrid(tab);
        grid->setGroupPanelVisible(false);
        grid->setColumns(relatedColumns(t));
        grid->setDataSource(relatedSource(t));
        grid->sortBy(relatedColumns(t).first().field);
        if (t == 2) {
            connect(grid->view(), &QTreeView::clicked, this, [this] { syncFolder(true); });
            connect(grid, &DbGrid::rowDoubleClicked, this, [this] {
                if (ActionGate::instance()->check(Act_Modify))
                    Act_Modify->trigger();
            });
        }
        column->addWidget(grid, 1);
        tabs->addTab(tab, s(Related[t].caption));
        m_related << grid;
        m_relatedActions << actions;
    }
    layout->addWidget(tabs, 1);
    return page;
}

DbGrid *TfrmCustomers::relatedGrid(int tab) const
{
    return m_related.value(tab);
}

QAction *TfrmCustomers::relatedAction(int tab, const QString &which) const
{
    return m_relatedActions.value(tab).value(which);
}

void TfrmCustomers::setRelatedDialog(int tab, std::function<void()> show)
{
    m_relatedDialogs[tab] = std::move(show);
}

void TfrmCustomers::open()
{
    ErrorHandler::run(PnMain, [this] {
        Dataset *users = dmMain->tblUser;
        users->close();
        users->open();
        const bool sys = IsSystemUser();
        const QString owner = s("sUser='") + FilterExpression::quote(CurrentUserID) + u'\'';
        Dataset *c = dmMain->tblCustomers;
        if (sys) {
            c->setFiltered(false);
            if (!c->isActive())
                c->open();
        } else {
            c->close();
            c->setFiltered(false);
            c->setFilter(owner);
            c->setFiltered(true);
            c->open();
        }
        dmMain->tblOperates->setFiltered(false);
        dmMain->tblOperaters->setFiltered(false);
        for (Dataset *d : std::initializer_list<Dataset *>{
                 dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel, dmMain->tblCustState,
                 dmMain->tblCustOrigin, dmMain->tblFinanceOrgan, dmMain->tblJineng, dmMain->tblTijian, dmMain->tblShusong1,
                 dmMain->tblLinkmans, dmMain->tblOperates, dmMain->tblCustomerState, dmMain->tblCustomerAddInfo,
                 dmMain->tblYuangong1, dmMain->tblOperaters, dmMain->qryCustomers1, dmMain->tblOperates2,
                 dmMain->tblCustomers2})
            if (!d->isActive())
                d->open();
        Dataset *c2 = dmMain->tblCustomers2;
        if (!sys) {
            c2->setFiltered(false);
            c2->setFilter(owner);
            c2->setFiltered(true);
            if (!c2->isActive())
                c2->open();
        }
        syncFolder();
    });
}

void TfrmCustomers::syncFolder(bool fromClick)
{
    QDir().mkpath(FilesRoot);
    if (fromClick)
        FileListRoot = FilesRoot;
    Dataset *c = dmMain->tblCustomers;
    if (!c->isActive() || c->isEmpty())
        return;
    FileListRoot = RecordFolder(FilesRoot, c->field(s("CustId")).asString());
}

void TfrmCustomers::insertOrModify(bool insert)
{
    WriteLog(insert ? s("客户业务管理-客户资料-新增") : s("客户业务管理-客户资料-修改"));
    for (Dataset *d : std::initializer_list<Dataset *>{
             dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel, dmMain->tblCustState, dmMain->tblCustOrigin,
             dmMain->tblOperaters, dmMain->tblFinanceOrgan, dmMain->tblOperateType, dmMain->tblOperateOrigin,
             dmMain->tblOperateState, dmMain->tblLinkmans, dmMain->tblOperates, dmMain->tblCustomerState,
             dmMain->tblCustomerAddInfo})
        if (!d->isActive())
            d->open();
    if (insert)
        dmMain->tblCustomers->append();
    else
        dmMain->tblCustomers->edit();
    m_pages->setCurrentIndex(1);
    if (auto *code = PnMain->findChild<DbEdit *>(s("edCustId")))
        code->setFocus();
    if (!insert)
        syncFolder();
}

bool TfrmCustomers::refusedBy(const QString &sql, const QStringList &params, const QVariant &key, const QString &message)
{
    QueryDataset *q = dmMain->qryPubQuery;
    q->close();
    q->setSql({sql});
    for (const QString &p : params)
        q->setParam(p, key);
    q->open();
    const bool found = !q->isEmpty();
    q->close();
    if (found)
        Messages::warning(PnMain, message);
    return found;
}

void TfrmCustomers::remove()
{
    WriteLog(s("客户业务管理-客户资料-删除"));
    Dataset *c = dmMain->tblCustomers;
    if (!c->isActive() || c->isEmpty())
        return;
    const QVariant code = c->field(s("CustID")).value();
    const struct
    {
        const char *sql;
        QStringList params;
        const char *message;
    } checks[] = {
        {"select * from tblLinkmans where CustID=:CustID", {s("CustID")}, "对不起，该客户有联系人资料，不能删除！"},
        {"select * from tblOperates where CustID=:CustID or LinkCustID=:LinkCustID", {s("CustID"), s("LinkCustID")},
         "对不起，该客户有业务资料，不能删除！"},
        {"select * from tblCustomerState where CustID=:CustID", {s("CustID")}, "对不起，该客户有客户接触信息，不能删除！"},
        {"select * from tblCustomerAddInfo where CustID=:CustID", {s("CustID")}, "对不起，该客户有其他资料信息，不能删除！"},
        {"select * from tblPlan where CustID=:CustID", {s("CustID")}, "对不起，该客户有日程安排，不能删除！"},
    };
    for (const auto &check : checks)
        if (refusedBy(s(check.sql), check.params, code, s(check.message)))
            return;
    if (confirmDelete(PnMain, s("您真的要删除该客户吗？")))
        c->remove();
}

void TfrmCustomers::refresh()
{
    WriteLog(s("客户业务管理-客户资料-刷新"));
    for (Dataset *d : std::initializer_list<Dataset *>{dmMain->tblCustomers, dmMain->tblLinkmans, dmMain->tblOperates,
                                                      dmMain->tblCustomerState, dmMain->tblCustomerAddInfo}) {
        d->close();
        d->open();
    }
}

void TfrmCustomers::print()
{
    WriteLog(s("客户业务管理-客户资料-打印"));
    ReportService::preview(PnMain, s("frCustomers"), dmMain->tblCustomers);
}
