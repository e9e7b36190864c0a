// The worker classification editors (work types, skill levels, health checks): opening,
// checks and messages in order, the database's refusals, deleting, closing, rights, and
// new codes reaching the worker lookups at once.
#include "ActionGate.h"
#include "CodeTableEditor.h"
#include "DbGrid.h"
#include "DatasetModel.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "WorkerCodeTables.h"
#include "WorkerWindows.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

int count(const QString &sql)
{
    return dmMain->database()->scalar(sql).toInt();
}

QString tableOf(const CodeTable &t)
{
    return (dmMain->*(t.source))->dataset()->objectName();
}

void fill(QWidget *w, const QString &value)
{
    auto *e = qobject_cast<QLineEdit *>(w);
    QVERIFY(e);
    e->setFocus();
    typeText(e, value);
}

const char *const Windows[] = {"TfrmGongzhong", "TfrmJineng", "TfrmTijian"};

}  // namespace

class TestWorkerCodes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensFromItsCommand_data();
    void opensFromItsCommand();
    void checksInOrder_data();
    void checksInOrder();
    void refusedPost_data();
    void refusedPost();
    void duplicateInAnOlderFileIsToldByTheDatabase_data();
    void duplicateInAnOlderFileIsToldByTheDatabase();
    void deleteAsks_data();
    void deleteAsks();
    void deleteOnAnEmptyTableOnlyLogs_data();
    void deleteOnAnEmptyTableOnlyLogs();
    void closeDiscardsThePendingRow_data();
    void closeDiscardsThePendingRow();
    void subRightsGate_data();
    void subRightsGate();
    void newCodeReachesTheWorkerLookups_data();
    void newCodeReachesTheWorkerLookups();

private:
    void login(const QString &user);
    std::unique_ptr<CodeTableEditor> openEditor(const QString &window);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestWorkerCodes::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *id : {"wang", "guest", "nobody"})
        user.insert({s(id), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const CodeTable &t : workerCodeTables()) {
        right.insert({s("wang"), t.rightCode, true, true, true, true, true});
        right.insert({s("guest"), t.rightCode, false, true, false, true, true});
    }
    right.insert({s("nobody"), s("601"), true, true, true, true, true});
    TableInserter w(*db, s("tblYuangong"),
                    {s("YuangongID"), s("Name"), s("GongzhongID"), s("LevelID"), s("TJID")});
    w.insert({s("W1"), s("张三"), s("N9"), s("N9"), s("N9")});
    tx.commit();
}

void TestWorkerCodes::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installWorkerWindows(*m_main);
}

void TestWorkerCodes::cleanup()
{
    for (Dataset *d : dmMain->findChildren<Dataset *>())
        if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
            d->cancel();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestWorkerCodes::login(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

std::unique_ptr<CodeTableEditor> TestWorkerCodes::openEditor(const QString &window)
{
    const CodeTable *t = workerCodeTable(window);
    if (!t)
        return nullptr;
    OpenDatasets({(dmMain->*(t->source))->dataset()});
    auto editor = std::make_unique<CodeTableEditor>(*t, !HasRight(t->rightCode));
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor.get()))
        return nullptr;
    ActionGate::instance()->evaluate();
    return editor;
}

void TestWorkerCodes::opensFromItsCommand_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("work types") << s("Act_Gongzhong") << s("frmGongzhong") << s("工种设置") << s("工种设置列表：")
                                << s("内部管理-工种设置") << QStringList{s("工种代码"), s("工种名称"), s("描述")}
                                << QStringList{s("工种代码："), s("工种名称："), s("描　　述：")};
    QTest::newRow("skill levels") << s("Act_Jineng") << s("frmJineng") << s("技能级别") << s("技能级别设置列表：")
                                  << s("内部管理-技能级别设置") << QStringList{s("级别代码"), s("级别名称"), s("描述")}
                                  << QStringList{s("级别代码："), s("级别名称："), s("描　　述：")};
    QTest::newRow("health checks") << s("Act_Tijian") << s("frmTijian") << s("体检设定") << s("体检设定列表：")
                                   << s("内部管理-体检设定") << QStringList{s("体检代码"), s("体检描述"), s("备注")}
                                   << QStringList{s("体检代码："), s("体检描述："), s("备    注：")};
}

