// The business records: amounts on every save path, the required-field checks, the
// owner rule, the code and delete guards, the linked-customer rule, the customer tab and
// the customer window's dialog.
#include "ActionGate.h"
#include "CustomerWindows.h"
#include "DbGrid.h"
#include "DatasetModel.h"
#include "LogEntries.h"
#include "OperationForm.h"
#include "OperationWindows.h"
#include "OperationsFixture.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uOperateNew1.h"
#include "uOperates.h"
#include "uPublic.h"
#include "uReport.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QVariant dbValue(const QString &sql)
{
    return dmMain->database()->scalar(sql);
}

int count(const QString &sql)
{
    return dbValue(sql).toInt();
}

// As a click does: the gate first decides whether the action is enabled.
void fire(QAction *action)
{
    ActionGate::instance()->evaluate();
    action->trigger();
}

}  // namespace

class TestOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensThePage();
    void amounts_data();
    void amounts();
    void ownerIsSetOnlyBySave();
    void checks_data();
    void checks();
    void createDateMessageOnTheClosePath();
    void ownerRule_data();
    void ownerRule();
    void codeChange_data();
    void codeChange();
    void codeChangeRefusedOnARowMove();
    void deleteChecksTheStoredCode();
    void deleteOnAnEmptyListOnlyLogs();
    void deleteAllowedAfterTheLastItem();
    void newRowIsDiscardedByDelete();
    void linkRule();
    void customerTab_data();
    void customerTab();
    void customerDialogNeedsACustomer();
    void dialogNewNeedsACustomer();
    void queryAndPickersOpenTheirWindows();
    void enterOrder();
    void scheduleOpensTheCurrentRecord();
    void folders_data();
    void folders();
    void printing_data();
    void printing();

private:
    void openAs(const QString &user);
    TfrmOperates *w() const { return frmOperates; }
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestOperations::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    fillOperationsFixture(*db);
}

void TestOperations::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installCustomerWindows(*m_main);
    installOperationWindows(*m_main);
    QVERIFY(frmOperates);
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
}

void TestOperations::cleanup()
{
    if (dmMain)
        for (Dataset *d : dmMain->findChildren<Dataset *>())
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->cancel();
    CustomerPickCaller.clear();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestOperations::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_OperatesInfo"))->trigger();
    ActionGate::instance()->evaluate();
}

void TestOperations::opensThePage()
{
    openAs(s("Admin"));
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料"));
    QCOMPARE(m_main->currentPage(), w()->PnMain);
    QCOMPARE(w()->pages()->tabText(0), s("业务（合同）资料列表"));
    QCOMPARE(w()->pages()->tabText(1), s("业务（合同）详细资料"));
    QCOMPARE(w()->lowerTabs()->tabText(0), s("业务（合同）过程跟踪"));
    QCOMPARE(w()->lowerTabs()->tabText(1), s("客户资料"));
    QCOMPARE(w()->listGrid()->model()->rowCount(), 4);
    QStringList columns;
    for (const GridColumn &c : w()->listGrid()->model()->columns())
        columns << c.caption;
    QCOMPARE(columns, (QStringList{s("业务代码"), s("业务标题"), s("客户名称"), s("业务员"), s("建档日期"), s("合同金额"),
                                   s("币别"), s("收支类型"), s("签约日期"), s("截止日期"), s("业务状态")}));
    QVERIFY(QDir(FilesRoot).exists());
    QVERIFY(m_rec->messages.isEmpty());
}

