// User management, the rights window and the password dialog over a real encrypted file.
#include "ActionGate.h"
#include "AdminWindows.h"
#include "DbGrid.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uMain.h"
#include "uPassword.h"
#include "uPublic.h"
#include "uRight.h"
#include "uUser.h"
#include "udmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QVariant scalar(const QString &sql)
{
    return dmMain->database()->scalar(sql);
}

QString storedPassword(const QString &user)
{
    Statement st(*dmMain->database(), s("select Password from tblUser where UserID = :id"));
    st.bind(s("id"), user);
    return st.step() ? st.text(0) : QString();
}

// RightID and the five sub-right columns of a user's rows, in the order they were written.
QStringList rightRows(const QString &user)
{
    Statement st(*dmMain->database(), s("select RightID, \"Insert\", Modify, \"Delete\", Query, Print from tblUserRight "
                                        "where UserID = :id order by rowid"));
    st.bind(s("id"), user);
    QStringList out;
    while (st.step())
        out << st.text(0) + u':' + st.text(1) + st.text(2) + st.text(3) + st.text(4) + st.text(5);
    return out;
}

}  // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newUserGetsHashedInitialPassword_data();
    void newUserGetsHashedInitialPassword();
    void requiredFieldsInOrder_data();
    void requiredFieldsInOrder();
    void builtInUserRefused_data();
    void builtInUserRefused();
    void duplicateIdRefusedWhateverTheCase_data();
    void duplicateIdRefusedWhateverTheCase();
    void closeBoxAsksAndCancelDiscards();
    void systemUserNotDeleted_data();
    void systemUserNotDeleted();
    void deleteTakesRightsAlong();
    void failedDeleteKeepsUserAndRights();
    void rightsOfUnsavedRowRefused();

    void rightsTickedFromRows();
    void selectAllPerTab_data();
    void selectAllPerTab();
    void untickingCodeClearsSubRights();
    void rightsSavedInOrderWithColumns();
    void systemUserRightsNotSaved();
    void failedRightsSaveKeepsOldRows();
    void mainWindowFollowsSavedRights();

    void installedCommandsOpenTheirWindows_data();
    void installedCommandsOpenTheirWindows();

    void passwordChecks_data();
    void passwordChecks();
    void passwordStoredExactlyAsTyped_data();
    void passwordStoredExactlyAsTyped();
    void emptyStoredPasswordCannotChange();

private:
    std::unique_ptr<TfrmUser> openUsers(const QString &currentId = {});
    std::unique_ptr<TfrmRight> openRights(const QString &user);
    void fill(const QString &id, const QString &name, const QString &dept, const QString &duty);

    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestUsers::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("UserName"), s("Password"), s("DeptID"), s("Duty"), s("Sys")});
    user.insert({s("bob"), s("鲍勃"), hash, s("01"), s("文员"), false});
    user.insert({s("émile"), s("埃米尔"), hash, s("01"), s("文员"), false});
    user.insert({s("root2"), s("第二管理员"), hash, s("01"), s("主管"), true});
    TableInserter right(*db, s("tblUserRight"), {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    right.insert({s("bob"), s("301"), true, false, false, true, false});
    right.insert({s("bob"), s("203"), true, false, true, false, false});
    tx.commit();
}

void TestUsers::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    CurrentUserID = s("Admin");
    OpenDatasets({dmMain->tblUserRight, dmMain->tblUser});
}

