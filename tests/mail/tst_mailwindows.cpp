// The bulk-mail window and its dialogs, the envelope window and its settings, and the
// agency's particulars, over a real database file, with recorded messages and dialogs.
#include "ActionGate.h"
#include "AdminWindows.h"
#include "Dataset.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DocumentWindows.h"
#include "LogEntries.h"
#include "MailWindows.h"
#include "PasswordHash.h"
#include "QueryDataset.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "SmtpClient.h"
#include "SmtpTestServer.h"
#include "Shell.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uEnvelop.h"
#include "uMail.h"
#include "uMailDialogs.h"
#include "uMain.h"
#include "uPublic.h"
#include "uReport.h"
#include "uUserInfo.h"
#include "udmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QStringList items(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

}  // namespace

class TestMailWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void particularsCheckInOrder_data();
    void particularsCheckInOrder();
    void particularsFirstSaveCreatesTheRowLaterOnesEditIt();
    void particularsCloseDiscardsUnsavedText();

    void envelopesPrintOnePerContact_data();
    void envelopesPrintOnePerContact();
    void closedQueryPrintsNothingWithoutError();
    void envelopeButtonsLogAndOpenTheirDialogs();
    void toolPathNeeds503BeforeItsLogEntry_data();
    void toolPathNeeds503BeforeItsLogEntry();

    void listButtonsBuildThePendingList();
    void sendChecksInOrder_data();
    void sendChecksInOrder();
    void compositionKeepsListsAndAccumulatesAttachments();
    void compositionRefusesBadCopiesAndSavesText();
    void serverDialogChecksInOrder_data();
    void serverDialogChecksInOrder();
    void serverDialogReportsEachStep();
    void mailToolOpensTheEncodedAddress();
    void batchListsEachFailureWithItsReason();
    void lostConnectionListsTheRestUntried();
    void cancelListsTheRestAsCancelled();

private:
    void openAs(const QString &user);
    QString envelopeText(bool withSender);
    void compose(const QString &subject = s("主题"), const QString &body = s("正文"));
    void waitForBatch();

    QTemporaryDir m_certDir;
    std::unique_ptr<TestAppDir> m_template;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestMailWindows::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    user.insert({s("mailer"), hash, false});
    user.insert({s("nobody"), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const char *code : {"106", "502", "503"})
        right.insert({s("mailer"), s(code), true, true, true, true, true});
    right.insert({s("nobody"), s("301"), true, true, true, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("Address"), s("PostCode"), s("VocationID"), s("LevelID")});
    c.insert({s("C1"), s("王宅"), s("mailer"), s("北京东城区建国路1号"), s("100010"), s("01"), s("A")});
    c.insert({s("C2"), s("李宅"), s("nobody"), s("北京西城区复兴路2号"), s("100032"), s("01"), s("B")});
    TableInserter l(*db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name"), s("Email"), s("SUser")});
    l.insert({s("L01"), s("C1"), s("张三"), s("zhang@x.example"), s("mailer")});
    l.insert({s("L02"), s("C2"), s("李四"), QVariant(), s("nobody")});
    l.insert({s("L03"), s("C9"), s("赵六"), s("orphan@x.example"), s("mailer")});
    tx.commit();
}

void TestMailWindows::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installDocumentWindows(*m_main);
    installAdminWindows(*m_main);
    installMailWindows(*m_main);
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
}