// One record edited in the customer-side dialog (OP1, stored RMB 123 and rate 0.5),
// then stored on one path. "keep" leaves RMB as stored; a null expectation is empty.
void TestOperations::amounts_data()
{
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QVariant>("profit");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("path");  // "save", "close", "leave"
    QTest::addColumn<QVariant>("rmb");
    QTest::addColumn<QVariant>("rate");
    const QVariant keep = s("keep");
    const QVariant empty;
    QTest::newRow("dollars, save") << QVariant(100.0) << QVariant(25.0) << s("USD") << s("save") << QVariant(710.0) << QVariant(0.25);
    QTest::newRow("dollars, close") << QVariant(100.0) << QVariant(25.0) << s("USD") << s("close") << QVariant(710.0) << QVariant(0.25);
    QTest::newRow("amount 0, save") << QVariant(0.0) << QVariant(25.0) << s("USD") << s("save") << QVariant(0.0) << QVariant(0.0);
    QTest::newRow("amount 0, close") << QVariant(0.0) << QVariant(25.0) << s("USD") << s("close") << QVariant(0.0) << QVariant(0.0);
    QTest::newRow("empty amount, close") << empty << QVariant(5.0) << s("USD") << s("close") << QVariant(0.0) << QVariant(0.0);
    QTest::newRow("empty profit, save") << QVariant(100.0) << empty << s("USD") << s("save") << QVariant(710.0) << QVariant(0.0);
    QTest::newRow("hong kong fractions, save") << QVariant(1234.56) << QVariant(100.0) << s("HKD") << s("save")
                                               << QVariant(1234.56 * 0.91) << QVariant(100.0 / 1234.56);
    QTest::newRow("no currency keeps RMB") << QVariant(100.0) << QVariant(10.0) << QString() << s("save") << keep << QVariant(0.1);
    QTest::newRow("deleted currency keeps RMB") << QVariant(100.0) << QVariant(10.0) << s("XXX") << s("close") << keep << QVariant(0.1);
    QTest::newRow("empty rate empties RMB") << QVariant(100.0) << QVariant(10.0) << s("EUR") << s("save") << empty << QVariant(0.1);
    QTest::newRow("leaving the amount") << QVariant(200.0) << QVariant(50.0) << s("USD") << s("leave") << QVariant(1420.0) << QVariant(0.5);
}

