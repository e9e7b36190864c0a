// The items of a business record: totals on every way an item is stored, the checks,
// duplicate and other refusals, and the guards that keep items on a stored record.
#include "ActionGate.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbNavigator.h"
#include "DatasetModel.h"
#include "LogEntries.h"
#include "OperationForm.h"
#include "OperationWindows.h"
#include "OperationsFixture.h"
#include "SeamRecorder.h"
#include "uMain.h"
#include "uOperateNewChild.h"
#include "uOperates.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
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

void fire(QAction *action)
{
    ActionGate::instance()->evaluate();
    action->trigger();
}

void fillItem(Dataset *items, const QString &code, const QVariant &price, const QVariant &amount, const QVariant &currency)
{
    items->field(s("DetailNo")).setValue(code);
    items->field(s("OperateDate")).setValue(QDateTime(QDate(2026, 4, 1), QTime(0, 0)));
    items->field(s("DTitle")).setValue(s("服务费"));
    items->field(s("InOut")).setValue(s("收入"));
    items->field(s("Price")).setValue(price);
    items->field(s("Amount")).setValue(amount);
    items->field(s("CurrID")).setValue(currency);
}

}  // namespace

class TestOperationItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void totals_data();
    void totals();
    void priceChangeIsStoredRecomputed_data();
    void priceChangeIsStoredRecomputed();
    void checks_data();
    void checks();
    void duplicateCodeKeepsTheTypedValues();
    void otherRefusalShowsTheDatabaseText();
    void newStoresThePendingItemFirst();
    void itemButtonsNeedAStoredRecord_data();
    void itemButtonsNeedAStoredRecord();
    void closeBoxAsksAboutAPendingItem();
    void rateButtonOpensTheCurrencyWindow();

private:
    void openAs(const QString &user);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestOperationItems::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    fillOperationsFixture(*db);
}

void TestOperationItems::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installOperationWindows(*m_main);
    openAs(s("Admin"));
    QVERIFY(dmMain->tblOperates2->locate(s("OperateID"), {s("OP1")}));
    OpenDatasets({dmMain->tblCurrencyRate, dmMain->tblOperateDetail});
}

void TestOperationItems::cleanup()
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

void TestOperationItems::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_OperatesInfo"))->trigger();
}

void TestOperationItems::totals_data()
{
    QTest::addColumn<QVariant>("price");
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QVariant>("currency");
    QTest::addColumn<double>("total");
    QTest::addColumn<QVariant>("rmb");  // null: empty
    QTest::addColumn<QString>("shown");  // "折人民币："
    QTest::newRow("dollars") << QVariant(12.5) << QVariant(3.0) << QVariant(s("USD")) << 37.5 << QVariant(37.5 * 7.1) << s("266.25");
    QTest::newRow("hong kong fractions") << QVariant(1234.56) << QVariant(1.0) << QVariant(s("HKD")) << 1234.56
                                         << QVariant(1234.56 * 0.91) << s("1123.45");
    QTest::newRow("quantity 0") << QVariant(50.0) << QVariant(0.0) << QVariant(s("USD")) << 0.0 << QVariant(0.0) << s("0.00");
    QTest::newRow("price 0") << QVariant(0.0) << QVariant(4.0) << QVariant(s("RMB")) << 0.0 << QVariant(0.0) << s("0.00");
    QTest::newRow("empty quantity") << QVariant(50.0) << QVariant() << QVariant(s("RMB")) << 0.0 << QVariant(0.0) << s("0.00");
    QTest::newRow("no currency") << QVariant(10.0) << QVariant(2.0) << QVariant() << 20.0 << QVariant() << s("");
    QTest::newRow("empty rate") << QVariant(10.0) << QVariant(2.0) << QVariant(s("EUR")) << 20.0 << QVariant() << s("");
    QTest::newRow("a hair below zero") << QVariant(-0.001) << QVariant(1.0) << QVariant(s("RMB")) << -0.001 << QVariant(-0.001)
                                       << s("0.00");
    QTest::newRow("unknown currency") << QVariant(10.0) << QVariant(2.0) << QVariant(s("XXX")) << 20.0 << QVariant() << s("");
}

void TestOperationItems::totals()
{
    QFETCH(QVariant, price);
    QFETCH(QVariant, amount);
    QFETCH(QVariant, currency);
    QFETCH(double, total);
    QFETCH(QVariant, rmb);
    QFETCH(QString, shown);
    Dataset *items = dmMain->tblOperateDetail;
    // The rate comes from the item's own currency, wherever the currency list stands.
    QVERIFY(dmMain->tblCurrencyRate->locate(s("CurrID"), {s("EUR")}));
    TfrmOperateNewChild dialog;
    dialog.show();
    items->append();
    fillItem(items, s("I2"), price, amount, currency);
    QVERIFY(dialog.save());
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(dbValue(s("select OperateID from tblOperateDetail where DetailNo = 'I2'")).toString(), s("OP1"));
    QCOMPARE(dbValue(s("select DTotal from tblOperateDetail where DetailNo = 'I2'")).toDouble(), total);
    const QVariant stored = dbValue(s("select RMB from tblOperateDetail where DetailNo = 'I2'"));
    if (rmb.isNull())
        QVERIFY(stored.isNull());
    else
        QCOMPARE(stored.toDouble(), rmb.toDouble());
    // An empty value shows an empty field, never "0.00".
    QCOMPARE(dialog.editor(s("RMB"))->findChild<QLineEdit *>()->text(), shown);
}

