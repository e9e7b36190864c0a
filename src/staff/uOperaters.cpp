#include "uOperaters.h"

#include "ActionGate.h"
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
#include "FilterExpression.h"
#include "FocusChain.h"
#include "ListPage.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uOperaterQuery.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmOperaters *frmOperaters = nullptr;

namespace {

const char *const RightCode = "303";

// Files/Operaters/, made when missing; the file tool lists it.
QString staffRoot()
{
    const QString root = FilesRoot + s("Operaters/");
    QDir().mkpath(root);
    FileListRoot = root;
    return root;
}

// Files/Operaters/<code> (or the staff area itself for a code that cannot name a folder);
// the file tool lists it.
QString memberFolder(const QString &code)
{
    const QString folder = RecordFolder(staffRoot(), code);
    FileListRoot = folder;
    return folder;
}

}  // namespace

TfrmOperaters::TfrmOperaters(QObject *parent) : QObject(parent), m_host(s("工作人员资料"))
{
    frmOperaters = this;
    setObjectName(s("frmOperaters"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("工作人员资料列表"));
    m_host.addPage(buildRecordPage(), s("工作人员详细资料"));
    // Switching between the tabs shows the member's photo again, telling a file that gives none.
    connect(m_host.pages(), &QTabWidget::currentChanged, this, [this] { reportPhotoFailure(); });
}

TfrmOperaters::~TfrmOperaters()
{
    if (frmOperaters == this)
        frmOperaters = nullptr;
}

QWidget *TfrmOperaters::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow row(page->toolBar(), PnMain, s(RightCode));
    Act_Insert = row.add("Act_Insert", s("新增"), "Insert", "", [this] { insert(); });
    Act_Modify = row.add("Act_Modify", s("修改"), "Modify", "", [this] { modify(); });
    Act_Delete = row.add("Act_Delete", s("删除"), "Delete", "", [this] { remove(); });
    Act_Refresh = row.add("Act_Refresh", s("刷新"), "", "", [this] { refresh(); });
    Act_Query = row.add("Act_Query", s("查询"), "Query", "", [this] { query(); });
    Act_Print = row.add("Act_Print", s("打印"), "Print", "", [this] {
        WindowKit::print(PnMain, s("客户业务管理-业务员资料-打印"), s("frOperaters"), dmMain->tblOperaters);
    });

    m_list = page->grid();
    m_list->setObjectName(s("gridOperaters"));
    m_list->setColumns({GridColumn::centred(s("业务员代码"), s("OperaterID"), 90), GridColumn::text(s("姓名"), s("Name"), 90),
                        GridColumn::text(s("称呼"), s("NickName"), 80), GridColumn::text(s("性别"), s("Sex"), 50),
                        GridColumn::text(s("部门"), s("Department"), 110), GridColumn::text(s("职务"), s("Duty"), 100),
                        GridColumn::text(s("籍贯"), s("Native"), 200)});
    m_list->setDataSource(dmMain->dsOperaters);
    m_list->setGroupPanelVisible(true);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("OperaterID"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmOperaters::buildRecordPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *top = new QHBoxLayout;
    auto *bar = ListPage::makeToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    Dataset *o = dmMain->tblOperaters;
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+A", [o] { return o->state() != Dataset::State::Insert; },
                      [this] { insert(); });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S",
                       [o] {
                           return o->state() == Dataset::State::Insert ||
                                  (o->state() == Dataset::State::Edit && HasSubRight(s(RightCode), s("Modify")));
                       },
                       [this] {
                           WriteLog(s("客户业务管理-业务员资料-保存"));
                           save();
                       });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "", [this] { remove(); });
    Act_Qry = row.add("Act_Qry", s("查询"), "Query", "", [this] { query(); });
    Act_Prt = row.add("Act_Prt", s("打印"), "Print", "", [this] {
        WindowKit::print(PnMain, s("客户业务管理-业务员资料-打印"), s("frOperaterDetail"), dmMain->tblOperaters);
    });
    Act_Cancel = row.add("Act_Cancel", s("放弃"), "", "", [o] { return WindowKit::isEditing(o); }, [o] {
        if (WindowKit::isEditing(o))
            o->cancel();
    });
    top->addWidget(bar);
    auto *navigator = new DbNavigator(page);
    navigator->setObjectName(s("navOperaters"));
    navigator->bind(dmMain->dsOperaters);
    top->addWidget(navigator);
    top->addStretch(1);
    layout->addLayout(top);
    layout->addWidget(buildFields(page));

    m_lower = new QTabWidget(page);
    m_lower->setObjectName(s("lowerTabs"));
    m_lower->addTab(buildOperationsTab(), s("业务（合同）资料"));
    m_lower->addTab(buildStatusTab(), s("工作人员状态信息"));
    layout->addWidget(m_lower, 1);
    return page;
}

