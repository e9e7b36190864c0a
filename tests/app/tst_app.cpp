// Start-up, login, rights and the main window, driven as a user drives them.
#include "ActionGate.h"
#include "AppFont.h"
#include "ButtonColumn.h"
#include "DatabaseConnector.h"
#include "LogEntries.h"
#include "NumLockState.h"
#include "PasswordHash.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uAbout.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPictures.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

// Users beside Admin: rights as their names say.
void addUsers(Database &db)
{
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(db, s("tblUser"), {s("UserID"), s("Password"), s("State"), s("Sys")});
    user.insert({s("wang"), hash, s("Yes"), false});
    user.insert({s("norights"), hash, s("Yes"), false});
    user.insert({s("ranker"), hash, s("Yes"), false});
    user.insert({s("planner"), hash, s("Yes"), false});
    user.insert({s("retired"), hash, s("No"), false});
    user.insert({s("boss"), hash, s("no"), true});  // only exactly "No" hides a user
    TableInserter right(db, s("tblUserRight"), {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"),
                                                s("Query"), s("Print")});
    for (const char *code : {"101", "102", "105", "301", "302", "304"})
        right.insert({s("wang"), s(code), true, true, true, true, true});
    right.insert({s("ranker"), s("412"), false, false, false, false, false});
    right.insert({s("planner"), s("305"), false, true, true, true, true});
    for (const char *code : {"401", "404", "107", "408"})
        right.insert({s("norights"), s(code), true, true, true, true, true});  // codes with no command
    TableInserter cust(db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    cust.insert({s("C1"), s("王宅"), s("wang")});
    cust.insert({s("C2"), s("李宅"), s("li")});
}

// What of a widget its ancestors up to the window leave visible, in window coordinates.
QRect visiblePart(const QWidget *w, const QWidget *window)
{
    QRect r(w->mapTo(window, QPoint()), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        r &= QRect(p->mapTo(window, QPoint()), p->size());
    return r & window->rect();
}

void wheel(QWidget *target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

}  // namespace

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void loginListSkipsNoUsers();
    void loginAttempts_data();
    void loginAttempts();
    void threeFailuresTolerated();
    void fourthFailureEnds();
    void cancelAndEscapeEnd();
    void enterMovesThenLogsIn();
    void rightsGateActions_data();
    void rightsGateActions();
    void subRights();
    void systemUserRefusalsStillLog_data();
    void systemUserRefusalsStillLog();
    void quitAnsweredNoKeepsRunningAndLogs();
    void ownerFilterAfterLogin_data();
    void ownerFilterAfterLogin();
    void missingDatabaseIsTheOneOpened();
    void commandsLogAndArrange();
    void hiddenItemsAndToggles();
    void smallCommandsGoThroughTheShell();
    void aboutBox();
    void statusBar();
    void failedConnectionEndsTheProgramSilently();
    void numPanelFollowsNumLockKeys_data();
    void numPanelFollowsNumLockKeys();
    void commandPicturesComeFromTheResources();
    void navigationShowsWholeButtons_data();
    void navigationShowsWholeButtons();

private:
    // Admin has the initial password; the other test users "pw".
    void login(const QString &user);

    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestApp::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    AppFont::apply(*qApp);  // the program's font: the panel's buttons are measured in it
    m_template = std::make_unique<TestAppDir>();
    addUsers(*m_template->open());
}

void TestApp::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    CurrentUserID.clear();
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
}

