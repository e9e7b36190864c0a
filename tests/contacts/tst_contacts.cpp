// The contact window: owner rule, queries, refresh, deletion, folders, export, print, rights.
#include "ContactFixture.h"
#include "ContactForm.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "LogEntries.h"
#include "QueryDataset.h"
#include "uLinkmanQuery.h"
#include "uLinkmanQuery1.h"
#include "uReport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

using Codes = QStringList;

class TestContacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { f.start(*m_template); }
    void cleanup() { f.stop(); }

    void ownerRule_data();
    void ownerRule();
    void listQuery_data();
    void listQuery();
    void listQueryWithoutTextKeepsTheList();
    void queryKeptUntilRefresh();
    void editingAfterAQuery();
    void mailQuery_data();
    void mailQuery();
    void deleteChecks_data();
    void deleteChecks();
    void folders_data();
    void folders();
    void exportAddresses_data();
    void exportAddresses();
    void exportFailureKeepsTheOldFile();
    void printAfterAQuery_data();
    void printAfterAQuery();
    void rights();
    void insertAndModifyMakeRoom_data();
    void insertAndModifyMakeRoom();

private:
    // Runs a query dialog's "确定" with a kind and a text; true when it closed.
    static bool runQuery(ContactQueryDialog &dialog, int kind, const QString &text);
    TfrmLinkman *window() const { return frmLinkman; }
    std::unique_ptr<TestAppDir> m_template;
    ContactFixture f;
};

void TestContacts::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    ContactFixture::makeTemplate(*m_template);
}

bool TestContacts::runQuery(ContactQueryDialog &dialog, int kind, const QString &text)
{
    dialog.show();
    dialog.kindBox()->setCurrentIndex(kind);
    if (dialog.textEdit()->isEnabled())
        typeText(dialog.textEdit(), text);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    const bool closed = !dialog.isVisible();
    dialog.hide();
    return closed;
}

void TestContacts::ownerRule_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<Codes>("codes");
    QTest::addColumn<QString>("customerOfL03");  // a contact of li's customer
    QTest::newRow("system user: every contact") << "Admin" << Codes{"L01", "L02", "L03", "L04", "L05", "L06", "L07"} << "李宅";
    QTest::newRow("wang: his own, also of li's customer") << "wang" << Codes{"L01", "L03", "L05", "L07"} << "";
    QTest::newRow("li: his own, also of wang's customer") << "li" << Codes{"L02", "L04"} << "";
}

void TestContacts::ownerRule()
{
    QFETCH(QString, user);
    QFETCH(Codes, codes);
    QFETCH(QString, customerOfL03);
    f.openAs(user);
    Dataset *q = dmMain->qryLinkmans1;
    QCOMPARE(codesOf(q), codes);
    QCOMPARE(window()->listGrid()->model()->rowCount(), codes.size());
    if (q->locate(s("LinkmanID"), {s("L03")}))
        QCOMPARE(q->field(s("CustName")).asString(), customerOfL03);
    // The customers follow the customer's own owner, the contacts their own.
    QCOMPARE(dmMain->tblCustomers2->isFiltered(), user != u"Admin");
    QCOMPARE(logEntries().last(), s("客户业务管理-联系人资料"));
    QCOMPARE(f.main->currentPage(), window()->PnMain);
    // A contact the user sees of a customer he cannot see: the customer tab stays empty.
    if (user == u"wang") {
        QVERIFY(q->locate(s("LinkmanID"), {s("L03")}));
        QVERIFY(!window()->customerShown());
        QCOMPARE(window()->customerEdit(s("CustName"))->text(), QString());
        QVERIFY(q->locate(s("LinkmanID"), {s("L01")}));
        QVERIFY(window()->customerShown());
        QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("王宅"));
    }
}

