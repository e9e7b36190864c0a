#include "uLinkman.h"

#include "ActionGate.h"
#include "ContactForm.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "ListPage.h"
#include "Messages.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uLinkmanQuery1.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmLinkman *frmLinkman = nullptr;

namespace {

const char *const RightCode = "302";

// Every contact; a non-system user's list adds the owner line.
QStringList contactSql(bool ownOnly)
{
    QStringList lines{s("select * from tblLinkmans ")};
    if (ownOnly)
        lines << s("where SUser=:SUser");
    return lines;
}

}  // namespace

TfrmLinkman::TfrmLinkman(QObject *parent) : QObject(parent), m_host(s("联系人资料"))
{
    frmLinkman = this;
    setObjectName(s("frmLinkman"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("联系人资料列表"));
    m_host.addPage(buildDetailPage(), s("联系人详细资料"));

    // The customer tab follows the contact: each row move and each change of its customer.
    WindowKit::followCurrentRow(this, dmMain->qryLinkmans1, {s("CustID")}, {dmMain->tblCustomers2},
                                [this] { followCustomer(); });
}

TfrmLinkman::~TfrmLinkman()
{
    if (frmLinkman == this)
        frmLinkman = nullptr;
}

QWidget *TfrmLinkman::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow row(page->toolBar(), PnMain, s(RightCode));
    Act_Insert = row.add("Act_Insert", "新增", "Insert", "Ctrl+N", [this] { insertOrModify(true); });
    Act_Modify = row.add("Act_Modify", "修改", "Modify", "Ctrl+M", [this] { insertOrModify(false); });
    Act_Delete = row.add("Act_Delete", "删除", "Delete", "Ctrl+D", [this] { m_form->remove(s("您真的要删除该联系人吗？")); });
    Act_Refresh = row.add("Act_Refresh", "刷新", "", "", [this] { refresh(); });
    Act_Query = row.add("Act_Query", "查询", "Query", "Ctrl+Q", [this] {
        WriteLog(s("客户业务管理-联系人资料-查询"));
        TfrmLinkmanQuery1::execute(PnMain);
    });
    Act_Print = row.add("Act_Print", "打印", "Print", "Ctrl+P", [this] {
        WindowKit::print(PnMain, s("客户业务管理-联系人资料-打印"), s("frLinkmans"), dmMain->qryLinkmans1);
    });
    Act_Export = row.add("Act_Export", "Email地址导出", "", "", [this] { exportAddresses(); });

    m_list = page->grid();
    m_list->setObjectName(s("gridLinkmans"));
    GridColumn department = GridColumn::text(s("工作单位"), s("Department"), 100);
    department.hidden = true;
    m_list->setColumns({GridColumn::centred(s("自动编号"), s("LNo"), 70), GridColumn::text(s("联系人代码"), s("LinkmanID"), 90),
                        GridColumn::text(s("姓名"), s("Name"), 80), GridColumn::text(s("称呼"), s("NickName"), 70),
                        GridColumn::text(s("客户名称"), s("CustName"), 160), department,
                        GridColumn::text(s("职务"), s("Duty"), 70), GridColumn::text(s("手机"), s("Mobile"), 110),
                        GridColumn::text(s("联系电话"), s("Telephone"), 110),
                        GridColumn::check(s("是否主要联系人"), s("Main"), 100)});
    m_list->setDataSource(dmMain->dsLinkmans1);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("LNo"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmLinkman::buildDetailPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = new QToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Dataset *q = dmMain->qryLinkmans1;
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [q] { return q->state() != Dataset::State::Insert; }, [this, q] {
        WriteLog(s("客户业务管理-联系人资料-新增"));
        OpenDatasets({q});
        q->append();
        m_form->codeEdit()->setFocus();
    });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this] { m_form->remove(s("您真的要删除该联系人吗？")); });
    Act_Prt = row.add("Act_Prt", "打印", "Print", "", {}, [this, q] {
        WindowKit::print(PnMain, s("客户业务管理-联系人资料-打印"), s("frLinkmansDetail"), q);
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S",
                       [q] {
                           return q->state() == Dataset::State::Insert
                               || (q->state() == Dataset::State::Edit && HasSubRight(s(RightCode), s("Modify")));
                       },
                       [this] {
                           WriteLog(s("客户业务管理-联系人资料-保存"));
                           m_form->save(true, s("请输入联系人姓名！"));
                       });
    Act_Cancel = row.add("Act_Cancel", "放弃", "", "", [q] { return q->isActive() && WindowKit::isEditing(q); }, [q] {
        if (WindowKit::isEditing(q))
            q->cancel();
    });
    layout->addWidget(bar);
    m_form = new ContactForm(dmMain->dsLinkmans1, ContactForm::Host::Window, page);
    layout->addWidget(m_form);
    auto *tabs = new QTabWidget(page);
    tabs->setObjectName(s("customerTabs"));
    tabs->addTab(buildCustomerTab(), s("客户资料"));
    layout->addWidget(tabs, 1);
    return page;
}