void TestMailWindows::cleanup()
{
    if (dmMain && dmMain->tblUserInfo->isActive() && dmMain->tblUserInfo->state() != Dataset::State::Browse)
        dmMain->tblUserInfo->cancel();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestMailWindows::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

// --- particulars

void TestMailWindows::particularsCheckInOrder_data()
{
    QTest::addColumn<QStringList>("values");  // name, address, telephone, post code
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("name") << QStringList{"", "addr", "tel", "100000"} << s("请输入用户名称！") << "edUserName";
    QTest::newRow("blank name") << QStringList{"  ", "addr", "tel", "100000"} << s("请输入用户名称！") << "edUserName";
    QTest::newRow("address") << QStringList{"n", "", "", ""} << s("请输入用户地址！") << "edAddress";
    QTest::newRow("telephone") << QStringList{"n", "addr", "", ""} << s("请输入用户电话！") << "edTelephone";
    QTest::newRow("post code") << QStringList{"n", "addr", "tel", ""} << s("请输入邮政编码！") << "edPostCode";
}

void TestMailWindows::particularsCheckInOrder()
{
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    openAs(s("mailer"));
    TfrmUserInfo d(m_main.get());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QList<QLineEdit *> boxes{d.edUserName, d.edAddress, d.edTelephone, d.edPostCode};
    for (int i = 0; i < boxes.size(); ++i)
        typeText(boxes[i], values[i]);
    QVERIFY(!d.save());
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(d.focusWidget()->objectName(), focused);
    QCOMPARE(logEntries().last(), s("系统设置-用户信息-保存"));
    d.close();
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblUserInfo")).toInt(), 0);
}

void TestMailWindows::particularsFirstSaveCreatesTheRowLaterOnesEditIt()
{
    openAs(s("mailer"));
    {
        TfrmUserInfo d(m_main.get());
        d.show();
        typeText(d.edUserName, s("安心家政"));
        typeText(d.edAddress, s("学院路"));
        typeText(d.edTelephone, s("010-1"));
        typeText(d.edPostCode, s("100083"));
        QVERIFY(d.save());  // fax, web address and e-mail stay empty
        QVERIFY(m_rec->messages.isEmpty());
        QVERIFY(d.isVisible());
    }
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblUserInfo")).toInt(), 1);
    {
        TfrmUserInfo d(m_main.get());
        d.show();
        QCOMPARE(d.edUserName->text(), s("安心家政"));
        d.edUserName->clear();
        typeText(d.edUserName, s("安心家政中心"));
        QVERIFY(d.save());
    }
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblUserInfo")).toInt(), 1);
    QCOMPARE(dmMain->database()->scalar(s("select UserName from tblUserInfo")).toString(), s("安心家政中心"));
}

void TestMailWindows::particularsCloseDiscardsUnsavedText()
{
    openAs(s("mailer"));
    for (const char *how : {"button", "close box"}) {
        TfrmUserInfo d(m_main.get());
        d.show();
        typeText(d.edUserName, s("未保存"));
        if (QByteArray(how) == "button")
            d.btnClose->click();
        else
            d.close();
        QCOMPARE(dmMain->tblUserInfo->state(), Dataset::State::Browse);
        QCOMPARE(dmMain->tblUserInfo->recordCount(), 0);  // the appended empty row went too
    }
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblUserInfo")).toInt(), 0);
}

// --- envelopes

QString TestMailWindows::envelopeText(bool withSender)
{
    const QString pdf = m_dir->file(s("envelopes.pdf"));
    QFile::remove(pdf);
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    TfrmEnvelopSet set(m_main.get());
    set.chkUserInfo->setChecked(withSender);
    set.btnPreview->click();
    m_rec->onModal = nullptr;
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TestMailWindows::envelopesPrintOnePerContact_data()
{
    QTest::addColumn<bool>("withSender");
    QTest::newRow("recipient only") << false;
    QTest::newRow("with sender") << true;
}

void TestMailWindows::envelopesPrintOnePerContact()
{
    QFETCH(bool, withSender);
    openAs(s("mailer"));
    dmMain->database()->exec(
        s("insert into tblUserInfo (UserName, Address, Telephone, PostCode) values ('安心家政', '学院路18号', '010-6', '100083')"));
    dmMain->tblUserInfo->close();
    openEnvelopeFromTools(m_main.get());
    const QString text = envelopeText(withSender);
    QCOMPARE(text.count(s("收")), 3);
    for (const char *t : {"张三 收", "王宅", "北京东城区建国路1号", "李四 收", "赵六 收"})
        QVERIFY2(text.contains(s(t)), t);
    QCOMPARE(text.contains(s("学院路18号")), withSender);
    QCOMPARE(text.count(u'\f') >= 3, true);  // one page per envelope
}

void TestMailWindows::closedQueryPrintsNothingWithoutError()
{
    openAs(s("mailer"));
    dmMain->qryLinkmans3->close();
    TfrmEnvelop window(m_main.get());
    window.show();
    QCOMPARE(window.grdLinkmans->view()->model()->rowCount(), 0);
    const QString text = envelopeText(false);
    QVERIFY(!text.contains(s("收")));
    QCOMPARE(m_rec->texts(), QStringList{});
}

void TestMailWindows::envelopeButtonsLogAndOpenTheirDialogs()
{
    openAs(s("mailer"));
    dmMain->qryLinkmans3->setSql({s("select * from tblLinkmans where 1=0")});
    m_main->action(s("Act_Envelop"))->trigger();  // the query is used as it stands
    QCOMPARE(m_rec->modalWindows, QStringList{"frmEnvelop"});
    QVERIFY(!dmMain->qryLinkmans3->isActive());
    TfrmEnvelop window(m_main.get());
    window.btnQuery->click();
    window.btnUserInfo->click();
    window.btnPreview->click();
    QCOMPARE(m_rec->modalWindows, (QStringList{"frmEnvelop", "frmLinkmanQuery", "frmUserInfo", "frmEnvelopSet"}));
    QCOMPARE(logEntries().mid(logEntries().size() - 4),
             (QStringList{s("工具-信封标签"), s("工具-信封标签-联系人查询"), s("工具-信封标签-用户登记信息"), s("工具-信封标签-预览")}));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestMailWindows::toolPathNeeds503BeforeItsLogEntry_data()
{
    QTest::addColumn<QString>("user");
    QTest::newRow("without right 503") << "nobody";
    QTest::newRow("with right 503") << "mailer";
}

void TestMailWindows::toolPathNeeds503BeforeItsLogEntry()
{
    QFETCH(QString, user);
    openAs(user);
    dmMain->qryLinkmans3->setSql({s("select * from tblLinkmans where 1=0")});
    const int logs = int(logEntries().size());
    QToolButton *picture = nullptr;
    for (QWidget *w : QApplication::allWidgets())
        if (w->objectName() == u"picEnvelope")
            picture = qobject_cast<QToolButton *>(w);
    QVERIFY(picture && picture->isEnabled());
    picture->click();
    if (user == u"nobody") {
        QCOMPARE(m_rec->texts(), QStringList{s("对不起，您不能使用信封标签打印功能！")});
        QCOMPARE(logEntries().size(), logs);
        QVERIFY(m_rec->modalWindows.isEmpty());
    } else {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(logEntries().mid(logs), QStringList{s("工具-信封标签")});
        QCOMPARE(m_rec->modalWindows, QStringList{"frmEnvelop"});
        QCOMPARE(dmMain->qryLinkmans3->recordCount(), 3);  // every contact, no owner rule
    }
}

// --- bulk mail

void TestMailWindows::listButtonsBuildThePendingList()
{
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    TfrmMail *m = frmMail;
    QCOMPARE(m_main->currentPage(), m->PnMain);
    QCOMPARE(logEntries().last(), s("工具-邮件群发"));
    Dataset *q = dmMain->qryLinkmans3;
    q->first();
    m->btnAdd->click();
    m->btnAdd->click();  // the contact without an address adds an empty entry
    QCOMPARE(items(m->lstPending), (QStringList{"zhang@x.example", ""}));
    QCOMPARE(q->field(s("Name")).asString(), s("赵六"));
    emit m->grdLinkmans->view()->doubleClicked(m->grdLinkmans->view()->currentIndex());
    QCOMPARE(items(m->lstPending).size(), 3);
    QCOMPARE(q->field(s("Name")).asString(), s("赵六"));  // a double-click does not move
    m->btnAddAll->click();
    QCOMPARE(items(m->lstPending), (QStringList{"zhang@x.example", "", "orphan@x.example"}));
    m->btnRemove->click();  // nothing selected: nothing happens
    QCOMPARE(m->lstPending->count(), 3);
    m->lstPending->setCurrentRow(0);
    m->btnRemove->click();
    QCOMPARE(items(m->lstPending), (QStringList{"", "orphan@x.example"}));
    m->lstPending->setCurrentRow(1);
    emit m->lstPending->itemDoubleClicked(m->lstPending->item(1));
    QCOMPARE(m->lstPending->count(), 2);  // still there while the list handles its double-click
    QTRY_COMPARE(items(m->lstPending), QStringList{""});
    m->btnRemoveAll->click();
    QCOMPARE(m->lstPending->count(), 0);
    m->Act_Close->trigger();
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());
    QVERIFY(m_main->isNavigationVisible());
    QCOMPARE(m_main->currentNavigationTab(), s("业务管理"));
}

void TestMailWindows::sendChecksInOrder_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("no subject") << "" << "b" << s("请输入邮件主题!") << "frmMailMemo";
    QTest::newRow("no body") << "s" << "" << s("请输入邮件正文!") << "frmMailMemo";
    QTest::newRow("not connected") << "s" << "b" << s("未连接到服务器!") << "frmMailServer";
}

void TestMailWindows::sendChecksInOrder()
{
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QString, message);
    QFETCH(QString, dialog);
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    frmMail->message().subject = subject;
    frmMail->message().body = body.isEmpty() ? QStringList{} : QStringList{body};
    frmMail->Act_Send->trigger();
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->modalWindows, QStringList{dialog});
    QCOMPARE(logEntries().last(), s("工具-邮件群发-发送"));
}