void TestWorkerCodes::opensFromItsCommand()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(QString, opening);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, labels);
    login(s("Admin"));
    bool seen = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *e = qobject_cast<CodeTableEditor *>(d);
        if (!e)
            return QDialog::Rejected;
        seen = true;
        [&] {
            QCOMPARE(e->windowTitle(), caption);
            QCOMPARE(e->gridTitle()->text(), title);
            QStringList shown;
            for (const GridColumn &c : e->grid()->model()->columns())
                shown << c.caption;
            QCOMPARE(shown, columns);
            QStringList buddies;
            for (QWidget *w : e->enterOrder())
                for (QLabel *l : e->findChildren<QLabel *>())
                    if (l->buddy() == w)
                        buddies << l->text();
            QCOMPARE(buddies, labels);
            QVERIFY(!e->isReadOnly());
            QVERIFY(e->dataset()->isActive());
            QCOMPARE(e->grid()->model()->rowCount(), e->dataset()->recordCount());
        }();
        return QDialog::Rejected;
    };
    m_main->action(action)->trigger();
    QVERIFY(seen);
    QCOMPARE(m_rec->modalWindows, QStringList{window});
    QCOMPARE(logEntries().last(), opening);
    QCOMPARE(m_main->currentNavigationTab(), s("内部管理"));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkerCodes::checksInOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("work types") << s("TfrmGongzhong")
                                << QStringList{s("请输入工种代码！"), s("请输入工种名称！"), s("请输入工种描述！")}
                                << s("内部管理-工种设置");
    QTest::newRow("skill levels") << s("TfrmJineng")
                                  << QStringList{s("请输入级别代码！"), s("请输入级别名称！"), s("请输入技能级别描述！")}
                                  << s("内部管理-技能级别");
    QTest::newRow("health checks")
        << s("TfrmTijian") << QStringList{s("请输入体检设定代码！"), s("请输入体检设定描述！"), s("请输入备注！")}
        << s("内部管理-体检设定");
}

// Each field left empty in turn: its message and focus, nothing written; the third
// field's message only after the database refused the row; then the row is stored.
void TestWorkerCodes::checksInOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, messages);
    QFETCH(QString, prefix);
    login(s("wang"));
    auto e = openEditor(window);
    QVERIFY(e);
    const CodeTable &t = e->table();
    Dataset *d = e->dataset();
    const QString table = tableOf(t);
    const int before = count(s("select count(*) from ") + table);
    e->Act_Add->trigger();
    QCOMPARE(d->state(), Dataset::State::Insert);
    QCOMPARE(e->focusWidget(), e->enterOrder().first());
    const QStringList values{s("N9"), s("新工种"), s("说明")};
    for (int i = 0; i < 3; ++i) {
        const CodeTableField &f = t.fields.at(i);
        ActionGate::instance()->evaluate();
        e->Act_Save->trigger();
        QCOMPARE(m_rec->lastText(), messages.at(i));
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(m_rec->messages.last().caption, s("系统提示"));
        QCOMPARE(e->focusWidget(), e->editor(f.field));
        QCOMPARE(d->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from ") + table), before);
        fill(e->editor(f.field), values.at(i));
    }
    QCOMPARE(m_rec->texts(), messages);
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->texts(), messages);
    QCOMPARE(d->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from ") + table), before + 1);
    QStringList expected{prefix + s("-新增")};
    for (int i = 0; i <= 3; ++i)
        expected << prefix + s("-保存");
    QCOMPARE(logEntries().mid(logEntries().size() - expected.size()), expected);
}

void TestWorkerCodes::refusedPost_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("third");
    QTest::addColumn<QString>("message");  // empty: the database's own message
    for (const char *w : Windows)
        QTest::newRow(qPrintable(s(w) + s(", duplicate code"))) << s(w) << true << QString();
    QTest::newRow("work types, duplicate code and no description") << s("TfrmGongzhong") << false
                                                                    << s("请输入工种描述！");
    QTest::newRow("health checks, duplicate code and no note") << s("TfrmTijian") << false << s("请输入备注！");
}

