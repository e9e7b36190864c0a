// The contact editor tab, its customer tab and the contact dialog: checks, owner, codes,
// copying the customer's data, mail and home page, the close procedure.
#include "ContactFixture.h"
#include "ContactForm.h"
#include "CustomerPick.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbLookupCombo.h"
#include "LogEntries.h"
#include "Shell.h"
#include "uCustomers.h"
#include "WindowKit.h"
#include "uLinkmanNew1.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>

class TestContactEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { f.start(*m_template); }
    void cleanup() { f.stop(); }

    void saveChecks_data();
    void saveChecks();
    void owner_data();
    void owner();
    void takenCode_data();
    void takenCode();
    void codeChange_data();
    void codeChange();
    void copyCustomer_data();
    void copyCustomer();
    void pickAndCustomerTab();
    void customerListUnfilteredOnEntry();
    void mailAndHomePage_data();
    void mailAndHomePage();
    void dialogClose_data();
    void dialogClose();
    void dialogDeleteChecksTheStoredCode();
    void customerWindowContactsTab();
    void enterOrder_data();
    void enterOrder();

private:
    TfrmLinkman *window() const { return frmLinkman; }
    QWidget *focused() const { return QApplication::focusWidget(); }
    // Opens the customer window as `user` on customer `custId` and runs its contacts tab's
    // "新增联系人" or "修改" on `contact`; `inDialog` runs while the dialog shows.
    void withDialog(const QString &user, const QString &custId, const QString &contact,
                    const std::function<void(TfrmLinkmanNew1 &)> &inDialog);
    std::unique_ptr<TestAppDir> m_template;
    ContactFixture f;
};

void TestContactEditor::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    ContactFixture::makeTemplate(*m_template);
}