void TestUsers::cleanup()
{
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

std::unique_ptr<TfrmUser> TestUsers::openUsers(const QString &currentId)
{
    OpenDatasets({dmMain->tblUser});
    if (!currentId.isEmpty())
        dmMain->tblUser->locate(s("UserID"), {currentId});
    auto w = std::make_unique<TfrmUser>();
    w->show();
    QApplication::setActiveWindow(w.get());
    return w;
}

std::unique_ptr<TfrmRight> TestUsers::openRights(const QString &user)
{
    [&] { QVERIFY(dmMain->tblUser->locate(s("UserID"), {user})); }();
    auto w = std::make_unique<TfrmRight>();
    w->show();
    return w;
}

void TestUsers::fill(const QString &id, const QString &name, const QString &dept, const QString &duty)
{
    Dataset *u = dmMain->tblUser;
    u->field(s("UserID")).setValue(id);
    u->field(s("UserName")).setValue(name);
    u->field(s("DeptID")).setValue(dept);
    u->field(s("Duty")).setValue(duty);
}

void TestUsers::newUserGetsHashedInitialPassword_data()
{
    QTest::addColumn<bool>("viaClose");
    QTest::newRow("保存") << false;
    QTest::newRow("关闭 answered OK") << true;
}

void TestUsers::newUserGetsHashedInitialPassword()
{
    QFETCH(bool, viaClose);
    auto w = openUsers();
    QTest::mouseClick(w->btnAdd, Qt::LeftButton);
    QCOMPARE(dmMain->tblUser->state(), Dataset::State::Insert);
    QVERIFY(w->editor(s("UserID"))->isEnabled());
    fill(s("zhang"), s("张三"), s("01"), s("会计"));
    if (viaClose) {
        m_rec->answers.enqueue(Messages::Answer::Ok);
        QTest::keyClick(w.get(), Qt::Key_Escape);  // the close box and Escape run "关闭"
        QCOMPARE(m_rec->messages.first().text, s("用户资料数据尚未保存，保存吗？"));
        QVERIFY(!w->isVisible());
    } else {
        QTest::mouseClick(w->btnSave, Qt::LeftButton);
        QVERIFY(logEntries().contains(s("系统设置-用户管理-保存用户")));
        QVERIFY(!w->editor(s("UserID"))->isEnabled());
    }
    QCOMPARE(m_rec->lastText(), s("新增用户口令为482716，请提醒用户及时修改！"));
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Information);
    const QString stored = storedPassword(s("zhang"));
    QVERIFY(stored != s("482716"));
    QVERIFY(PasswordHash::verify(s("482716"), stored));
}

void TestUsers::requiredFieldsInOrder_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dept");
    QTest::addColumn<QString>("duty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no ID") << "" << "" << "" << "" << "请输入用户编号！" << "UserID";
    QTest::newRow("blank name") << "li" << "  " << "01" << "x" << "请输入用户名称！" << "UserName";
    QTest::newRow("no department") << "li" << "李四" << "" << "x" << "请选择输入所在部门！" << "DeptID";
    QTest::newRow("no job title") << "li" << "李四" << "01" << "" << "请输入用户职务！" << "Duty";
}

void TestUsers::requiredFieldsInOrder()
{
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, dept);
    QFETCH(QString, duty);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    auto w = openUsers();
    QApplication::setActiveWindow(w.get());
    QTest::mouseClick(w->btnAdd, Qt::LeftButton);
    fill(id, name, dept, duty);
    QTest::mouseClick(w->btnSave, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(QApplication::focusWidget(), w->editor(focus));
    QCOMPARE(dmMain->tblUser->state(), Dataset::State::Insert);
}

void TestUsers::builtInUserRefused_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("保存") << "save";
    QTest::newRow("关闭 answered OK") << "close";
    QTest::newRow("row reached by keyboard") << "keyboard";
}

void TestUsers::builtInUserRefused()
{
    QFETCH(QString, how);
    auto w = openUsers(how == u"keyboard" ? s("bob") : s("Admin"));
    QCOMPARE(w->rememberedId(), how == u"keyboard" ? s("bob") : s("Admin"));
    Dataset *u = dmMain->tblUser;
    if (how == u"keyboard")
        QVERIFY(u->locate(s("UserID"), {s("Admin")}));  // no click: the remembered ID stays "bob"
    u->edit();
    u->field(s("UserName")).setValue(s("改过的名字"));
    if (how == u"close") {
        m_rec->answers.enqueue(Messages::Answer::Ok);
        w->closeProcedure();
        QVERIFY(w->isVisible());
    } else {
        QTest::mouseClick(w->btnSave, Qt::LeftButton);
    }
    QCOMPARE(m_rec->lastText(), s("对不起，系统默认用户不能修改！"));
    QCOMPARE(u->state(), Dataset::State::Edit);
    QCOMPARE(scalar(s("select UserName from tblUser where UserID='Admin'")).toString(), s("系统管理员"));
    // Cancel then discards the change and closes.
    m_rec->answers.enqueue(Messages::Answer::Cancel);
    w->closeProcedure();
    QVERIFY(!w->isVisible());
    QCOMPARE(u->state(), Dataset::State::Browse);
    QCOMPARE(scalar(s("select UserName from tblUser where UserID='Admin'")).toString(), s("系统管理员"));
}

