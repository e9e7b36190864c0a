#include "uCustomers.h"

#include "ActionGate.h"
#include "CustomerForm.h"
#include "CustomerOtherTab.h"
#include "CustomerRules.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "ErrorHandler.h"
#include "ListPage.h"
#include "RelatedRecordsTab.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uCustomerQuery3.h"
#include "uMain.h"
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

const char *const RightCode = "301";

// The related-record tabs of the detail page, in order: contacts, business records, workers, contact history.
QList<RelatedRecordsTab::Setup> relatedTabs()
{
    using C = GridColumn;
    return {
        {.caption = s("联系人资料"),
         .newCaption = s("新增联系人"),
         .rightCode = s(RightCode),
         .dataset = dmMain->tblLinkmans,
         .source = dmMain->dsLinkmans,
         .columns = {C::text(s("联系人代码"), s("LinkmanID"), 90), C::text(s("姓名"), s("Name"), 70),
                     C::text(s("部门"), s("Department"), 80), C::text(s("职务"), s("Duty"), 70),
                     C::text(s("电话"), s("Telephone"), 100), C::text(s("传真"), s("Fax"), 100),
                     C::text(s("手机"), s("Mobile"), 100), C::text(s("电子邮件"), s("Email"), 140)},
         .layout = s("frCustomerLinkman"),
         .printLog = s("客户业务管理-客户资料-联系人-打印"),
         .deleteQuestion = s("您真的要删除该联系人资料吗？"),
         .deleteChecks = {{s("select * from tblOperates where LinkmanID=:LinkmanID"), {s("LinkmanID")}, s("LinkmanID"),
                           s("对不起，业务资料有该联系人信息，不能删除！")}},
         .masterKeyField = s("CustId")},
        {.caption = s("业务（合同）资料"),
         .newCaption = s("新增业务"),
         .rightCode = s(RightCode),
         .dataset = dmMain->tblOperates,
         .source = dmMain->dsOperates,
         .columns = {C::text(s("业务编码"), s("OperateID"), 90), C::text(s("业务标题"), s("OperateTitle"), 130),
                     C::text(s("相关客户"), s("CustName"), 100), C::text(s("建档时间"), s("CreateDate"), 85),
                     C::text(s("截止日期"), s("EndDate"), 85), C::money(s("合同金额"), s("CompactAmount"), 90),
                     C::text(s("联系人"), s("LinkmanName"), 70), C::text(s("业务员"), s("OperaterName"), 70)},
         .layout = s("frCustomerOperate"),
         .printLog = s("客户业务管理-客户资料-业务资料-打印"),
         .deleteQuestion = s("您真的要删除该业务资料吗？"),
         .deleteChecks = {{s("select * from tblOperateDetail where OperateID=:OperateID "), {s("OperateID")},
                           s("OperateID"), s("对不起，该业务资料包括业务子项信息，不能删除！")}},
         .masterKeyField = s("CustId")},
        {.caption = s("受聘员工"),
         .newCaption = s("新增员工"),
         .rightCode = s(RightCode),
         .dataset = dmMain->tblYuangong1,
         .source = dmMain->dsYuangong1,
         .columns = {C::text(s("员工编号"), s("YuangongID"), 80), C::text(s("姓名"), s("Name"), 70),
                     C::text(s("称呼"), s("NickName"), 60), C::centred(s("性别"), s("Sex"), 45),
                     C::text(s("部门"), s("Department"), 80), C::text(s("工种"), s("GongzhongName"), 70),
                     C::text(s("健康状况"), s("Health"), 70), C::text(s("职务"), s("Duty"), 70),
                     C::text(s("籍贯"), s("Native"), 120)},
         .hiddenFields = {s("Health")},
         .layout = s("frCustomerYuangong"),
         .printLog = s("客户业务管理-客户资料-员工资料-打印"),
         .deleteQuestion = s("您真的要删除该员工资料吗？")},
        {.caption = s("客户接触"),
         .newCaption = s("新增接触"),
         .rightCode = s(RightCode),
         .dataset = dmMain->tblCustomerState,
         .source = dmMain->dsCustomerState,
         .columns = {C::text(s("联系日期"), s("LinkDate"), 85), C::text(s("联系时间"), s("LinkTime"), 70),
                     C::text(s("联系人"), s("Linkman"), 70), C::text(s("职务"), s("Duty"), 60),
                     C::text(s("联系方式"), s("LinkType"), 90), C::text(s("联系内容"), s("LinkContent"), 150),
                     C::money(s("费用开销"), s("Charge"), 80), C::text(s("地点"), s("Address"), 100),
                     C::text(s("备注"), s("Memo"), 120)},
         .layout = s("frCustomerState"),
         .printLog = s("客户业务管理-客户资料-客户接触-打印"),
         .deleteQuestion = s("您真的要删除该接触机会信息吗？"),
         .masterKeyField = s("CustId")},
    };
}

}  // namespace