void TestContactEditor::withDialog(const QString &user, const QString &custId, const QString &contact,
                                   const std::function<void(TfrmLinkmanNew1 &)> &inDialog)
{
    CurrentUserID = user;
    QVERIFY(f.main->prepareAfterLogin());
    f.main->action(s("Act_Customers"))->trigger();
    f.main->show();
    QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {custId}));
    if (!contact.isEmpty())
        QVERIFY(dmMain->tblLinkmans->locate(s("LinkmanID"), {contact}));
    f.rec->onModal = [&](QDialog *d) -> int {
        auto *dialog = qobject_cast<TfrmLinkmanNew1 *>(d);
        if (!dialog)
            return QDialog::Rejected;
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog))
            return QDialog::Rejected;
        ActionGate::instance()->evaluate();
        inDialog(*dialog);
        dialog->hide();
        return dialog->result();
    };
    ActionGate::instance()->evaluate();
    frmCustomers->relatedAction(0, contact.isEmpty() ? s("new") : s("modify"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmLinkmanNew1"});
}

void TestContactEditor::saveChecks_data()
{
    QTest::addColumn<QString>("path");   // "window", "dialog" (保存), "dialog close" (关闭 → Yes)
    QTest::addColumn<QString>("field");  // emptied (or set to an unknown customer)
    QTest::addColumn<QString>("message");
    QTest::newRow("window: code") << "window" << "LinkmanID" << "请输入联系人代码！";
    QTest::newRow("window: name") << "window" << "Name" << "请输入联系人姓名！";
    QTest::newRow("window: no customer") << "window" << "CustID" << "请选择输入客户名称！";
    QTest::newRow("window: unknown customer") << "window" << "CustID=ZZ" << "请选择输入客户名称！";
    QTest::newRow("dialog: code") << "dialog" << "LinkmanID" << "请输入联系人代码！";
    QTest::newRow("dialog: name") << "dialog" << "Name" << "请输入联系人姓名！";
    QTest::newRow("dialog close: code") << "dialog close" << "LinkmanID" << "请输入联系人代码！";
    QTest::newRow("dialog close: name") << "dialog close" << "Name" << "请输入联系人名称！";
}

void TestContactEditor::saveChecks()
{
    QFETCH(QString, path);
    QFETCH(QString, field);
    QFETCH(QString, message);
    const QString name = field.section(u'=', 0, 0);
    const QVariant value = field.contains(u'=') ? QVariant(field.section(u'=', 1)) : QVariant();
    const auto fill = [&](Dataset *d) {
        d->field(s("LinkmanID")).setValue(s("N1"));
        d->field(s("Name")).setValue(s("新人"));
        d->field(s("CustID")).setValue(s("C1"));
        d->field(name).setValue(value);
    };
    if (path == u"window") {
        f.openAs(s("wang"), true);
        window()->pages()->setCurrentIndex(1);
        ActionGate::instance()->evaluate();
        window()->Act_Add->trigger();
        Dataset *q = dmMain->qryLinkmans1;
        QCOMPARE(q->state(), Dataset::State::Insert);
        QCOMPARE(focused(), window()->form()->codeEdit());
        fill(q);
        ActionGate::instance()->evaluate();
        window()->Act_Save->trigger();
        QCOMPARE(f.rec->texts(), QStringList{message});
        QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(focused(), window()->form()->editor(name));
        QCOMPARE(q->state(), Dataset::State::Insert);
        QCOMPARE(logEntries().mid(logEntries().size() - 2),
                 (QStringList{"客户业务管理-联系人资料-新增", "客户业务管理-联系人资料-保存"}));
    } else {
        bool open = false;
        withDialog(s("wang"), s("C1"), {}, [&](TfrmLinkmanNew1 &d) {
            QCOMPARE(focused(), d.form()->codeEdit());
            fill(dmMain->tblLinkmans);
            if (path == u"dialog") {
                d.Act_Save->trigger();
            } else {
                f.rec->answers << Messages::Answer::Yes;
                d.Act_Close->trigger();
                QCOMPARE(f.rec->texts().first(), s("联系人资料尚未保存，保存吗？"));
                f.rec->messages.removeFirst();
            }
            open = d.isVisible();
            QCOMPARE(focused(), d.form()->editor(name));
        });
        QCOMPARE(f.rec->texts(), QStringList{message});
        QVERIFY(open);
        QCOMPARE(dmMain->tblLinkmans->state(), Dataset::State::Insert);
    }
    QCOMPARE(count(s("select count(*) from tblLinkmans")), 7);
}

void TestContactEditor::owner_data()
{
    QTest::addColumn<QString>("path");   // "window new", "window modify", "dialog new", "dialog close"
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("owner");  // stored SUser afterwards
    QTest::newRow("window, new contact") << "window new" << "wang" << "N1" << "wang";
    QTest::newRow("window, another's contact keeps its owner") << "window modify" << "Admin" << "L02" << "li";
    QTest::newRow("window, a contact without owner gets one") << "window modify" << "Admin" << "L06" << "Admin";
    QTest::newRow("dialog leaves it empty") << "dialog new" << "wang" << "N1" << "";
    QTest::newRow("dialog's close path leaves it empty") << "dialog close" << "wang" << "N1" << "";
}

void TestContactEditor::owner()
{
    QFETCH(QString, path);
    QFETCH(QString, user);
    QFETCH(QString, code);
    QFETCH(QString, owner);
    if (path.startsWith(u"window")) {
        f.openAs(user);
        Dataset *q = dmMain->qryLinkmans1;
        if (path == u"window new") {
            window()->Act_Insert->trigger();
            q->field(s("LinkmanID")).setValue(code);
            q->field(s("Name")).setValue(s("新人"));
            q->field(s("CustID")).setValue(s("C1"));
        } else {
            QVERIFY(q->locate(s("LinkmanID"), {code}));
            window()->Act_Modify->trigger();
            q->field(s("Memo")).setValue(s("改"));
        }
        ActionGate::instance()->evaluate();
        window()->Act_Save->trigger();
        QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->lastText()));
        QCOMPARE(q->state(), Dataset::State::Browse);
        const QString customer = dbText(s("select CustID from tblLinkmans where LinkmanID='%1'").arg(code));
        QCOMPARE(FileListRoot, FilesRoot + customer);
        QVERIFY(QDir(FilesRoot + customer).exists());
    } else {
        withDialog(user, s("C3"), {}, [&](TfrmLinkmanNew1 &d) {
            QCOMPARE(dmMain->tblLinkmans->field(s("CustID")).asString(), s("C3"));
            typeText(d.form()->codeEdit(), code);
            typeText(qobject_cast<QLineEdit *>(d.form()->editor(s("Name"))), s("新人"));
            if (path == u"dialog new") {
                d.Act_Save->trigger();
            } else {
                f.rec->answers << Messages::Answer::Yes;
                QTest::keyClick(&d, Qt::Key_Escape);
                QVERIFY(!d.isVisible());
            }
        });
        QCOMPARE(FileListRoot, FilesRoot + s("C3"));
    }
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='%1'").arg(code)), 1);
    QCOMPARE(dbText(s("select coalesce(SUser, '') from tblLinkmans where LinkmanID='%1'").arg(code)), owner);
}

