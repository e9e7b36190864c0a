#include "uOperates.h"

#include "ActionGate.h"
#include "DateText.h"
#include "DbGrid.h"
#include "ErrorHandler.h"
#include "ListPage.h"
#include "Messages.h"
#include "OperationForm.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uOperateNewChild.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmOperates *frmOperates = nullptr;

namespace {

const char *const RightCode = "304";

QString shown(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return DateText::shortDate(v.toDateTime().date());
    if (v.typeId() == QMetaType::QDate)
        return DateText::shortDate(v.toDate());
    return v.toString();
}

bool hasRow(Dataset *d)
{
    return d->isActive() && (!d->isEmpty() || d->state() == Dataset::State::Insert);
}

}  // namespace

TfrmOperates::TfrmOperates(QObject *parent) : QObject(parent), m_host(s("业务（合同）资料"))
{
    frmOperates = this;
    setObjectName(s("frmOperates"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("业务（合同）资料列表"));
    m_host.addPage(buildRecordPage(), s("业务（合同）详细资料"));
    connect(m_host.pages(), &QTabWidget::currentChanged, this, [this] { m_form->applyLinkRule(); });

    // The customer tab follows the record: each row move and each change of its customer.
    WindowKit::followCurrentRow(this, dmMain->tblOperates2, {s("CustID")}, {dmMain->tblCustomers2},
                                [this] { followCustomer(); });
}

TfrmOperates::~TfrmOperates()
{
    if (frmOperates == this)
        frmOperates = nullptr;
}

QWidget *TfrmOperates::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow row(page->toolBar(), page, s(RightCode));
    Act_Insert = row.add("Act_Insert", s("新增"), "Insert", "", [this] { insertOrModify(true); });
    Act_Modify = row.add("Act_Modify", s("修改"), "Modify", "", [this] { insertOrModify(false); });
    Act_Delete = row.add("Act_Delete", s("删除"), "Delete", "", [this] { m_form->remove(s("您真的要删除该业务项目吗？")); });
    Act_Refresh = row.add("Act_Refresh", s("刷新"), "", "", [this] { refresh(); });
    Act_Query = row.add("Act_Query", s("查询"), "Query", "", [this] { query(); });
    Act_Print = row.add("Act_Print", s("打印"), "Print", "", [] {
        WindowKit::print(frmOperates->PnMain, s("客户业务管理-业务资料-打印"), s("frOperates"), dmMain->tblOperates2);
    });

    using C = GridColumn;
    m_list = page->grid();
    m_list->setObjectName(s("gridOperates"));
    m_list->setColumns({C::text(s("业务代码"), s("OperateID"), 115), C::text(s("业务标题"), s("OperateTitle"), 150),
                        C::text(s("客户名称"), s("CustName"), 130), C::text(s("业务员"), s("OperaterName"), 70),
                        C::centred(s("建档日期"), s("CreateDate"), 85), C::money(s("合同金额"), s("CompactAmount"), 95),
                        C::text(s("币别"), s("CurrName"), 60), C::centred(s("收支类型"), s("InOrOut"), 65),
                        C::centred(s("签约日期"), s("WriteDate"), 85), C::centred(s("截止日期"), s("EndDate"), 85),
                        C::text(s("业务状态"), s("OperateStateName"), 80)});
    m_list->setDataSource(dmMain->dsOperates2);
    m_list->setGroupPanelVisible(true);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("OperateID"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmOperates::buildRecordPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = ListPage::makeToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    Dataset *o = dmMain->tblOperates2;
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+A", [o] { return o->state() != Dataset::State::Insert; },
                      [this, o] {
                          WriteLog(s("客户业务管理-业务资料-新增"));
                          dmMain->tblLinkmans2->close();
                          dmMain->tblLinkmans2->open();
                          OpenDatasets({o});
                          o->append();
                          m_form->editor(s("OperateID"))->setFocus();
                          m_form->applyLinkRule();
                      });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S",
                       [o] {
                           return o->state() == Dataset::State::Insert
                               || (o->state() == Dataset::State::Edit && HasSubRight(s(RightCode), s("Modify")));
                       },
                       [this] { m_form->save(); });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "", [this] { m_form->remove(s("您真的要删除该业务项目吗？")); });
    Act_Qry = row.add("Act_Qry", s("查询"), "Query", "", [this] { query(); });
    Act_Prt = row.add("Act_Prt", s("打印"), "Print", "", [] {
        WindowKit::print(frmOperates->PnMain, s("客户业务管理-业务资料-打印"), s("frOperateDetail"), dmMain->tblOperateDetail);
    });
    Act_Cancel = row.add("Act_Cancel", s("放弃"), "", "", [o] { return o->isActive() && WindowKit::isEditing(o); },
                         [this, o] {
                             o->cancel();
                             m_form->applyLinkRule();
                         });
    layout->addWidget(bar);
    // The record above, its items and customer below; the user moves the split.
    auto *split = new QSplitter(Qt::Vertical, page);
    split->setObjectName(s("recordSplit"));
    split->setChildrenCollapsible(false);
    auto *formArea = new QScrollArea(split);
    formArea->setFrameShape(QFrame::NoFrame);
    formArea->setWidgetResizable(true);
    m_form = new OperationForm(OperationForm::Host::Window);
    formArea->setWidget(m_form);
    formArea->setMinimumHeight(120);
    m_lower = new QTabWidget(split);
    m_lower->setObjectName(s("lowerTabs"));
    m_lower->addTab(buildItemsTab(), s("业务（合同）过程跟踪"));
    auto *customerArea = new QScrollArea;
    customerArea->setFrameShape(QFrame::NoFrame);
    customerArea->setWidgetResizable(true);
    customerArea->setWidget(buildCustomerTab());
    m_lower->addTab(customerArea, s("客户资料"));
    m_lower->setMinimumHeight(150);
    split->addWidget(formArea);
    split->addWidget(m_lower);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    // The record in full where the height allows it; the lower tabs keep room for a few rows.
    split->setSizes({m_form->sizeHint().height(), 1000});
    layout->addWidget(split, 1);
    return page;
}