void TestOperationItems::priceChangeIsStoredRecomputed_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("navigator move") << s("navigator");
    QTest::newRow("close, Yes") << s("close");
    QTest::newRow("row move in the grid") << s("move");
}

void TestOperationItems::priceChangeIsStoredRecomputed()
{
    QFETCH(QString, how);
    Dataset *items = dmMain->tblOperateDetail;
    items->append();
    fillItem(items, s("I2"), 1.0, 1.0, s("RMB"));
    items->post();
    QVERIFY(items->locate(s("DetailNo"), {s("I1")}));
    TfrmOperateNewChild dialog;
    dialog.show();
    items->edit();
    items->field(s("Price")).setValue(30.0);  // leaving the price does not recompute
    if (how == s("navigator")) {
        dialog.navigator()->lastButton()->click();
    } else if (how == s("close")) {
        m_rec->answers.enqueue(Messages::Answer::Yes);
        fire(dialog.Act_Close);
        QCOMPARE(m_rec->texts(), QStringList{s("业务子项资料尚未保存，保存吗？")});
    } else {
        items->next();
    }
    QCOMPARE(items->state(), Dataset::State::Browse);
    QCOMPARE(dbValue(s("select DTotal from tblOperateDetail where DetailNo = 'I1'")).toDouble(), 60.0);
    QCOMPARE(dbValue(s("select RMB from tblOperateDetail where DetailNo = 'I1'")).toDouble(), 60.0 * 7.1);
}

void TestOperationItems::checks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("code") << s("DetailNo") << s("请输入子项编号！");
    QTest::newRow("date") << s("OperateDate") << s("请选择输入业务子项发生日期！");
    QTest::newRow("title") << s("DTitle") << s("请输入子项主题！");
    QTest::newRow("kind") << s("InOut") << s("请输入业务子项的收支描述！");
    QTest::newRow("no currency nor price") << s("CurrID,Price") << QString();
}

void TestOperationItems::checks()
{
    QFETCH(QString, field);
    QFETCH(QString, message);
    Dataset *items = dmMain->tblOperateDetail;
    TfrmOperateNewChild dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    items->append();
    fillItem(items, s("I3"), 2.0, 2.0, s("RMB"));
    for (const QString &f : field.split(u','))
        items->field(f).setValue(QVariant());
    fire(dialog.Act_Save);
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(count(s("select count(*) from tblOperateDetail where DetailNo = 'I3'")), 1);
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(QApplication::focusWidget()->objectName(), dialog.editor(field)->objectName());
        QCOMPARE(items->state(), Dataset::State::Insert);
    }
}

void TestOperationItems::duplicateCodeKeepsTheTypedValues()
{
    Dataset *items = dmMain->tblOperateDetail;
    TfrmOperateNewChild dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    items->append();
    fillItem(items, s("I1"), 5.0, 5.0, s("USD"));
    fire(dialog.Act_Save);
    QCOMPARE(m_rec->texts(), QStringList{s("对不起，已经存在相同的子项编码!")});
    QCOMPARE(items->state(), Dataset::State::Insert);
    QCOMPARE(qobject_cast<QLineEdit *>(dialog.editor(s("DetailNo")))->text(), s("I1"));
    QCOMPARE(qobject_cast<QLineEdit *>(dialog.editor(s("DTitle")))->text(), s("服务费"));
    QCOMPARE(QApplication::focusWidget(), dialog.editor(s("DetailNo")));
    QCOMPARE(count(s("select count(*) from tblOperateDetail")), 1);
    // The same code on another record is its own item.
    items->cancel();
    QVERIFY(dmMain->tblOperates2->locate(s("OperateID"), {s("OP2")}));
    items->append();
    fillItem(items, s("I1"), 5.0, 5.0, s("USD"));
    QVERIFY(dialog.save());
    QCOMPARE(count(s("select count(*) from tblOperateDetail where DetailNo = 'I1'")), 2);
}

void TestOperationItems::otherRefusalShowsTheDatabaseText()
{
    dmMain->database()->exec(s("create trigger noBadTitle before insert on tblOperateDetail when new.DTitle = '坏' "
                               "begin select raise(abort, '该主题不允许'); end"));
    Dataset *items = dmMain->tblOperateDetail;
    TfrmOperateNewChild dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    items->append();
    fillItem(items, s("I5"), 1.0, 1.0, s("RMB"));
    items->field(s("DTitle")).setValue(s("坏"));
    QVERIFY(!dialog.save());
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY2(m_rec->lastText().contains(s("该主题不允许")), qPrintable(m_rec->lastText()));
    QVERIFY(!m_rec->lastText().contains(s("相同的子项编码")));
    QCOMPARE(items->state(), Dataset::State::Insert);
    QCOMPARE(QApplication::focusWidget(), dialog.editor(s("DetailNo")));
}