void TestApp::cleanup()
{
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestApp::login(const QString &user)
{
    const QString password = user.compare(s("admin"), Qt::CaseInsensitive) == 0 ? s("482716") : s("pw");
    TfrmLogin dialog;
    dialog.prepare();
    dialog.userBox()->setEditText(user);
    dialog.passwordBox()->setText(password);
    dialog.tryLogin();
    QCOMPARE(dialog.outcome(), TfrmLogin::Outcome::LoggedIn);
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

void TestApp::loginListSkipsNoUsers()
{
    TfrmLogin dialog;
    dialog.prepare();
    QStringList items;
    for (int i = 0; i < dialog.userBox()->count(); ++i)
        items << dialog.userBox()->itemText(i);
    QCOMPARE(items, (QStringList{"Admin", "wang", "norights", "ranker", "planner", "boss"}));
    QCOMPARE(dialog.windowTitle(), s("Brimwell2003(通用版)"));
    QVERIFY(dialog.findChild<QLabel *>(s("lbHint"))->text() == s("第一次使用：用户ID：Admin  口令：482716"));
    QCOMPARE(dialog.passwordBox()->echoMode(), QLineEdit::Password);
}

void TestApp::loginAttempts_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("failures");
    QTest::newRow("admin") << "Admin" << "482716" << true << "" << 0;
    QTest::newRow("id in other case, kept as typed") << "ADMIN" << "482716" << true << "" << 0;
    QTest::newRow("empty user, not counted") << "" << "x" << false << "请选择要登录的用户名称！" << 0;
    QTest::newRow("wrong password") << "Admin" << "482717" << false << "口令输入错误，请重新输入！" << 1;
    QTest::newRow("password is exact") << "Admin" << "482716 " << false << "口令输入错误，请重新输入！" << 1;
    QTest::newRow("empty password") << "Admin" << "" << false << "口令输入错误，请重新输入！" << 1;
    QTest::newRow("unknown user") << "nobody" << "482716" << false << "口令输入错误，请重新输入！" << 1;
    QTest::newRow("hidden user typed in") << "retired" << "pw" << true << "" << 0;
}

void TestApp::loginAttempts()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, success);
    QFETCH(QString, message);
    QFETCH(int, failures);
    TfrmLogin dialog;
    bool hooked = false;
    dialog.setOnSuccess([&] { hooked = true; });
    dialog.prepare();
    dialog.userBox()->setEditText(user);
    dialog.passwordBox()->setText(password);
    dialog.tryLogin();
    QCOMPARE(dialog.outcome() == TfrmLogin::Outcome::LoggedIn, success);
    QCOMPARE(hooked, success);
    QCOMPARE(dialog.failures(), failures);
    QCOMPARE(CurrentUserID, success ? user : QString());
    QCOMPARE(m_rec->lastText(), message);
    if (!message.isEmpty()) {
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(m_rec->messages.last().caption, s("系统提示"));
    }
}

void TestApp::threeFailuresTolerated()
{
    TfrmLogin dialog;
    dialog.prepare();
    dialog.userBox()->setEditText(s("wang"));
    for (int i = 0; i < 3; ++i) {
        dialog.passwordBox()->setText(s("bad"));
        dialog.tryLogin();
    }
    QCOMPARE(dialog.outcome(), TfrmLogin::Outcome::Pending);
    QCOMPARE(dialog.passwordBox()->selectedText(), s("bad"));  // the wrong text is selected for retyping
    dialog.passwordBox()->setText(s("pw"));
    dialog.tryLogin();
    QCOMPARE(dialog.outcome(), TfrmLogin::Outcome::LoggedIn);
    QCOMPARE(CurrentUserID, s("wang"));
}

void TestApp::fourthFailureEnds()
{
    TfrmLogin dialog;
    dialog.prepare();
    dialog.userBox()->setEditText(s("wang"));
    for (int i = 0; i < 4; ++i) {
        dialog.passwordBox()->setText(s("bad"));
        dialog.tryLogin();
    }
    QCOMPARE(dialog.outcome(), TfrmLogin::Outcome::TooManyFailures);
    QCOMPARE(m_rec->texts(), (QStringList{"口令输入错误，请重新输入！", "口令输入错误，请重新输入！",
                                          "口令输入错误，请重新输入！", "对不起，请与系统管理员联系！"}));
    QVERIFY(CurrentUserID.isEmpty());
}

void TestApp::cancelAndEscapeEnd()
{
    TfrmLogin a;
    a.show();
    QTest::mouseClick(a.cancelButton(), Qt::LeftButton);
    QCOMPARE(a.outcome(), TfrmLogin::Outcome::Cancelled);
    TfrmLogin b;
    b.show();
    QTest::keyClick(&b, Qt::Key_Escape);
    QCOMPARE(b.outcome(), TfrmLogin::Outcome::Cancelled);
}

