#include "uMain.h"

#include "ActionGate.h"
#include "ButtonColumn.h"
#include "CentreOnScreen.h"
#include "DatabaseConnector.h"
#include "DateText.h"
#include "DbGrid.h"
#include "GridLayout.h"
#include "ReportService.h"
#include "uReport.h"
#include "Dialogs.h"
#include "uAbout.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "NumLockState.h"
#include "Shell.h"
#include "Utf8.h"
#include "uConstants.h"
#include "uPictures.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

TfrmMain *frmMain = nullptr;

// The help manual is a resource of this static library: register it explicitly.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const char *const MenuTitles[] = {"系统设置(&S)", "内部管理(&M)", "基础资料(&B)", "客户业务管理(&C)", "文件管理(&F)",
                                  "图表分析(&G)", "工具(&T)",     "窗口(&W)",     "帮助(&H)"};
const char *const Sys = "系统设置";
const char *const Base = "基础资料";
const char *const Business = "业务管理";
const char *const Charts = "图表分析";
const char *const Internal = "内部管理";

}  // namespace

const std::vector<TfrmMain::Command> &TfrmMain::commands()
{
    static const std::vector<Command> table = {
    {"Act_Password", "口令设置", "Ctrl+K", "101", "系统设置-口令设置", 0, false, Sys, CommandKind::Dialog, nullptr},
    {"Act_UserManage", "用户管理", "Ctrl+U", "102", "系统设置-用户管理", 0, false, Sys, CommandKind::SystemDialog, nullptr},
    {"Act_Backup", "数据备份", "Ctrl+B", "103", "系统设置-数据备份", 0, false, Sys, CommandKind::Dialog, nullptr},
    {"Act_Restore", "数据恢复", "Ctrl+R", "104", "系统设置-数据恢复", 0, false, Sys, CommandKind::Dialog, nullptr},
    {"Act_SysLog", "系统日志", "Ctrl+L", "105", "系统设置-系统日志", 0, false, Sys, CommandKind::SystemDialog, nullptr},
    {"Act_UserRegist", "用户信息", "Ctrl+I", "106", "系统设置-用户信息", 0, false, Sys, CommandKind::Dialog, nullptr},
    {"Act_Quit", "退出系统 (&X)", "", "", "系统设置-退出系统", 0, false, "", CommandKind::Handler, &TfrmMain::quit},

    {"Act_Department", "部门设置", "", "201", "内部管理-部门设置", 1, false, Internal, CommandKind::Dialog, nullptr},
    {"Act_Gongzhong", "工种设置", "", "602", "内部管理-工种设置", 1, false, Internal, CommandKind::Dialog, nullptr},
    {"Act_Jineng", "技能级别", "", "604", "内部管理-技能级别设置", 1, false, Internal, CommandKind::Dialog, nullptr},
    {"Act_Tijian", "体检设定", "", "605", "内部管理-体检设定", 1, false, Internal, CommandKind::Dialog, nullptr},
    {"Act_Shusong", "输送单位", "", "603", "内部管理-输送单位", 1, false, Internal, CommandKind::Page, nullptr},
    {"Act_Yuangong", "员工档案", "", "601", "内部管理-员工档案", 1, false, Internal, CommandKind::Page, nullptr},
    {"Act_Operaters", "工作人员资料", "", "303", "内部管理-业务员资料", 1, false, Internal, CommandKind::Page, nullptr},

    {"Act_Region", "所在区设置", "", "202", "基础资料-地区设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_Country", "国家信息", "", "203", "基础资料-国家信息", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_CurrencyRate", "币别汇率设置", "", "204", "基础资料-币别汇率设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_FinanceOrgan", "金融机构设置", "", "205", "基础资料-金融机构设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_OperateStyle", "业务类型设置", "", "207", "基础资料-业务类型设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_OperateOrigin", "业务来源设置", "", "208", "基础资料-业务来源设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_OperateState", "业务状态设置", "", "209", "基础资料-业务状态设置", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_CustLevel", "客户级别定义", "", "210", "基础资料-客户级别定义", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_CustState", "客户状态定义", "", "211", "基础资料-客户状态定义", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_CustOrigin", "客户来源定义", "", "212", "基础资料-客户来源定义", 2, false, Base, CommandKind::Dialog, nullptr},
    {"Act_Vocation", "客户类型设置", "", "206", "基础资料-行业类别设置", 2, false, Base, CommandKind::Dialog, nullptr},

    {"Act_Customers", "客户资料", "F2", "301", "客户业务管理-客户资料", 3, false, Business, CommandKind::Page, nullptr},
    {"Act_Linkman", "联系人资料", "F3", "302", "客户业务管理-联系人资料", 3, false, Business, CommandKind::Page, nullptr},
    {"Act_OperatesInfo", "业务资料", "F5", "304", "客户业务管理-业务资料", 3, false, Business, CommandKind::Page, nullptr},
    {"Act_Plan", "日程安排", "F6", "305", "客户业务管理-日程安排", 3, false, Business, CommandKind::Schedule, nullptr},
    {"Act_Gathering", "应收账款", "Ctrl+Alt+M", "306", "客户业务管理-应收账款", 3, false, Business, CommandKind::Page, nullptr},
    {"Act_Payment", "应付账款", "Ctrl+Alt+N", "307", "客户业务管理-应付账款", 3, false, Business, CommandKind::Page, nullptr},
    {"Act_Assign", "客户业务工作分配", "", "", "客户业务管理-客户业务工作分配", 3, false, "", CommandKind::SystemOnly, nullptr},
    {"Act_OperaterTrack", "工作人员跟踪管理", "", "", "客户业务管理-工作人员员跟踪管理", 3, false, "", CommandKind::SystemOnly, nullptr},

    {"File_New", "新建文件", "", "", "文件管理-新建文件", 4, false, "", CommandKind::LogOnly, nullptr},
    {"File_Cut", "剪切文件", "", "", "文件管理-剪切文件", 4, false, "", CommandKind::LogOnly, nullptr},
    {"File_Copy", "复制文件", "", "", "文件管理-复制文件", 4, false, "", CommandKind::LogOnly, nullptr},

    {"Act_CustLevelAnalyse", "客户级别分析", "", "403", "图表分析-客户级别分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_CustOriginAnalyse", "客户来源分析", "", "405", "图表分析-客户来源分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_CustStateAnalyse", "客户状态分析", "", "406", "图表分析-客户状态分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_CustVocationAnalyse", "客户类型分析", "", "407", "图表分析-客户行业分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_TimeAnalyse", "按时间分析", "", "402", "图表分析-按时间分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_OperateOriginAnalyse", "业务来源分析", "", "409", "图表分析-业务来源分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_OperateStyleAnalyse", "业务类型分析", "", "410", "图表分析-业务类型分析", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_OperateSortAnalyse", "业务排行榜", "", "411", "图表分析-业务排行榜", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_CustomerSortAnalyse", "客户排行榜", "", "412", "图表分析-客户排行榜", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_OperaterSortAnalyse", "工作人员绩效排行榜", "", "413", "图表分析-业务员绩效排行榜", 5, false, Charts, CommandKind::Page, nullptr},
    {"Act_FinanceAnalyse", "资金分配分析", "", "414", "图表分析-资金分配分析", 5, false, Charts, CommandKind::Page, nullptr},

    {"Act_Board", "公告板", "F7", "501", "工具-公告板", 6, false, "", CommandKind::Dialog, nullptr},
    {"Tool_Calculator", "计算器", "", "", "工具-计算器", 6, false, "", CommandKind::Handler, &TfrmMain::startCalculator},
    {"Tool_Calendar", "日历", "", "", "工具-日历", 6, false, "", CommandKind::Handler, &TfrmMain::startCalendar},
    {"Tool_SysInfo", "系统信息", "", "", "工具-系统信息", 6, false, "", CommandKind::Handler, &TfrmMain::startSystemInformation},
    {"Act_Mail", "邮件群发", "F8", "502", "工具-邮件群发", 6, true, "", CommandKind::Page, nullptr},
    {"Act_Envelop", "信封标签", "F9", "503", "工具-信封标签", 6, false, "", CommandKind::Dialog, nullptr},
    {"Act_Pipkin", "Pipkin", "F10", "", "工具-Pipkin", 6, true, "", CommandKind::LogOnly, nullptr},
    {"Act_MMS", "短信中心", "F11", "", "工具-短信中心", 6, true, "", CommandKind::LogOnly, nullptr},
    {"Tool_Today", "今日事", "", "", "工具-今日事", 6, false, "", CommandKind::Dialog, nullptr},

    {"Help_About", "关于Brimwell2003", "", "", "帮助-关于Brimwell2003", 8, false, "", CommandKind::Handler, &TfrmMain::showAbout},
    {"Help_Help", "如何使用", "F1", "", "帮助-系统帮助", 8, false, "", CommandKind::Handler, &TfrmMain::openHelp},
    {"Help_Site", "公司及其产品介绍", "F12", "", "帮助-公司及产品介绍", 8, false, "", CommandKind::Handler, &TfrmMain::openWebSite},
    {"Help_Contact", "联系我们...", "", "", "帮助-联系我们", 8, false, "", CommandKind::Handler, &TfrmMain::contactUs},
    {"Help_Support", "技术支持", "", "", "", 8, false, "", CommandKind::Handler, &TfrmMain::openWebSite},
    };
    return table;
}

namespace {

const char *const NavigationTabs[][8] = {
    {"系统设置", "Act_Password", "Act_UserManage", "Act_Backup", "Act_Restore", "Act_SysLog", "Act_UserRegist", nullptr},
    {"基础资料", "Act_CurrencyRate", "Act_FinanceOrgan", "Act_Vocation", "Act_OperateStyle", "Act_OperateOrigin",
     "Act_CustLevel", "Act_CustState"},
    {"业务管理", "Act_Customers", "Act_Linkman", "Act_OperatesInfo", "Act_Plan", "Act_Gathering", "Act_Payment", nullptr},
    {"图表分析", "Act_TimeAnalyse", "Act_CustLevelAnalyse", "Act_CustOriginAnalyse", "Act_OperateOriginAnalyse",
     "Act_OperateStyleAnalyse", "Act_OperateSortAnalyse", "Act_CustomerSortAnalyse"},
    {"内部管理", "Act_Department", "Act_Gongzhong", "Act_Yuangong", "Act_Operaters", "Act_Shusong", nullptr, nullptr},
};

}  // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    frmMain = this;
    initResources();
    setObjectName(s("frmMain"));
    // Every print goes through the report service over the layouts beside the program.
    ReportService::setFolder(AppDir + s("Data/Report/"));
    TfrmReport::setHelpHandler([this] { openHelp(); });
    // A grid whose window did not say who may export it exports for system users only.
    DbGrid::setDefaultExportPermission([] { return IsSystemUser(); });
    DbGrid::setExportLogger([](const QString &entry) { WriteLog(entry); });
    // Each user's grid layouts in a file of their own beside the program.
    GridLayout::setSettingsFile([] {
        return CurrentUserID.isEmpty() ? QString()
                                       : AppDir + s("Settings/") + GridLayout::safeFileName(CurrentUserID) + s(".ini");
    });
    setWindowTitle(s("Brimwell2003（通用版）"));
    buildActions();
    buildMenus();
    buildTopBar();
    buildClientArea();
    buildNavigation();
    buildStatusBar();
    // The NUM panel follows Num Lock whichever window has the focus: at once on a Num Lock key
    // or a change the window system tells, and with the clock otherwise.
    m_numLock = new NumLockState(this);
    connect(m_numLock, &NumLockState::mayHaveChanged, this, &TfrmMain::updateNumLock);
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TfrmMain::updateClock);
    m_clock->start();
    updateClock();
    // A fixed window: the client area is 792 × 554 below the menu.
    setFixedSize(792, 554 + menuBar()->sizeHint().height());
    CentreOnScreen::install(this);
}