QWidget *TfrmOperates::buildItemsTab()
{
    auto *page = new ListPage;
    QToolBar *bar = page->toolBar();
    const auto add = [&](QAction *&action, const char *name, const char *text, std::function<void()> run) {
        action = new QAction(s(text), page);
        action->setObjectName(s(name));
        connect(action, &QAction::triggered, this, [this, run] { ErrorHandler::run(PnMain, run); });
        bar->addAction(action);
    };
    Dataset *items = dmMain->tblOperateDetail;
    add(Act_ItemAdd, "Act_ItemAdd", "新增业务子项", [this] { openItem(true); });
    add(Act_ItemModify, "Act_ItemModify", "修改", [this] { openItem(false); });
    add(Act_ItemDelete, "Act_ItemDelete", "删除", [this, items] {
        if (!items->isActive() || items->isEmpty())
            return;
        if (Messages::confirmDelete(PnMain, s("您真的要删除该业务子项记录吗？")))
            items->remove();
    });
    add(Act_ItemRefresh, "Act_ItemRefresh", "刷新", [items] {
        items->close();
        items->open();
    });
    using C = GridColumn;
    m_items = page->grid();
    m_items->setObjectName(s("gridOperateDetail"));
    m_items->setColumns({C::centred(s("业务详细编号"), s("DetailNo"), 100), C::centred(s("发生日期"), s("OperateDate"), 80),
                         C::text(s("主题"), s("DTitle"), 100), C::centred(s("收支类型"), s("InOut"), 60),
                         C::money(s("单价"), s("Price"), 75),
                         GridColumn{s("数量"), s("Amount"), Qt::AlignRight | Qt::AlignVCenter, 45},
                         C::money(s("总计"), s("DTotal"), 85), C::centred(s("币别"), s("CurrID"), 45),
                         C::money(s("折人民币"), s("RMB"), 85)});
    m_items->setDataSource(dmMain->dsOperateDetail);
    m_items->setGroupPanelVisible(false);
    m_items->sortBy(s("DetailNo"));
    connect(m_items, &DbGrid::rowDoubleClicked, this, [this] { Act_ItemModify->trigger(); });
    return page;
}