void TestApp::enterMovesThenLogsIn()
{
    TfrmLogin dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    dialog.userBox()->setFocus();
    typeText(dialog.userBox()->lineEdit(), s("Admin"));
    QTest::keyClick(dialog.userBox()->lineEdit(), Qt::Key_Return);
    QVERIFY(dialog.passwordBox()->hasFocus());
    typeText(dialog.passwordBox(), s("482716"));
    QTest::keyClick(dialog.passwordBox(), Qt::Key_Return);
    QCOMPARE(dialog.outcome(), TfrmLogin::Outcome::LoggedIn);
}

void TestApp::rightsGateActions_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("enabled");  // the gated actions that must be enabled, all others disabled
    QTest::newRow("no rights (only codes without commands)") << "norights" << QStringList{};
    QTest::newRow("only the customer ranking") << "ranker" << QStringList{"Act_CustomerSortAnalyse"};
    QTest::newRow("schedule only") << "planner" << QStringList{"Act_Plan"};
    QTest::newRow("some") << "wang"
                          << QStringList{"Act_Password", "Act_UserManage", "Act_SysLog", "Act_Customers", "Act_Linkman",
                                         "Act_OperatesInfo"};
}

void TestApp::rightsGateActions()
{
    QFETCH(QString, user);
    QFETCH(QStringList, enabled);
    login(user);
    QStringList got;
    for (QAction *a : m_main->gatedActions())
        if (a->isEnabled())
            got << a->objectName();
    got.sort();
    enabled.sort();
    QCOMPARE(got, enabled);
    QCOMPARE(m_main->gatedActions().size(), 44);  // every code but 107, 401, 404 and 408
    // Ungated commands stay available to everybody.
    for (const char *name : {"Act_Assign", "Act_OperaterTrack", "Act_Pipkin", "Act_MMS", "Help_About"})
        QVERIFY2(m_main->action(s(name))->isEnabled(), name);
    // A disabled command does not run, even triggered directly.
    const int before = logEntries().size();
    m_main->action(s("Act_Backup"))->trigger();
    QCOMPARE(logEntries().size(), before);
}

void TestApp::subRights()
{
    login(s("planner"));
    QVERIFY(HasRight(s("305")));
    QVERIFY(!HasSubRight(s("305"), s("Insert")));
    QVERIFY(HasSubRight(s("305"), s("Modify")));
    QVERIFY(!HasRight(s("301")));
    QVERIFY(!HasSubRight(s("301"), s("Modify")));
    QVERIFY(!IsSystemUser());
}

void TestApp::systemUserRefusalsStillLog_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("log");
    QTest::newRow("users") << "Act_UserManage" << "系统设置-用户管理";
    QTest::newRow("log") << "Act_SysLog" << "系统设置-系统日志";
    QTest::newRow("assign") << "Act_Assign" << "客户业务管理-客户业务工作分配";
    QTest::newRow("track") << "Act_OperaterTrack" << "客户业务管理-工作人员员跟踪管理";
}

void TestApp::systemUserRefusalsStillLog()
{
    QFETCH(QString, action);
    QFETCH(QString, log);
    login(s("wang"));
    m_main->action(action)->trigger();
    QCOMPARE(m_rec->lastText(), s("对不起，只有系统管理员才享有该权限！"));
    QCOMPARE(logEntries().last(), log);
    QCOMPARE(logEntries().size(), 1);
    // A system user is not refused.
    m_rec->messages.clear();
    cleanup();
    init();
    login(s("ADMIN"));
    m_main->action(action)->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries().last(), log);
}

void TestApp::quitAnsweredNoKeepsRunningAndLogs()
{
    login(s("Admin"));
    m_main->show();
    m_rec->answers << Messages::Answer::No;
    m_main->action(s("Act_Quit"))->trigger();
    QVERIFY(m_main->isVisible());
    QCOMPARE(logEntries(), QStringList{"系统设置-退出系统"});
    const Messages::Request &q = m_rec->messages.last();
    QCOMPARE(q.text, s("真的要退出Brimwell吗？"));
    QCOMPARE(q.caption, s("系统退出确认"));
    QCOMPARE(q.buttons, Messages::Buttons::YesNo);
    QCOMPARE(q.defaultAnswer, Messages::Answer::No);
    m_rec->answers << Messages::Answer::Yes;
    QVERIFY(m_main->close());
    QVERIFY(!m_main->isVisible());
}