void TestMailWindows::compose(const QString &subject, const QString &body)
{
    frmMail->message().subject = subject;
    frmMail->message().body = {body};
}

void TestMailWindows::compositionKeepsListsAndAccumulatesAttachments()
{
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    m_rec->files << s("/tmp/a.bin") << s("/tmp/b.bin");
    int turn = 0;
    m_rec->onModal = [&turn](QDialog *d) -> int {
        auto *memo = qobject_cast<TfrmMailMemo *>(d);
        memo->edSubject->setText(s("主题"));
        memo->memContent->setPlainText(s("第一行\n第二行"));
        if (turn++ == 0)
            memo->edCc->setText(s(" cc1@x.example , cc2@x.example "));
        memo->addAttachment();
        return memo->apply() ? QDialog::Accepted : QDialog::Rejected;
    };
    frmMail->Act_Memo->trigger();
    frmMail->Act_Memo->trigger();  // CC left empty the second time
    MailMessage &m = frmMail->message();
    QCOMPARE(m.subject, s("主题"));
    QCOMPARE(m.body, (QStringList{s("第一行"), s("第二行")}));
    QCOMPARE(m.cc, (QStringList{"cc1@x.example", "cc2@x.example"}));
    QCOMPARE(frmMail->attachmentPaths(), (QStringList{"/tmp/a.bin", "/tmp/b.bin"}));
    QCOMPARE(logEntries().mid(logEntries().size() - 2), (QStringList{s("工具-邮件群发-邮件内容"), s("工具-邮件群发-邮件内容")}));
}

