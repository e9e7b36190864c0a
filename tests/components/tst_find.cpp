// Finding a row in a grid: text in any case, Han names by pinyin and initials, wrapping,
// a pending edit posted by the move, the filter never touched.
#include "DbGrid.h"
#include "GridFindBar.h"
#include "PinyinKeys.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QLineEdit>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

}  // namespace

class TestFind : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pinyinKeys_data();
    void pinyinKeys();
    void findMovesToTheNextMatch_data();
    void findMovesToTheNextMatch();
    void findBackwardsAndWrapping();
    void findPostsAPendingEditAndKeepsTheFilter();
    void ctrlFOpensAndEscapeCloses();

private:
    QString currentCode() const { return m_cust->field(s("CustId")).asString(); }
    void type(const QString &text);

    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<SeamRecorder> m_rec;
    TableDataset *m_cust = nullptr;
    DbGrid *m_grid = nullptr;
};

void TestFind::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    TableInserter cust(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("Address")});
    cust.insert({s("C001"), s("李宅"), s("wang"), s("朝阳区")});
    cust.insert({s("C002"), s("王小明"), s("wang"), s("海淀区")});
    cust.insert({s("C003"), s("华信科技"), s("li"), s("丰台区")});
    cust.insert({s("AB-7"), s("张伟"), s("wang"), s("xiaoming road")});
    cust.insert({s("C005"), s("王小明"), s("wang"), s("西城区")});
}

void TestFind::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_db = m_dir->open();
    m_window = std::make_unique<QWidget>();
    m_cust = new TableDataset(m_db.get(), s("tblCustomers"), s("tblCustomers"), {}, m_window.get());
    auto *source = new DataSource(s("dsCustomers"), m_cust, m_window.get());
    m_cust->open();
    m_grid = new DbGrid(m_window.get());
    m_grid->setColumns({GridColumn::text(s("客户代码"), s("CustId")), GridColumn::text(s("客户名称"), s("CustName")),
                        GridColumn::text(s("地址"), s("Address"))});
    m_grid->setDataSource(source);
    m_grid->sortBy(s("CustId"));
    m_cust->first();
}

void TestFind::cleanup()
{
    m_window.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestFind::type(const QString &text)
{
    m_grid->findBar()->open();
    m_grid->findBar()->edit()->setText(text);
}

void TestFind::pinyinKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys");
    QTest::newRow("name") << "王小明" << "wangxiaoming\x1fwxm";
    QTest::newRow("mixed with Latin") << "华信A1" << "huaxina1\x1fhxa1";
    QTest::newRow("no Han") << "Brown & Co" << "";
    QTest::newRow("empty") << "" << "";
}

void TestFind::pinyinKeys()
{
    QFETCH(QString, text);
    QFETCH(QString, keys);
    QCOMPARE(PinyinKeys::of(text), keys);
}

void TestFind::findMovesToTheNextMatch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("found");  // the code of the row moved to; empty: none
    QTest::newRow("initials") << "wxm" << "C002";
    QTest::newRow("full pinyin") << "wangxiaoming" << "C002";
    QTest::newRow("part of the full pinyin") << "xiaoming" << "C002";
    QTest::newRow("Han text") << "华信" << "C003";
    QTest::newRow("Latin code, other case") << "ab-7" << "AB-7";
    QTest::newRow("another column") << "丰台" << "C003";
    QTest::newRow("blanks around, wrapping to the top") << "  zw " << "AB-7";
    QTest::newRow("no match") << "nothing" << "";
}

void TestFind::findMovesToTheNextMatch()
{
    QFETCH(QString, query);
    QFETCH(QString, found);
    // The grid shows the rows by code: AB-7, C001, C002, C003, C005; the search starts after C001.
    QVERIFY(m_cust->locate(s("CustId"), {s("C001")}));
    type(query);
    QCOMPARE(m_grid->findBar()->find(), !found.isEmpty());
    QCOMPARE(currentCode(), found.isEmpty() ? s("C001") : found);
    QCOMPARE(m_grid->findBar()->status(), found.isEmpty() ? s("未找到") : QString());
}

void TestFind::findBackwardsAndWrapping()
{
    QVERIFY(m_cust->locate(s("CustId"), {s("C002")}));
    type(s("王小明"));
    QVERIFY(m_grid->findBar()->find());
    QCOMPARE(currentCode(), s("C005"));
    QVERIFY(m_grid->findBar()->find());  // past the last row: round to the first match
    QCOMPARE(currentCode(), s("C002"));
    QVERIFY(m_grid->findBar()->find(false));  // backwards, wrapping the other way
    QCOMPARE(currentCode(), s("C005"));
    // The grid's current row follows the dataset.
    QCOMPARE(m_grid->model()->datasetRow(m_grid->view()->currentIndex()), m_cust->currentRow());
}

void TestFind::findPostsAPendingEditAndKeepsTheFilter()
{
    m_cust->setFilter(s("SUser='wang'"));
    m_cust->setFiltered(true);
    QVERIFY(m_cust->locate(s("CustId"), {s("C001")}));
    m_cust->edit();
    m_cust->field(s("CustName")).setValue(s("李宅（改）"));
    type(s("hxkj"));  // 华信科技 belongs to another owner: never found
    QVERIFY(!m_grid->findBar()->find());
    QCOMPARE(m_cust->state(), Dataset::State::Edit);
    type(s("wxm"));
    QVERIFY(m_grid->findBar()->find());
    QCOMPARE(m_cust->state(), Dataset::State::Browse);
    QCOMPARE(m_db->scalar(s("select CustName from tblCustomers where CustId='C001'")).toString(), s("李宅（改）"));
    QCOMPARE(m_cust->filter(), s("SUser='wang'"));
    QVERIFY(m_cust->isFiltered());
    // The edited row is found by its new name: the keys follow the change.
    type(s("gai"));
    QVERIFY(m_grid->findBar()->find());
    QCOMPARE(currentCode(), s("C001"));
}

void TestFind::ctrlFOpensAndEscapeCloses()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_grid->view()->setFocus();
    QVERIFY(!m_grid->findBar()->isVisible());
    QTest::keyClick(m_grid->view(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(m_grid->findBar()->isVisible());
    QVERIFY(m_grid->findBar()->edit()->hasFocus());
    QTest::keyClicks(m_grid->findBar()->edit(), "c003");
    QTest::keyClick(m_grid->findBar()->edit(), Qt::Key_Return);
    QCOMPARE(currentCode(), s("C003"));
    QTest::keyClick(m_grid->findBar()->edit(), Qt::Key_Escape);
    QVERIFY(!m_grid->findBar()->isVisible());
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