void TestContactEditor::takenCode_data()
{
    QTest::addColumn<bool>("inDialog");
    QTest::newRow("window") << false;
    QTest::newRow("dialog") << true;
}

void TestContactEditor::takenCode()
{
    QFETCH(bool, inDialog);
    const auto check = [&](Dataset *d) {
        QCOMPARE(f.rec->messages.size(), 1);
        QVERIFY2(f.rec->lastText().startsWith(s("代码重复")) && f.rec->lastText().contains(s("LinkmanID")),
                 qPrintable(f.rec->lastText()));
        QCOMPARE(d->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from tblLinkmans")), 7);
    };
    if (!inDialog) {
        f.openAs(s("wang"));
        Dataset *q = dmMain->qryLinkmans1;
        window()->Act_Insert->trigger();
        q->field(s("LinkmanID")).setValue(s("L02"));
        q->field(s("Name")).setValue(s("重号"));
        q->field(s("CustID")).setValue(s("C1"));
        ActionGate::instance()->evaluate();
        window()->Act_Save->trigger();
        check(q);
    } else {
        withDialog(s("wang"), s("C1"), {}, [&](TfrmLinkmanNew1 &d) {
            typeText(d.form()->codeEdit(), s("L02"));
            typeText(qobject_cast<QLineEdit *>(d.form()->editor(s("Name"))), s("重号"));
            d.Act_Save->trigger();
            check(dmMain->tblLinkmans);
            QVERIFY(d.isVisible());
        });
    }
}

void TestContactEditor::codeChange_data()
{
    QTest::addColumn<QString>("path");  // "window", "dialog", "row move"
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("saved");
    for (const char *path : {"window", "dialog", "row move"}) {
        QTest::addRow("%s: named by a business record", path) << s(path) << "L01" << "L91" << false;
        QTest::addRow("%s: letter case only", path) << s(path) << "L01" << "l01" << true;
        QTest::addRow("%s: nothing names it", path) << s(path) << "L05" << "L95" << true;
    }
}

void TestContactEditor::codeChange()
{
    QFETCH(QString, path);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, saved);
    const QString refusal = s("对不起，业务资料有该联系人信息，不能修改联系人代码！");
    if (path == u"dialog") {
        withDialog(s("wang"), s("C1"), stored, [&](TfrmLinkmanNew1 &d) {
            QCOMPARE(dmMain->tblLinkmans->state(), Dataset::State::Edit);
            d.form()->codeEdit()->selectAll();
            typeText(d.form()->codeEdit(), typed);
            d.Act_Save->trigger();
            if (!saved) {
                QCOMPARE(focused(), d.form()->codeEdit());
                QCOMPARE(dmMain->tblLinkmans->state(), Dataset::State::Edit);
            }
        });
    } else {
        f.openAs(s("wang"), true);
        Dataset *q = dmMain->qryLinkmans1;
        QVERIFY(q->locate(s("LinkmanID"), {stored}));
        window()->pages()->setCurrentIndex(1);
        window()->form()->codeEdit()->selectAll();
        typeText(window()->form()->codeEdit(), typed);
        QCOMPARE(q->state(), Dataset::State::Edit);
        if (path == u"window") {
            ActionGate::instance()->evaluate();
            window()->Act_Save->trigger();
            if (!saved)
                QCOMPARE(focused(), window()->form()->codeEdit());
        } else if (saved) {
            q->next();
        } else {
            QVERIFY_THROWS_EXCEPTION(DatasetError, q->next());
            f.rec->messages << Messages::Request{refusal, Messages::defaultCaption()};
        }
        if (!saved)
            QCOMPARE(q->state(), Dataset::State::Edit);
    }
    QCOMPARE(f.rec->texts(), saved ? QStringList{} : QStringList{refusal});
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='%1'").arg(saved ? typed : stored)), 1);
    if (saved && typed.compare(stored, Qt::CaseInsensitive) != 0)
        QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID='%1'").arg(stored)), 0);
}