void TestContacts::listQuery_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<Codes>("codes");  // empty: nothing found, the dialog stays open
    const QString head = s("select * from tblLinkmans ");
    const QString mine = s(" and sUser=:sUser");
    const Codes all{"L01", "L02", "L03", "L04", "L05", "L06", "L07"};
    const Codes wangs{"L01", "L03", "L05", "L07"};
    QTest::newRow("all, system user") << "Admin" << 0 << "" << QStringList{head} << all;
    QTest::newRow("all, wang") << "wang" << 0 << "" << QStringList{head, s(" where sUser=:sUser")} << wangs;
    QTest::newRow("customer code, system user") << "Admin" << 1 << "c2" << QStringList{head, s(" where CustID Like :Pattern")}
                                                << Codes{"L03", "L04", "L06"};
    QTest::newRow("customer code, wang") << "wang" << 1 << "C2"
                                         << QStringList{head, s(" where CustID Like :Pattern"), mine} << Codes{"L03"};
    QTest::newRow("contact code, li") << "li" << 2 << "L0" << QStringList{head, s(" where LinkmanID Like :Pattern"), mine}
                                      << Codes{"L02", "L04"};
    QTest::newRow("name, system user") << "Admin" << 3 << "张" << QStringList{head, s(" where Name Like :Pattern")}
                                       << Codes{"L01", "L02"};
    QTest::newRow("name, wang") << "wang" << 3 << "张" << QStringList{head, s(" where Name Like :Pattern"), mine} << Codes{"L01"};
    QTest::newRow("position, system user") << "Admin" << 4 << "经理" << QStringList{head, s(" where Duty Like :Pattern")}
                                           << Codes{"L03", "L04"};
    QTest::newRow("position, li") << "li" << 4 << "经理" << QStringList{head, s(" where Duty Like :Pattern"), mine} << Codes{"L04"};
    QTest::newRow("form of address, wang") << "wang" << 5 << "老" << QStringList{head, s(" where NickName Like :Pattern"), mine}
                                           << Codes{"L07"};
    QTest::newRow("a quote is text") << "Admin" << 3 << "'" << QStringList{head, s(" where Name Like :Pattern")} << Codes{"L04"};
    QTest::newRow("a quote, li") << "li" << 3 << "O'B" << QStringList{head, s(" where Name Like :Pattern"), mine} << Codes{"L04"};
    QTest::newRow("% matches anything") << "wang" << 3 << "%" << QStringList{head, s(" where Name Like :Pattern"), mine} << wangs;
    QTest::newRow("% inside a pattern") << "Admin" << 3 << "0%o" << QStringList{head, s(" where Name Like :Pattern")}
                                        << Codes{"L05"};
    QTest::newRow("_ is one character") << "Admin" << 3 << "张_" << QStringList{head, s(" where Name Like :Pattern")}
                                        << Codes{"L01", "L02"};
    QTest::newRow("injection finds nothing") << "Admin" << 3 << "%' or '1'='1" << QStringList{head, s(" where Name Like :Pattern")}
                                             << Codes{};
    QTest::newRow("owner escape finds nothing") << "wang" << 3 << "' or sUser<>'"
                                                << QStringList{head, s(" where Name Like :Pattern"), mine} << Codes{};
    QTest::newRow("injection, wang, never another's") << "wang" << 2 << "%' or '1'='1' or '"
                                                      << QStringList{head, s(" where LinkmanID Like :Pattern"), mine} << Codes{};
    QTest::newRow("a leading blank is part of the pattern") << "Admin" << 3 << " 空" << QStringList{head, s(" where Name Like :Pattern")}
                                                            << Codes{"L06"};
    QTest::newRow("a trailing blank is part of the pattern") << "Admin" << 3 << "张三 "
                                                             << QStringList{head, s(" where Name Like :Pattern")} << Codes{};
}

void TestContacts::listQuery()
{
    QFETCH(QString, user);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QStringList, sql);
    QFETCH(Codes, codes);
    f.openAs(user);
    ActionGate::instance()->evaluate();
    f.rec->onModal = [&](QDialog *d) -> int {
        auto *dialog = qobject_cast<TfrmLinkmanQuery1 *>(d);
        if (!dialog)
            return QDialog::Rejected;
        const bool closed = runQuery(*dialog, kind, text);
        if (closed != !codes.isEmpty())
            qWarning("dialog closed: %d", closed);
        return closed ? QDialog::Accepted : QDialog::Rejected;
    };
    window()->Act_Query->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmLinkmanQuery1"});
    QueryDataset *q = dmMain->qryLinkmans1;
    QCOMPARE(q->sql(), sql);
    QVERIFY(q->isActive());
    QCOMPARE(codesOf(q), codes);
    if (codes.isEmpty()) {
        QCOMPARE(f.rec->texts(), QStringList{s("对不起，没有找到符合条件的记录！")});
        QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Warning);
    } else {
        QCOMPARE(f.rec->texts(), QStringList{});
    }
    QCOMPARE(logEntries().last(), s("客户业务管理-联系人资料-查询"));
    // The rows stay editable after any query.
    if (!codes.isEmpty()) {
        q->first();
        q->edit();
        q->field(s("Memo")).setValue(s("查后修改"));
        q->post();
        QCOMPARE(dbText(s("select Memo from tblLinkmans where LinkmanID='%1'").arg(q->field(s("LinkmanID")).asString())),
                 s("查后修改"));
    }
}