void TestOperations::amounts()
{
    QFETCH(QVariant, amount);
    QFETCH(QVariant, profit);
    QFETCH(QString, currency);
    QFETCH(QString, path);
    QFETCH(QVariant, rmb);
    QFETCH(QVariant, rate);
    openAs(s("wang"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C1")}));
    TfrmOperateNew1::prepare();
    Dataset *o = dmMain->tblOperates;
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    // The rate comes from the row's own currency, wherever the currency list stands.
    QVERIFY(dmMain->tblCurrencyRate->locate(s("CurrID"), {s("HKD")}));
    TfrmOperateNew1 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    o->edit();
    o->field(s("CurrID")).setValue(currency.isEmpty() ? QVariant() : QVariant(currency));
    o->field(s("CompactAmount")).setValue(amount);
    o->field(s("Profit")).setValue(profit);
    const int entries = logEntries().size();
    if (path == s("save")) {
        fire(dialog.Act_Save);
        QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-保存"));
    } else if (path == s("close")) {
        m_rec->answers.enqueue(Messages::Answer::Yes);
        fire(dialog.Act_Close);
        QCOMPARE(logEntries().size(), entries);  // no entry on this path
    } else {
        // Leaving the amount puts the row into edit and follows the currency.
        o->post();
        auto *edit = dialog.form()->editor(s("CompactAmount"))->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setFocus();
        dialog.form()->editor(s("OperateTitle"))->setFocus();
        QCOMPARE(o->state(), Dataset::State::Edit);
        o->post();
    }
    QCOMPARE(m_rec->texts(), QStringList{s("业务资料尚未保存，保存吗？")}.mid(0, path == s("close") ? 1 : 0));
    QCOMPARE(o->state(), Dataset::State::Browse);
    const QVariant storedRmb = dbValue(s("select RMB from tblOperates where OperateID = 'OP1'"));
    if (rmb == QVariant(s("keep")))
        QCOMPARE(storedRmb.toDouble(), 123.0);
    else if (rmb.isNull())
        QVERIFY(storedRmb.isNull());
    else
        QVERIFY2(qFuzzyCompare(storedRmb.toDouble() + 1, rmb.toDouble() + 1), qPrintable(storedRmb.toString()));
    const double storedRate = dbValue(s("select Rate from tblOperates where OperateID = 'OP1'")).toDouble();
    QVERIFY2(qFuzzyCompare(storedRate + 1, rate.toDouble() + 1), qPrintable(QString::number(storedRate)));
    // Stored as computed, unrounded.
    if (path == s("save") && currency == s("HKD"))
        QCOMPARE(storedRmb.toDouble(), 1234.56 * 0.91);
}

void TestOperations::ownerIsSetOnlyBySave()
{
    openAs(s("wang"));
    dmMain->database()->exec(s("update tblOperates set SUser = null where OperateID = 'OP1'"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C1")}));
    TfrmOperateNew1::prepare();
    Dataset *o = dmMain->tblOperates;
    o->close();
    o->open();
    {
        TfrmOperateNew1 dialog;
        dialog.show();
        o->edit();
        o->field(s("OperateTitle")).setValue(s("改过的标题"));
        m_rec->answers.enqueue(Messages::Answer::Yes);
        fire(dialog.Act_Close);
    }
    QVERIFY(dbValue(s("select SUser from tblOperates where OperateID = 'OP1'")).isNull());
    {
        TfrmOperateNew1 dialog;
        dialog.show();
        o->edit();
        fire(dialog.Act_Save);
    }
    QCOMPARE(dbValue(s("select SUser from tblOperates where OperateID = 'OP1'")).toString(), s("wang"));
    // Another user's record stays his after wang saves it.
    dmMain->database()->exec(s("update tblOperates set SUser = 'li' where OperateID = 'OP1'"));
    o->close();
    o->open();
    {
        TfrmOperateNew1 dialog;
        dialog.show();
        o->edit();
        dialog.Act_Save->trigger();
    }
    QCOMPARE(dbValue(s("select SUser from tblOperates where OperateID = 'OP1'")).toString(), s("li"));
    QVERIFY(m_rec->messages.size() == 1);
}

void TestOperations::checks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("code") << s("OperateID") << s("请输入业务编码！");
    QTest::newRow("title") << s("OperateTitle") << s("请输入业务标题！");
    QTest::newRow("customer") << s("CustID") << s("请选择输入相关客户！");
    QTest::newRow("created") << s("CreateDate") << s("请输入业务资料建档时间！");
    QTest::newRow("origin") << s("OriginId") << s("请选择输入业务来源！");
    QTest::newRow("type") << s("TypeID") << s("请选择输入业务类型！");
    QTest::newRow("direction") << s("InOrOut") << s("请选择输入收付类型！");
    QTest::newRow("signed") << s("WriteDate") << s("请选择输入签约日期！");
    QTest::newRow("ends") << s("EndDate") << s("请选择输入合同截止日期！");
    QTest::newRow("state") << s("OperateStateID") << s("请选择业务状态！");
    QTest::newRow("unknown customer code") << s("CustID=ZZ") << s("请选择输入相关客户！");
    QTest::newRow("none missing") << QString() << QString();
}

void TestOperations::checks()
{
    QFETCH(QString, field);
    QFETCH(QString, message);
    openAs(s("Admin"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {s("OP2")}));
    fire(w()->Act_Modify);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-修改"));
    QCOMPARE(w()->pages()->currentIndex(), 1);
    QVERIFY(!m_main->isNavigationVisible());
    QCOMPARE(o->state(), Dataset::State::Edit);
    // Every field before the tested one is filled; the tested one and all after it emptied
    // would stop at the first, so only that one is emptied.
    const QString name = field.section(u'=', 0, 0);
    if (!name.isEmpty())
        o->field(name).setValue(field.contains(u'=') ? QVariant(field.section(u'=', 1)) : QVariant());
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Save->isEnabled());
    fire(w()->Act_Save);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-保存"));
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(o->state(), Dataset::State::Browse);
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(QApplication::focusWidget()->objectName(), w()->form()->editor(name)->objectName());
        QCOMPARE(o->state(), Dataset::State::Edit);
    }
}

void TestOperations::createDateMessageOnTheClosePath()
{
    openAs(s("wang"));
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C1")}));
    TfrmOperateNew1::prepare();
    Dataset *o = dmMain->tblOperates;
    TfrmOperateNew1 dialog;
    dialog.show();
    o->edit();
    o->field(s("CreateDate")).setValue(QVariant());
    fire(dialog.Act_Save);
    m_rec->answers.enqueue(Messages::Answer::Yes);
    fire(dialog.Act_Close);
    QCOMPARE(m_rec->texts(), (QStringList{s("请输入业务资料建档时间！"), s("业务资料尚未保存，保存吗？"), s("请输入客户建档时间！")}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(o->state(), Dataset::State::Edit);
}

void TestOperations::ownerRule_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("system user") << s("Admin") << QStringList{s("OP1"), s("OP2"), s("OP3"), s("OP4")};
    QTest::newRow("another user") << s("wang") << QStringList{s("OP1"), s("OP4")};
    QTest::newRow("a quote in the user ID") << s("o'neil") << QStringList{s("OP2")};
}

void TestOperations::ownerRule()
{
    QFETCH(QString, user);
    QFETCH(QStringList, codes);
    openAs(user);
    const auto shown = [] {
        QStringList out;
        Dataset *o = dmMain->tblOperates2;
        const int f = o->fieldIndex(s("OperateID"));
        for (int r = 0; r < o->recordCount(); ++r)
            out << o->textAt(r, f);
        out.sort();
        return out;
    };
    QCOMPARE(shown(), codes);
    fire(w()->Act_Refresh);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-刷新"));
    QCOMPARE(shown(), codes);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestOperations::codeChange_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("refused");
    QTest::newRow("with items") << s("OP1") << s("OP1X") << true;
    QTest::newRow("letter case only") << s("OP1") << s("op1") << false;
    QTest::newRow("without items") << s("OP2") << s("OP2X") << false;
}

void TestOperations::codeChange()
{
    QFETCH(QString, record);
    QFETCH(QString, code);
    QFETCH(bool, refused);
    openAs(s("Admin"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {record}));
    fire(w()->Act_Modify);
    auto *edit = qobject_cast<QLineEdit *>(w()->form()->editor(s("OperateID")));
    edit->selectAll();
    typeText(edit, code);
    fire(w()->Act_Save);
    if (refused) {
        QCOMPARE(m_rec->texts(), QStringList{s("对不起，该业务资料包括业务子项信息，不能修改业务编码！")});
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(o->state(), Dataset::State::Edit);
        QCOMPARE(count(s("select count(*) from tblOperates where OperateID = '%1'").arg(record)), 1);
    } else {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(o->state(), Dataset::State::Browse);
        QCOMPARE(count(s("select count(*) from tblOperates where OperateID = '%1'").arg(code)), 1);
    }
}

void TestOperations::codeChangeRefusedOnARowMove()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    o->edit();
    o->field(s("OperateID")).setValue(s("OP9"));
    bool raised = false;
    try {
        o->next();
    } catch (const DatasetError &e) {
        raised = true;
        QCOMPARE(e.message(), s("对不起，该业务资料包括业务子项信息，不能修改业务编码！"));
    }
    QVERIFY(raised);
    QCOMPARE(o->state(), Dataset::State::Edit);
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP1'")), 1);
    QCOMPARE(count(s("select count(*) from tblOperateDetail where OperateID = 'OP1'")), 1);
}

void TestOperations::deleteChecksTheStoredCode()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    // A record with items whose code is typed over to a free one is still refused.
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    o->edit();
    o->field(s("OperateID")).setValue(s("ZZZ"));
    fire(w()->Act_Delete);
    QCOMPARE(m_rec->texts(), QStringList{s("对不起，该业务资料包括业务子项信息，不能删除！")});
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP1'")), 1);
    o->cancel();
    // A record without items whose code is typed over to one with items is deleted.
    m_rec->messages.clear();
    QVERIFY(o->locate(s("OperateID"), {s("OP2")}));
    o->edit();
    o->field(s("OperateID")).setValue(s("OP1"));
    m_rec->answers.enqueue(Messages::Answer::Ok);
    fire(w()->Act_Delete);
    QCOMPARE(m_rec->texts(), QStringList{s("您真的要删除该业务项目吗？")});
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP2'")), 0);
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP1'")), 1);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-删除"));
}