void TestContactEditor::copyCustomer_data()
{
    QTest::addColumn<QString>("custId");
    QTest::addColumn<QString>("contact");  // empty: a new contact
    QTest::addColumn<QStringList>("expected");  // Telephone, Fax, HomeAddress, Email, HomePage ("-": null)
    QTest::newRow("new, every field") << "C2" << "" << QStringList{"010-2222", "010-2223", "北京西城", "-", "-"};
    QTest::newRow("new, nulls stay empty") << "C1" << "" << QStringList{"010-1111", "-", "北京东城", "c1@home.cn", "三口之家"};
    QTest::newRow("modify copies nothing") << "C1" << "L05" << QStringList{"-", "-", "-", "sale@shop.cn", "-"};
}

void TestContactEditor::copyCustomer()
{
    QFETCH(QString, custId);
    QFETCH(QString, contact);
    QFETCH(QStringList, expected);
    QStringList got;
    withDialog(s("Admin"), custId, contact, [&](TfrmLinkmanNew1 &d) {
        QTest::mouseClick(d.findChild<QToolBar *>()->widgetForAction(d.Act_Copy), Qt::LeftButton);
        for (const char *field : {"Telephone", "Fax", "HomeAddress", "Email", "HomePage"}) {
            const Field v = dmMain->tblLinkmans->field(s(field));
            got << (v.isNull() ? s("-") : v.asString());
        }
        QCOMPARE(qobject_cast<QLineEdit *>(d.form()->editor(s("HomeAddress")))->text(), expected.at(2) == u"-" ? QString() : expected.at(2));
        dmMain->tblLinkmans->cancel();
    });
    QCOMPARE(got, expected);
}

void TestContactEditor::pickAndCustomerTab()
{
    f.openAs(s("wang"), true);
    Dataset *q = dmMain->qryLinkmans1;
    QVERIFY(q->locate(s("LinkmanID"), {s("L07")}));
    window()->pages()->setCurrentIndex(1);
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("赵宅"));
    f.rec->onModal = [](QDialog *d) -> int {
        auto *pick = qobject_cast<CustomerPickDialog *>(d);
        if (!pick)
            return QDialog::Rejected;
        if (!dmMain->tblCustomers2->locate(s("CustId"), {s("C1")}))
            return QDialog::Rejected;
        QTest::mouseClick(pick->chooseButton(), Qt::LeftButton);
        return pick->result();
    };
    QTest::mouseClick(window()->form()->pickButton(), Qt::LeftButton);
    QCOMPARE(CustomerPickCaller, s("联系人详细资料"));
    QCOMPARE(q->state(), Dataset::State::Edit);
    QCOMPARE(q->field(s("CustID")).asString(), s("C1"));
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("王宅"));
    QCOMPARE(window()->customerEdit(s("Email"))->text(), s("c1@home.cn"));
    QCOMPARE(window()->form()->findChild<DbLookupCombo *>()->text(), s("王宅"));
    // A customer the owner rule hides, in other letter case: the tab shows nothing.
    dmMain->tblCustomers2->setFilter(OwnerFilter());
    dmMain->tblCustomers2->setFiltered(true);
    q->field(s("CustID")).setValue(s("c2"));
    QVERIFY(!window()->customerShown());
    for (const char *field : {"CustId", "CustName", "Telephone", "Email"})
        QCOMPARE(window()->customerEdit(s(field))->text(), QString());
    // Letter case ignored for a visible one.
    q->field(s("CustID")).setValue(s("c3"));
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("赵宅"));
    q->cancel();
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("赵宅"));
    // A contact without a customer.
    QVERIFY(q->locate(s("LinkmanID"), {s("L01")}));
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), s("王宅"));
    q->edit();
    q->field(s("CustID")).setValue(QVariant());
    QCOMPARE(window()->customerEdit(s("CustName"))->text(), QString());
    q->cancel();
}

void TestContactEditor::customerListUnfilteredOnEntry()
{
    f.openAs(s("wang"), true);
    QVERIFY(dmMain->tblCustomers2->isFiltered());
    window()->pages()->setCurrentIndex(1);
    window()->form()->editor(s("CustID"))->setFocus();
    QVERIFY(!dmMain->tblCustomers2->isFiltered());
    QCOMPARE(dmMain->tblCustomers2->recordCount(), 3);
}

