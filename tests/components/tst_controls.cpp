// Data-aware controls driven as a user drives them.
#include "Calculator.h"
#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbHyperlinkEdit.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "FocusChain.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {
QString s(const char *t)
{
    return QString::fromUtf8(t);
}
}  // namespace

class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void editRoundTripsAndStartsEdit();
    void editRefusesBeyondWidth();
    void memoRoundTrips();
    void memoKeepsToTheFieldWidth();
    void comboWritesChoice();
    void lookupComboStoresKeyShowsNameMovesList();
    void lookupComboFillsALongListOnDemand();
    void checkBoxNullIsUnticked();
    void dateEditClearsAndStores();
    void numberEditWritesBeforePost();
    void numberEditRefusalFailsThePost();
    void calculatorComputes_data();
    void calculatorComputes();
    void maskEditKeepsBlanks();
    void hyperlinkOpensThroughShell_data();
    void hyperlinkOpensThroughShell();
    void navigatorMovesAndEnables();
    void focusChainFollowsOrder();
    void readOnlyControlsDoNotEdit();

private:
    std::unique_ptr<TestAppDir> m_template;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<Database> m_db;
    TableDataset *m_cust = nullptr;
    TableDataset *m_levels = nullptr;
    DataSource *m_ds = nullptr;
    DataSource *m_dsLevels = nullptr;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestControls::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    TableInserter cust(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("LevelID"), s("CreateDate"), s("Email")});
    cust.insert({s("C1"), s("王宅"), s("A"), QDate(2026, 12, 1), s("wang@example.com")});
    cust.insert({s("C2"), s("李宅"), s("B"), QVariant(), QVariant()});
    cust.insert({s("C3"), s("赵宅"), QVariant(), QVariant(), QVariant()});
    TableInserter state(*db, s("tblCustomerState"), {s("CustID"), s("Charge"), s("LinkTime")});
    state.insert({s("C1"), 12.5, s("09:3 :  ")});
    TableInserter link(*db, s("tblLinkmans"), {s("LinkmanID"), s("Main")});
    link.insert({s("L1"), QVariant()});
}

void TestControls::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_db = m_dir->open();
    m_window = std::make_unique<QWidget>();
    m_levels = new TableDataset(m_db.get(), s("tblCustLevel"), s("tblCustLevel"), {}, m_window.get());
    m_cust = new TableDataset(m_db.get(), s("tblCustomers"), s("tblCustomers"), {}, m_window.get());
    m_cust->addLookup(s("LevelName"), s("LevelID"), m_levels, s("LevelID"), s("LevelName"));
    m_ds = new DataSource(s("dsCustomers"), m_cust, m_window.get());
    m_dsLevels = new DataSource(s("dsCustLevel"), m_levels, m_window.get());
    m_levels->open();
    m_cust->open();
    new QVBoxLayout(m_window.get());
}

