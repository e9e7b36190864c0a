#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolBox;
class QWidget;
class DbGrid;
class NumLockState;

// The main window: menus, top bar, navigation panel, the client area that hosts one
// page at a time, and the status bar. Every command writes its log entry first.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    enum class CommandKind {
        Dialog,        // a modal window of a later Part
        Page,          // a page hosted in the client area
        Schedule,      // the main window's own schedule page
        SystemDialog,  // a dialog for system users only
        SystemOnly,    // no right code; system users only
        LogOnly,       // writes its entry and nothing else
        Handler        // a small command of this window
    };
    struct Command
    {
        const char *name;      // action name ("Act_Customers") or an internal one for plain items
        const char *caption;
        const char *shortcut;
        const char *right;     // right code; empty: always enabled
        const char *log;       // log text; empty: none
        int menu;              // index into the menus
        bool hidden;           // present but not shown; a shortcut still runs it
        const char *tab;       // navigation tab the command selects
        CommandKind kind;
        void (TfrmMain::*handler)();
    };

    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The command behind an action name ("Act_Customers"); nullptr when unknown.
    QAction *action(const QString &name) const;
    QList<QAction *> gatedActions() const;
    QAction *menuItem(const QString &caption) const;

    // Later windows attach here: a page hosted in the client area, or a dialog opener.
    void registerPage(const QString &actionName, QWidget *page);
    void registerCommand(const QString &actionName, std::function<void()> open);
    // A window other windows open by its name ("TfrmCurrencyRate"), with no log entry and
    // no right test of its own; `open` gets the parent to show it over.
    void registerOpener(const QString &windowName, std::function<void(QWidget *parent)> open);
    // Opens that window over `parent` (nullptr: this window); false when none is registered.
    bool openWindow(const QString &windowName, QWidget *parent = nullptr);
    // True once some window folder has registered an opener under this name.
    bool hasOpener(const QString &windowName) const;

    // One page at a time in the client area.
    void showPage(QWidget *page);
    void showSchedulePage();
    QWidget *currentPage() const;
    QWidget *schedulePage() const { return m_schedule; }
    // The schedule page's tab set, which the schedule unit fills with its two tabs.
    QTabWidget *scheduleTabs() const { return m_schedule; }

    // The first-show steps after login; false when the program must end.
    bool prepareAfterLogin();
    // The quit question; true when the user said Yes.
    bool confirmQuit();
    // Selects the navigation tab with this caption ("业务管理", ...).
    void selectTab(const QString &tab);
    // Shows or hides the navigation panel, with "系统导航" checked to match.
    void setNavigationVisible(bool visible);
    // The navigation tab selected by the last command.
    QString currentNavigationTab() const;
    bool isNavigationVisible() const;
    QString statusText(int panel) const;
    void updateClock();

    // The tool window the "文件管理及工具栏" item shows and hides (created by a later window).
    void setToolsWindow(QWidget *tools);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static const std::vector<Command> &commands();
    void quit();
    void buildActions();
    void buildMenus();
    void buildTopBar();
    void buildNavigation();
    void buildClientArea();
    void buildStatusBar();
    void run(const Command &c);
    void toggleNavigation();
    void setToolsVisible(bool visible);
    void startCalculator();
    void startCalendar();
    void startSystemInformation();
    void openHelp();
    void openWebSite();
    void contactUs();
    void showAbout();
    void updateNumLock();

    QHash<QString, QAction *> m_actions;
    QList<QAction *> m_gated;
    QHash<QString, QWidget *> m_pages;
    QHash<QString, std::function<void()>> m_commands;
    QHash<QString, std::function<void(QWidget *)>> m_openers;
    QList<QMenu *> m_menus;
    QToolBox *m_navigation = nullptr;
    QWidget *m_navigationFrame = nullptr;
    QWidget *m_client = nullptr;
    QTabWidget *m_schedule = nullptr;
    QList<QLabel *> m_panels;
    QTimer *m_clock = nullptr;
    QAction *m_navToggle = nullptr;
    QAction *m_toolsToggle = nullptr;
    QPointer<QWidget> m_tools;
    NumLockState *m_numLock = nullptr;
    bool m_quitting = false;
};

extern TfrmMain *frmMain;