void TestUsers::duplicateIdRefusedWhateverTheCase_data()
{
    QTest::addColumn<QString>("edited");  // empty: a new row
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the built-in ID typed") << "" << "Admin" << true;
    QTest::newRow("ASCII case") << "" << "BOB" << true;
    QTest::newRow("accented capital") << "" << "Émile" << true;
    QTest::newRow("a new ID") << "" << "Émile2" << false;
    QTest::newRow("a saved ID changed to another's") << "bob" << "ÉMILE" << true;
    QTest::newRow("a saved ID in other letter case") << "bob" << "Bob" << false;
}

void TestUsers::duplicateIdRefusedWhateverTheCase()
{
    QFETCH(QString, edited);
    QFETCH(QString, id);
    QFETCH(bool, refused);
    auto w = openUsers(edited);
    if (edited.isEmpty()) {
        QTest::mouseClick(w->btnAdd, Qt::LeftButton);
        fill(id, s("某人"), s("01"), s("文员"));
    } else {
        dmMain->tblUser->edit();
        dmMain->tblUser->field(s("UserID")).setValue(id);
    }
    const int before = scalar(s("select count(*) from tblUser")).toInt();
    QTest::mouseClick(w->btnSave, Qt::LeftButton);
    if (refused) {
        QCOMPARE(m_rec->texts(), QStringList{s("对不起，该用户ID已经存在！")});
        QCOMPARE(QApplication::focusWidget(), w->editor(s("UserID")));
        QCOMPARE(dmMain->tblUser->state(), edited.isEmpty() ? Dataset::State::Insert : Dataset::State::Edit);
        QCOMPARE(scalar(s("select count(*) from tblUser")).toInt(), before);
        if (!edited.isEmpty())
            QCOMPARE(scalar(s("select count(*) from tblUser where UserID = 'bob'")).toInt(), 1);
    } else if (edited.isEmpty()) {
        QCOMPARE(m_rec->lastText(), s("新增用户口令为482716，请提醒用户及时修改！"));
        QCOMPARE(scalar(s("select count(*) from tblUser")).toInt(), before + 1);
    } else {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(scalar(s("select count(*) from tblUser where UserID = 'Bob'")).toInt(), 1);
    }
    dmMain->tblUser->cancel();
}

void TestUsers::closeBoxAsksAndCancelDiscards()
{
    auto w = openUsers(s("bob"));
    Dataset *u = dmMain->tblUser;
    u->edit();
    u->field(s("Duty")).setValue(s("经理"));
    m_rec->answers.enqueue(Messages::Answer::Cancel);
    w->close();  // the close box
    QCOMPARE(m_rec->texts(), QStringList{s("用户资料数据尚未保存，保存吗？")});
    QCOMPARE(m_rec->messages.first().buttons, Messages::Buttons::OkCancel);
    QCOMPARE(u->state(), Dataset::State::Browse);
    QCOMPARE(scalar(s("select Duty from tblUser where UserID='bob'")).toString(), s("文员"));
}

void TestUsers::systemUserNotDeleted_data()
{
    QTest::addColumn<bool>("pendingUntick");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("as stored") << false << QStringList{s("对不起,系统用户不能删除!")};
    QTest::newRow("Sys unticked, not saved") << true << QStringList{s("您真的要删除该用户吗？"), s("对不起,系统用户不能删除!")};
}

void TestUsers::systemUserNotDeleted()
{
    QFETCH(bool, pendingUntick);
    QFETCH(QStringList, messages);
    auto w = openUsers(s("root2"));
    if (pendingUntick) {
        dmMain->tblUser->edit();
        dmMain->tblUser->field(s("Sys")).setValue(false);
    }
    QTest::mouseClick(w->btnDelete, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), messages);
    QCOMPARE(scalar(s("select count(*) from tblUser where UserID='root2'")).toInt(), 1);
    QCOMPARE(logEntries().last(), s("系统设置-用户管理-删除用户"));
}

void TestUsers::deleteTakesRightsAlong()
{
    auto w = openUsers(s("bob"));
    QTest::mouseClick(w->btnDelete, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("您真的要删除该用户吗？")});
    QCOMPARE(scalar(s("select count(*) from tblUser where UserID='bob'")).toInt(), 0);
    QCOMPARE(scalar(s("select count(*) from tblUserRight where UserID='bob'")).toInt(), 0);
    QCOMPARE(scalar(s("select count(*) from tblUserRight where UserID='Admin'")).toInt() > 0, true);
}