void TestWorkerCodes::refusedPost()
{
    QFETCH(QString, window);
    QFETCH(bool, third);
    QFETCH(QString, message);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    const CodeTable &t = e->table();
    const int before = count(s("select count(*) from ") + tableOf(t));
    e->Act_Add->trigger();
    fill(e->editor(t.fields.at(0).field), s("01"));
    fill(e->editor(t.fields.at(1).field), s("重名"));
    if (third)
        fill(e->editor(s("Memo")), s("说明"));
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    if (message.isEmpty()) {
        QVERIFY2(m_rec->lastText().contains(s("代码重复")), qPrintable(m_rec->lastText()));
    } else {
        QCOMPARE(m_rec->lastText(), message);
        QCOMPARE(e->focusWidget(), e->editor(s("Memo")));
    }
    QCOMPARE(e->dataset()->state(), Dataset::State::Insert);
    QCOMPARE(count(s("select count(*) from ") + tableOf(t)), before);
    e->Act_Close->trigger();
    QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from ") + tableOf(t)), before);
}

void TestWorkerCodes::duplicateInAnOlderFileIsToldByTheDatabase_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : Windows)
        QTest::newRow(w) << s(w);
}

// Files made before the description was required: an empty description is no refusal,
// so a taken code with an empty description is the database's duplicate message.
void TestWorkerCodes::duplicateInAnOlderFileIsToldByTheDatabase()
{
    QFETCH(QString, window);
    const CodeTable *t = workerCodeTable(window);
    const QString table = tableOf(*t);
    const QString code = t->fields.at(0).field, name = t->fields.at(1).field;
    Database *db = dmMain->database();
    db->exec(s("create table tmpOld (%1 text(50) primary key collate nocase, %2 text(50), Memo text(200))")
                 .arg(code, name));
    db->exec(s("insert into tmpOld select %1, %2, Memo from %3").arg(code, name, table));
    db->exec(s("drop table ") + table);
    db->exec(s("alter table tmpOld rename to ") + table);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    e->Act_Add->trigger();
    fill(e->editor(code), s("01"));
    fill(e->editor(name), s("重名"));
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY2(m_rec->lastText().contains(s("代码重复")), qPrintable(m_rec->lastText()));
    QCOMPARE(e->dataset()->state(), Dataset::State::Insert);
    // A new code with an empty description is stored in such a file.
    e->editor(code)->setFocus();
    qobject_cast<QLineEdit *>(e->editor(code))->selectAll();
    typeText(e->editor(code), s("N8"));
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from %1 where %2 = 'N8'").arg(table, code)), 1);
}

void TestWorkerCodes::deleteAsks_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Messages::Answer>("answer");
    for (const char *w : Windows) {
        QTest::newRow(qPrintable(s(w) + s(", OK"))) << s(w) << Messages::Answer::Ok;
        QTest::newRow(qPrintable(s(w) + s(", cancel"))) << s(w) << Messages::Answer::Cancel;
    }
}

void TestWorkerCodes::deleteAsks()
{
    QFETCH(QString, window);
    QFETCH(Messages::Answer, answer);
    login(s("wang"));
    auto e = openEditor(window);
    QVERIFY(e);
    const CodeTable &t = e->table();
    const QString table = tableOf(t), code = t.fields.first().field;
    QVERIFY(e->dataset()->locate(code, {s("02")}));
    m_rec->answers.enqueue(answer);
    e->Act_Del->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("真的要删除该条记录吗?")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Question);
    QCOMPARE(m_rec->messages.last().buttons, Messages::Buttons::OkCancel);
    QCOMPARE(logEntries().last(), t.entryPrefix + s("-删除"));
    QCOMPARE(count(s("select count(*) from %1 where %2 = '02'").arg(table, code)),
             answer == Messages::Answer::Ok ? 0 : 1);
}

void TestWorkerCodes::deleteOnAnEmptyTableOnlyLogs_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : Windows)
        QTest::newRow(w) << s(w);
}

