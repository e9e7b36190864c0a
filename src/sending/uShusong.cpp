#include "uShusong.h"

#include "ActionGate.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "ListPage.h"
#include "Messages.h"
#include "RelatedRecordsTab.h"
#include "SendingRules.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uPublic.h"
#include "uShusongQuery.h"
#include "uShusongYJ.h"
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

TfrmShusong *frmShusong = nullptr;

namespace {

const char *const RightCode = "603";

RelatedRecordsTab::Setup settlementTab(std::function<bool()> beforeChange)
{
    using C = GridColumn;
    return {.caption = s("佣金结算"),
            .newCaption = s("新增"),
            .rightCode = s(RightCode),
            .dataset = dmMain->tblShusongYJ,
            .source = dmMain->dsShusongYJ,
            .columns = {C::centred(s("编号"), s("sNo"), 60), C::text(s("结算日期"), s("JDate"), 90),
                        C::money(s("介绍费"), s("Jieshao"), 90), C::money(s("其他费用"), s("Qita"), 90),
                        C::text(s("合同开始日期"), s("BeginDate"), 100), C::text(s("截止日期"), s("EndDate"), 90),
                        C::text(s("经办人"), s("Jingban"), 80), C::text(s("备注"), s("Memo"), 200)},
            .sortField = s("sNo"),
            .layout = s("frShusongYJ"),
            .printLog = s("内部管理-输送单位-打印"),
            .deleteQuestion = s("您真的要删除该佣金结算资料吗？"),
            .masterKeyField = s("ShusongID"),
            .beforeChange = std::move(beforeChange)};
}

}  // namespace

TfrmShusong::TfrmShusong(QObject *parent) : QObject(parent), m_host(s("输送单位"))
{
    frmShusong = this;
    setObjectName(s("frmShusong"));
    PnMain = m_host.widget();
    m_host.addPage(buildListPage(), s("输送单位列表"));
    m_host.addPage(buildDetailPage(), s("输送单位详细资料"));
}

TfrmShusong::~TfrmShusong()
{
    if (frmShusong == this)
        frmShusong = nullptr;
}