void TestUsers::failedDeleteKeepsUserAndRights()
{
    dmMain->database()->exec(s("create trigger t_refuse before delete on tblUser begin select raise(abort, 'injected'); end"));
    auto w = openUsers(s("bob"));
    QTest::mouseClick(w->btnDelete, Qt::LeftButton);
    QCOMPARE(m_rec->messages.size(), 2);
    QVERIFY(m_rec->lastText().contains(s("injected")));
    QCOMPARE(scalar(s("select count(*) from tblUser where UserID='bob'")).toInt(), 1);
    QCOMPARE(rightRows(s("bob")).size(), 2);
    QVERIFY(dmMain->tblUserRight->isActive());
    QCOMPARE(dmMain->tblUser->field(s("UserID")).asString(), s("bob"));
}

void TestUsers::rightsOfUnsavedRowRefused()
{
    auto w = openUsers();
    QTest::mouseClick(w->btnAdd, Qt::LeftButton);
    QTest::mouseClick(w->btnRights, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("请先保存用户资料！")});
    QVERIFY(m_rec->modalWindows.isEmpty());
    QCOMPARE(logEntries().last(), s("系统设置-用户管理-权限分配"));
    // So does a saved row with a pending change.
    dmMain->tblUser->cancel();
    dmMain->tblUser->locate(s("UserID"), {s("bob")});
    dmMain->tblUser->edit();
    dmMain->tblUser->field(s("UserID")).setValue(s("bobby"));
    QTest::mouseClick(w->btnRights, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), (QStringList{s("请先保存用户资料！"), s("请先保存用户资料！")}));
    QVERIFY(m_rec->modalWindows.isEmpty());
    // A saved row opens the rights window.
    dmMain->tblUser->cancel();
    dmMain->tblUser->locate(s("UserID"), {s("bob")});
    QTest::mouseClick(w->btnRights, Qt::LeftButton);
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmRight")});
}

void TestUsers::rightsTickedFromRows()
{
    auto w = openRights(s("bob"));
    QCOMPARE(w->findChild<QLineEdit *>(s("edUserID"))->text(), s("bob"));
    QCOMPARE(w->findChild<QLineEdit *>(s("edUserName"))->text(), s("鲍勃"));
    QVERIFY(w->codeBox(s("301"))->isChecked());
    QVERIFY(w->subBox(s("301"), s("Insert"))->isChecked());
    QVERIFY(!w->subBox(s("301"), s("Modify"))->isChecked());
    QVERIFY(w->subBox(s("301"), s("Query"))->isChecked());
    QVERIFY(w->codeBox(s("203"))->isChecked());
    QVERIFY(w->subBox(s("203"), s("Delete"))->isChecked());
    QVERIFY(!w->subBox(s("203"), s("Modify")));  // 203 has no such column
    QVERIFY(!w->codeBox(s("302"))->isChecked());
    // Hidden codes are there but not shown.
    for (const char *hidden : {"107", "408", "502"}) {
        QVERIFY(w->codeBox(s(hidden)));
        QVERIFY(!w->codeBox(s(hidden))->isVisible());
    }
    QVERIFY(w->codeBox(s("101"))->isVisibleTo(w.get()));
}

void TestUsers::selectAllPerTab_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("in");
    QTest::addColumn<QStringList>("out");
    QTest::newRow("系统设置") << "系统设置" << QStringList{"101", "106", "107"} << QStringList{"301"};
    QTest::newRow("内部管理") << "内部管理" << QStringList{"303", "303/print", "605/delete"} << QStringList{"202"};
    QTest::newRow("基础资料") << "基础资料" << QStringList{"202", "212/insert"} << QStringList{"201"};
    QTest::newRow("客户业务管理") << "客户业务管理" << QStringList{"301/modify", "307/query"} << QStringList{"303"};
    QTest::newRow("图表分析") << "图表分析" << QStringList{"401", "414"} << QStringList{"408"};
    QTest::newRow("工具") << "工具" << QStringList{"501", "503"} << QStringList{"502"};
}

void TestUsers::selectAllPerTab()
{
    QFETCH(QString, tab);
    QFETCH(QStringList, in);
    QFETCH(QStringList, out);
    auto w = openRights(s("root2"));
    const auto box = [&](const QString &ref) {
        const QStringList p = ref.split(u'/');
        return p.size() == 1 ? w->codeBox(p[0]) : w->subBox(p[0], p[1]);
    };
    w->selectAllBox(tab)->setChecked(true);
    for (const QString &ref : in)
        QVERIFY2(box(ref)->isChecked(), qPrintable(ref));
    for (const QString &ref : out)
        QVERIFY2(!box(ref)->isChecked(), qPrintable(ref));
    w->selectAllBox(tab)->setChecked(false);
    for (const QString &ref : in)
        QVERIFY2(!box(ref)->isChecked(), qPrintable(ref));
}