void TestMailWindows::compositionRefusesBadCopiesAndSavesText()
{
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    TfrmMailMemo memo(frmMail->message(), frmMail->attachmentPaths(), m_main.get());
    memo.show();
    QVERIFY(!memo.apply());
    QCOMPARE(m_rec->lastText(), s("请输入邮件主题！"));
    memo.edSubject->setText(s("通知"));
    QVERIFY(!memo.apply());
    QCOMPARE(m_rec->lastText(), s("请输入邮件正文！"));
    memo.memContent->setPlainText(s("内容"));
    memo.edBcc->setText(s("ok@x.example, bad address@x"));
    QVERIFY(!memo.apply());
    QCOMPARE(m_rec->lastText(), s("暗送地址不合法：bad address@x"));
    QCOMPARE(memo.focusWidget(), memo.edBcc);
    QVERIFY(frmMail->message().subject.isEmpty());  // nothing taken over

    // "导入..." replaces the content; "保存邮件" appends ".txt" even to "x.txt".
    m_dir->writeFile(s("in.txt"), s("导入的正文\r\n第二行").toLocal8Bit());
    m_rec->files << m_dir->file(s("in.txt"));
    memo.btnImport->click();
    QCOMPARE(memo.memContent->toPlainText().remove(u'\r'), s("导入的正文\n第二行"));
    m_rec->files << m_dir->file(s("out.txt"));
    memo.btnSave->click();
    QVERIFY(QFile::exists(m_dir->file(s("out.txt.txt"))));
    QCOMPARE(QString::fromLocal8Bit(m_dir->readFile(s("out.txt.txt"))).remove(u'\r'), s("导入的正文\n第二行\n"));
    m_rec->files << m_dir->file(s("missing.txt"));
    memo.btnImport->click();
    QVERIFY(m_rec->lastText().startsWith(s("无法读取文件：")));
}