void TestContacts::listQueryWithoutTextKeepsTheList()
{
    f.openAs(s("wang"));
    QueryDataset *q = dmMain->qryLinkmans1;
    const QStringList before = q->sql();
    for (const char *text : {"", "   "}) {
        f.rec->messages.clear();
        TfrmLinkmanQuery1 dialog;
        QVERIFY(!runQuery(dialog, 3, s(text)));
        QCOMPARE(f.rec->texts(), QStringList{s("请输入附加查询条件!")});
        QCOMPARE(q->sql(), before);
        QVERIFY(q->isActive());
        QCOMPARE(codesOf(q), (Codes{"L01", "L03", "L05", "L07"}));
    }
    // Changing the kind clears the text; "所有联系人" has none.
    TfrmLinkmanQuery1 dialog;
    dialog.kindBox()->setCurrentIndex(2);
    dialog.textEdit()->setText(s("x"));
    dialog.kindBox()->setCurrentIndex(3);
    QCOMPARE(dialog.textEdit()->text(), QString());
    dialog.kindBox()->setCurrentIndex(0);
    QVERIFY(!dialog.textEdit()->isEnabled());
}

void TestContacts::queryKeptUntilRefresh()
{
    f.openAs(s("Admin"));
    QueryDataset *q = dmMain->qryLinkmans1;
    {
        TfrmLinkmanQuery1 dialog;
        QVERIFY(runQuery(dialog, 3, s("张")));
    }
    QCOMPARE(codesOf(q), (Codes{"L01", "L02"}));
    // A system user's reopening keeps the query, parameters included.
    f.main->action(s("Act_Customers"))->trigger();
    q->close();
    f.main->action(s("Act_Linkman"))->trigger();
    QCOMPARE(codesOf(q), (Codes{"L01", "L02"}));
    // "刷新" drops it.
    window()->Act_Refresh->trigger();
    QCOMPARE(q->sql(), QStringList{s("select * from tblLinkmans ")});
    QCOMPARE(codesOf(q).size(), 7);
    QCOMPARE(logEntries().last(), s("客户业务管理-联系人资料-刷新"));
    // A non-system user's refresh keeps his owner rule.
    CurrentUserID = s("li");
    window()->Act_Refresh->trigger();
    QCOMPARE(q->sql(), (QStringList{s("select * from tblLinkmans "), s("where SUser=:SUser")}));
    QCOMPARE(codesOf(q), (Codes{"L02", "L04"}));
}

void TestContacts::editingAfterAQuery()
{
    f.openAs(s("wang"), true);
    QueryDataset *q = dmMain->qryLinkmans1;
    {
        TfrmLinkmanQuery1 dialog;
        QVERIFY(runQuery(dialog, 3, s("五")));
    }
    QCOMPARE(codesOf(q), (Codes{"L03"}));
    // Add through the list's 新增 and the editor's 保存.
    window()->Act_Insert->trigger();
    QCOMPARE(q->state(), Dataset::State::Insert);
    QCOMPARE(window()->pages()->currentIndex(), 1);
    q->field(s("LinkmanID")).setValue(s("L08"));
    q->field(s("Name")).setValue(s("新人"));
    q->field(s("CustID")).setValue(s("C1"));
    ActionGate::instance()->evaluate();
    window()->Act_Save->trigger();
    QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->lastText()));
    QCOMPARE(dbText(s("select SUser from tblLinkmans where LinkmanID='L08'")), s("wang"));
    // Modify another.
    QVERIFY(q->locate(s("LinkmanID"), {s("L08")}));
    ActionGate::instance()->evaluate();
    window()->Act_Modify->trigger();
    QCOMPARE(q->state(), Dataset::State::Edit);
    q->field(s("Duty")).setValue(s("总监"));
    ActionGate::instance()->evaluate();
    window()->Act_Save->trigger();
    QCOMPARE(dbText(s("select Duty from tblLinkmans where LinkmanID='L08'")), s("总监"));
    QVERIFY(q->locate(s("LinkmanID"), {s("L03")}));
    // Delete it.
    f.rec->answers << Messages::Answer::Ok;
    window()->Act_Delete->trigger();
    QCOMPARE(f.rec->lastText(), s("您真的要删除该联系人吗？"));
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='L03'")), 0);
    QCOMPARE(codesOf(q), (Codes{"L08"}));
    QCOMPARE(logEntries().mid(logEntries().size() - 5),
             (QStringList{"客户业务管理-联系人资料-新增", "客户业务管理-联系人资料-保存",
                          "客户业务管理-联系人资料-修改", "客户业务管理-联系人资料-保存", "客户业务管理-联系人资料-删除"}));
}

