#include "uYuangong.h"

#include "ActionGate.h"
#include "CustomerPick.h"
#include "DateText.h"
#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbHyperlinkEdit.h"
#include "DbLookupCombo.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbPhoto.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "ListPage.h"
#include "Messages.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uImage.h"
#include "uMain.h"
#include "uPublic.h"
#include "uYuangongQuery.h"
#include "WorkerForm.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmYuangong *frmYuangong = nullptr;

namespace {

const char *const RightCode = "601";

// Files/Yuangong/, made when missing; the file tool lists it.
QString workerRoot()
{
    const QString root = FilesRoot + s("Yuangong/");
    QDir().mkpath(root);
    FileListRoot = root;
    return root;
}

QString shown(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return DateText::shortDate(v.toDateTime().date());
    if (v.typeId() == QMetaType::QDate)
        return DateText::shortDate(v.toDate());
    return v.toString();
}

QLineEdit *readOnlyEdit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

}  // namespace

TfrmYuangong::TfrmYuangong(QObject *parent) : QObject(parent), m_host(s("员工档案"))
{
    frmYuangong = this;
    setObjectName(s("frmYuangong"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("员工档案列表"));
    m_host.addPage(buildDetailPage(), s("员工档案详细档案"));

    // The lower tabs follow the worker: each row move and each change of its customer or unit.
    WindowKit::followCurrentRow(this, dmMain->tblYuangong, {s("CustID"), s("ShusongID")},
                                {dmMain->tblCustomers2, dmMain->tblShusong1}, [this] { followRelated(); });
}

TfrmYuangong::~TfrmYuangong()
{
    if (frmYuangong == this)
        frmYuangong = nullptr;
}

QWidget *TfrmYuangong::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow row(page->toolBar(), PnMain, s(RightCode));
    Act_Insert = row.add("Act_Insert", s("新增"), "Insert", "Ctrl+N", [this] { insertOrModify(true); });
    Act_Modify = row.add("Act_Modify", s("修改"), "Modify", "Ctrl+M", [this] { insertOrModify(false); });
    Act_Delete = row.add("Act_Delete", s("删除"), "Delete", "Ctrl+D", [this] { remove(); });
    Act_Refresh = row.add("Act_Refresh", s("刷新"), "", "", [this] { refresh(); });
    Act_Query = row.add("Act_Query", s("查询"), "Query", "Ctrl+Q", [this] { query(); });
    Act_Print = row.add("Act_Print", s("打印"), "Print", "Ctrl+P", [this] { print(); });

    m_list = page->grid();
    m_list->setObjectName(s("gridYuangong"));
    m_list->setColumns({GridColumn::centred(s("员工编号"), s("YuangongID"), 80), GridColumn::text(s("姓名"), s("Name"), 80),
                        GridColumn::text(s("称呼"), s("NickName"), 70), GridColumn::text(s("性别"), s("Sex"), 50),
                        GridColumn::text(s("部门"), s("Department"), 90),
                        GridColumn::text(s("工种"), s("GongzhongName"), 80),
                        GridColumn::text(s("健康状况"), s("Health"), 80), GridColumn::text(s("职务"), s("Duty"), 80),
                        GridColumn::text(s("籍贯"), s("Native"), 160)});
    m_list->setDataSource(dmMain->dsYuangong);
    m_list->setGroupPanelVisible(true);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("YuangongID"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmYuangong::buildDetailPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *top = new QHBoxLayout;
    auto *bar = ListPage::makeToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    Dataset *w = dmMain->tblYuangong;
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "", [this] { insertOrModify(true); });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", [w] { return w->isActive() && WindowKit::isEditing(w); },
                       [this] {
                           WriteLog(s("内部管理-员工档案-保存"));
                           save();
                       });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "", [this] { remove(); });
    Act_Prt = row.add("Act_Prt", s("打印"), "Print", "", [this] { print(); });
    Act_Qry = row.add("Act_Qry", s("查询"), "", "", [this] { query(); });
    top->addWidget(bar);
    auto *navigator = new DbNavigator(page);
    navigator->setObjectName(s("navYuangong"));
    navigator->bind(dmMain->dsYuangong);
    top->addWidget(navigator);
    top->addStretch(1);
    layout->addLayout(top);

    m_form = new WorkerForm(dmMain->dsYuangong, WorkerForm::Host::Window, page);
    layout->addWidget(m_form);
    m_photo = m_form->photo();
    m_zoom = m_form->zoomButton();
    m_pick = m_form->pickButton();
    for (QWidget *edit : m_form->enterOrder())
        m_editors.insert(edit->objectName().mid(2).toLower(), edit);
    m_order = m_form->enterOrder();

    m_lower = new QTabWidget(page);
    m_lower->setObjectName(s("lowerTabs"));
    m_lower->addTab(buildStatusTab(), s("员工状态信息"));
    m_lower->addTab(buildCustomerTab(), s("受聘客户信息"));
    m_lower->addTab(buildUnitTab(), s("输送单位信息"));
    layout->addWidget(m_lower, 1);

    connect(m_zoom, &QPushButton::clicked, this, [this] {
        PhotoViewCaller = s("Yuangong");
        ErrorHandler::run(PnMain, [this] { TfrmImage::execute(PnMain); });
    });
    // The picker writes the chosen customer into the worker; the schedule's entry is left alone.
    connect(m_pick, &QPushButton::clicked, this, [this] {
        CustomerPickCaller = s("受聘客户");
        ErrorHandler::run(PnMain, [this] { CustomerPickDialog::execute(PnMain); });
    });
    return page;
}