void TestControls::cleanup()
{
    m_window.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestControls::editRoundTripsAndStartsEdit()
{
    auto *edit = new DbEdit(m_window.get());
    edit->bind(m_ds, s("CustName"));
    QCOMPARE(edit->text(), s("王宅"));
    QCOMPARE(edit->maxLength(), 50);
    m_cust->next();
    QCOMPARE(edit->text(), s("李宅"));
    QCOMPARE(m_cust->state(), Dataset::State::Browse);
    edit->setFocus();
    edit->selectAll();
    typeText(edit, s("李府"));
    QCOMPARE(m_cust->state(), Dataset::State::Edit);  // typing started the edit
    QCOMPARE(m_cust->field(s("CustName")).asString(), s("李府"));
    m_cust->post();
    QCOMPARE(m_db->scalar(s("select CustName from tblCustomers where CustId='C2'")).toString(), s("李府"));
    m_cust->first();
    QCOMPARE(edit->text(), s("王宅"));
    // The lookup column follows the code that was changed through another control.
    auto *level = new DbEdit(m_window.get());
    level->bind(m_ds, s("LevelName"));
    QCOMPARE(level->text(), s("重要客户"));
    m_cust->edit();
    m_cust->field(s("LevelID")).setValue(s("C"));
    QCOMPARE(level->text(), s("潜在客户"));
}

void TestControls::editRefusesBeyondWidth()
{
    auto *edit = new DbEdit(m_window.get());
    edit->bind(m_ds, s("PostCode"));  // 20 characters
    edit->setFocus();
    typeText(edit, QString(25, u'7'));
    QCOMPARE(edit->text().size(), 20);
    QCOMPARE(m_cust->field(s("PostCode")).asString(), QString(20, u'7'));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestControls::memoRoundTrips()
{
    auto *memo = new DbMemo(m_window.get());
    memo->bind(m_ds, s("Memo"));
    QCOMPARE(memo->toPlainText(), QString());
    memo->setFocus();
    typeText(memo, s("需要住家保姆"));
    QCOMPARE(m_cust->state(), Dataset::State::Edit);
    m_cust->post();
    m_cust->refresh();
    QCOMPARE(memo->toPlainText(), s("需要住家保姆"));
}

void TestControls::memoKeepsToTheFieldWidth()
{
    auto *memo = new DbMemo(m_window.get());
    memo->bind(m_ds, s("PostCode"));  // 20 characters
    memo->setFocus();
    memo->insertPlainText(QString(30, u'8'));  // a paste
    QCOMPARE(memo->toPlainText(), QString(20, u'8'));
    QCOMPARE(m_cust->field(s("PostCode")).asString(), QString(20, u'8'));
    QCOMPARE(m_rec->texts(), QStringList{s("“PostCode”最多只能输入 20 个字符，现在是 30 个字符。")});
    typeText(memo, s("9"));  // at the limit: not taken, not told again
    QCOMPARE(memo->toPlainText(), QString(20, u'8'));
    QCOMPARE(m_rec->messages.size(), 1);
    m_cust->post();
    QCOMPARE(m_db->scalar(s("select PostCode from tblCustomers where CustId='C1'")).toString(), QString(20, u'8'));
}

void TestControls::comboWritesChoice()
{
    auto *combo = new DbComboBox(m_window.get());
    combo->addItems({s("收款"), s("付款")});
    combo->bind(m_ds, s("City"));
    QCOMPARE(combo->currentIndex(), -1);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCOMPARE(m_cust->field(s("City")).asString(), s("付款"));
    QCOMPARE(combo->text(), s("付款"));
}

void TestControls::lookupComboStoresKeyShowsNameMovesList()
{
    auto *combo = new DbLookupCombo(m_window.get());
    combo->bind(m_ds, s("LevelID"));
    combo->setList(m_dsLevels, s("LevelID"), s("LevelName"));
    QCOMPARE(combo->text(), s("重要客户"));
    QCOMPARE(combo->count(), 3);
    m_cust->last();
    QCOMPARE(combo->text(), QString());  // null code: nothing shown, so required checks see empty
    m_levels->first();
    const int potential = combo->findText(s("潜在客户"));
    combo->setCurrentIndex(potential);
    emit combo->activated(potential);
    QCOMPARE(m_cust->state(), Dataset::State::Edit);
    QCOMPARE(m_cust->field(s("LevelID")).asString(), s("C"));
    QCOMPARE(m_levels->field(s("LevelID")).asString(), s("C"));  // the list's cursor moved
    // A new level appears in the list.
    m_cust->post();
    m_levels->append();
    m_levels->field(s("LevelID")).setValue(s("D"));
    m_levels->field(s("LevelName")).setValue(s("停用客户"));
    m_levels->field(s("Memo")).setValue(s("不再联系"));
    m_levels->post();
    QCOMPARE(combo->count(), 4);
}

void TestControls::lookupComboFillsALongListOnDemand()
{
    const int extra = DbLookupCombo::EagerRows + 500;
    {
        Transaction tx(*m_db);
        TableInserter levels(*m_db, s("tblCustLevel"), {s("LevelID"), s("LevelName"), s("Memo")});
        for (int i = 1; i <= extra; ++i)
            levels.insert({QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0')), s("级别") + QString::number(i), s("-")});
        tx.commit();
    }
    m_levels->close();
    m_levels->open();
    const int rows = m_levels->recordCount();
    auto *combo = new DbLookupCombo(m_window.get());
    m_window->layout()->addWidget(combo);
    combo->bind(m_ds, s("LevelID"));
    combo->setList(m_dsLevels, s("LevelID"), s("LevelName"));
    // Only the current entry, found by its code in any letter case.
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->text(), s("重要客户"));
    m_cust->edit();
    m_cust->field(s("LevelID")).setValue(s("l2400"));
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->text(), s("级别2400"));
    m_cust->field(s("LevelID")).setValue(s("nothing"));
    QCOMPARE(combo->text(), QString());
    m_cust->field(s("LevelID")).setValue(s("L2400"));
    // Opening the list fills it and keeps the choice.
    static_cast<QComboBox *>(combo)->showPopup();
    QCOMPARE(combo->count(), rows);
    QCOMPARE(combo->text(), s("级别2400"));
    combo->hidePopup();
    // Re-read: the full list is dropped again; a step with the keyboard fills it and moves on.
    m_cust->post();
    m_levels->close();
    m_levels->open();
    QCOMPARE(combo->count(), 1);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->count(), rows);
    QCOMPARE(m_cust->field(s("LevelID")).asString(), s("L2401"));
    QCOMPARE(combo->text(), s("级别2401"));
}

void TestControls::checkBoxNullIsUnticked()
{
    auto *links = new TableDataset(m_db.get(), s("tblLinkmans"), s("tblLinkmans"), {}, m_window.get());
    auto *ds = new DataSource(s("dsLinkmans"), links, m_window.get());
    links->open();
    auto *box = new DbCheckBox(s("主要联系人"), m_window.get());
    box->bind(ds, s("Main"));
    QVERIFY(!box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(links->state(), Dataset::State::Edit);
    links->post();
    QCOMPARE(m_db->scalar(s("select Main from tblLinkmans")).toInt(), 1);
}

void TestControls::dateEditClearsAndStores()
{
    auto *date = new DbDateEdit(m_window.get());
    date->bind(m_ds, s("CreateDate"));
    QCOMPARE(date->date(), QDate(2026, 12, 1));
    QCOMPARE(date->displayedText(), s("2026/12/1"));
    m_cust->next();
    QVERIFY(date->isEmpty());
    QCOMPARE(date->displayedText(), QString());
    date->setDate(QDate(2026, 3, 4));
    QCOMPARE(m_cust->field(s("CreateDate")).asDate(), QDate(2026, 3, 4));
    m_cust->post();
    // Delete on the whole text empties the date and the field.
    date->setFocus();
    date->selectAll();
    QTest::keyClick(date, Qt::Key_Delete);
    QVERIFY(date->isEmpty());
    QCOMPARE(m_cust->state(), Dataset::State::Edit);
    QVERIFY(m_cust->field(s("CreateDate")).isNull());
    m_cust->post();
    QVERIFY(m_db->scalar(s("select CreateDate from tblCustomers where CustId='C2'")).isNull());
}

void TestControls::numberEditWritesBeforePost()
{
    auto *states = new TableDataset(m_db.get(), s("tblCustomerState"), s("tblCustomerState"), {}, m_window.get());
    auto *ds = new DataSource(s("dsCustomerState"), states, m_window.get());
    states->open();
    auto *num = new DbNumberEdit(m_window.get());
    num->bind(ds, s("Charge"));
    QCOMPARE(num->text(), s("12.5"));
    num->lineEdit()->setFocus();
    num->lineEdit()->selectAll();
    typeText(num->lineEdit(), s("88.25"));
    QCOMPARE(states->state(), Dataset::State::Edit);
    // Posting from a toolbar (focus never left the edit) still takes the typed number.
    states->post();
    QCOMPARE(m_db->scalar(s("select Charge from tblCustomerState")).toDouble(), 88.25);
    num->lineEdit()->selectAll();
    QTest::keyClick(num->lineEdit(), Qt::Key_Delete);
    states->post();
    QVERIFY(m_db->scalar(s("select Charge from tblCustomerState")).isNull());  // empty is null, not 0
    // The calculator hands its result back.
    num->showCalculator();
    for (const char *k : {"1", "2", "×", "3", "确定"})
        num->calculator()->press(s(k));
    QCOMPARE(num->text(), s("36"));
    states->post();
    QCOMPARE(m_db->scalar(s("select Charge from tblCustomerState")).toDouble(), 36.0);
}

void TestControls::numberEditRefusalFailsThePost()
{
    auto *states = new TableDataset(m_db.get(), s("tblCustomerState"), s("tblCustomerState"), {}, m_window.get());
    auto *ds = new DataSource(s("dsCustomerState"), states, m_window.get());
    states->open();
    auto *memo = new DbEdit(m_window.get());
    memo->bind(ds, s("Linkman"));
    auto *num = new DbNumberEdit(m_window.get());
    num->bind(ds, s("Charge"));
    memo->setFocus();
    typeText(memo, s("王"));
    num->lineEdit()->setFocus();
    num->lineEdit()->selectAll();
    typeText(num->lineEdit(), s("-"));
    QVERIFY(m_rec->messages.isEmpty());
    // Posted from a toolbar, focus still in the number: the post gathers "-": refused, reported once by whoever posted, nothing written.
    try {
        states->post();
        QFAIL("the post went through");
    } catch (const DatasetError &e) {
        QVERIFY2(e.message().contains(s("必须是数字")), qPrintable(e.message()));
    }
    QCOMPARE(states->state(), Dataset::State::Edit);
    QCOMPARE(num->text(), s("-"));
    QVERIFY(m_db->scalar(s("select Linkman from tblCustomerState")).isNull());
    QCOMPARE(m_db->scalar(s("select Charge from tblCustomerState")).toDouble(), 12.5);
    QVERIFY_THROWS_EXCEPTION(DatasetError, states->post());  // still refused
    num->lineEdit()->selectAll();
    typeText(num->lineEdit(), s("7"));
    states->post();
    QCOMPARE(m_db->scalar(s("select Charge from tblCustomerState")).toDouble(), 7.0);
    QCOMPARE(m_db->scalar(s("select Linkman from tblCustomerState")).toString(), s("王"));
}

void TestControls::calculatorComputes_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<double>("result");
    QTest::newRow("add") << QStringList{"2", "+", "3", "="} << 5.0;
    QTest::newRow("chain") << QStringList{"2", "+", "3", "×", "4", "="} << 20.0;
    QTest::newRow("decimal") << QStringList{"1", ".", "5", "×", "2", "="} << 3.0;
    QTest::newRow("divide by zero is 0") << QStringList{"7", "÷", "0", "="} << 0.0;
    QTest::newRow("backspace") << QStringList{"1", "2", "3", "←", "="} << 12.0;
    QTest::newRow("sign") << QStringList{"5", "±", "+", "8", "="} << 3.0;
    QTest::newRow("clear") << QStringList{"9", "C", "4", "="} << 4.0;
}

void TestControls::calculatorComputes()
{
    QFETCH(QStringList, keys);
    QFETCH(double, result);
    Calculator calc;
    for (const QString &k : keys)
        calc.press(k);
    QCOMPARE(calc.value(), result);
}

void TestControls::maskEditKeepsBlanks()
{
    auto *states = new TableDataset(m_db.get(), s("tblCustomerState"), s("tblCustomerState"), {}, m_window.get());
    auto *ds = new DataSource(s("dsCustomerState"), states, m_window.get());
    states->open();
    auto *mask = new DbMaskEdit(s("##:##:##"), m_window.get());
    mask->bind(ds, s("LinkTime"));
    QCOMPARE(mask->maskedText(), s("09:3 :  "));
    mask->setFocus();
    mask->home(false);
    mask->selectAll();
    QTest::keyClick(mask, Qt::Key_Delete);
    typeText(mask, s("1430"));
    QCOMPARE(states->field(s("LinkTime")).asString(), s("14:30:  "));
    states->post();
    QCOMPARE(m_db->scalar(s("select LinkTime from tblCustomerState")).toString(), s("14:30:  "));
}

void TestControls::hyperlinkOpensThroughShell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opened");
    QTest::newRow("web without scheme") << "www.example.com" << "http://www.example.com";
    QTest::newRow("web with scheme") << "https://a.example/x?y=1" << "https://a.example/x?y=1";
    QTest::newRow("mail") << "wang@example.com" << "mailto:wang@example.com";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("mailto typed") << "mailto:li@example.com" << "mailto:li@example.com";
    QTest::newRow("file scheme opens nothing") << "file:///etc/passwd" << "";
    QTest::newRow("script scheme opens nothing") << "javascript:alert(1)" << "";
    QTest::newRow("a path opens nothing") << "/usr/bin/xterm" << "";
    QTest::newRow("host with a port") << "example.com:8080/x" << "http://example.com:8080/x";
}