void TestApp::ownerFilterAfterLogin_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("customers");
    QTest::newRow("system user sees all") << "Admin" << 2;
    QTest::newRow("owner sees own") << "wang" << 1;
    QTest::newRow("typed in another case") << "WANG" << 1;
}

void TestApp::ownerFilterAfterLogin()
{
    QFETCH(QString, user);
    QFETCH(int, customers);
    login(user);
    QCOMPARE(dmMain->tblCustomers2->recordCount(), customers);
    QCOMPARE(m_main->statusText(1), s("操作员：  ") + user);
}

void TestApp::missingDatabaseIsTheOneOpened()
{
    // The program runs on another file named in Server.txt; the default one is absent.
    cleanup();
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    const QString other = m_dir->file(s("elsewhere.qdb"));
    QVERIFY(QFile::copy(m_template->databasePath(), other));
    m_dir->writeFile(s("Server.txt"), other.toUtf8() + "\n");
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    CurrentUserID = s("Admin");
    QVERIFY(m_main->prepareAfterLogin());
    QVERIFY(m_rec->messages.isEmpty());
    // Now the file actually opened disappears.
    QVERIFY(QFile::remove(other));
    QVERIFY(!m_main->prepareAfterLogin());
    QCOMPARE(m_rec->lastText(), s("对不起，数据文件没有找到！请查找QLM30.qdb文件，\n并将文件复制到")
                                    + QDir::toNativeSeparators(AppDir) + s("Data目录下！"));
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
}

void TestApp::commandsLogAndArrange()
{
    login(s("Admin"));
    QWidget page;
    int opened = 0;
    m_main->registerPage(s("Act_Customers"), &page);
    m_main->registerCommand(s("Act_Customers"), [&] { ++opened; });
    m_main->action(s("Act_Customers"))->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-客户资料"));
    QCOMPARE(m_main->currentNavigationTab(), s("业务管理"));
    QCOMPARE(m_main->currentPage(), &page);
    QCOMPARE(opened, 1);
    QVERIFY(!m_main->menuItem(s("文件管理及工具栏"))->isChecked());
    m_main->action(s("Act_Plan"))->trigger();
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());
    QVERIFY(m_main->menuItem(s("文件管理及工具栏"))->isChecked());
    m_main->action(s("Act_CurrencyRate"))->trigger();
    QCOMPARE(m_main->currentNavigationTab(), s("基础资料"));
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());  // a dialog leaves the page alone
    m_main->action(s("Act_Jineng"))->trigger();
    QCOMPARE(m_main->currentNavigationTab(), s("内部管理"));
    QCOMPARE(logEntries().mid(1), (QStringList{"客户业务管理-日程安排", "基础资料-币别汇率设置", "内部管理-技能级别设置"}));
    page.setParent(nullptr);
}

void TestApp::hiddenItemsAndToggles()
{
    login(s("Admin"));
    for (const char *name : {"Act_Mail", "Act_Pipkin", "Act_MMS"}) {
        QAction *a = m_main->action(s(name));
        QVERIFY2(!m_main->menuItem(a->text()), name);  // not in any menu
        QVERIFY(!a->shortcut().isEmpty());
        QVERIFY(a->isEnabled());                         // but its shortcut runs it
    }
    QVERIFY(m_main->menuItem(s("信封标签")));
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QTest::keyClick(m_main.get(), Qt::Key_F11);  // the hidden "短信中心" by its shortcut
    QCOMPARE(logEntries(), QStringList{"工具-短信中心"});
    dmMain->qryLogClear->exec();
    QCOMPARE(m_main->action(s("Act_Mail"))->shortcut(), QKeySequence(Qt::Key_F8));
    QCOMPARE(m_main->action(s("Act_Gathering"))->shortcut(), QKeySequence(s("Ctrl+Alt+M")));
    // Bulk mail hides the navigation panel.
    m_main->show();
    QVERIFY(m_main->isNavigationVisible());
    m_main->action(s("Act_Mail"))->trigger();
    QVERIFY(!m_main->isNavigationVisible());
    QVERIFY(!m_main->menuItem(s("系统导航"))->isChecked());
    m_main->menuItem(s("系统导航"))->trigger();
    QVERIFY(m_main->isNavigationVisible());
    QVERIFY(m_main->menuItem(s("系统导航"))->isChecked());
    QCOMPARE(logEntries(), (QStringList{"工具-邮件群发", "窗口-系统导航"}));
    // The tools item's check follows the tools window.
    QWidget tools;
    m_main->setToolsWindow(&tools);
    m_main->menuItem(s("文件管理及工具栏"))->trigger();
    QVERIFY(!tools.isVisible());
    QVERIFY(!m_main->menuItem(s("文件管理及工具栏"))->isChecked());
    m_main->action(s("Act_Plan"))->trigger();
    QVERIFY(tools.isVisible());
    QVERIFY(m_main->menuItem(s("文件管理及工具栏"))->isChecked());
    m_main->setToolsWindow(nullptr);
}

