// The placed-worker dialog from the customer window's worker tab: the worker is placed with
// the customer current at "新增员工", the close box asks, a refused Yes stays open, "删除"
// discards a new row, its buttons follow the customer window's rights, and every drop-down's
// dataset is open.
#include "ActionGate.h"
#include "CustomerWindows.h"
#include "DbEdit.h"
#include "DbLookupCombo.h"
#include "PasswordHash.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "WorkerForm.h"
#include "WorkerWindows.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uPublic.h"
#include "uReport.h"
#include "uYuangongNew1.h"
#include "udmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
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

void retype(QWidget *w, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(w);
    QVERIFY(e);
    e->setFocus();
    e->selectAll();
    typeText(e, text);
}

}  // namespace

class TestWorkerEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newWorkerIsPlacedWithTheCurrentCustomer();
    void closeBoxAsks_data();
    void closeBoxAsks();
    void yesWithADuplicateNumberStaysOpen();
    void deleteDiscardsANewRow();
    void rights_data();
    void rights();
    void dropDownsAreOpen();
    void printsTheCustomersWorkers();

private:
    // Opens the customer window as `user` on `custId`, then the dialog through the worker
    // tab's "new" (or "modify"), running `inDialog` inside it.
    void withDialog(const QString &user, const QString &custId, bool insert,
                    const std::function<void(TfrmYuangongNew1 &)> &inDialog);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestWorkerEditor::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *u : {"wang", "guest"})
        user.insert({s(u), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    right.insert({s("wang"), s("301"), true, true, true, true, true});
    right.insert({s("guest"), s("301"), false, true, false, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    c.insert({s("C1"), s("王宅"), s("wang")});
    c.insert({s("C2"), s("赵宅"), s("wang")});
    c.insert({s("C3"), s("孙宅"), s("guest")});
    TableInserter y(*db, s("tblYuangong"), {s("YuangongID"), s("Name"), s("CustID")});
    y.insert({s("W01"), s("张三"), s("C1")});
    y.insert({s("W05"), s("孙五"), s("C3")});
    tx.commit();
}

void TestWorkerEditor::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installCustomerWindows(*m_main);
    installWorkerWindows(*m_main);
    ReportService::setFolder(QStringLiteral(QLM_LAYOUT_DIR));
}

void TestWorkerEditor::cleanup()
{
    if (dmMain)
        for (Dataset *d : dmMain->findChildren<Dataset *>())
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->cancel();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestWorkerEditor::withDialog(const QString &user, const QString &custId, bool insert,
                                  const std::function<void(TfrmYuangongNew1 &)> &inDialog)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    m_main->action(s("Act_Customers"))->trigger();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {custId}));
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *dialog = qobject_cast<TfrmYuangongNew1 *>(d);
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
    frmCustomers->relatedAction(2, insert ? s("new") : s("modify"))->trigger();
    QCOMPARE(m_rec->modalWindows.value(0), s("frmYuangongNew1"));
}

void TestWorkerEditor::newWorkerIsPlacedWithTheCurrentCustomer()
{
    withDialog(s("wang"), s("C2"), true, [](TfrmYuangongNew1 &d) {
        QCOMPARE(d.windowTitle(), s("员工资料"));
        QCOMPARE(d.focusWidget(), d.form()->editor(s("YuangongID")));
        retype(d.form()->editor(s("YuangongID")), s("W09"));
        retype(d.form()->editor(s("Name")), s("新人"));
        d.Act_Save->trigger();
        QCOMPARE(dmMain->tblYuangong1->state(), Dataset::State::Browse);
        d.Act_Close->trigger();
        QVERIFY(!d.isVisible());
    });
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(dmMain->database()->scalar(s("select CustID from tblYuangong where YuangongID = 'W09'")).toString(),
             s("C2"));
}

void TestWorkerEditor::closeBoxAsks_data()
{
    QTest::addColumn<Messages::Answer>("answer");
    QTest::addColumn<int>("workers");
    QTest::newRow("No discards") << Messages::Answer::No << 1;
    QTest::newRow("Yes saves") << Messages::Answer::Yes << 2;
}