void TestContacts::mailQuery_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QVariant>("codes");  // null: the query is left closed
    const Codes all{"L01", "L02", "L03", "L04", "L05", "L06", "L07"};
    QTest::newRow("all, any user") << "wang" << 0 << "" << true << "" << QVariant(all);
    QTest::newRow("customer, no owner rule") << "wang" << 1 << "C2" << true << "" << QVariant(Codes{"L03", "L04", "L06"});
    QTest::newRow("name, no owner rule") << "li" << 2 << "张" << true << "" << QVariant(Codes{"L01", "L02"});
    QTest::newRow("quote") << "Admin" << 2 << "O'" << true << "" << QVariant(Codes{"L04"});
    QTest::newRow("injection") << "Admin" << 2 << "' or '1'='1" << false << "对不起，没有找到符合条件的记录！" << QVariant(Codes{});
    QTest::newRow("empty text closes the list") << "Admin" << 2 << "" << false << "请输入附加查询条件!" << QVariant();
    QTest::newRow("blanks only") << "wang" << 1 << "  " << false << "请输入附加查询条件!" << QVariant();
}

void TestContacts::mailQuery()
{
    QFETCH(QString, user);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(bool, closed);
    QFETCH(QString, message);
    QFETCH(QVariant, codes);
    CurrentUserID = user;
    QVERIFY(f.main->prepareAfterLogin());
    QueryDataset *q3 = dmMain->qryLinkmans3;
    OpenDatasets({dmMain->tblCustomers2, q3});
    TfrmLinkmanQuery dialog;
    QCOMPARE(runQuery(dialog, kind, text), closed);
    QCOMPARE(f.rec->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (codes.isNull()) {
        QVERIFY(!q3->isActive());
        QCOMPARE(dialog.focusWidget(), dialog.textEdit());
    } else {
        QVERIFY(q3->isActive());
        QCOMPARE(codesOf(q3), codes.toStringList());
        QVERIFY(!q3->sqlText().contains(s("sUser"), Qt::CaseInsensitive));
    }
}

void TestContacts::deleteChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("typed");  // typed over the code before 删除; empty: nothing
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("named by a business record") << "L01" << "" << "对不起，业务资料有该联系人信息，不能删除！" << false;
    QTest::newRow("named, code typed over") << "L01" << "L99" << "对不起，业务资料有该联系人信息，不能删除！" << false;
    QTest::newRow("free") << "L05" << "" << "您真的要删除该联系人吗？" << true;
    QTest::newRow("free, typed as a named code") << "L05" << "L01" << "您真的要删除该联系人吗？" << true;
}

void TestContacts::deleteChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, deleted);
    f.openAs(s("wang"));
    Dataset *q = dmMain->qryLinkmans1;
    QVERIFY(q->locate(s("LinkmanID"), {code}));
    if (!typed.isEmpty()) {
        q->edit();
        q->field(s("LinkmanID")).setValue(typed);
    }
    f.rec->answers << Messages::Answer::Ok;
    window()->Act_Delete->trigger();
    QCOMPARE(f.rec->texts(), QStringList{message});
    QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='%1'").arg(code)), deleted ? 0 : 1);
    QCOMPARE(logEntries().last(), s("客户业务管理-联系人资料-删除"));
}