QWidget *TfrmShusong::buildListPage()
{
    auto *page = new ListPage;
    WindowKit::ToolRow row(page->toolBar(), PnMain, s(RightCode));
    Dataset *u = dmMain->tblShusong;
    // A second new row would post the first one unchecked.
    Act_Insert = row.add("Act_Insert", "新增", "Insert", "Ctrl+N", [u] { return u->state() != Dataset::State::Insert; },
                         [this] { insertOrModify(true); });
    Act_Modify = row.add("Act_Modify", "修改", "Modify", "Ctrl+M", [this] { insertOrModify(false); });
    Act_Delete = row.add("Act_Delete", "删除", "Delete", "Ctrl+D", [this] { remove(); });
    Act_Refresh = row.add("Act_Refresh", "刷新", "", "", [this] { refresh(); });
    Act_Query = row.add("Act_Query", "查询", "Query", "Ctrl+Q", [this] {
        WriteLog(s("内部管理-输送单位-查询"));
        TfrmShusongQuery::execute(PnMain);
    });
    Act_Print = row.add("Act_Print", "打印", "Print", "Ctrl+P", [this] {
        WindowKit::print(PnMain, s("内部管理-输送单位-打印"), s("frShusong"), dmMain->tblShusong);
    });

    m_list = page->grid();
    m_list->setObjectName(s("gridShusong"));
    using C = GridColumn;
    m_list->setColumns({C::text(s("单位编号"), s("ShusongID"), 80), C::text(s("单位名称"), s("ShusongName"), 160),
                        C::text(s("负责人"), s("Manager"), 70), C::text(s("职务"), s("Duty"), 70),
                        C::text(s("电话"), s("Telephone"), 100), C::text(s("传真"), s("Fax"), 100),
                        C::text(s("身份证号码"), s("ID"), 150), C::text(s("手机"), s("Mobile"), 100),
                        C::text(s("Email"), s("Email"), 150), C::text(s("主页"), s("Homepage"), 150)});
    m_list->setDataSource(dmMain->dsShusong);
    m_list->setExportPermission([] { return HasSubRight(s(RightCode), s("Print")); });
    m_list->sortBy(s("ShusongID"));
    connect(m_list->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    connect(m_list, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    return page;
}

QWidget *TfrmShusong::buildDetailPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    Dataset *u = dmMain->tblShusong;

    auto *barRow = new QHBoxLayout;
    auto *bar = ListPage::makeToolBar(page);
    bar->setObjectName(s("editorToolBar"));
    bar->addAction(Act_Insert);
    WindowKit::ToolRow row(bar, page, s(RightCode));
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S", [u] { return u->isActive() && WindowKit::isEditing(u); }, [this] {
        WriteLog(s("内部管理-输送单位-保存"));
        save();
    });
    bar->addAction(Act_Delete);
    Act_Qry = row.add("Act_Qry", "查询", "", "", [this] {
        WriteLog(s("内部管理-输送单位-查询"));
        TfrmShusongQuery::execute(PnMain);
    });
    Act_Prt = row.add("Act_Prt", "打印", "Print", "", [this] {
        WindowKit::print(PnMain, s("内部管理-输送单位-打印"), s("frShusongYJ"), dmMain->tblShusongYJ,
                         {{s("tblShusong"), dmMain->tblShusong}});
    });
    barRow->addWidget(bar);
    m_navigator = new DbNavigator(page);
    m_navigator->bind(dmMain->dsShusong);
    barRow->addWidget(m_navigator);
    barRow->addStretch();
    layout->addLayout(barRow);

    auto *form = new QWidget(page);
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    QList<QWidget *> order;
    const auto field = [&](const char *label, const char *name, int r, int c, int span = 1) {
        auto *e = new DbEdit(form);
        e->setObjectName(s("ed") + s(name));
        e->bind(dmMain->dsShusong, s(name));
        auto *l = new QLabel(s(label), form);
        l->setBuddy(e);
        grid->addWidget(l, r, c * 2);
        grid->addWidget(e, r, c * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(name).toLower(), e);
        order << e;
        return e;
    };
    field("单位编号：", "ShusongID", 0, 0);
    field("单位名称：", "ShusongName", 0, 1, 2);
    field("负 责 人：", "Manager", 1, 0);
    field("职    务：", "Duty", 1, 1);
    field("身份证号：", "ID", 1, 2);
    field("电    话：", "Telephone", 2, 0);
    field("传    真：", "Fax", 2, 1);
    field("手    机：", "Mobile", 2, 2);

    const auto withButton = [&](const char *label, const char *name, const char *button, int r, int c) {
        auto *e = new DbEdit(form);
        e->setObjectName(s("ed") + s(name));
        e->bind(dmMain->dsShusong, s(name));
        auto *l = new QLabel(s(label), form);
        l->setBuddy(e);
        auto *b = new QPushButton(s(button), form);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(90);
        auto *cell = new QHBoxLayout;
        cell->setSpacing(4);
        cell->addWidget(e, 1);
        cell->addWidget(b);
        grid->addWidget(l, r, c * 2);
        grid->addLayout(cell, r, c * 2 + 1, 1, 5);
        m_editors.insert(s(name).toLower(), e);
        order << e;
        return std::pair{e, b};
    };
    const auto homeRow = withButton("主页：", "Homepage", "打开...", 3, 0);
    const auto mailRow = withButton("Email：", "Email", "发送邮件", 4, 0);
    DbEdit *home = homeRow.first;
    DbEdit *email = mailRow.first;
    m_openHome = homeRow.second;
    m_mail = mailRow.second;
    auto *memo = new DbMemo(form);
    memo->setObjectName(s("edMemo"));
    memo->bind(dmMain->dsShusong, s("Memo"));
    memo->setMaximumHeight(60);
    grid->addWidget(new QLabel(s("备注："), form), 5, 0, Qt::AlignTop);
    grid->addWidget(memo, 5, 1, 1, 5);
    m_editors.insert(s("memo"), memo);
    order << memo;
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    FocusChain::install(order, page);
    layout->addWidget(form);

    connect(m_openHome, &QPushButton::clicked, this, [home] {
        // As the hyperlink edit does: http:// added when there is no scheme; nothing for an empty text.
        const QString target = Shell::webAddress(home->text().trimmed());
        if (!target.isEmpty())
            Shell::open(target);
    });
    connect(m_mail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text().trimmed()));
    });

    auto *tabs = new QTabWidget(page);
    tabs->setObjectName(s("settlementTabs"));
    m_settlements = new RelatedRecordsTab(settlementTab([this] { return unitReady(); }), tabs);
    // The detail toolbar's "打印" prints the settlements; the tab has no print button of its own.
    m_settlements->action(s("print"))->setVisible(false);
    m_settlements->setRelatedDialog([this] { TfrmShusongYJ::execute(PnMain); });
    tabs->addTab(m_settlements, s("佣金结算"));
    DbGrid *settled = m_settlements->grid();
    settled->setObjectName(s("gridShusongYJ"));
    connect(settled->view(), &QTreeView::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { syncFolder(); }); });
    // A double-click edits the unit, as on the list.
    connect(settled, &DbGrid::rowDoubleClicked, this, [this] {
        if (ActionGate::instance()->check(Act_Modify))
            Act_Modify->trigger();
    });
    layout->addWidget(tabs, 1);
    return page;
}