void TestOperations::deleteOnAnEmptyListOnlyLogs()
{
    dmMain->database()->exec(s("delete from tblOperateDetail"));
    dmMain->database()->exec(s("delete from tblOperates"));
    dmMain->tblOperates2->close();  // read at connection, before the changes
    openAs(s("Admin"));
    fire(w()->Act_Delete);
    fire(w()->Act_Del);
    QCOMPARE(logEntries().mid(logEntries().size() - 2),
             (QStringList{s("客户业务管理-业务资料-删除"), s("客户业务管理-业务资料-删除")}));
    QVERIFY(m_rec->messages.isEmpty());
    // Nor do the item buttons open anything without a record.
    fire(w()->Act_ItemAdd);
    fire(w()->Act_ItemModify);
    QVERIFY(m_rec->modalWindows.isEmpty());
    QCOMPARE(dmMain->tblOperateDetail->state(), Dataset::State::Browse);
}

void TestOperations::deleteAllowedAfterTheLastItem()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    fire(w()->Act_Del);
    QCOMPARE(m_rec->lastText(), s("对不起，该业务资料包括业务子项信息，不能删除！"));
    QCOMPARE(w()->itemGrid()->model()->rowCount(), 1);
    m_rec->answers.enqueue(Messages::Answer::Ok);
    fire(w()->Act_ItemDelete);
    QCOMPARE(m_rec->lastText(), s("您真的要删除该业务子项记录吗？"));
    QCOMPARE(count(s("select count(*) from tblOperateDetail")), 0);
    m_rec->answers.enqueue(Messages::Answer::Ok);
    fire(w()->Act_Del);
    QCOMPARE(m_rec->lastText(), s("您真的要删除该业务项目吗？"));
    QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP1'")), 0);
}