void TestContacts::folders_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("folder");  // under FilesRoot; empty: FilesRoot itself
    QTest::newRow("contact of C1") << "L05" << "C1";
    QTest::newRow("contact of C3") << "L07" << "C3";
}

void TestContacts::folders()
{
    QFETCH(QString, code);
    QFETCH(QString, folder);
    f.openAs(s("wang"));
    Dataset *q = dmMain->qryLinkmans1;
    QCOMPARE(FileListRoot, FilesRoot + s("C1"));  // the first contact's customer after opening
    QVERIFY(q->locate(s("LinkmanID"), {code}));
    const QModelIndex index = window()->listGrid()->view()->currentIndex();
    QVERIFY(index.isValid());
    Q_EMIT window()->listGrid()->view()->clicked(index);
    QCOMPARE(FileListRoot, FilesRoot + folder);
    QVERIFY(QDir(FilesRoot + folder).exists());
    // A contact without a customer: the documents root.
    q->edit();
    q->field(s("CustID")).setValue(QVariant());
    q->post();
    window()->syncFolder();
    QCOMPARE(FileListRoot, FilesRoot);
    QCOMPARE(QDir(AppDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"Data", "Files"}));
}

void TestContacts::exportAddresses_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("query");  // a name to query first; empty: none
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("system user") << "Admin" << ""
                                 << QByteArray("a&b?c#d%e@\xe4\xbe\x8b\xe5\xad\x90.cn\nl2@x.cn\nl4@x.cn\nsale@shop.cn\nl6@x.cn\nl7@x.cn\n");
    QTest::newRow("wang, empty address skipped") << "wang" << ""
                                                 << QByteArray("a&b?c#d%e@\xe4\xbe\x8b\xe5\xad\x90.cn\nsale@shop.cn\nl7@x.cn\n");
    QTest::newRow("after a query") << "Admin" << "张" << QByteArray("a&b?c#d%e@\xe4\xbe\x8b\xe5\xad\x90.cn\nl2@x.cn\n");
}

void TestContacts::exportAddresses()
{
    QFETCH(QString, user);
    QFETCH(QString, query);
    QFETCH(QByteArray, file);
    f.openAs(user);
    if (!query.isEmpty()) {
        TfrmLinkmanQuery1 dialog;
        QVERIFY(runQuery(dialog, 3, query));
    }
    // The grid's sort does not change the file's order.
    window()->listGrid()->sortBy(s("Name"), Qt::DescendingOrder);
    Dataset *q = dmMain->qryLinkmans1;
    q->first();
    // Cancel writes nothing and says nothing.
    f.rec->files << QString();
    window()->Act_Export->trigger();
    QVERIFY(f.rec->messages.isEmpty());
    QVERIFY(QDir(AppDir + s("Email")).exists());
    QCOMPARE(QDir(AppDir + s("Email")).entryList(QDir::Files), QStringList{});
    QCOMPARE(q->currentRow(), 0);
    // Confirmed: an existing file is replaced.
    const QString path = AppDir + s("Email/Email.txt");
    f.dir->writeFile(s("Email/Email.txt"), "old\n");
    f.rec->files << path;
    window()->Act_Export->trigger();
    QCOMPARE(f.dir->readFile(s("Email/Email.txt")), file);
    QCOMPARE(f.rec->texts(), QStringList{s("Email地址列表导出成功！")});
    QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Information);
    QCOMPARE(q->currentRow(), q->recordCount() - 1);
    QCOMPARE(QDir(AppDir + s("Email")).entryList(QDir::Files), QStringList{"Email.txt"});
}