void TfrmShusong::open()
{
    ErrorHandler::run(PnMain, [this] {
        OpenDatasets({dmMain->tblShusong, dmMain->tblShusongYJ});
        syncFolder();
    });
}

void TfrmShusong::syncFolder()
{
    const QString folder = FilesRoot + s("Shusong");
    QDir().mkpath(folder);
    FileListRoot = folder;
}

void TfrmShusong::insertOrModify(bool insert)
{
    WriteLog(insert ? s("内部管理-输送单位-新增") : s("内部管理-输送单位-修改"));
    OpenDatasets({dmMain->tblShusong, dmMain->tblShusongYJ});
    if (insert)
        dmMain->tblShusong->append();
    else
        dmMain->tblShusong->edit();
    // The editor gets the room of the navigation panel.
    if (frmMain) {
        frmMain->setNavigationVisible(false);
        frmMain->selectTab(s("内部管理"));
    }
    if (!insert)
        syncFolder();
    m_host.pages()->setCurrentIndex(1);
    editor(s("ShusongID"))->setFocus();
}

bool TfrmShusong::save()
{
    const auto empty = [this](const char *field) {
        return static_cast<DbEdit *>(editor(s(field)))->text().trimmed().isEmpty();
    };
    if (empty("ShusongID")) {
        Messages::warning(PnMain, s("请输入输送单位编号！"));
        editor(s("ShusongID"))->setFocus();
        return false;
    }
    if (empty("ShusongName")) {
        Messages::warning(PnMain, s("请输入输送单位名称！"));
        editor(s("ShusongName"))->setFocus();
        return false;
    }
    Dataset *u = dmMain->tblShusong;
    // Settlements follow the unit by its number: a unit that has them keeps it.
    if (SendingRules::renumberBlocked(*u)) {
        Messages::warning(PnMain, SendingRules::renumberRefusal());
        editor(s("ShusongID"))->setFocus();
        return false;
    }
    syncFolder();
    if (!WindowKit::isEditing(u))
        return true;
    return ErrorHandler::run(PnMain, [u] { u->post(); });
}

void TfrmShusong::remove()
{
    WriteLog(s("内部管理-输送单位-删除"));
    Dataset *u = dmMain->tblShusong;
    const bool inserting = u->isActive() && u->state() == Dataset::State::Insert;
    if (!u->isActive() || (u->isEmpty() && !inserting))
        return;
    // The stored number: a typed, unsaved one would find none of the unit's settlements.
    if (SendingRules::hasSettlements(SendingRules::storedNumber(*u))) {
        Messages::warning(PnMain, s("对不起，该输送单位包括佣金结算信息，不能删除！"));
        return;
    }
    if (!Messages::confirmDelete(PnMain, s("您真的要删除该输送单位档案吗？")))
        return;
    if (inserting)
        u->cancel();
    else
        u->remove();
}

void TfrmShusong::refresh()
{
    WriteLog(s("内部管理-输送单位-刷新"));
    Dataset *u = dmMain->tblShusong;
    // A pending unit is posted first (a refused post raises and nothing is re-read); the filter stays.
    if (u->isActive() && WindowKit::isEditing(u))
        u->post();
    u->close();
    u->open();
}

bool TfrmShusong::unitReady()
{
    Dataset *u = dmMain->tblShusong;
    if (!u->isActive() || (u->isEmpty() && !WindowKit::isEditing(u)))
        return false;
    if (!WindowKit::isEditing(u))
        return true;
    WriteLog(s("内部管理-输送单位-保存"));
    return save() && !WindowKit::isEditing(u);
}