QWidget *TfrmOperates::buildCustomerTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    const auto field = [&](const char *label, const char *name, int row, int column, int span = 1) {
        auto *e = new QLineEdit(tab);
        e->setObjectName(s("edCust") + s(name));
        e->setReadOnly(true);
        auto *l = new QLabel(s(label), tab);
        l->setBuddy(e);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(e, row, column * 2 + 1, 1, span * 2 - 1);
        m_customer.insert(s(name).toLower(), e);
        return e;
    };
    field("客户代码：", "CustId", 0, 0);
    grid->addWidget(new QLabel(s("（唯一代码标识）"), tab), 0, 2);
    field("主要成员：", "HomePage", 0, 2);
    field("客户名称：", "CustName", 1, 0, 2);
    field("客户类型：", "VocationName", 1, 2);
    field("客户来源：", "OriginName", 2, 0);
    field("国　 籍：", "CountryName", 2, 1);
    field("所 在 区：", "DistName", 2, 2);
    field("客户级别：", "LevelName", 3, 0);
    field("客户状态：", "StateName", 3, 1);
    field("受聘人数：", "City", 3, 2);
    field("邮政编码：", "PostCode", 4, 0);
    field("建档日期：", "CreateDate", 4, 1);
    field("联系电话：", "Telephone", 4, 2);
    field("传　　真：", "Fax", 5, 0);
    field("详细地址：", "Address", 5, 1, 2);
    QLineEdit *email = field("Email邮箱：", "Email", 6, 0, 2);
    m_mail = new QPushButton(s("发送邮件"), tab);
    m_mail->setObjectName(s("btnCustomerMail"));
    m_mail->setAutoDefault(false);
    grid->addWidget(m_mail, 6, 4);
    field("备　　注：", "Memo", 7, 0, 3);
    grid->setRowStretch(8, 1);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    connect(m_mail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text().trimmed()));
    });
    return tab;
}

void TfrmOperates::followCustomer()
{
    QString custId;
    ErrorHandler::run(PnMain, [&] {
        Dataset *o = dmMain->tblOperates2;
        if (hasRow(o))
            custId = o->field(s("CustID")).asString();
    });
    Dataset *c = dmMain->tblCustomers2;
    bool known = false;
    ErrorHandler::run(PnMain, [&] {
        known = !custId.isEmpty() && c->isActive() && c->lookupValue(s("CustId"), custId, s("CustId")).isValid();
        // A customer another user owns is not shown to a non-system user, filtered or not.
        if (known && !IsSystemUser())
            known = c->lookupValue(s("CustId"), custId, s("SUser")).toString().compare(CurrentUserID, Qt::CaseInsensitive) == 0;
        // The shared customer cursor (and the contacts that follow it) sits on the record's customer.
        if (known && !WindowKit::isEditing(c))
            c->locateKey(s("CustId"), custId);
    });
    for (auto it = m_customer.begin(); it != m_customer.end(); ++it) {
        QString text;
        if (known)
            ErrorHandler::run(PnMain, [&] { text = shown(c->lookupValue(s("CustId"), custId, it.value()->objectName().mid(6))); });
        if (it.value()->text() != text)
            it.value()->setText(text);
    }
}