void TestContacts::exportFailureKeepsTheOldFile()
{
    f.openAs(s("Admin"));
    // A folder that cannot hold the file: the error, no success, nothing written.
    f.dir->writeFile(s("notafolder"), "x");
    f.rec->files << AppDir + s("notafolder/Email.txt");
    window()->Act_Export->trigger();
    QCOMPARE(f.rec->messages.size(), 1);
    QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Critical);
    QVERIFY(f.rec->lastText().contains(s("notafolder")));
    QCOMPARE(f.dir->readFile(s("notafolder")), QByteArray("x"));
    // A folder that refuses writing (not for the superuser, who writes anywhere).
    const QString locked = AppDir + s("locked");
    QDir().mkpath(locked);
    f.dir->writeFile(s("locked/Email.txt"), "old\n");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(locked + s("/probe"));
    const bool superuser = probe.open(QIODevice::WriteOnly);
    probe.close();
    QFile::remove(locked + s("/probe"));
    if (!superuser) {
        f.rec->messages.clear();
        f.rec->files << locked + s("/Email.txt");
        window()->Act_Export->trigger();
        QCOMPARE(f.rec->messages.size(), 1);
        QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Critical);
        QCOMPARE(f.dir->readFile(s("locked/Email.txt")), QByteArray("old\n"));
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestContacts::printAfterAQuery_data()
{
    QTest::addColumn<bool>("detail");
    QTest::newRow("list (frLinkmans)") << false;
    QTest::newRow("editor (frLinkmansDetail)") << true;
}

void TestContacts::printAfterAQuery()
{
    QFETCH(bool, detail);
    f.openAs(s("Admin"));
    {
        TfrmLinkmanQuery1 dialog;
        QVERIFY(runQuery(dialog, 4, s("经理")));
    }
    const QString pdf = f.dir->file(s("printed.pdf"));
    f.rec->files << pdf;
    f.rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    ActionGate::instance()->evaluate();
    (detail ? window()->Act_Prt : window()->Act_Print)->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmReport"});
    QCOMPARE(logEntries().last(), s("客户业务管理-联系人资料-打印"));
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(s("李五")) && text.contains(s("Brien")), qPrintable(text));
    for (const char *other : {"张三", "张四", "赵七", "50%_off"})
        QVERIFY2(!text.contains(s(other)), other);
}

void TestContacts::rights()
{
    f.openAs(s("guest"));
    OpenDatasets({dmMain->qryLinkmans1});
    for (QAction *a : {window()->Act_Insert, window()->Act_Modify, window()->Act_Delete, window()->Act_Query,
                       window()->Act_Print, window()->Act_Add, window()->Act_Del, window()->Act_Prt})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(window()->Act_Refresh->isEnabled());
    QVERIFY(window()->Act_Export->isEnabled());
    // A refused action does nothing, not even through its shortcut's trigger.
    window()->Act_Delete->trigger();
    QVERIFY(f.rec->messages.isEmpty());
    // Save: a new row can be saved only with Insert; a changed one only with Modify.
    dmMain->qryLinkmans1->append();
    ActionGate::instance()->evaluate();
    QVERIFY(window()->Act_Save->isEnabled());
    QVERIFY(window()->Act_Cancel->isEnabled());
    window()->Act_Cancel->trigger();
    QCOMPARE(dmMain->qryLinkmans1->state(), Dataset::State::Browse);
}

void TestContacts::insertAndModifyMakeRoom_data()
{
    QTest::addColumn<QString>("how");  // "insert", "modify", "double-click"
    QTest::addColumn<QString>("log");
    QTest::newRow("insert") << "insert" << "客户业务管理-联系人资料-新增";
    QTest::newRow("modify") << "modify" << "客户业务管理-联系人资料-修改";
    QTest::newRow("double-click") << "double-click" << "客户业务管理-联系人资料-修改";
}

void TestContacts::insertAndModifyMakeRoom()
{
    QFETCH(QString, how);
    QFETCH(QString, log);
    f.openAs(s("li"), true);
    f.main->selectTab(s("基础资料"));
    f.main->setNavigationVisible(true);
    Dataset *q = dmMain->qryLinkmans1;
    QVERIFY(q->locate(s("LinkmanID"), {s("L04")}));
    if (how == u"insert")
        window()->Act_Insert->trigger();
    else if (how == u"modify")
        window()->Act_Modify->trigger();
    else
        Q_EMIT window()->listGrid()->rowDoubleClicked();
    QCOMPARE(q->state(), how == u"insert" ? Dataset::State::Insert : Dataset::State::Edit);
    QVERIFY(!f.main->isNavigationVisible());
    QCOMPARE(f.main->currentNavigationTab(), s("业务管理"));
    QCOMPARE(window()->pages()->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), window()->form()->codeEdit());
    QCOMPARE(logEntries().last(), log);
    if (how != u"insert")
        QCOMPARE(FileListRoot, FilesRoot + s("C2"));
}

QTEST_MAIN(TestContacts)
#include "tst_contacts.moc"