void TestContactEditor::mailAndHomePage_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("opened");
    const QString odd = s("a&b?c#d%e@例子.cn");
    QTest::newRow("mail with & ? # % and Chinese") << "Email" << odd << QStringList{Shell::mailto(odd)};
    QTest::newRow("empty mail opens nothing") << "Email" << "" << QStringList{};
    QTest::newRow("home page without scheme") << "HomePage" << "www.example.com" << QStringList{"http://www.example.com"};
    QTest::newRow("https home page") << "HomePage" << "https://example.com/a?b=1" << QStringList{"https://example.com/a?b=1"};
    QTest::newRow("a program's path") << "HomePage" << "/bin/sh" << QStringList{};
    QTest::newRow("a file address") << "HomePage" << "file:///etc/passwd" << QStringList{};
    QTest::newRow("another scheme") << "HomePage" << "javascript:alert(1)" << QStringList{};
    QTest::newRow("a Windows path") << "HomePage" << "C:\\Windows\\calc.exe" << QStringList{};
}

void TestContactEditor::mailAndHomePage()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, opened);
    f.openAs(s("Admin"), true);
    QVERIFY(dmMain->qryLinkmans1->locate(s("LinkmanID"), {s("L04")}));
    window()->pages()->setCurrentIndex(1);
    auto *edit = qobject_cast<QLineEdit *>(window()->form()->editor(field));
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
    ContactForm *form = window()->form();
    QTest::mouseClick(field == u"Email" ? form->sendButton() : form->openButton(), Qt::LeftButton);
    QCOMPARE(f.rec->opened, opened);
    // The edit's own button follows the same rule.
    f.rec->opened.clear();
    edit->findChild<QAction *>(s("openLink"))->trigger();
    QCOMPARE(f.rec->opened, opened);
}

void TestContactEditor::dialogClose_data()
{
    QTest::addColumn<QString>("how");     // "escape", "close box", "button"
    QTest::addColumn<bool>("pending");
    QTest::addColumn<QString>("answer");  // to the save question
    QTest::addColumn<QString>("code");    // typed in a new contact
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("message"); // after the question; prefix
    QTest::addColumn<int>("contacts");    // rows in the file afterwards
    QTest::newRow("nothing pending") << "escape" << false << "" << "" << true << "" << 7;
    QTest::newRow("No cancels") << "close box" << true << "No" << "N1" << true << "" << 7;
    QTest::newRow("Yes saves") << "escape" << true << "Yes" << "N1" << true << "" << 8;
    QTest::newRow("Yes saves, button") << "button" << true << "Yes" << "N1" << true << "" << 8;
    QTest::newRow("Yes without a code") << "close box" << true << "Yes" << "" << false << "请输入联系人代码！" << 7;
    QTest::newRow("Yes refused by the database") << "escape" << true << "Yes" << "L04" << false << "代码重复" << 7;
}

void TestContactEditor::dialogClose()
{
    QFETCH(QString, how);
    QFETCH(bool, pending);
    QFETCH(QString, answer);
    QFETCH(QString, code);
    QFETCH(bool, closed);
    QFETCH(QString, message);
    QFETCH(int, contacts);
    bool open = true;
    withDialog(s("wang"), s("C1"), {}, [&](TfrmLinkmanNew1 &d) {
        if (pending) {
            typeText(d.form()->codeEdit(), code);
            typeText(qobject_cast<QLineEdit *>(d.form()->editor(s("Name"))), s("新人"));
        } else {
            dmMain->tblLinkmans->cancel();
        }
        if (!answer.isEmpty())
            f.rec->answers << (answer == u"Yes" ? Messages::Answer::Yes : Messages::Answer::No);
        if (how == u"escape")
            QTest::keyClick(&d, Qt::Key_Escape);
        else if (how == u"close box")
            d.close();
        else
            d.Act_Close->trigger();
        open = d.isVisible();
    });
    QCOMPARE(open, !closed);
    QCOMPARE(count(s("select count(*) from tblLinkmans")), contacts);
    if (pending)
        QCOMPARE(f.rec->texts().first(), s("联系人资料尚未保存，保存吗？"));
    else
        QVERIFY(f.rec->messages.isEmpty());
    if (!message.isEmpty())
        QVERIFY2(f.rec->lastText().contains(message), qPrintable(f.rec->lastText()));
    if (!closed)
        QCOMPARE(dmMain->tblLinkmans->state(), Dataset::State::Insert);
    else
        QVERIFY(!WindowKit::isEditing(dmMain->tblLinkmans));
}