void TestOperations::newRowIsDiscardedByDelete()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    fire(w()->Act_Insert);
    QCOMPARE(o->state(), Dataset::State::Insert);
    o->field(s("OperateID")).setValue(s("OP1"));
    m_rec->answers.enqueue(Messages::Answer::Ok);
    fire(w()->Act_Del);
    QCOMPARE(m_rec->texts(), QStringList{s("您真的要删除该业务项目吗？")});
    QCOMPARE(o->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblOperates")), 4);
}

void TestOperations::linkRule()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    QWidget *linked = w()->form()->editor(s("LinkCustID"));
    fire(w()->Act_Modify);
    QVERIFY(!linked->isEnabled());
    QVERIFY(!w()->form()->linkPickButton()->isEnabled());
    o->field(s("Link")).setValue(true);
    QVERIFY(linked->isEnabled());
    QVERIFY(w()->form()->linkPickButton()->isEnabled());
    o->field(s("LinkCustID")).setValue(s("C3"));
    fire(w()->Act_Save);
    QVERIFY(m_rec->messages.isEmpty());
    // Moving to a record without Link, and a tab switch, keep the field off; its value stays.
    QVERIFY(o->locate(s("OperateID"), {s("OP2")}));
    QVERIFY(!linked->isEnabled());
    w()->pages()->setCurrentIndex(0);
    w()->pages()->setCurrentIndex(1);
    QVERIFY(!linked->isEnabled());
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    QVERIFY(linked->isEnabled());
    fire(w()->Act_Modify);
    o->field(s("Link")).setValue(false);
    QVERIFY(!linked->isEnabled());
    fire(w()->Act_Save);
    QCOMPARE(dbValue(s("select LinkCustID from tblOperates where OperateID = 'OP1'")).toString(), s("C3"));
}

void TestOperations::customerTab_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("name");
    QTest::newRow("own customer") << s("wang") << s("OP1") << s("王宅");
    QTest::newRow("customer hidden by the owner rule") << s("wang") << s("OP4") << QString();
    QTest::newRow("system user") << s("Admin") << s("OP4") << s("李宅");
}

void TestOperations::customerTab()
{
    QFETCH(QString, user);
    QFETCH(QString, record);
    QFETCH(QString, name);
    openAs(user);
    Dataset *o = dmMain->tblOperates2;
    // Shown after a move from another record, so nothing of the first one stays.
    QVERIFY(o->locate(s("OperateID"), {record == s("OP1") ? s("OP4") : s("OP1")}));
    QVERIFY(o->locate(s("OperateID"), {record}));
    QCOMPARE(w()->customerField(s("CustName"))->text(), name);
    QCOMPARE(w()->customerField(s("CustId"))->text().isEmpty(), name.isEmpty());
    if (!name.isEmpty())
        QCOMPARE(dmMain->tblCustomers2->field(s("CustName")).asString(), name);
    w()->customerMailButton()->click();
    if (record == s("OP1"))
        QCOMPARE(m_rec->opened, QStringList{s("mailto:c1@home.cn")});
    else if (name.isEmpty())
        QVERIFY(m_rec->opened.isEmpty());
}