void TestApp::smallCommandsGoThroughTheShell()
{
    login(s("Admin"));
    m_main->action(s("Help_Contact"))->trigger();
    QCOMPARE(m_rec->opened.last(), Shell::mailto(s("support@jiahe-soft.example"), s("Subject:Wanna ask a question!"), s("Hello!")));
    m_main->action(s("Help_Site"))->trigger();
    QCOMPARE(m_rec->opened.last(), s("http://www.jiahe-soft.example"));
    m_main->action(s("Help_Help"))->trigger();
    QVERIFY(m_rec->opened.last().endsWith(QDir::toNativeSeparators(s("Help/index.html"))));
    QVERIFY(QFile(AppDir + s("Help/index.html")).size() > 500);  // the shipped manual
    m_dir->writeFile(s("QLKHelp.chm"), "chm");
    m_main->action(s("Help_Help"))->trigger();
    QVERIFY(m_rec->opened.last().endsWith(s("QLKHelp.chm")));
    m_main->action(s("Tool_Calculator"))->trigger();
    m_main->action(s("Tool_Calendar"))->trigger();
    m_main->action(s("Tool_SysInfo"))->trigger();
    m_main->action(s("Help_Support"))->trigger();  // writes no entry
    QCOMPARE(logEntries(), (QStringList{"帮助-联系我们", "帮助-公司及产品介绍", "帮助-系统帮助", "帮助-系统帮助",
                                        "工具-计算器", "工具-日历", "工具-系统信息"}));
    for (const QStringList &started : std::as_const(m_rec->started))
        QVERIFY(QFileInfo(started.first()).isExecutable());  // only programs that are there
}

void TestApp::aboutBox()
{
    login(s("Admin"));
    QString title;
    bool centred = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *about = qobject_cast<TfrmAbout *>(d);
        if (!about)
            return QDialog::Rejected;
        title = about->windowTitle();
        centred = about->okButton()->x() == (about->width() - about->okButton()->width()) / 2;
        emit about->webLabel()->linkActivated(s("http://www.jiahe-soft.example"));
        return QDialog::Accepted;
    };
    m_main->action(s("Help_About"))->trigger();
    QCOMPARE(title, s("关于Brimwell2003"));
    QVERIFY(centred);
    QCOMPARE(m_rec->modalWindows, QStringList{"frmAbout"});
    QCOMPARE(m_rec->opened, QStringList{"http://www.jiahe-soft.example"});
    QCOMPARE(logEntries(), QStringList{"帮助-关于Brimwell2003"});
}

void TestApp::statusBar()
{
    login(s("Admin"));
    QCOMPARE(m_main->statusText(0), s("欢迎使用Brimwell！"));
    QVERIFY(m_main->statusText(2).startsWith(s("当前系统时间：   ")));
    QCOMPARE(m_main->statusText(3), s("http://www.jiahe-soft.example"));
    QCOMPARE(m_main->windowTitle(), s("Brimwell2003（通用版）"));
}