void TestContactEditor::dialogDeleteChecksTheStoredCode()
{
    withDialog(s("wang"), s("C1"), s("L01"), [&](TfrmLinkmanNew1 &d) {
        d.form()->codeEdit()->selectAll();
        typeText(d.form()->codeEdit(), s("L99"));
        d.Act_Del->trigger();
        QCOMPARE(f.rec->texts(), QStringList{s("对不起，业务资料有该联系人信息，不能删除！")});
        dmMain->tblLinkmans->cancel();
        QVERIFY(dmMain->tblLinkmans->locate(s("LinkmanID"), {s("L05")}));
        f.rec->answers << Messages::Answer::Ok;
        d.Act_Del->trigger();
        QCOMPARE(f.rec->lastText(), s("您真的要删除该联系人资料吗？"));
    });
    QCOMPARE(count(s("select count(*) from tblLinkmans where LinkmanID in ('L01', 'L05')")), 1);
    // The customer window's own delete on its contacts tab checks the stored code too.
    f.rec->messages.clear();
    QVERIFY(dmMain->tblLinkmans->locate(s("LinkmanID"), {s("L01")}));
    dmMain->tblLinkmans->edit();
    dmMain->tblLinkmans->field(s("LinkmanID")).setValue(s("L98"));
    frmCustomers->relatedAction(0, s("delete"))->trigger();
    QCOMPARE(f.rec->texts(), QStringList{s("对不起，业务资料有该联系人信息，不能删除！")});
}

void TestContactEditor::customerWindowContactsTab()
{
    // The customer names the dialog shows are read again before it opens.
    CurrentUserID = s("Admin");
    QVERIFY(f.main->prepareAfterLogin());
    f.main->action(s("Act_Customers"))->trigger();
    OpenDatasets({dmMain->tblCustomers2});
    {
        Transaction tx(*dmMain->database());
        TableInserter(*dmMain->database(), s("tblCustomers"), {s("CustId"), s("CustName")}).insert({s("C9"), s("新来的")});
        tx.commit();
    }
    QVERIFY(!dmMain->tblCustomers2->locate(s("CustId"), {s("C9")}));
    dmMain->tblCustomers->close();
    dmMain->tblCustomers->open();
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C9")}));
    QString shown;
    f.rec->onModal = [&](QDialog *d) -> int {
        if (auto *dialog = qobject_cast<TfrmLinkmanNew1 *>(d))
            shown = qobject_cast<QLineEdit *>(dialog->form()->editor(s("CustID")))->text();
        dmMain->tblLinkmans->cancel();
        return QDialog::Rejected;
    };
    ActionGate::instance()->evaluate();
    frmCustomers->relatedAction(0, s("new"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmLinkmanNew1"});
    QCOMPARE(shown, s("新来的"));
    // No customer (an empty list, or a new one without a code yet): nothing starts.
    f.rec->modalWindows.clear();
    dmMain->tblCustomers->append();
    ActionGate::instance()->evaluate();
    frmCustomers->relatedAction(0, s("new"))->trigger();
    frmCustomers->relatedAction(0, s("modify"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{});
    QVERIFY(!WindowKit::isEditing(dmMain->tblLinkmans));
    dmMain->tblCustomers->cancel();
    dmMain->tblCustomers->setFilter(s("CustId='none'"));
    dmMain->tblCustomers->setFiltered(true);
    QVERIFY(dmMain->tblCustomers->isEmpty());
    frmCustomers->relatedAction(0, s("new"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{});
}

void TestContactEditor::enterOrder_data()
{
    QTest::addColumn<bool>("inDialog");
    QTest::newRow("window") << false;
    QTest::newRow("dialog") << true;
}

void TestContactEditor::enterOrder()
{
    QFETCH(bool, inDialog);
    const QStringList expected{"LinkmanID", "Name",        "Main",  "CustID",   "NickName", "Department",
                               "Duty",      "Telephone",   "Fax",   "Mobile",   "HomeAddress", "Email",
                               "HomePage",  "Enjoy",       "SpecialDate", "Memo"};
    const auto walk = [&](ContactForm *form) {
        QCOMPARE(form->enterOrder().size(), 16);
        form->codeEdit()->setFocus();
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(focused(), Qt::Key_Return);
            QWidget *want = form->editor(expected.at(i));
            QVERIFY2(want == focused() || want->isAncestorOf(focused()), qPrintable(expected.at(i)));
        }
    };
    if (inDialog) {
        withDialog(s("Admin"), s("C1"), {}, [&](TfrmLinkmanNew1 &d) {
            walk(d.form());
            dmMain->tblLinkmans->cancel();
        });
    } else {
        f.openAs(s("Admin"), true);
        window()->pages()->setCurrentIndex(1);
        walk(window()->form());
    }
}

QTEST_MAIN(TestContactEditor)
#include "tst_contacteditor.moc"