void TestWorkerEditor::closeBoxAsks()
{
    QFETCH(Messages::Answer, answer);
    QFETCH(int, workers);
    withDialog(s("wang"), s("C1"), true, [&](TfrmYuangongNew1 &d) {
        retype(d.form()->editor(s("YuangongID")), s("W08"));
        retype(d.form()->editor(s("Name")), s("新人"));
        m_rec->answers.enqueue(answer);
        QVERIFY(d.close());
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(m_rec->texts(), QStringList{s("员工档案尚未保存，保存吗？")});
    QCOMPARE(count(s("select count(*) from tblYuangong")), workers + 1);
    QCOMPARE(dmMain->tblYuangong1->state(), Dataset::State::Browse);
}

void TestWorkerEditor::yesWithADuplicateNumberStaysOpen()
{
    withDialog(s("wang"), s("C1"), true, [&](TfrmYuangongNew1 &d) {
        retype(d.form()->editor(s("YuangongID")), s("W01"));
        retype(d.form()->editor(s("Name")), s("重号"));
        m_rec->answers.enqueue(Messages::Answer::Yes);
        d.close();
        QVERIFY(d.isVisible());
        QCOMPARE(dmMain->tblYuangong1->state(), Dataset::State::Insert);
        QCOMPARE(m_rec->messages.size(), 2);
        QVERIFY2(m_rec->lastText().contains(s("代码重复")), qPrintable(m_rec->lastText()));
        // An empty name on Yes: its message, still open.
        retype(d.form()->editor(s("Name")), s(" "));
        m_rec->answers.enqueue(Messages::Answer::Yes);
        d.close();
        QVERIFY(d.isVisible());
        QCOMPARE(m_rec->lastText(), s("请输入员工姓名！"));
        m_rec->answers.enqueue(Messages::Answer::No);
        d.close();
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(count(s("select count(*) from tblYuangong")), 2);
}

void TestWorkerEditor::deleteDiscardsANewRow()
{
    withDialog(s("wang"), s("C1"), true, [&](TfrmYuangongNew1 &d) {
        retype(d.form()->editor(s("YuangongID")), s("W07"));
        m_rec->answers.enqueue(Messages::Answer::Ok);
        d.Act_Del->trigger();
        QCOMPARE(m_rec->lastText(), s("您真的要删除该员工资料吗？"));
        QCOMPARE(dmMain->tblYuangong1->state(), Dataset::State::Browse);
        d.Act_Close->trigger();
    });
    QCOMPARE(count(s("select count(*) from tblYuangong")), 2);
    QCOMPARE(count(s("select count(*) from tblYuangong where YuangongID = 'W01'")), 1);
}

void TestWorkerEditor::rights_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("change");
    QTest::newRow("insert and delete") << s("wang") << true;
    QTest::newRow("modify only") << s("guest") << false;
}

void TestWorkerEditor::rights()
{
    QFETCH(QString, user);
    QFETCH(bool, change);
    bool seen = false;
    withDialog(user, user == u"guest" ? s("C3") : s("C1"), false, [&](TfrmYuangongNew1 &d) {
        seen = true;
        QCOMPARE(d.Act_Add->isEnabled(), change);
        QCOMPARE(d.Act_Del->isEnabled(), change);
        QVERIFY(d.Act_Save->isEnabled());
        QVERIFY(d.Act_Close->isEnabled());
        m_rec->answers.enqueue(Messages::Answer::No);
        d.Act_Close->trigger();
    });
    QVERIFY(seen);
}

void TestWorkerEditor::dropDownsAreOpen()
{
    for (Dataset *d : {static_cast<Dataset *>(dmMain->tblDepartment), static_cast<Dataset *>(dmMain->tblGongzhong),
                       static_cast<Dataset *>(dmMain->tblTijian), static_cast<Dataset *>(dmMain->tblJineng)})
        d->close();
    withDialog(s("wang"), s("C1"), false, [&](TfrmYuangongNew1 &d) {
        for (Dataset *ds : {static_cast<Dataset *>(dmMain->tblDepartment), static_cast<Dataset *>(dmMain->tblGongzhong),
                            static_cast<Dataset *>(dmMain->tblTijian), static_cast<Dataset *>(dmMain->tblJineng),
                            static_cast<Dataset *>(dmMain->tblCustomers2), static_cast<Dataset *>(dmMain->tblShusong1)})
            QVERIFY2(ds->isActive(), qPrintable(ds->objectName()));
        auto *dept = qobject_cast<DbLookupCombo *>(d.form()->editor(s("DepartmentID")));
        QVERIFY(dept);
        QVERIFY(dept->count() > 0);
        m_rec->answers.enqueue(Messages::Answer::No);
        d.Act_Close->trigger();
    });
}

// "打印" in the placed-worker editor: the current customer's workers under his name.
void TestWorkerEditor::printsTheCustomersWorkers()
{
    dmMain->database()->exec(s("insert into tblYuangong (YuangongID, Name, CustID) values ('W02', '李四', 'C1')"));
    dmMain->database()->exec(s("insert into tblYuangong (YuangongID, Name, CustID) values ('W03', '王五', 'C2')"));
    const QString pdf = m_dir->file(s("placed.pdf"));
    m_rec->files << pdf;
    CurrentUserID = s("wang");
    QVERIFY(m_main->prepareAfterLogin());
    m_main->action(s("Act_Customers"))->trigger();
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C1")}));
    bool printed = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d)) {
            r->exportPdf();
            return QDialog::Accepted;
        }
        auto *dialog = qobject_cast<TfrmYuangongNew1 *>(d);
        if (!dialog)
            return QDialog::Rejected;
        dialog->show();
        ActionGate::instance()->evaluate();
        dialog->Act_Print->trigger();
        printed = true;
        m_rec->answers.enqueue(Messages::Answer::No);
        dialog->Act_Close->trigger();
        dialog->hide();
        return dialog->result();
    };
    ActionGate::instance()->evaluate();
    frmCustomers->relatedAction(2, s("modify"))->trigger();
    QVERIFY(printed);
    QCOMPARE(m_rec->modalWindows, (QStringList{s("frmYuangongNew1"), s("frmReport")}));
    QProcess p;
    p.start(s("pdftotext"), {s("-layout"), pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    // The font maps 户 to a radical form pdftotext reads back as 戶; the line is matched loosely.
    QVERIFY2(text.contains(QRegularExpression(s("受聘客.[:：]王宅"))), qPrintable(text));
    QVERIFY2(text.contains(s("张三")) && text.contains(s("李四")), qPrintable(text));
    QVERIFY2(!text.contains(s("王五")) && !text.contains(s("孙五")), qPrintable(text));
}

QTEST_MAIN(TestWorkerEditor)
#include "tst_workereditor.moc"