QWidget *TfrmOperaters::buildFields(QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(s("staffForm"));
    DataSource *src = dmMain->dsOperaters;
    auto *form = new QGridLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    // Places a field at (row, column) of the three columns, spanning `span` of them.
    const auto place = [&](const char *label, const char *field, QWidget *w, int row, int column, int span = 1,
                           QPushButton *button = nullptr, int rows = 1) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), box);
        l->setBuddy(w);
        QWidget *cell = w;
        if (button) {
            cell = new QWidget(box);
            auto *h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(w, 1);
            h->addWidget(button);
        }
        form->addWidget(l, row, column * 2, rows, 1, rows > 1 ? Qt::AlignTop : Qt::Alignment());
        form->addWidget(cell, row, column * 2 + 1, rows, span * 2 - 1);
        m_editors.insert(s(field).toLower(), w);
        m_order << w;
    };
    const auto text = [&](const char *label, const char *field, int row, int column, int span = 1) {
        auto *e = new DbEdit(box);
        e->bind(src, s(field));
        place(label, field, e, row, column, span);
    };
    const auto choice = [&](const char *label, const char *field, const QStringList &items, int row, int column) {
        auto *c = new DbComboBox(box);
        c->addItems(items);
        c->bind(src, s(field));
        place(label, field, c, row, column);
    };
    const auto button = [&](const char *caption, const char *name) {
        auto *b = new QPushButton(s(caption), box);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        return b;
    };
    text("工作人员代码：", "OperaterID", 0, 0);
    text("姓    名：", "Name", 0, 1);
    text("称    呼：", "NickName", 0, 2);
    choice("性    别：", "Sex", {s("男"), s("女")}, 1, 0);
    auto *department = new DbLookupCombo(box);
    department->setList(dmMain->dsDepartment, s("DepartmentID"), s("DepartmentName"));
    department->bind(src, s("DepartmentID"));
    place("部    门：", "DepartmentID", department, 1, 1);
    text("职    务：", "Duty", 1, 2);
    choice("学　　历：", "Education", {s("专科"), s("本科"), s("硕士"), s("中专"), s("高中"), s("初中")}, 2, 0);
    auto *birth = new DbDateEdit(box);
    birth->bind(src, s("Birth"));
    place("出生年月：", "Birth", birth, 2, 1);
    text("身份证号：", "ID", 2, 2);
    text("籍　　贯：", "Native", 3, 0);
    text("公司电话：", "CTelephone", 3, 1);
    text("传　　真：", "Fax", 3, 2);
    text("家庭电话：", "HTelephone", 4, 0);
    text("移动电话：", "Mobile", 4, 1);
    text("住　　址：", "Address", 4, 2);
    auto *email = new DbHyperlinkEdit(box);
    email->bind(src, s("Email"));
    m_mail = button("发送邮件", "btnMail");
    m_mail->setMinimumWidth(80);
    place("Email邮箱：", "Email", email, 5, 0, 2, m_mail);
    auto *home = new DbHyperlinkEdit(box);
    home->bind(src, s("HomePage"));
    m_home = button("打开...", "btnHomePage");
    m_home->setMinimumWidth(80);
    place("主　　页：", "HomePage", home, 6, 0, 2, m_home);
    auto *memo = new DbMemo(box);
    memo->bind(src, s("Memo"));
    memo->setMaximumHeight(60);
    place("备　　注：", "Memo", memo, 5, 2, 1, nullptr, 2);
    for (int c = 1; c < 6; c += 2)
        form->setColumnStretch(c, 1);

    auto *photoColumn = new QVBoxLayout;
    photoColumn->setSpacing(2);
    m_photo = new DbPhoto(box);
    m_photo->setObjectName(s("imgPhoto"));
    m_photo->setToolTip(s("点击选择照片资料"));
    m_photo->setFixedSize(120, 150);
    m_photo->bind(src, s("Photo"));
    m_zoom = button("放大", "btnZoom");
    m_zoom->setToolTip(s("放大"));
    m_zoom->setAccessibleName(s("放大"));
    photoColumn->addWidget(m_photo);
    photoColumn->addWidget(m_zoom, 0, Qt::AlignHCenter);
    photoColumn->addStretch(1);
    auto *outer = new QHBoxLayout(box);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(form, 1);
    outer->addLayout(photoColumn);
    FocusChain::install(m_order, box);

    connect(m_mail, &QPushButton::clicked, this, [email] { email->openTarget(); });
    connect(m_home, &QPushButton::clicked, this, [home] { home->openTarget(); });
    connect(m_zoom, &QPushButton::clicked, this, [this] {
        PhotoViewCaller = s("Operaters");
        if (m_viewer)
            ErrorHandler::run(PnMain, [this] { m_viewer(PnMain); });
    });
    return box;
}