void TestControls::hyperlinkOpensThroughShell()
{
    QFETCH(QString, text);
    QFETCH(QString, opened);
    auto *link = new DbHyperlinkEdit(m_window.get());
    link->bind(m_ds, s("HomePage"));
    link->setFocus();
    typeText(link, text);
    QCOMPARE(link->openTarget(), !opened.isEmpty());
    QCOMPARE(m_rec->opened, opened.isEmpty() ? QStringList{} : QStringList{opened});
}

void TestControls::navigatorMovesAndEnables()
{
    auto *nav = new DbNavigator(m_window.get());
    nav->bind(m_ds);
    QVERIFY(!nav->firstButton()->isEnabled());
    QVERIFY(nav->nextButton()->isEnabled());
    QTest::mouseClick(nav->lastButton(), Qt::LeftButton);
    QCOMPARE(m_cust->currentRow(), 2);
    QVERIFY(!nav->nextButton()->isEnabled());
    QVERIFY(nav->priorButton()->isEnabled());
    QTest::mouseClick(nav->priorButton(), Qt::LeftButton);
    QCOMPARE(m_cust->field(s("CustId")).asString(), s("C2"));
    // A pending edit that cannot be saved keeps the cursor where it is and says why.
    m_cust->edit();
    m_cust->field(s("CustId")).setValue(s("C1"));
    QTest::mouseClick(nav->firstButton(), Qt::LeftButton);
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(m_cust->state(), Dataset::State::Edit);
    QCOMPARE(nav->firstButton()->accessibleName(), s("第一条"));
}