QWidget *TfrmYuangong::buildStatusTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    DataSource *src = dmMain->dsYuangong;
    auto *in = new DbDateEdit(tab);
    in->setObjectName(s("edInTime"));
    in->bind(src, s("InTime"));
    auto *state = new DbComboBox(tab);
    state->setObjectName(s("edState"));
    state->addItems({s("在职"), s("离职")});
    state->bind(src, s("State"));
    auto *out = new DbDateEdit(tab);
    out->setObjectName(s("edOutTime"));
    out->bind(src, s("OutTime"));
    auto *reason = new DbMemo(tab);
    reason->setObjectName(s("edOutReason"));
    reason->bind(src, s("OutReason"));
    const QList<std::pair<const char *, QWidget *>> fields{
        {"入职时间：", in}, {"在职状态：", state}, {"离职时间：", out}, {"离职原因：", reason}};
    int r = 0;
    for (const auto &[label, w] : fields) {
        auto *l = new QLabel(s(label), tab);
        l->setBuddy(w);
        grid->addWidget(l, r, 0);
        grid->addWidget(w, r, 1);
        m_editors.insert(w->objectName().mid(2).toLower(), w);
        ++r;
    }
    FocusChain::install({in, state, out, reason}, tab);
    m_stateModify = new QPushButton(s("修改"), tab);
    m_stateModify->setObjectName(s("btnStateModify"));
    m_stateSave = new QPushButton(s("保存"), tab);
    m_stateSave->setObjectName(s("btnStateSave"));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_stateModify);
    buttons->addWidget(m_stateSave);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(1, 1);
    connect(m_stateModify, &QPushButton::clicked, this, [this, in] {
        ErrorHandler::run(PnMain, [&] {
            Dataset *w = dmMain->tblYuangong;
            OpenDatasets({w});
            if (!WindowKit::isEditing(w))
                w->edit();
            in->setFocus();
        });
    });
    connect(m_stateSave, &QPushButton::clicked, this, [this] { saveStatus(); });
    return tab;
}

QWidget *TfrmYuangong::buildCustomerTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    const auto field = [&](const char *label, const char *name, int row, int column, int span = 1) {
        QLineEdit *e = readOnlyEdit(tab, s("edCust") + s(name));
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
    auto *mail = new QPushButton(s("发送邮件"), tab);
    mail->setObjectName(s("btnCustomerMail"));
    mail->setAutoDefault(false);
    grid->addWidget(mail, 6, 4);
    field("备　　注：", "Memo", 7, 0, 3);
    grid->setRowStretch(8, 1);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    connect(mail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text().trimmed()));
    });
    return tab;
}

QWidget *TfrmYuangong::buildUnitTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    const auto field = [&](const char *label, const char *name, int row, int column, int span = 1) {
        QLineEdit *e = readOnlyEdit(tab, s("edUnit") + s(name));
        auto *l = new QLabel(s(label), tab);
        l->setBuddy(e);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(e, row, column * 2 + 1, 1, span * 2 - 1);
        m_unit.insert(s(name).toLower(), e);
        return e;
    };
    field("单位编号：", "ShusongID", 0, 0);
    field("单位名称：", "ShusongName", 0, 1, 2);
    field("负 责 人：", "Manager", 1, 0);
    field("职   务：", "Duty", 1, 1);
    field("身份证号：", "ID", 1, 2);
    field("电    话：", "Telephone", 2, 0);
    field("传   真：", "Fax", 2, 1);
    field("手    机：", "Mobile", 2, 2);
    QLineEdit *home = field("主页：", "Homepage", 3, 0, 2);
    auto *openHome = new QPushButton(s("打开..."), tab);
    openHome->setObjectName(s("btnUnitHome"));
    openHome->setAutoDefault(false);
    grid->addWidget(openHome, 3, 4);
    QLineEdit *email = field("Email：", "Email", 4, 0, 2);
    auto *mail = new QPushButton(s("发送邮件"), tab);
    mail->setObjectName(s("btnUnitMail"));
    mail->setAutoDefault(false);
    grid->addWidget(mail, 4, 4);
    field("备注：", "Memo", 5, 0, 3);
    grid->setRowStretch(6, 1);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    connect(openHome, &QPushButton::clicked, this, [home] {
        if (!home->text().trimmed().isEmpty())
            Shell::open(home->text().trimmed());
    });
    connect(mail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text().trimmed()));
    });
    return tab;
}