void TestOperations::customerDialogNeedsACustomer()
{
    dmMain->database()->exec(s("delete from tblOperateDetail"));
    dmMain->database()->exec(s("delete from tblOperates"));
    dmMain->database()->exec(s("delete from tblCustomers"));
    CurrentUserID = s("wang");
    QVERIFY(m_main->prepareAfterLogin());
    m_main->action(s("Act_Customers"))->trigger();
    ActionGate::instance()->evaluate();
    QAction *add = frmCustomers->relatedAction(1, s("new"));
    QVERIFY(add);
    fire(add);
    QVERIFY(m_rec->modalWindows.isEmpty());
    QCOMPARE(dmMain->tblOperates->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblOperates")), 0);
}

void TestOperations::dialogNewNeedsACustomer()
{
    openAs(s("wang"));
    Dataset *c = dmMain->tblCustomers;
    OpenDatasets({c});
    QVERIFY(c->locate(s("CustId"), {s("C1")}));
    TfrmOperateNew1::prepare();
    TfrmOperateNew1 dialog;
    dialog.show();
    fire(dialog.Act_Add);
    QCOMPARE(dmMain->tblOperates->state(), Dataset::State::Insert);
    QCOMPARE(dmMain->tblOperates->field(s("CustID")).asString(), s("C1"));
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-新增"));
    ActionGate::instance()->evaluate();
    QVERIFY(!dialog.Act_Add->isEnabled());  // not while a new record is pending
    dmMain->tblOperates->cancel();
    // A new customer without a code yet: a record would belong to no one.
    c->append();
    ActionGate::instance()->evaluate();
    QVERIFY(!dialog.Act_Add->isEnabled());
    dialog.Act_Add->trigger();
    QCOMPARE(dmMain->tblOperates->state(), Dataset::State::Browse);
    c->cancel();
}

void TestOperations::queryAndPickersOpenTheirWindows()
{
    QStringList opened;
    m_main->registerOpener(s("TfrmOperateQuery1"), [&opened](QWidget *) { opened << s("query"); });
    openAs(s("Admin"));
    fire(w()->Act_Query);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-查询"));
    fire(w()->Act_Qry);
    QCOMPARE(opened, (QStringList{s("query"), s("query")}));
    fire(w()->Act_Modify);
    w()->form()->customerPickButton()->click();
    QCOMPARE(CustomerPickCaller, s("相关客户"));
    dmMain->tblOperates2->field(s("Link")).setValue(true);
    w()->form()->linkPickButton()->click();
    QCOMPARE(CustomerPickCaller, s("联系客户"));
    QCOMPARE(m_rec->modalWindows.size(), 2);
}

void TestOperations::enterOrder()
{
    openAs(s("Admin"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    Dataset *o = dmMain->tblOperates2;
    QVERIFY(o->locate(s("OperateID"), {s("OP1")}));
    fire(w()->Act_Modify);
    QStringList names;
    for (QWidget *e : w()->form()->enterOrder())
        names << e->objectName();
    QCOMPARE(names, (QStringList{s("edOperateID"), s("edOperateTitle"), s("edCustID"), s("chkLink"), s("edLinkCustID"),
                                 s("edCreateDate"), s("edLinkmanID"), s("edOriginId"), s("edTypeID"), s("edInOrOut"),
                                 s("edOperaterID"), s("edWriteDate"), s("edEndDate"), s("edCompactAmount"), s("edCurrID"),
                                 s("edRMB"), s("edProfit"), s("edRate"), s("edOperateStateID"), s("edFilePath")}));
    const auto focused = [](QWidget *e) { return e->hasFocus() || e->isAncestorOf(QApplication::focusWidget()); };
    // Enter on the check box passes over the linked customer while it is off.
    QWidget *link = w()->form()->editor(s("Link"));
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    QVERIFY(focused(w()->form()->editor(s("CreateDate"))));
    o->field(s("Link")).setValue(true);
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    QVERIFY(focused(w()->form()->editor(s("LinkCustID"))));
}

void TestOperations::scheduleOpensTheCurrentRecord()
{
    openAs(s("wang"));
    QVERIFY(m_main->hasOpener(s("TfrmOperateNew1")));
    Dataset *o = dmMain->tblOperates;
    OpenDatasets({dmMain->tblCustomers, o});
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C1")}));
    QString shown;
    m_rec->onModal = [&shown, o](QDialog *d) -> int {
        auto *dialog = qobject_cast<TfrmOperateNew1 *>(d);
        if (dialog && o->state() == Dataset::State::Edit)
            shown = qobject_cast<QLineEdit *>(dialog->form()->editor(s("OperateID")))->text();
        return QDialog::Rejected;
    };
    QVERIFY(m_main->openWindow(s("TfrmOperateNew1")));
    QCOMPARE(shown, s("OP1"));
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmOperateNew1")});
    o->cancel();
    // A customer without records: nothing to show.
    dmMain->database()->exec(s("delete from tblOperates where CustID = 'C2'"));
    o->close();
    o->open();
    QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C2")}));
    QVERIFY(o->isEmpty());
    QVERIFY(m_main->openWindow(s("TfrmOperateNew1")));
    QCOMPARE(m_rec->modalWindows.size(), 1);
    QCOMPARE(o->state(), Dataset::State::Browse);
}

void TestOperations::folders_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("how");  // "open", "click", "modify", "save"
    QTest::addColumn<bool>("ownFolder");
    for (const char *how : {"open", "click", "modify", "save"}) {
        QTest::addRow("customer folder, %s", how) << s("C1") << s(how) << true;
        QTest::addRow("code leading outside, %s", how) << s("../x") << s(how) << false;
    }
}

void TestOperations::folders()
{
    QFETCH(QString, customer);
    QFETCH(QString, how);
    QFETCH(bool, ownFolder);
    dmMain->database()->exec(s("update tblOperates set CustID = '%1' where OperateID = 'OP1'").arg(customer));
    dmMain->database()->exec(s("delete from tblOperates where OperateID <> 'OP1'"));
    dmMain->tblOperates2->close();  // read at connection, before the changes
    openAs(s("Admin"));
    if (how == s("click")) {
        FileListRoot.clear();
        w()->syncFolder();
    } else if (how == s("modify")) {
        FileListRoot.clear();
        fire(w()->Act_Modify);
    } else if (how == s("save")) {
        FileListRoot.clear();
        fire(w()->Act_Modify);
        if (!ownFolder)  // a customer the list cannot show fails the check; the folder step is the form's
            w()->form()->makeFolder();
        else
            fire(w()->Act_Save);
    }
    QCOMPARE(FileListRoot, ownFolder ? FilesRoot + customer : FilesRoot);
    QCOMPARE(QDir(AppDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{s("Data"), s("Files")}));
    QVERIFY(!QDir(FilesRoot + s("../x")).exists());
}

void TestOperations::printing_data()
{
    QTest::addColumn<bool>("recordTab");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    // wang's list: OP1 and OP4, the contract amounts of two currencies not added up.
    QTest::newRow("list tab") << false << QStringList{s("王宅保姆合同"), s("李宅")}
                              << QStringList{s("欧宅"), s("李宅月"), s("合计"), s("500")};
    // OP1's items: totals 20 + 30 in two currencies are not added up, RMB 142 + 30 are.
    QTest::newRow("record tab") << true << QStringList{s("142.00"), s("30.00"), s("合计"), s("172.00")}
                                << QStringList{s("50.00"), s("OP4"), s("欧宅")};
}

void TestOperations::printing()
{
    QFETCH(bool, recordTab);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    dmMain->database()->exec(s("insert into tblOperateDetail (OperateID, DetailNo, DTitle, InOut, Price, Amount, DTotal, "
                               "CurrID, RMB) values ('OP1', 'I2', '第二期', '收入', 30, 1, 30, 'RMB', 30)"));
    openAs(s("wang"));
    QVERIFY(dmMain->tblOperates2->locate(s("OperateID"), {s("OP1")}));
    OpenDatasets({dmMain->tblOperateDetail});
    const QString pdf = m_dir->file(s("printed.pdf"));
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    fire(recordTab ? w()->Act_Prt : w()->Act_Print);
    QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->lastText()));
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmReport")});
    QCOMPARE(logEntries().last(), s("客户业务管理-业务资料-打印"));
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &t : present)
        QVERIFY2(text.contains(t), qPrintable(t + s(" missing in ") + text));
    for (const QString &t : absent)
        QVERIFY2(!text.contains(t), qPrintable(t + s(" found in ") + text));
    QVERIFY2(!text.contains(QRegularExpression(s("(^|\\s)50(\\s|$)"))), qPrintable(text));
}

QTEST_MAIN(TestOperations)
#include "tst_operations.moc"