TfrmMain::~TfrmMain()
{
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::buildActions()
{
    for (const Command &c : commands()) {
        auto *a = new QAction(s(c.caption), this);
        a->setObjectName(s(c.name));
        if (c.shortcut[0]) {
            a->setShortcut(QKeySequence(s(c.shortcut)));
            a->setShortcutContext(Qt::ApplicationShortcut);
        }
        a->setIcon(Pictures::commandIcon(s(c.name)));
        addAction(a);  // a hidden menu item still answers its shortcut
        m_actions.insert(s(c.name), a);
        const Command *command = &c;
        if (c.right[0]) {
            const QString right = s(c.right);
            ActionGate::instance()->gate(a, [right] { return HasRight(right); }, [this, command] { run(*command); });
            m_gated << a;
        } else {
            connect(a, &QAction::triggered, this, [this, command] { ErrorHandler::run(this, [&] { run(*command); }); });
        }
    }
}

void TfrmMain::buildMenus()
{
    for (const char *title : MenuTitles)
        m_menus << menuBar()->addMenu(s(title));
    for (const Command &c : commands()) {
        QAction *a = m_actions.value(s(c.name));
        if (c.menu == 0 && s(c.name) == u"Act_Quit")
            m_menus[0]->addSeparator();
        // A hidden item stays out of the menu but keeps its action (and shortcut) on the
        // window: an invisible QAction would be disabled, shortcut and all.
        if (!c.hidden)
            m_menus[c.menu]->addAction(a);
    }
    m_navToggle = m_menus[7]->addAction(s("系统导航"));
    m_navToggle->setObjectName(s("Win_Navigation"));
    m_navToggle->setCheckable(true);
    m_navToggle->setChecked(true);
    // A checkable item has already flipped its check when this runs: follow it.
    connect(m_navToggle, &QAction::triggered, this, [this](bool on) {
        ErrorHandler::run(this, [this, on] {
            WriteLog(s("窗口-系统导航"));
            setNavigationVisible(on);
        });
    });
    m_toolsToggle = m_menus[7]->addAction(s("文件管理及工具栏"));
    m_toolsToggle->setObjectName(s("Win_Tools"));
    m_toolsToggle->setCheckable(true);
    m_toolsToggle->setChecked(true);
    connect(m_toolsToggle, &QAction::triggered, this, [this](bool on) {
        ErrorHandler::run(this, [this, on] {
            WriteLog(s("窗口-文件管理及工具栏"));
            setToolsVisible(on);
        });
    });
}

void TfrmMain::buildTopBar()
{
    auto *bar = addToolBar(s("常用"));
    bar->setObjectName(s("topBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(41);
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setStyleSheet(s("QToolBar#topBar { border: none; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                         "stop:0 #ddeaf7, stop:1 #f7fafd); border-bottom: 1px solid #b8cce4; }"));
    for (const char *name : {"Act_Password", "Act_Customers", "Act_Yuangong", "Act_Operaters", "Act_OperatesInfo", "Act_Plan"})
        bar->addAction(m_actions.value(s(name)));
    m_actions.value(s("Act_Operaters"))->setToolTip(s("工作人员资料"));
    m_actions.value(s("Act_OperatesInfo"))->setToolTip(s("业务(合同)资料"));
    bar->addSeparator();
    const auto plain = [&](const char *name, const char *hint, std::function<void()> f) {
        auto *a = bar->addAction(Pictures::commandIcon(s(name)), s(hint));
        a->setObjectName(s(name));
        a->setToolTip(s(hint));
        connect(a, &QAction::triggered, this, [this, f] { ErrorHandler::run(this, f); });
        return a;
    };
    plain("Top_Navigation", "系统导航", [this] {
        WriteLog(s("窗口-系统导航"));
        toggleNavigation();
    });
    plain("Top_Tools", "文件管理及工具栏", [this] {
        WriteLog(s("窗口-文件管理及工具栏"));
        // The check mark always tells whether the window is shown.
        setToolsVisible(!(m_tools && m_tools->isVisible()) && !(!m_tools && m_toolsToggle->isChecked()));
    });
    plain("Top_Site", "公司网站", [this] {
        WriteLog(s("帮助-公司及产品介绍"));
        openWebSite();
    });
    plain("Top_Help", "帮助", [this] {
        WriteLog(s("帮助-系统帮助"));
        openHelp();
    });
    plain("Top_Quit", "退出系统", [this] {
        WriteLog(s("系统设置-退出系统"));
        close();
    });
}

void TfrmMain::buildNavigation()
{
    m_navigationFrame = new QWidget(this);
    m_navigationFrame->setObjectName(s("navigationPanel"));
    m_navigationFrame->setFixedWidth(125);
    auto *layout = new QVBoxLayout(m_navigationFrame);
    layout->setContentsMargins(0, 0, 0, 0);
    m_navigation = new QToolBox(m_navigationFrame);
    m_navigation->setObjectName(s("navigation"));
    for (const auto &tab : NavigationTabs) {
        auto *column = new ButtonColumn(m_navigation);
        column->setObjectName(QString::fromUtf8(tab[0]));
        for (int i = 1; i < 8 && tab[i]; ++i)
            column->addButton(m_actions.value(s(tab[i])));
        m_navigation->addItem(column, s(tab[0]));
        // The column scrolls by whole buttons itself; the tool box's own scroll bars would cut them.
        for (QWidget *w = column->parentWidget(); w && w != m_navigation; w = w->parentWidget())
            if (auto *area = qobject_cast<QAbstractScrollArea *>(w)) {
                area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            }
    }
    layout->addWidget(m_navigation);
    static_cast<QHBoxLayout *>(centralWidget()->layout())->insertWidget(0, m_navigationFrame);
}

void TfrmMain::buildClientArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    m_client = new QWidget(central);
    m_client->setObjectName(s("clientArea"));
    auto *clientLayout = new QVBoxLayout(m_client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_client, 1);
    setCentralWidget(central);

    // The main window's own page: the schedule's two tabs, filled by the schedule unit.
    m_schedule = new QTabWidget(m_client);
    m_schedule->setObjectName(s("schedulePage"));
    clientLayout->addWidget(m_schedule);
}

void TfrmMain::buildStatusBar()
{
    // Five centred panels; their widths share the window's 792 pixels so none overlaps another.
    const int widths[] = {150, 130, 260, 190, 50};
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(widths[i]);
        statusBar()->addWidget(label);
        m_panels << label;
    }
    m_panels[0]->setText(s("欢迎使用Brimwell！"));
    m_panels[3]->setText(s(Maker::WebSite));
    statusBar()->setSizeGripEnabled(false);
}

QAction *TfrmMain::action(const QString &name) const
{
    return m_actions.value(name);
}

QList<QAction *> TfrmMain::gatedActions() const
{
    return m_gated;
}

QAction *TfrmMain::menuItem(const QString &caption) const
{
    for (QMenu *m : m_menus)
        for (QAction *a : m->actions())
            if (a->text() == caption)
                return a;
    return nullptr;
}

void TfrmMain::registerPage(const QString &actionName, QWidget *page)
{
    m_pages.insert(actionName, page);
    page->setParent(m_client);
    m_client->layout()->addWidget(page);
    page->hide();
}

void TfrmMain::registerCommand(const QString &actionName, std::function<void()> open)
{
    m_commands.insert(actionName, std::move(open));
}

void TfrmMain::registerOpener(const QString &windowName, std::function<void(QWidget *)> open)
{
    m_openers.insert(windowName, std::move(open));
}

bool TfrmMain::hasOpener(const QString &windowName) const
{
    return m_openers.contains(windowName);
}

bool TfrmMain::openWindow(const QString &windowName, QWidget *parent)
{
    const auto open = m_openers.value(windowName);
    if (!open)
        return false;
    open(parent ? parent : this);
    return true;
}

void TfrmMain::showPage(QWidget *page)
{
    for (QWidget *w : m_client->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w != page)
            w->hide();
    if (page->parentWidget() != m_client) {
        page->setParent(m_client);
        m_client->layout()->addWidget(page);
    }
    page->show();
}

void TfrmMain::showSchedulePage()
{
    showPage(m_schedule);
}

QWidget *TfrmMain::currentPage() const
{
    for (QWidget *w : m_client->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(m_client))
            return w;
    return nullptr;
}

void TfrmMain::selectTab(const QString &tab)
{
    for (int i = 0; i < m_navigation->count(); ++i)
        if (m_navigation->itemText(i) == tab)
            m_navigation->setCurrentIndex(i);
}

QString TfrmMain::currentNavigationTab() const
{
    return m_navigation->itemText(m_navigation->currentIndex());
}

bool TfrmMain::isNavigationVisible() const
{
    return m_navigationFrame->isVisibleTo(this);
}

QString TfrmMain::statusText(int panel) const
{
    return m_panels.value(panel) ? m_panels.value(panel)->text() : QString();
}

void TfrmMain::run(const Command &c)
{
    const QString name = s(c.name);
    if (c.log[0])
        WriteLog(s(c.log));  // first, so refused and cancelled commands are logged too
    if ((c.kind == CommandKind::SystemDialog || c.kind == CommandKind::SystemOnly) && !IsSystemUser()) {
        Messages::warning(this, s("对不起，只有系统管理员才享有该权限！"));
        return;
    }
    if (c.tab[0])
        selectTab(s(c.tab));
    switch (c.kind) {
    case CommandKind::Handler:
        (this->*c.handler)();
        return;
    case CommandKind::Schedule:
        // The schedule's own steps first: when one fails (a pending edit that cannot be
        // posted) the page stays as it was.
        if (const auto open = m_commands.value(name))
            open();
        setToolsVisible(true);
        showSchedulePage();
        return;
    case CommandKind::Page:
        if (name == u"Act_Mail") {
            if (m_navToggle->isChecked())
                toggleNavigation();
        } else {
            setToolsVisible(false);
        }
        if (QWidget *page = m_pages.value(name))
            showPage(page);
        break;
    default:
        break;
    }
    if (const auto open = m_commands.value(name))
        open();
}

void TfrmMain::quit()
{
    close();
}

void TfrmMain::toggleNavigation()
{
    setNavigationVisible(!m_navToggle->isChecked());
}

void TfrmMain::setNavigationVisible(bool visible)
{
    m_navToggle->setChecked(visible);
    m_navigationFrame->setVisible(visible);
}

void TfrmMain::setToolsWindow(QWidget *tools)
{
    if (m_tools)
        m_tools->removeEventFilter(this);
    m_tools = tools;
    if (m_tools) {
        m_tools->installEventFilter(this);
        m_tools->setVisible(m_toolsToggle->isChecked() && isVisible());
    }
}

void TfrmMain::setToolsVisible(bool visible)
{
    // The tool window comes and goes with the main window: shown only while this one is.
    if (m_tools)
        m_tools->setVisible(visible && isVisible());
    m_toolsToggle->setChecked(visible);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_tools && m_toolsToggle->isChecked() && !event->spontaneous())
        m_tools->show();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // The check mark of "文件管理及工具栏" mirrors the tool window: its close box clears it.
    if (watched == m_tools && event->type() == QEvent::Close)
        m_toolsToggle->setChecked(false);
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::prepareAfterLogin()
{
    // The database actually opened must still be there.
    const QString path = dmMain->databasePath().isEmpty() ? DatabaseConnector::defaultDatabasePath(AppDir)
                                                          : dmMain->databasePath();
    if (!QFile::exists(path)) {
        Messages::warning(this, s("对不起，数据文件没有找到！请查找QLM30.qdb文件，") + u'\n' + s("并将文件复制到")
                                    + QDir::toNativeSeparators(AppDir) + s("Data目录下！"));
        return false;
    }
    return ErrorHandler::run(this, [this] {
        OpenDatasets({dmMain->tblUserRight, dmMain->tblColor, dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist,
                      dmMain->tblCustLevel, dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblCurrencyRate,
                      dmMain->tblGongzhong, dmMain->tblCustomers, dmMain->tblCustomers2, dmMain->tblOperates,
                      dmMain->tblOperaters, dmMain->tblYuangong});
        dmMain->tblUser->close();
        dmMain->tblUser->open();
        Dataset *owners = dmMain->tblCustomers2;
        if (IsSystemUser()) {
            owners->setFiltered(false);
            owners->setFilter(QString());
            if (!owners->isActive())
                owners->open();
        } else {
            owners->close();
            owners->setFilter(OwnerFilter());
            owners->setFiltered(true);
            owners->open();
        }
        QueryDataset *plan = dmMain->qryPlan;
        plan->close();
        plan->setSql({s("select * from tblPlan")});
        plan->open();
        if (!plan->isEmpty())
            dmMain->tblCustomers->locate(s("CustID"), {plan->field(s("CustID")).value()}, Qt::CaseInsensitive);
        m_panels[0]->setText(s("欢迎使用Brimwell！"));
        m_panels[1]->setText(s("操作员：  ") + CurrentUserID);
        updateClock();
        setToolsVisible(true);
        showSchedulePage();
        selectTab(s(Sys));
        ActionGate::instance()->evaluate();
    });
}

void TfrmMain::updateClock()
{
    m_panels[2]->setText(s("当前系统时间：   ") + DateText::now());
    updateNumLock();
}

void TfrmMain::updateNumLock()
{
    m_panels[4]->setText(m_numLock->isOn() ? s("NUM") : QString());
}

bool TfrmMain::confirmQuit()
{
    return Messages::show(this, {s("真的要退出Brimwell吗？"), s("系统退出确认"), Messages::Icon::Question,
                                 Messages::Buttons::YesNo, Messages::Answer::No})
        == Messages::Answer::Yes;
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (confirmQuit())
        event->accept();
    else
        event->ignore();
}

void TfrmMain::startCalculator()
{
    Shell::startFirst({s("gnome-calculator"), s("kcalc"), s("galculator"), s("mate-calc"), s("qalculate-gtk"), s("xcalc")});
}

void TfrmMain::startCalendar()
{
    if (Shell::startFirst({s("gnome-control-center")}, {s("datetime")}))
        return;
    Shell::startFirst({s("gnome-calendar"), s("orage"), s("korganizer")});
}

void TfrmMain::startSystemInformation()
{
    Shell::startFirst({s("gnome-system-monitor"), s("hardinfo"), s("ksysguard"), s("xfce4-taskmanager")});
}

void TfrmMain::openHelp()
{
    // The help file where the agency put one; otherwise the short manual shipped with the program.
    const QString chm = AppDir + s("QLKHelp.chm");
    if (QFile::exists(chm)) {
        Shell::open(QDir::toNativeSeparators(chm));
        return;
    }
    const QString manual = AppDir + s("Help/index.html");
    if (!QFile::exists(manual)) {
        QDir().mkpath(AppDir + s("Help"));
        QFile::copy(s(":/help/index.html"), manual);
    }
    Shell::open(QDir::toNativeSeparators(manual));
}

void TfrmMain::openWebSite()
{
    Shell::open(s(Maker::WebSite));
}

void TfrmMain::contactUs()
{
    Shell::open(Shell::mailto(s(Maker::SupportEmail), s("Subject:Wanna ask a question!"), s("Hello!")));
}

void TfrmMain::showAbout()
{
    TfrmAbout about(this);
    Dialogs::showModal(&about);
}