QWidget *TfrmLinkman::buildCustomerTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const auto field = [&](const char *label, const char *name, int row, int column, int span = 1) {
        auto *e = new DbEdit(tab);
        e->setObjectName(s("edCust") + s(name));
        e->setReadOnly(true);
        e->bind(dmMain->dsCustomers2, s(name));
        auto *l = new QLabel(s(label), tab);
        l->setBuddy(e);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(e, row, column * 2 + 1, 1, span * 2 - 1);
        m_customerEdits << e;
        return e;
    };
    field("客户代码：", "CustId", 0, 0);
    grid->addWidget(new QLabel(s("（唯一代码标识）"), tab), 0, 2);
    field("主要成员：", "HomePage", 0, 2);
    field("客户名称：", "CustName", 1, 0, 2);
    field("客户类型：", "VocationName", 1, 2);
    field("客户来源：", "OriginName", 2, 0);
    field("客户状态：", "StateName", 2, 1);
    field("客户级别：", "LevelName", 2, 2);
    field("所 在 区：", "DistName", 3, 0);
    field("国　 籍：", "CountryName", 3, 1);
    field("受聘人数：", "City", 3, 2);
    field("邮政编码：", "PostCode", 4, 0);
    field("建档日期：", "CreateDate", 4, 1);
    field("传　　真：", "Fax", 4, 2);
    field("联系电话：", "Telephone", 5, 0);
    field("详细地址：", "Address", 5, 1, 2);
    DbEdit *email = field("Email邮箱：", "Email", 6, 0, 2);
    m_customerMail = new QPushButton(s("发送邮件"), tab);
    m_customerMail->setObjectName(s("btnCustomerMail"));
    m_customerMail->setAutoDefault(false);
    grid->addWidget(m_customerMail, 6, 4);
    field("备　　注：", "Memo", 7, 0, 3);
    grid->setRowStretch(8, 1);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    connect(m_customerMail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text()));
    });
    return tab;
}

DbEdit *TfrmLinkman::customerEdit(const QString &field) const
{
    for (DbEdit *e : m_customerEdits)
        if (e->link()->fieldName().compare(field, Qt::CaseInsensitive) == 0)
            return e;
    return nullptr;
}

void TfrmLinkman::followCustomer()
{
    bool shown = false;
    ErrorHandler::run(PnMain, [&] {
        Dataset *q = dmMain->qryLinkmans1;
        Dataset *c2 = dmMain->tblCustomers2;
        // A customer being edited elsewhere is not moved (a move would post it).
        if (!q->isActive() || q->isEmpty() || !c2->isActive() || WindowKit::isEditing(c2))
            return;
        const QVariant code = q->field(s("CustID")).value();
        if (code.isNull() || code.toString().isEmpty())
            return;
        shown = c2->locateKey(s("CustId"), code);
    });
    showCustomer(shown);
}

void TfrmLinkman::showCustomer(bool shown)
{
    if (shown == m_customerShown)
        return;
    m_customerShown = shown;
    // Unbound edits show nothing: never another customer's record.
    for (DbEdit *e : std::as_const(m_customerEdits))
        e->bind(shown ? dmMain->dsCustomers2 : nullptr, e->link()->fieldName());
    m_customerMail->setEnabled(shown);
}