void TestMailWindows::serverDialogChecksInOrder_data()
{
    QTest::addColumn<QStringList>("values");  // host, port, sender, user, password
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("host") << QStringList{"", "25", "a@b", "u", "p"} << s("请输入服务器地址!") << "cbHost";
    QTest::newRow("port") << QStringList{"h", "", "a@b", "u", "p"} << s("请输入服务器端口号!") << "edPort";
    QTest::newRow("sender") << QStringList{"h", "25", "", "u", "p"} << s("请输入发件人地址!") << "edSender";
    QTest::newRow("user") << QStringList{"h", "25", "a@b", "", "p"} << s("请输入用户名!") << "edUser";
    QTest::newRow("password") << QStringList{"h", "25", "a@b", "u", ""} << s("请输入用户密码!") << "edPassword";
    QTest::newRow("sender without at") << QStringList{"h", "25", "ab", "u", "p"} << s("您输入的邮件地址不合法!") << "edSender";
    QTest::newRow("port not a number") << QStringList{"h", "2x5", "a@b", "u", "p"} << s("无法连接到服务器!\n端口号应为 1 到 65535 的整数") << "";
    QTest::newRow("port out of range") << QStringList{"h", "70000", "a@b", "u", "p"} << s("无法连接到服务器!\n端口号应为 1 到 65535 的整数") << "";
}

void TestMailWindows::serverDialogChecksInOrder()
{
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    TfrmMailServer d(*frmMail->smtp(), frmMail->message(), m_main.get());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.edPort->text(), s("25"));
    QCOMPARE(d.cbHost->count(), 6);
    d.cbHost->setEditText(values[0]);
    d.edPort->setText(values[1]);
    d.edSender->setText(values[2]);
    d.edUser->setText(values[3]);
    d.edPassword->setText(values[4]);
    d.btnConnect->click();
    QCOMPARE(m_rec->texts(), QStringList{message});
    if (!focused.isEmpty())
        QCOMPARE(d.focusWidget()->objectName(), focused);
    QVERIFY(!frmMail->smtp()->isConnected());
}

void TestMailWindows::serverDialogReportsEachStep()
{
    SmtpTestServer server({s("login"), s("none"), {}, {}});
    QVERIFY(server.isRunning());
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    frmMail->smtp()->setTimeouts(5000, 5000);
    TfrmMailServer d(*frmMail->smtp(), frmMail->message(), m_main.get());
    d.cbHost->setEditText(s(" 127.0.0.1 "));
    d.edPort->setText(QString::number(server.port()));
    d.edSender->setText(s(" me@x.example "));
    d.edUser->setText(s("user"));
    d.edPassword->setText(s("nope"));
    d.btnConnect->click();
    QTRY_VERIFY_WITH_TIMEOUT(d.statusHistory.size() >= 5, 15000);
    QCOMPARE(d.statusHistory, (QStringList{s("准备连接到服务器!"), s("已经连接到服务器 127.0.0.1"), s("服务器要求验证"),
                                           s("开始验证"), s("服务器验证失败!")}));
    QCOMPARE(m_rec->texts(), (QStringList{s("服务器要求验证"), s("服务器验证失败")}));
    QCOMPARE(frmMail->message().from, s("me@x.example"));
    d.edPassword->setText(s("secret"));
    d.btnConnect->click();  // connecting again drops the earlier connection first
    QTRY_COMPARE_WITH_TIMEOUT(d.statusHistory.last(), s("服务器验证通过!"), 15000);
    QVERIFY(frmMail->smtp()->isConnected());
    d.btnDisconnect->click();
    QCOMPARE(d.statusHistory.last(), s("断开连接!"));
    QVERIFY(!frmMail->smtp()->isConnected());
}

void TestMailWindows::mailToolOpensTheEncodedAddress()
{
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    frmMail->Act_MailTool->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("请输入邮件主题!")});
    QCOMPARE(m_rec->modalWindows, QStringList{"frmMailMemo"});
    compose(s("a&b"), s("x y"));
    dmMain->qryLinkmans3->first();
    frmMail->Act_MailTool->trigger();
    QCOMPARE(m_rec->opened.size(), 1);
    QCOMPARE(m_rec->opened.first(), Shell::mailto(s("zhang@x.example"), s("a&b"), s("x y")));
}