void TestApp::failedConnectionEndsTheProgramSilently()
{
    // The real program, copied into a folder of its own so that folder is its AppDir.
    TestAppDir dir(false);
    const QString program = dir.file(s("brimwell"));
    QVERIFY(QFile::copy(s(BRIMWELL_PATH), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    dir.writeFile(s("Server.txt"), "/no/such/place/QLM30.qdb\r\n");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("QT_QPA_PLATFORM"), s("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, {});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY(p.exitCode() != 0);
    QVERIFY(p.readAllStandardError().contains("cannot open the database"));
    QCOMPARE(dir.readFile(s("Server.txt")), dir.file(s("Data/QLM30.qdb")).toUtf8() + '\n');
    QCOMPARE(dir.readFile(s("Server.txt.bak")), QByteArray("/no/such/place/QLM30.qdb\n"));
    for (const char *sub : {"Files", "Files/Plans", "Backup", "Log"})
        QVERIFY(QDir(dir.file(s(sub))).exists());
}

void TestApp::numPanelFollowsNumLockKeys_data()
{
    // Key events as the window system delivers them: to the window, then on to the widgets.
    QTest::addColumn<QStringList>("keys");  // "press": a Num Lock press and release; "hold": held
                                            // down with auto-repeat; "a": another key
    QTest::addColumn<bool>("on");
    QTest::newRow("one press") << QStringList{"press"} << true;
    QTest::newRow("two presses") << QStringList{"press", "press"} << false;
    QTest::newRow("three presses") << QStringList{"press", "press", "press"} << true;
    QTest::newRow("held down") << QStringList{"hold"} << true;
    QTest::newRow("other keys leave it") << QStringList{"press", "a", "a"} << true;
}

void TestApp::numPanelFollowsNumLockKeys()
{
    if (NumLockState::fromWindowSystem() || NumLockState::fromLed())
        QSKIP("Num Lock is read from the window system or the LED here, not followed from the keys");
    QFETCH(QStringList, keys);
    QFETCH(bool, on);
    login(s("Admin"));
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QWindow *window = m_main->windowHandle();
    QCOMPARE(m_main->statusText(4), QString());
    for (const QString &key : std::as_const(keys)) {
        if (key == u"press") {
            QTest::keyClick(window, Qt::Key_NumLock);
        } else if (key == u"hold") {
            qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_NumLock, Qt::NoModifier);
            for (int i = 0; i < 3; ++i)
                qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_NumLock, Qt::NoModifier, QString(), true);
            qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_NumLock, Qt::NoModifier);
        } else {
            QTest::keyClick(window, Qt::Key_A);
        }
    }
    QCOMPARE(m_main->statusText(4), on ? s("NUM") : QString());  // at once, not with the clock
    m_main->updateClock();
    QCOMPARE(m_main->statusText(4), on ? s("NUM") : QString());  // and the clock agrees
}

void TestApp::commandPicturesComeFromTheResources()
{
    QList<QAction *> top;
    for (QAction *a : m_main->findChild<QToolBar *>(s("topBar"))->actions())
        if (!a->isSeparator())
            top << a;
    QCOMPARE(top.size(), 11);
    QList<QAction *> navigation;
    auto *box = m_main->findChild<QToolBox *>(s("navigation"));
    for (int i = 0; i < box->count(); ++i) {
        QSet<qint64> pictures;  // no two buttons of one tab look alike
        for (QToolButton *b : qobject_cast<ButtonColumn *>(box->widget(i))->buttons()) {
            navigation << b->defaultAction();
            QCOMPARE(b->text(), b->defaultAction()->text());  // the caption stays under the picture
            QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QVERIFY2(!pictures.contains(b->icon().cacheKey()) || b->icon().isNull(), qPrintable(b->text()));
            pictures << b->icon().cacheKey();
        }
    }
    QCOMPARE(navigation.size(), 31);
    for (QAction *a : top + navigation) {
        const QString name = a->objectName();
        const QString resource = Pictures::commandIconResource(name);
        QVERIFY2(resource.startsWith(s(":/icons/")) && QFile::exists(resource), qPrintable(name));
        QVERIFY2(!a->icon().isNull(), qPrintable(name));
        // Really drawn: the picture has opaque pixels, at the top bar's and the panel's sizes.
        for (int size : {24, 32}) {
            const QImage image = a->icon().pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128;
            QVERIFY2(opaque > size * size / 10, qPrintable(name));
        }
        QVERIFY2(!a->toolTip().isEmpty(), qPrintable(name));  // the hint over the picture
    }
    QCOMPARE(m_main->findChild<QAction *>(s("Top_Quit"))->toolTip(), s("退出系统"));
    // The icon theme's licence travels with its pictures.
    QFile licence(s(":/icons/COPYING"));
    QVERIFY(licence.open(QIODevice::ReadOnly));
    QVERIFY(licence.readAll().contains("LGPL"));
}