void TestControls::focusChainFollowsOrder()
{
    auto *a = new DbEdit(m_window.get());
    auto *b = new DbNumberEdit(m_window.get());
    auto *c = new DbDateEdit(m_window.get());
    auto *d = new DbEdit(m_window.get());
    d->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(b), static_cast<QWidget *>(c),
                       static_cast<QWidget *>(d)})
        m_window->layout()->addWidget(w);
    bool finished = false;
    FocusChain::install({a, b, c, d}, m_window.get(), [&] { finished = true; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()) || true);
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Return);
    QVERIFY(b->lineEdit()->hasFocus() || b->hasFocus());
    QTest::keyClick(b->lineEdit(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(c->hasFocus());
    QTest::keyClick(c, Qt::Key_Return);  // the last enabled field: the form's own end action
    QVERIFY(finished);
}

void TestControls::readOnlyControlsDoNotEdit()
{
    auto *edit = new DbEdit(m_window.get());
    edit->bind(m_ds, s("CustName"));
    edit->setReadOnly(true);
    typeText(edit, s("x"));
    auto *box = new DbCheckBox(s("x"), m_window.get());
    auto *links = new TableDataset(m_db.get(), s("tblLinkmans"), s("tblLinkmans"), {}, m_window.get());
    links->open();
    box->bind(new DataSource(s("dsL"), links, m_window.get()), s("Main"));
    box->setReadOnly(true);
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(m_cust->state(), Dataset::State::Browse);
    QCOMPARE(links->state(), Dataset::State::Browse);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