void TestWorkerCodes::deleteOnAnEmptyTableOnlyLogs()
{
    QFETCH(QString, window);
    login(s("Admin"));
    const CodeTable *t = workerCodeTable(window);
    dmMain->database()->exec(s("delete from ") + tableOf(*t));
    (dmMain->*(t->source))->dataset()->close();
    auto e = openEditor(window);
    QVERIFY(e);
    QVERIFY(e->dataset()->isEmpty());
    e->Act_Del->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries().last(), t->entryPrefix + s("-删除"));
    QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
}

void TestWorkerCodes::closeDiscardsThePendingRow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    for (const char *w : Windows)
        for (const char *how : {"button", "escape", "box"})
            QTest::newRow(qPrintable(s(w) + s(", ") + s(how))) << s(w) << s(how);
}

// A half-typed code (no name) dropped on closing is never posted by a later move.
void TestWorkerCodes::closeDiscardsThePendingRow()
{
    QFETCH(QString, window);
    QFETCH(QString, how);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    Dataset *d = e->dataset();
    const QString table = tableOf(e->table());
    const int before = count(s("select count(*) from ") + table);
    e->Act_Add->trigger();
    fill(e->editor(e->table().fields.first().field), s("ZZ"));
    fill(e->editor(s("Memo")), s("说明"));
    if (how == u"button")
        e->Act_Close->trigger();
    else if (how == u"escape")
        QTest::keyClick(e->focusWidget(), Qt::Key_Escape);
    else
        QVERIFY(e->close());
    QVERIFY(!e->isVisible());
    QCOMPARE(d->state(), Dataset::State::Browse);
    d->first();
    d->last();
    QCOMPARE(count(s("select count(*) from ") + table), before);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkerCodes::subRightsGate_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("command");
    QTest::addColumn<bool>("change");
    for (const char *w : Windows) {
        QTest::newRow(qPrintable(s(w) + s(", all sub-rights"))) << s(w) << s("wang") << true << true;
        QTest::newRow(qPrintable(s(w) + s(", no insert or delete"))) << s(w) << s("guest") << true << false;
        QTest::newRow(qPrintable(s(w) + s(", no right"))) << s(w) << s("nobody") << false << false;
    }
}

void TestWorkerCodes::subRightsGate()
{
    QFETCH(QString, window);
    QFETCH(QString, user);
    QFETCH(bool, command);
    QFETCH(bool, change);
    login(user);
    const CodeTable *t = workerCodeTable(window);
    QCOMPARE(m_main->action(t->actionName)->isEnabled(), command);
    auto e = openEditor(window);
    QVERIFY(e);
    QCOMPARE(e->Act_Add->isEnabled(), change);
    QCOMPARE(e->Act_Del->isEnabled(), change);
    QVERIFY(e->Act_Close->isEnabled());
    QCOMPARE(e->isReadOnly(), !command);
}

void TestWorkerCodes::newCodeReachesTheWorkerLookups_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("lookup");
    QTest::newRow("work type") << s("TfrmGongzhong") << s("GongzhongName");
    QTest::newRow("skill level") << s("TfrmJineng") << s("LevelName");
    QTest::newRow("health check") << s("TfrmTijian") << s("TJMS");
}

// The worker already pointing at a code nobody had defined shows its name as soon as the
// editor stores it, without reopening anything.
void TestWorkerCodes::newCodeReachesTheWorkerLookups()
{
    QFETCH(QString, window);
    QFETCH(QString, lookup);
    login(s("Admin"));
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w, dmMain->tblGongzhong, dmMain->tblJineng, dmMain->tblTijian});
    QVERIFY(w->locate(s("YuangongID"), {s("W1")}));
    QCOMPARE(w->field(lookup).asString(), QString());
    auto e = openEditor(window);
    QVERIFY(e);
    e->Act_Add->trigger();
    fill(e->editor(e->table().fields.at(0).field), s("N9"));
    fill(e->editor(e->table().fields.at(1).field), s("新名称"));
    fill(e->editor(s("Memo")), s("说明"));
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(w->field(lookup).asString(), s("新名称"));
}

QTEST_MAIN(TestWorkerCodes)
#include "tst_workercodes.moc"