void TestOperationItems::newStoresThePendingItemFirst()
{
    Dataset *items = dmMain->tblOperateDetail;
    TfrmOperateNewChild dialog;
    dialog.show();
    items->append();
    fillItem(items, s("I1"), 5.0, 5.0, s("USD"));
    fire(dialog.Act_Add);  // the duplicate is refused and the window stays on it
    QCOMPARE(m_rec->texts(), QStringList{s("对不起，已经存在相同的子项编码!")});
    QCOMPARE(items->field(s("DetailNo")).asString(), s("I1"));
    QCOMPARE(items->state(), Dataset::State::Insert);
    items->field(s("DetailNo")).setValue(s("I2"));
    fire(dialog.Act_Add);
    QCOMPARE(count(s("select count(*) from tblOperateDetail where DetailNo = 'I2'")), 1);
    QCOMPARE(items->state(), Dataset::State::Insert);
    QVERIFY(items->field(s("DetailNo")).isNull());
}

void TestOperationItems::itemButtonsNeedAStoredRecord_data()
{
    QTest::addColumn<QString>("record");  // "unsaved, failing", "unsaved, saving", "empty list"
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("opened");
    QTest::newRow("unsaved record failing its checks") << s("failing") << s("请输入业务编码！") << false;
    QTest::newRow("unsaved record that saves") << s("saving") << QString() << true;
    QTest::newRow("empty list") << s("empty") << QString() << false;
}

void TestOperationItems::itemButtonsNeedAStoredRecord()
{
    QFETCH(QString, record);
    QFETCH(QString, message);
    QFETCH(bool, opened);
    Dataset *o = dmMain->tblOperates2;
    if (record == s("empty")) {
        o->setFilter(s("OperateID='none'"));
        o->setFiltered(true);
    } else {
        fire(frmOperates->Act_Insert);
        QCOMPARE(o->state(), Dataset::State::Insert);
        if (record == s("saving")) {
            const QDateTime day(QDate(2026, 5, 1), QTime(0, 0));
            for (const auto &[f, v] : std::initializer_list<std::pair<const char *, QVariant>>{
                     {"OperateID", s("OP9")}, {"OperateTitle", s("新合同")}, {"CustID", s("C1")}, {"CreateDate", day},
                     {"OriginId", s("01")}, {"TypeID", s("01")}, {"InOrOut", s("收款")}, {"WriteDate", day},
                     {"EndDate", day}, {"OperateStateID", s("01")}})
                o->field(s(f)).setValue(v);
        }
    }
    QString shownOn;
    m_rec->onModal = [&shownOn](QDialog *) -> int {
        shownOn = dmMain->tblOperateDetail->field(s("OperateID")).asString();
        return QDialog::Rejected;
    };
    fire(frmOperates->Act_ItemAdd);
    QCOMPARE(m_rec->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(m_rec->modalWindows.size(), opened ? 1 : 0);
    if (opened) {
        QCOMPARE(m_rec->modalWindows.first(), s("frmOperateNewChild"));
        QCOMPARE(shownOn, s("OP9"));
        QCOMPARE(count(s("select count(*) from tblOperates where OperateID = 'OP9'")), 1);
    }
    QCOMPARE(dmMain->tblOperateDetail->state(), Dataset::State::Browse);
    fire(frmOperates->Act_ItemModify);
    QCOMPARE(m_rec->modalWindows.size(), opened ? 1 : 0);  // the new record has no item to change
}

void TestOperationItems::closeBoxAsksAboutAPendingItem()
{
    Dataset *items = dmMain->tblOperateDetail;
    TfrmOperateNewChild dialog;
    dialog.show();
    items->append();
    fillItem(items, s("I7"), 1.0, 1.0, s("RMB"));
    m_rec->answers.enqueue(Messages::Answer::No);
    dialog.reject();  // the close box and Escape
    QCOMPARE(m_rec->texts(), QStringList{s("业务子项资料尚未保存，保存吗？")});
    QCOMPARE(items->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblOperateDetail where DetailNo = 'I7'")), 0);
    QVERIFY(!dialog.isVisible());
}

void TestOperationItems::rateButtonOpensTheCurrencyWindow()
{
    QStringList opened;
    m_main->registerOpener(s("TfrmCurrencyRate"), [&opened](QWidget *) { opened << s("rates"); });
    TfrmOperateNewChild dialog;
    dialog.rateButton()->click();
    QCOMPARE(opened, QStringList{s("rates")});
}

QTEST_MAIN(TestOperationItems)
#include "tst_operationitems.moc"