TfrmCustomers::TfrmCustomers(QObject *parent) : QObject(parent), m_host(s("客户资料"))
{
    frmCustomers = this;
    setObjectName(s("frmCustomers"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("客户资料列表"));
    m_host.addPage(buildDetailPage(), s("客户详细资料"));
}

TfrmCustomers::~TfrmCustomers()
{
    if (frmCustomers == this)
        frmCustomers = nullptr;
}

QWidget *TfrmCustomers::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow listRow(page->toolBar(), PnMain, s(RightCode));
    Act_Insert = listRow.add("Act_Insert", "新增", "Insert", "Ctrl+N", [this] { insertOrModify(true); });
    Act_Modify = listRow.add("Act_Modify", "修改", "Modify", "Ctrl+M", [this] { insertOrModify(false); });
    Act_Delete = listRow.add("Act_Delete", "删除", "Delete", "Ctrl+D", [this] { remove(); });
    listRow.add("Act_Refresh", "刷新", "", "", [this] { refresh(); });
    Act_Query = listRow.add("Act_Query", "查询", "Query", "Ctrl+Q", [this] {
        WriteLog(s("客户业务管理-客户资料-查询"));
        TfrmCustomerQuery3::execute(PnMain);
    });
    Act_Print = listRow.add("Act_Print", "打印", "Print", "Ctrl+P", [this] { print(); });
    m_list = page->grid();
    m_list->setObjectName(s("gridCustomers"));
    m_list->setColumns({GridColumn::centred(s("自动编号"), s("CNo"), 80), GridColumn::centred(s("客户代码"), s("CustId"), 80),
                        GridColumn::text(s("客户名称"), s("CustName"), 140), GridColumn::centred(s("主要联系人"), s("MainLinkman"), 80),
                        GridColumn::text(s("地址"), s("Address"), 200), GridColumn::text(s("客户类型"), s("VocationName"), 80),
                        GridColumn::text(s("客户级别"), s("LevelName"), 80), GridColumn::text(s("客户来源"), s("OriginName"), 80),
                        GridColumn::text(s("工作人员"), s("Operater"), 70)});
    m_list->setDataSource(dmMain->dsCustomers);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("CNo"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { syncFolder(true); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmCustomers::buildDetailPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    // The current customer's editor with its own toolbar, the related records below it.
    auto *bar = ListPage::makeToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    Dataset *c = dmMain->tblCustomers;
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [c] { return c->state() != Dataset::State::Insert; }, [this, c] {
        WriteLog(s("客户业务管理-客户资料-新增"));
        c->append();
        m_form->codeEdit()->setFocus();
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S",
                   [c] {
                       return c->state() == Dataset::State::Insert
                           || (c->state() == Dataset::State::Edit && HasSubRight(s(RightCode), s("Modify")));
                   },
                   [this] {
                       WriteLog(s("客户业务管理-客户资料-保存"));
                       m_form->save(true);
                   });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this] { remove(); });
    Act_Prt = row.add("Act_Prt", "打印", "Print", "", {}, [this, c] {
        WindowKit::print(PnMain, s("客户业务管理-客户资料-打印"), s("frCustomerDetail"), c);
    });
    Act_Cancel = row.add("Act_Cancel", "放弃", "", "", [c] { return c->isActive() && WindowKit::isEditing(c); }, [c] {
        if (WindowKit::isEditing(c))
            c->cancel();
    });
    layout->addWidget(bar);
    m_form = new CustomerForm(dmMain->dsCustomers, page);
    layout->addWidget(m_form);
    auto *tabs = new QTabWidget(page);
    tabs->setObjectName(s("relatedTabs"));
    for (const RelatedRecordsTab::Setup &setup : relatedTabs()) {
        auto *tab = new RelatedRecordsTab(setup, tabs);
        tabs->addTab(tab, setup.caption);
        m_related << tab;
    }
    m_other = new CustomerOtherTab(tabs);
    tabs->addTab(m_other, s("其他资料"));
    // A placed worker's row leads to its customer's folder and editor, as the list does.
    DbGrid *workers = m_related[2]->grid();
    connect(workers->view(), &QTreeView::clicked, this, [this] { syncFolder(true); });
    connect(workers, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    layout->addWidget(tabs, 1);
    return page;
}

DbGrid *TfrmCustomers::relatedGrid(int tab) const
{
    RelatedRecordsTab *t = m_related.value(tab);
    return t ? t->grid() : nullptr;
}

QAction *TfrmCustomers::relatedAction(int tab, const QString &which) const
{
    RelatedRecordsTab *t = m_related.value(tab);
    return t ? t->action(which) : nullptr;
}

void TfrmCustomers::setRelatedDialog(int tab, std::function<void()> show)
{
    if (RelatedRecordsTab *t = m_related.value(tab))
        t->setRelatedDialog(std::move(show));
}

void TfrmCustomers::open()
{
    ErrorHandler::run(PnMain, [this] {
        Dataset *users = dmMain->tblUser;
        users->close();
        users->open();
        const bool sys = IsSystemUser();
        Dataset *c = dmMain->tblCustomers;
        if (sys) {
            c->setFiltered(false);
            if (!c->isActive())
                c->open();
        } else {
            c->close();
            c->setFiltered(false);
            c->setFilter(OwnerFilter());
            c->setFiltered(true);
            c->open();
        }
        dmMain->tblOperates->setFiltered(false);
        dmMain->tblOperaters->setFiltered(false);
        OpenDatasets({dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                      dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblFinanceOrgan, dmMain->tblJineng,
                      dmMain->tblTijian, dmMain->tblShusong1, dmMain->tblLinkmans, dmMain->tblOperates,
                      dmMain->tblCustomerState, dmMain->tblCustomerAddInfo, dmMain->tblYuangong1, dmMain->tblOperaters,
                      dmMain->qryCustomers1, dmMain->tblOperates2, dmMain->tblCustomers2});
        Dataset *c2 = dmMain->tblCustomers2;
        if (!sys) {
            c2->setFiltered(false);
            c2->setFilter(OwnerFilter());
            c2->setFiltered(true);
            OpenDatasets({c2});
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
    OpenDatasets({dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel, dmMain->tblCustState,
                  dmMain->tblCustOrigin, dmMain->tblOperaters, dmMain->tblFinanceOrgan, dmMain->tblOperateType,
                  dmMain->tblOperateOrigin, dmMain->tblOperateState, dmMain->tblLinkmans, dmMain->tblOperates,
                  dmMain->tblCustomerState, dmMain->tblCustomerAddInfo});
    if (insert)
        dmMain->tblCustomers->append();
    else
        dmMain->tblCustomers->edit();
    // The editor gets the room of the navigation panel; the business tab stays selected for later.
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("业务管理"));
    }
    m_host.pages()->setCurrentIndex(1);
    m_form->codeEdit()->setFocus();
    if (!insert)
        syncFolder();
}

void TfrmCustomers::remove()
{
    m_form->remove();
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
    WindowKit::print(PnMain, s("客户业务管理-客户资料-打印"), s("frCustomers"), dmMain->tblCustomers);
}