void TestMailWindows::waitForBatch()
{
    QDeadlineTimer deadline(20000);
    while (frmMail->isSending() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    QVERIFY(!frmMail->isSending());
}

void TestMailWindows::batchListsEachFailureWithItsReason()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    compose();
    frmMail->message().from = s("me@x.example");
    frmMail->smtp()->setTimeouts(5000, 5000);
    bool up = false;
    frmMail->smtp()->connectToServer(s("127.0.0.1"), server.port(), [&](const QString &r) { up = r.isEmpty(); });
    QTRY_VERIFY_WITH_TIMEOUT(up, 10000);
    frmMail->lstPending->addItems({s("ok1@x.example"), s("refuse@x.example"), s(""), s("abc"),
                                   s("a@b.c\r\nRCPT TO:<x@y.z>"), s("later@x.example"), s(" ok2@x.example ")});
    frmMail->Act_Send->trigger();
    QVERIFY(frmMail->isSending());
    QVERIFY(!frmMail->Act_Memo->isEnabled());
    waitForBatch();
    QCOMPARE(frmMail->failedAddresses(), (QStringList{s("refuse@x.example"), s(""), s("abc"),
                                                      s("a@b.c\r\nRCPT TO:<x@y.z>"), s("later@x.example")}));
    QVERIFY(items(frmMail->lstFailed).value(1).endsWith(s("不是有效的邮件地址")));
    QVERIFY(items(frmMail->lstFailed).value(4).contains(s("451")));
    QCOMPARE(m_rec->messages.size(), 5);
    QVERIFY(m_rec->texts().value(0).startsWith(s("refuse@x.example 发送失败!\n")));
    QTRY_COMPARE_WITH_TIMEOUT(server.messages().size(), 2, 10000);
    QCOMPARE(server.messages().value(1).value(u"to").toString(), s("ok2@x.example"));
    QVERIFY(!frmMail->smtp()->isConnected());  // every batch ends disconnected
    QCOMPARE(frmMail->lstPending->count(), 7);    // the pending list stays
    QVERIFY(frmMail->Act_Memo->isEnabled());
}

void TestMailWindows::lostConnectionListsTheRestUntried()
{
    SmtpTestServer server({});
    QVERIFY(server.isRunning());
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    compose();
    frmMail->message().from = s("me@x.example");
    bool up = false;
    frmMail->smtp()->connectToServer(s("127.0.0.1"), server.port(), [&](const QString &r) { up = r.isEmpty(); });
    QTRY_VERIFY_WITH_TIMEOUT(up, 10000);
    frmMail->lstPending->addItems({s("ok@x.example"), s("drop@x.example"), s("b@x.example"), s("c@x.example")});
    frmMail->Act_Send->trigger();
    waitForBatch();
    QCOMPARE(frmMail->failedAddresses(), (QStringList{s("drop@x.example"), s("b@x.example"), s("c@x.example")}));
    QCOMPARE(m_rec->texts(), QStringList{s("drop@x.example 发送失败!\n连接已断开")});  // one warning
    QCOMPARE(m_rec->lastText(), s("drop@x.example 发送失败!\n连接已断开"));
}

void TestMailWindows::cancelListsTheRestAsCancelled()
{
    // A server that takes the message and never confirms it.
    ScriptedServer server("220 ready\r\n", [](const QByteArray &line, QTcpSocket *) -> QByteArray {
        if (line == "DATA")
            return "354 go\r\n";
        if (line.startsWith("EHLO") || line.startsWith("MAIL") || line.startsWith("RCPT"))
            return "250 ok\r\n";
        return {};
    });
    openAs(s("mailer"));
    m_main->action(s("Act_Mail"))->trigger();
    compose();
    frmMail->message().from = s("me@x.example");
    bool up = false;
    frmMail->smtp()->connectToServer(s("127.0.0.1"), server.port(), [&](const QString &r) { up = r.isEmpty(); });
    QTRY_VERIFY_WITH_TIMEOUT(up, 10000);
    frmMail->lstPending->addItems({s("a@x.example"), s("b@x.example")});
    frmMail->Act_Send->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(server.received.contains(s(".")), 10000);
    QVERIFY(frmMail->btnCancel->isVisibleTo(frmMail->PnMain));
    QCOMPARE(frmMail->lblProgress->text(), s("正在发送 第 1 封，共 2 封"));
    frmMail->btnCancel->click();
    QVERIFY(!frmMail->isSending());
    QCOMPARE(frmMail->failedAddresses(), (QStringList{s("a@x.example"), s("b@x.example")}));
    QVERIFY(items(frmMail->lstFailed).first().endsWith(s("已取消")));
    QVERIFY(!frmMail->smtp()->isConnected());
    QVERIFY(m_rec->messages.isEmpty());
}

QTEST_MAIN(TestMailWindows)
#include "tst_mailwindows.moc"