void TfrmLinkman::open()
{
    ErrorHandler::run(PnMain, [this] {
        Dataset *c2 = dmMain->tblCustomers2;
        c2->setFiltered(false);
        OpenDatasets({dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                      dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblFinanceOrgan, dmMain->qryCustomers1,
                      dmMain->tblOperateType, dmMain->tblOperateOrigin, dmMain->tblOperateState, dmMain->tblLinkmans2,
                      dmMain->tblLinkmans, dmMain->tblOperaters, dmMain->tblOperates2, dmMain->tblOperates});
        Dataset *users = dmMain->tblUser;
        users->close();
        users->open();
        const bool sys = IsSystemUser();
        if (sys) {
            c2->setFiltered(false);
            OpenDatasets({c2});
        } else {
            c2->close();
            c2->setFilter(OwnerFilter());
            c2->setFiltered(true);
            c2->open();
        }
        QueryDataset *q = dmMain->qryLinkmans1;
        if (sys) {
            q->setFiltered(false);
            // Whatever statement it holds stays: a system user's reopening keeps the last query.
            OpenDatasets({q});
        } else {
            q->close();
            q->setSql(contactSql(true));
            q->setParam(s("SUser"), CurrentUserID);
            q->open();
        }
        followCustomer();
        syncFolder();
    });
}

void TfrmLinkman::syncFolder()
{
    QDir().mkpath(FilesRoot);
    Dataset *q = dmMain->qryLinkmans1;
    if (!q->isActive() || q->isEmpty())
        return;
    FileListRoot = RecordFolder(FilesRoot, q->field(s("CustID")).asString());
}

void TfrmLinkman::insertOrModify(bool insert)
{
    WriteLog(insert ? s("客户业务管理-联系人资料-新增") : s("客户业务管理-联系人资料-修改"));
    OpenDatasets({dmMain->tblCustomers2, dmMain->qryLinkmans1});
    if (insert)
        dmMain->qryLinkmans1->append();
    else
        dmMain->qryLinkmans1->edit();
    // The editor gets the room of the navigation panel.
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("业务管理"));
    }
    m_host.pages()->setCurrentIndex(1);
    m_form->codeEdit()->setFocus();
    if (!insert)
        syncFolder();
}

void TfrmLinkman::refresh()
{
    WriteLog(s("客户业务管理-联系人资料-刷新"));
    QueryDataset *q = dmMain->qryLinkmans1;
    q->close();
    Dataset *users = dmMain->tblUser;
    users->close();
    users->open();
    const bool ownOnly = !IsSystemUser();
    q->setSql(contactSql(ownOnly));
    if (ownOnly)
        q->setParam(s("SUser"), CurrentUserID);
    q->open();
}

void TfrmLinkman::exportAddresses()
{
    const QString folder = AppDir + s("Email");
    QDir().mkpath(folder);
    const QString path = Dialogs::saveFile(PnMain, s("Email地址导出"), folder + s("/Email.txt"), s("文本文件(*.txt)"));
    if (path.isEmpty())
        return;
    QString target = path;
    if (QFileInfo(target).suffix().isEmpty())
        target += s(".txt");
    Dataset *q = dmMain->qryLinkmans1;
    OpenDatasets({q});
    // Rows in the dataset's order (not the grid's sort); the list ends on its last row.
    QSaveFile file(target);
    const auto fail = [&] {
        file.cancelWriting();
        Messages::error(PnMain, s("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(target), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly)) {
        fail();
        return;
    }
    QStringEncoder encode(QStringConverter::System);
    const int email = q->fieldIndex(s("Email"));
    const int rows = q->recordCount();
    QByteArray out;
    for (int r = 0; r < rows; ++r) {
        const QString address = q->textAt(r, email);
        if (address.isEmpty())
            continue;
        out += encode(address + u'\n');
        if (out.size() > (1 << 20)) {
            if (file.write(out) != out.size()) {
                fail();
                return;
            }
            out.clear();
        }
    }
    q->last();
    if (file.write(out) != out.size() || !file.commit()) {
        fail();
        return;
    }
    Messages::information(PnMain, s("Email地址列表导出成功！"));
}