void TestUsers::untickingCodeClearsSubRights()
{
    auto w = openRights(s("bob"));
    QVERIFY(w->subBox(s("301"), s("Insert"))->isChecked());
    w->codeBox(s("301"))->setChecked(false);
    for (const char *c : {"Insert", "Modify", "Delete", "Query", "Print"})
        QVERIFY(!w->subBox(s("301"), s(c))->isChecked());
}

void TestUsers::rightsSavedInOrderWithColumns()
{
    auto w = openRights(s("bob"));
    w->codeBox(s("203"))->setChecked(false);
    for (const char *c : {"101", "605", "303", "401", "212"})
        w->codeBox(s(c))->setChecked(true);
    w->subBox(s("605"), s("Delete"))->setChecked(true);
    w->subBox(s("303"), s("Print"))->setChecked(true);
    w->codeBox(s("502"))->setChecked(true);  // not in the save order
    QTest::mouseClick(w->findChild<QPushButton *>(s("btnSave")), Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries().last(), s("系统设置-用户管理-权限分配-保存"));
    QCOMPARE(rightRows(s("bob")), (QStringList{s("101:00000"), s("212:00000"), s("301:10010"), s("401:00000"),
                                               s("303:00001"), s("605:00100")}));
    QVERIFY(w->isVisible());
}

void TestUsers::systemUserRightsNotSaved()
{
    const QStringList before = rightRows(s("Admin"));
    auto w = openRights(s("Admin"));
    w->selectAllBox(s("基础资料"))->setChecked(false);
    QTest::mouseClick(w->findChild<QPushButton *>(s("btnSave")), Qt::LeftButton);
    QCOMPARE(rightRows(s("Admin")), before);
    QCOMPARE(logEntries().last(), s("系统设置-用户管理-权限分配-保存"));
}

void TestUsers::failedRightsSaveKeepsOldRows()
{
    dmMain->database()->exec(s("create trigger t_refuse before insert on tblUserRight when new.RightID = '302' "
                               "begin select raise(abort, 'injected'); end"));
    const QStringList before = rightRows(s("bob"));
    auto w = openRights(s("bob"));
    w->codeBox(s("101"))->setChecked(true);
    w->codeBox(s("302"))->setChecked(true);
    QTest::mouseClick(w->findChild<QPushButton *>(s("btnSave")), Qt::LeftButton);
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(m_rec->lastText().contains(s("injected")));
    QCOMPARE(rightRows(s("bob")), before);
    Dataset *rights = dmMain->tblUserRight;
    QVERIFY(rights->isActive());
    QCOMPARE(rights->state(), Dataset::State::Browse);
    QCOMPARE(rights->recordCount(), scalar(s("select count(*) from tblUserRight")).toInt());
    CurrentUserID = s("bob");
    QVERIFY(HasRight(s("301")));
    QVERIFY(!HasRight(s("101")));
}

void TestUsers::mainWindowFollowsSavedRights()
{
    TfrmMain main;
    CurrentUserID = s("bob");
    ActionGate::instance()->evaluate();
    QVERIFY(main.action(s("Act_Customers"))->isEnabled());
    QVERIFY(!main.action(s("Act_Linkman"))->isEnabled());
    auto w = openRights(s("bob"));
    w->codeBox(s("301"))->setChecked(false);
    w->codeBox(s("302"))->setChecked(true);
    QTest::mouseClick(w->findChild<QPushButton *>(s("btnSave")), Qt::LeftButton);
    ActionGate::instance()->evaluate();
    QVERIFY(!main.action(s("Act_Customers"))->isEnabled());
    QVERIFY(main.action(s("Act_Linkman"))->isEnabled());
}

void TestUsers::installedCommandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("folder");
    QTest::newRow("口令设置") << "Admin" << "Act_Password" << "frmPassword" << "";
    QTest::newRow("用户管理") << "Admin" << "Act_UserManage" << "frmUser" << "";
    QTest::newRow("数据备份") << "Admin" << "Act_Backup" << "frmBackup" << "Backup";
    QTest::newRow("数据恢复") << "Admin" << "Act_Restore" << "frmRestore" << "Backup";
    QTest::newRow("系统日志") << "Admin" << "Act_SysLog" << "frmSysLog" << "Log";
    QTest::newRow("系统日志, not a system user") << "bob" << "Act_SysLog" << "" << "";
}