QWidget *TfrmOperaters::buildOperationsTab()
{
    m_operations = new DbGrid;
    m_operations->setObjectName(s("gridOperates"));
    m_operations->setColumns({GridColumn::centred(s("业务编码"), s("OperateID"), 90),
                              GridColumn::text(s("业务标题"), s("OperateTitle"), 160),
                              GridColumn::text(s("相关客户"), s("CustName"), 140),
                              GridColumn::text(s("建档时间"), s("CreateDate"), 90),
                              GridColumn::text(s("截止日期"), s("EndDate"), 90),
                              GridColumn::money(s("合同金额"), s("CompactAmount"), 90),
                              GridColumn::text(s("联系人"), s("LinkmanName"), 80),
                              GridColumn::text(s("业务员"), s("OperaterName"), 80)});
    m_operations->setDataSource(dmMain->dsOperates2);
    m_operations->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_operations->sortBy(s("OperateID"));
    return m_operations;
}

QWidget *TfrmOperaters::buildStatusTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    DataSource *src = dmMain->dsOperaters;
    auto *in = new DbDateEdit(tab);
    in->setObjectName(s("edInTime"));
    in->bind(src, s("InTime"));
    auto *out = new DbDateEdit(tab);
    out->setObjectName(s("edOutTime"));
    out->bind(src, s("OutTime"));
    auto *reason = new DbMemo(tab);
    reason->setObjectName(s("edOutReason"));
    reason->bind(src, s("OutReason"));
    auto *state = new DbComboBox(tab);
    state->setObjectName(s("edState"));
    state->addItems({s("在职"), s("离职")});
    state->bind(src, s("State"));
    const QList<std::pair<const char *, QWidget *>> fields{
        {"入职时间：", in}, {"离职时间：", out}, {"离职原因：", reason}, {"在职状态：", state}};
    int r = 0;
    for (const auto &[label, w] : fields) {
        auto *l = new QLabel(s(label), tab);
        l->setBuddy(w);
        grid->addWidget(l, r, 0);
        grid->addWidget(w, r, 1);
        m_editors.insert(w->objectName().mid(2).toLower(), w);
        ++r;
    }
    FocusChain::install({in, out, reason, state}, tab);
    m_stateModify = new QPushButton(s("修改"), tab);
    m_stateModify->setObjectName(s("btnStateModify"));
    m_stateModify->setAutoDefault(false);
    m_stateSave = new QPushButton(s("保存"), tab);
    m_stateSave->setObjectName(s("btnStateSave"));
    m_stateSave->setAutoDefault(false);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_stateModify);
    buttons->addWidget(m_stateSave);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(1, 1);
    connect(m_stateModify, &QPushButton::clicked, this, [this, in] {
        ErrorHandler::run(PnMain, [&] {
            Dataset *o = dmMain->tblOperaters;
            OpenDatasets({o});
            if (!WindowKit::isEditing(o))
                o->edit();
            in->setFocus();
        });
    });
    connect(m_stateSave, &QPushButton::clicked, this, [this] { saveStatus(); });
    return tab;
}

void TfrmOperaters::open()
{
    ErrorHandler::run(PnMain, [this] {
        OpenDatasets({dmMain->tblDepartment, dmMain->qryCustomers1, dmMain->tblCustomers2, dmMain->tblOperatersLookup});
        Dataset *o = dmMain->tblOperaters;
        // A pending member is stored first; a refusal leaves it in edit and the filter as it was.
        if (!postPending())
            return;
        o->setFiltered(false);
        OpenDatasets({o});
        staffRoot();
        if (!o->isEmpty())
            memberFolder(o->field(s("OperaterID")).asString());
    });
}

bool TfrmOperaters::postPending()
{
    Dataset *o = dmMain->tblOperaters;
    if (!o->isActive() || !WindowKit::isEditing(o))
        return true;
    return ErrorHandler::run(PnMain, [o] { o->post(); });
}

// tblOperates2 is shared with the operation list: a pending edit there is stored before
// this window closes or re-filters it; false (told) when it cannot be.
bool TfrmOperaters::releaseOperations()
{
    Dataset *ops = dmMain->tblOperates2;
    if (!ops->isActive() || !WindowKit::isEditing(ops))
        return true;
    return ErrorHandler::run(PnMain, [ops] { ops->post(); });
}