void TestApp::navigationShowsWholeButtons_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("system") << "系统设置"
                            << QStringList{"口令设置", "用户管理", "数据备份", "数据恢复", "系统日志", "用户信息"};
    QTest::newRow("base") << "基础资料"
                          << QStringList{"币别汇率设置", "金融机构设置", "客户类型设置", "业务类型设置",
                                         "业务来源设置", "客户级别定义", "客户状态定义"};
    QTest::newRow("business") << "业务管理"
                              << QStringList{"客户资料", "联系人资料", "业务资料", "日程安排", "应收账款", "应付账款"};
    QTest::newRow("charts") << "图表分析"
                            << QStringList{"按时间分析", "客户级别分析", "客户来源分析", "业务来源分析",
                                           "业务类型分析", "业务排行榜", "客户排行榜"};
    QTest::newRow("internal") << "内部管理"
                              << QStringList{"部门设置", "工种设置", "员工档案", "工作人员资料", "输送单位"};
}

void TestApp::navigationShowsWholeButtons()
{
    QFETCH(QString, tab);
    QFETCH(QStringList, captions);
    login(s("Admin"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    auto *box = m_main->findChild<QToolBox *>(s("navigation"));
    int index = -1;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i) == tab)
            index = i;
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    auto *column = qobject_cast<ButtonColumn *>(box->widget(index));
    QVERIFY(column);
    QTRY_VERIFY(column->isVisible() && column->height() > 0);
    QStringList got;
    for (QToolButton *b : column->buttons())
        got << b->text();
    QCOMPARE(got, captions);

    // Every button shown is shown whole; the others not at all. Checked at each wheel notch.
    const auto shown = [&] {
        QStringList whole;
        for (QToolButton *b : column->buttons()) {
            if (!b->isVisible())
                continue;
            const QRect full(b->mapTo(m_main.get(), QPoint()), b->size());
            const QRect part = visiblePart(b, m_main.get());
            if (part != full)
                return QStringList{s("partly visible: ") + b->text() + u' ' + QDebug::toString(full) + u' '
                                   + QDebug::toString(part)};
            whole << b->text();
        }
        return whole;
    };
    QStringList seen = shown();
    QVERIFY2(!seen.isEmpty() && !seen.first().startsWith(s("partly")), qPrintable(seen.join(u',')));
    QCOMPARE(seen.first(), captions.first());
    const int atOnce = int(seen.size());
    QVERIFY(atOnce >= 4);  // the panel's height holds at least four buttons
    for (int notch = 0; notch < captions.size(); ++notch) {
        const int before = column->firstShown();
        wheel(column->buttons()[column->firstShown()], -120);  // over a button, as a user turns it
        const QStringList now = shown();
        QVERIFY2(now.isEmpty() || !now.first().startsWith(s("partly")), qPrintable(now.join(u',')));
        QCOMPARE(int(now.size()), atOnce);
        // One notch, one button further, until the last one is shown.
        QCOMPARE(column->firstShown(), qMin(before + 1, int(captions.size()) - atOnce));
        for (const QString &c : now)
            if (!seen.contains(c))
                seen << c;
    }
    QCOMPARE(seen, captions);  // every button can be reached
    QCOMPARE(column->scrollBar()->isVisible(), captions.size() > atOnce);
    // Half a notch does nothing; two halves make one back.
    if (column->firstShown() > 0) {
        const int last = column->firstShown();
        wheel(column, 60);
        QCOMPARE(column->firstShown(), last);
        wheel(column, 60);
        QCOMPARE(column->firstShown(), last - 1);
    }
    // The scroll bar moves by whole buttons too.
    column->scrollBar()->setValue(0);
    QCOMPARE(shown().first(), captions.first());
    column->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(column->firstShown(), captions.size() > atOnce ? 1 : 0);
    QCOMPARE(shown().size(), atOnce);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