void TestUsers::installedCommandsOpenTheirWindows()
{
    QFETCH(QString, user);
    QFETCH(QString, action);
    QFETCH(QString, window);
    QFETCH(QString, folder);
    if (!folder.isEmpty())
        QDir(m_dir->file(folder)).removeRecursively();
    if (user != u"Admin") {
        // The log right only: the main window refuses a user who is not a system user.
        TableInserter(*dmMain->database(), s("tblUserRight"), {s("UserID"), s("RightID")}).insert({user, s("105")});
        dmMain->tblUserRight->refresh();
    }
    TfrmMain main;
    installAdminWindows(main);
    CurrentUserID = user;
    ActionGate::instance()->evaluate();
    main.action(action)->trigger();
    QCOMPARE(m_rec->modalWindows, window.isEmpty() ? QStringList() : QStringList{window});
    if (window.isEmpty())
        QCOMPARE(m_rec->texts(), QStringList{s("对不起，只有系统管理员才享有该权限！")});
    if (!folder.isEmpty())
        QVERIFY(QDir(m_dir->file(folder)).exists());
}

void TestUsers::passwordChecks_data()
{
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no old") << "" << "a" << "a" << "对不起，请输入旧口令！" << "edOld";
    QTest::newRow("wrong old") << "482717" << "a" << "a" << "对不起，输入的旧口令不正确！" << "edOld";
    QTest::newRow("old with a blank") << "482716 " << "a" << "a" << "对不起，输入的旧口令不正确！" << "edOld";
    QTest::newRow("no new") << "482716" << "" << "a" << "对不起，请输入新口令！" << "edNew";
    QTest::newRow("no confirmation") << "482716" << "a" << "" << "对不起，请输入确认口令！" << "edConfirm";
    QTest::newRow("mismatch") << "482716" << "abc" << "abC" << "对不起，输入的确认口令与新口令不一致！" << "edConfirm";
}

void TestUsers::passwordChecks()
{
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    CurrentUserID = s("admin");  // as typed at login: the row is found whatever the case
    const QString before = storedPassword(s("Admin"));
    TfrmPassword w;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.edOld->setText(oldText);
    w.edNew->setText(newText);
    w.edConfirm->setText(confirm);
    QTest::mouseClick(w.btnSave, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{message});
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (focus == u"edOld")
        QCOMPARE(w.edOld->selectedText(), oldText);
    QCOMPARE(w.edConfirm->text(), message.contains(s("不一致")) ? QString() : confirm);
    QVERIFY(w.isVisible());
    QCOMPARE(storedPassword(s("Admin")), before);
}

void TestUsers::passwordStoredExactlyAsTyped_data()
{
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("notAccepted");
    QTest::newRow("blanks kept") << " pw " << "pw";
    QTest::newRow("same as old") << "482716" << "";
}

void TestUsers::passwordStoredExactlyAsTyped()
{
    QFETCH(QString, newText);
    QFETCH(QString, notAccepted);
    TfrmPassword w;
    w.show();
    w.edOld->setText(s("482716"));
    w.edNew->setText(newText);
    w.edConfirm->setText(newText);
    QTest::mouseClick(w.btnSave, Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("口令修改成功！")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Information);
    QVERIFY(!w.isVisible());
    const QString stored = storedPassword(s("Admin"));
    QVERIFY(stored != newText);
    QVERIFY(PasswordHash::verify(newText, stored));
    if (!notAccepted.isEmpty())
        QVERIFY(!PasswordHash::verify(notAccepted, stored));
}

void TestUsers::emptyStoredPasswordCannotChange()
{
    dmMain->database()->exec(s("update tblUser set Password = '' where UserID = 'bob'"));
    dmMain->tblUser->refresh();
    CurrentUserID = s("bob");
    TfrmPassword w;
    w.show();
    for (const QString &old : {QString(), s(" ")}) {
        m_rec->messages.clear();
        w.edOld->setText(old);
        w.edNew->setText(s("new"));
        w.edConfirm->setText(s("new"));
        QTest::mouseClick(w.btnSave, Qt::LeftButton);
        QCOMPARE(m_rec->texts().size(), 1);
        QVERIFY(m_rec->lastText() == s("对不起，请输入旧口令！") || m_rec->lastText() == s("对不起，输入的旧口令不正确！"));
    }
    QCOMPARE(storedPassword(s("bob")), QString());
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