void TfrmOperates::open()
{
    ErrorHandler::run(PnMain, [this] {
        for (Dataset *d : {static_cast<Dataset *>(dmMain->tblOperaters), static_cast<Dataset *>(dmMain->tblLinkmans2),
                           static_cast<Dataset *>(dmMain->tblCustomers2)})
            if (d->isFiltered())
                d->setFiltered(false);
        OpenDatasets({dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                      dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblFinanceOrgan, dmMain->tblCurrencyRate,
                      dmMain->tblOperateType, dmMain->tblOperateOrigin, dmMain->tblOperateState, dmMain->qryCustomers1,
                      dmMain->tblCustomers, dmMain->tblLinkmans2, dmMain->tblLinkmans, dmMain->tblOperaters,
                      dmMain->tblOperates, dmMain->tblOperateDetail});
        // Row ownership: a system user sees every customer and record, others their own.
        for (Dataset *d : {static_cast<Dataset *>(dmMain->tblCustomers2), static_cast<Dataset *>(dmMain->tblOperates2)}) {
            if (IsSystemUser()) {
                d->setFiltered(false);
                OpenDatasets({d});
            } else {
                d->close();
                d->setFilter(OwnerFilter());
                d->setFiltered(true);
                d->open();
            }
        }
        QDir().mkpath(FilesRoot);
        if (!dmMain->tblOperates2->isEmpty())
            syncFolder();
        m_form->applyLinkRule();
        followCustomer();
    });
}

void TfrmOperates::syncFolder()
{
    QDir().mkpath(FilesRoot);
    Dataset *o = dmMain->tblOperates2;
    if (!hasRow(o))
        return;
    FileListRoot = RecordFolder(FilesRoot, o->field(s("CustID")).asString());
}

void TfrmOperates::insertOrModify(bool insert)
{
    WriteLog(insert ? s("客户业务管理-业务资料-新增") : s("客户业务管理-业务资料-修改"));
    Dataset *o = dmMain->tblOperates2;
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblCustomers2), static_cast<Dataset *>(dmMain->tblLinkmans2)}) {
        d->close();
        d->open();
    }
    OpenDatasets({dmMain->tblOperaters, dmMain->tblOperateState, dmMain->tblOperateType, dmMain->tblOperateOrigin,
                  dmMain->tblOperateDetail, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                  dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblCurrencyRate, dmMain->tblFinanceOrgan,
                  dmMain->tblCustomerState, o});
    if (insert) {
        o->append();
    } else {
        dmMain->tblOperateDetail->close();
        dmMain->tblOperateDetail->open();
        if (!o->isEmpty() && !WindowKit::isEditing(o))
            o->edit();
    }
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("业务管理"));
    }
    m_host.pages()->setCurrentIndex(1);
    m_form->editor(s("OperateID"))->setFocus();
    m_form->applyLinkRule();
    if (!insert && !o->isEmpty())
        syncFolder();
    followCustomer();
}

void TfrmOperates::refresh()
{
    WriteLog(s("客户业务管理-业务资料-刷新"));
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblOperates2), static_cast<Dataset *>(dmMain->tblOperateDetail)}) {
        d->close();
        d->open();
    }
}

void TfrmOperates::query()
{
    WriteLog(s("客户业务管理-业务资料-查询"));
    OpenDatasets({dmMain->tblOperates2});
    if (frmMain)
        frmMain->openWindow(s("TfrmOperateQuery1"), PnMain);
}

bool TfrmOperates::storedRecordReady()
{
    Dataset *o = dmMain->tblOperates2;
    if (!o->isActive() || (o->isEmpty() && o->state() != Dataset::State::Insert))
        return false;
    if (WindowKit::isEditing(o) && !m_form->save())
        return false;
    return !o->isEmpty() && !WindowKit::isEditing(o);
}

void TfrmOperates::openItem(bool insert)
{
    // An item belongs to a stored record: a pending record is saved first.
    if (!storedRecordReady())
        return;
    Dataset *items = dmMain->tblOperateDetail;
    OpenDatasets({dmMain->tblCurrencyRate, items});
    if (insert) {
        items->append();
    } else {
        if (items->isEmpty())
            return;
        if (!WindowKit::isEditing(items))
            items->edit();
    }
    TfrmOperateNewChild::execute(PnMain);
    // The dialog's close resolves its item; none stays pending in the shared dataset.
    if (WindowKit::isEditing(items))
        items->cancel();
}