QString TfrmOperaters::typedCode() const
{
    return qobject_cast<DbEdit *>(editor(s("OperaterID")))->text().trimmed();
}

void TfrmOperaters::insert()
{
    WriteLog(s("客户业务管理-业务员资料-新增"));
    if (!releaseOperations())
        return;
    dmMain->tblOperates2->close();
    Dataset *o = dmMain->tblOperaters;
    OpenDatasets({o});
    o->append();
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("业务管理"));
    }
    m_host.pages()->setCurrentIndex(1);
    editor(s("OperaterID"))->setFocus();
}

void TfrmOperaters::modify()
{
    WriteLog(s("客户业务管理-业务员资料-修改"));
    if (!releaseOperations())
        return;
    Dataset *o = dmMain->tblOperaters;
    OpenDatasets({o});
    if (!WindowKit::isEditing(o))
        o->edit();
    const QString code = o->field(s("OperaterID")).asString();
    Dataset *ops = dmMain->tblOperates2;
    ops->close();
    ops->setFiltered(false);
    ops->setFilter(s("OperaterID='") + FilterExpression::quote(code) + s("'"));
    ops->setFiltered(true);
    ops->open();
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("业务管理"));
    }
    memberFolder(code);
    // Load errors are not told here; the photo box follows the row by itself.
    const QSignalBlocker quiet(m_host.pages());
    m_host.pages()->setCurrentIndex(1);
    editor(s("OperaterID"))->setFocus();
}

void TfrmOperaters::remove()
{
    WriteLog(s("客户业务管理-业务员资料-删除"));
    Dataset *o = dmMain->tblOperaters;
    if (!o->isActive() || o->isEmpty())
        return;
    WindowKit::deleteCurrent(PnMain, o,
                             {{s("select * from tblOperates where OperaterID=:OperaterID "), {s("OperaterID")},
                               s("OperaterID"), s("对不起，该业务员存在业务资料信息，不能删除！")}},
                             s("您真的要删除该业务员资料吗？"));
}

void TfrmOperaters::refresh()
{
    WriteLog(s("客户业务管理-业务员资料-刷新"));
    if (!postPending())
        return;
    Dataset *o = dmMain->tblOperaters;
    o->close();
    o->open();
    reportPhotoFailure();
}

void TfrmOperaters::query()
{
    WriteLog(s("客户业务管理-业务员资料-查询"));
    OpenDatasets({dmMain->tblOperaters});
    TfrmOperaterQuery::execute(PnMain);
}

bool TfrmOperaters::save()
{
    if (typedCode().isEmpty()) {
        Messages::warning(PnMain, s("请输入业务员代码！"));
        editor(s("OperaterID"))->setFocus();
        return false;
    }
    if (qobject_cast<DbEdit *>(editor(s("Name")))->text().trimmed().isEmpty()) {
        Messages::warning(PnMain, s("请输入业务员名称！"));
        editor(s("Name"))->setFocus();
        return false;
    }
    bool ok = false;
    ErrorHandler::run(PnMain, [&] {
        memberFolder(typedCode());
        Dataset *o = dmMain->tblOperaters;
        if (o->isActive() && WindowKit::isEditing(o))
            o->post();
        ok = true;
    });
    return ok;
}

bool TfrmOperaters::saveStatus()
{
    Dataset *o = dmMain->tblOperaters;
    // A new row without its code would be dropped by the post: ask for the code instead.
    if (o->isActive() && WindowKit::isEditing(o) && typedCode().isEmpty()) {
        Messages::warning(PnMain, s("请输入业务员代码！"));
        editor(s("OperaterID"))->setFocus();
        return false;
    }
    bool ok = false;
    ErrorHandler::run(PnMain, [&] {
        const QString folder = memberFolder(typedCode());
        if (o->isActive() && WindowKit::isEditing(o)) {
            o->field(s("FilePath")).setValue(QDir::toNativeSeparators(QDir::cleanPath(folder)));
            o->post();
        }
        ok = true;
    });
    return ok;
}

void TfrmOperaters::syncFolder()
{
    staffRoot();
    Dataset *o = dmMain->tblOperaters;
    if (!o->isActive() || o->isEmpty())
        return;
    memberFolder(o->field(s("OperaterID")).asString());
}

void TfrmOperaters::reportPhotoFailure()
{
    if (m_photo->loadFailed())
        Messages::warning(PnMain, s("照片文件无法显示：") + QDir::toNativeSeparators(m_photo->path()));
}