void TfrmYuangong::followRelated()
{
    QString custId, unitId;
    ErrorHandler::run(PnMain, [&] {
        Dataset *w = dmMain->tblYuangong;
        if (w->isActive() && !w->isEmpty()) {
            custId = w->field(s("CustID")).asString();
            unitId = w->field(s("ShusongID")).asString();
        }
    });
    // Read through the lookup index: the shared cursors of other windows stay where they are.
    // A customer another user owns is not shown to a non-system user, filtered or not.
    const bool everyOwner = IsSystemUser();
    const auto fill = [this, everyOwner](Dataset *d, const QString &keyField, const QString &key,
                                         const QHash<QString, QLineEdit *> &edits) {
        bool known = false;
        ErrorHandler::run(PnMain, [&] {
            known = !key.isEmpty() && d->isActive() && d->lookupValue(keyField, key, keyField).isValid();
            if (known && d == dmMain->tblCustomers2 && !everyOwner)
                known = d->lookupValue(keyField, key, s("SUser")).toString().compare(CurrentUserID,
                                                                                     Qt::CaseInsensitive) == 0;
        });
        for (auto it = edits.begin(); it != edits.end(); ++it) {
            QString text;
            if (known)
                ErrorHandler::run(PnMain, [&] { text = shown(d->lookupValue(keyField, key, it.value()->objectName().mid(6))); });
            if (it.value()->text() != text)
                it.value()->setText(text);
        }
    };
    fill(dmMain->tblCustomers2, s("CustId"), custId, m_customer);
    fill(dmMain->tblShusong1, s("ShusongID"), unitId, m_unit);
}

void TfrmYuangong::open()
{
    ErrorHandler::run(PnMain, [this] {
        OpenDatasets({dmMain->tblDepartment, dmMain->tblGongzhong, dmMain->qryCustomers1, dmMain->tblCustomers2,
                      dmMain->tblTijian, dmMain->tblJineng});
        // A pending worker is stored first; a refusal leaves it in edit and the list as it was.
        if (postPending()) {
            Dataset *w = dmMain->tblYuangong;
            w->close();
            w->open();
        }
        // Units added in the sending-unit window show in the drop-downs and names at once.
        Dataset *units = dmMain->tblShusong1;
        if (!WindowKit::isEditing(units)) {
            units->close();
            units->open();
        }
        workerRoot();
        followRelated();
    });
}

bool TfrmYuangong::postPending()
{
    Dataset *w = dmMain->tblYuangong;
    if (!w->isActive() || !WindowKit::isEditing(w))
        return true;
    return ErrorHandler::run(PnMain, [w] { w->post(); });
}

void TfrmYuangong::insertOrModify(bool insert)
{
    WriteLog(insert ? s("内部管理-员工资料-新增") : s("内部管理-员工资料-修改"));
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    if (insert)
        w->append();
    else if (!WindowKit::isEditing(w))
        w->edit();
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("内部管理"));
    }
    if (!insert)
        workerRoot();
    m_host.pages()->setCurrentIndex(1);
    editor(s("YuangongID"))->setFocus();
}

bool TfrmYuangong::save()
{
    if (!m_form->check())
        return false;
    workerRoot();
    Dataset *w = dmMain->tblYuangong;
    if (!w->isActive() || !WindowKit::isEditing(w))
        return true;
    return ErrorHandler::run(PnMain, [w] { w->post(); });
}

bool TfrmYuangong::saveStatus()
{
    bool ok = false;
    ErrorHandler::run(PnMain, [&] {
        const QString folder = RecordFolder(workerRoot(), qobject_cast<DbEdit *>(editor(s("YuangongID")))->text());
        FileListRoot = folder;
        Dataset *w = dmMain->tblYuangong;
        if (w->isActive() && WindowKit::isEditing(w)) {
            w->field(s("FilePath")).setValue(QDir::toNativeSeparators(folder));
            w->post();
        }
        ok = true;
    });
    return ok;
}

void TfrmYuangong::syncFolder()
{
    const QString root = workerRoot();
    Dataset *w = dmMain->tblYuangong;
    if (!w->isActive() || w->isEmpty())
        return;
    FileListRoot = RecordFolder(root, w->field(s("YuangongID")).asString());
}

void TfrmYuangong::remove()
{
    WriteLog(s("内部管理-员工资料-删除"));
    Dataset *w = dmMain->tblYuangong;
    if (!w->isActive() || w->isEmpty())
        return;
    if (!Messages::confirmDelete(PnMain, s("您真的要删除该员工档案吗？")))
        return;
    w->remove();
}

void TfrmYuangong::refresh()
{
    WriteLog(s("内部管理-员工资料-刷新"));
    if (!postPending())
        return;
    Dataset *w = dmMain->tblYuangong;
    w->close();
    w->open();
}

void TfrmYuangong::query()
{
    WriteLog(s("内部管理-员工资料-查询"));
    OpenDatasets({dmMain->tblYuangong});
    TfrmYuangongQuery::execute(PnMain);
}

void TfrmYuangong::print()
{
    WindowKit::print(PnMain, s("内部管理-员工资料-打印"), s("frYuangong"), dmMain->tblYuangong);
}
