// The data grid: model soundness, sorting and grouping as views, current-row sync.
#include "DbGrid.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QAbstractItemModelTester>
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {
QString s(const char *t)
{
    return QString::fromUtf8(t);
}
}  // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void modelIsSound_data();
    void modelIsSound();
    void cellsFormatAndAlign();
    void sortIsAViewOnly();
    void groupCountsAndOrder();
    void twoLevelGrouping();
    void dropAndChipControlGrouping();
    void gridFollowsDataset();
    void datasetFollowsGrid();
    void refusedMoveReturnsToDatasetRow();
    void rowsAddedAndRemovedShowAtOnce();

private:
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<DbGrid> m_grid;
    TableDataset *m_ds = nullptr;
    TableDataset *m_levels = nullptr;
    DataSource *m_source = nullptr;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestGrid::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    TableInserter op(*db, s("tblOperates"),
                     {s("OperateID"), s("OperateTitle"), s("InOrOut"), s("TypeID"), s("RMB"), s("Link"), s("EndDate")});
    // Dataset order is deliberately not sorted by any column.
    op.insert({s("O3"), s("月嫂"), s("收款"), s("03"), 3000.0, true, QDate(2026, 3, 1)});
    op.insert({s("O1"), s("保姆"), s("付款"), s("01"), 1234567.891, false, QDate(2026, 1, 1)});
    op.insert({s("O5"), s("保洁"), s("收款"), s("06"), 50.0, QVariant(), QDate(2026, 5, 1)});
    op.insert({s("O2"), s("钟点工"), s("收款"), s("02"), QVariant(), false, QVariant()});
    op.insert({s("O4"), s("护工"), s("付款"), s("05"), 800.0, true, QDate(2026, 4, 1)});
}

void TestGrid::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_db = m_dir->open();
    m_grid = std::make_unique<DbGrid>();
    m_levels = new TableDataset(m_db.get(), s("tblOperateType"), s("tblOperateType"), {}, m_grid.get());
    m_ds = new TableDataset(m_db.get(), s("tblOperates2"), s("tblOperates"), {}, m_grid.get());
    m_ds->addLookup(s("TypeName"), s("TypeID"), m_levels, s("TypeID"), s("TypeName"));
    m_source = new DataSource(s("dsOperates2"), m_ds, m_grid.get());
    m_levels->open();
    m_ds->open();
    m_grid->setColumns({GridColumn::text(s("业务编码"), s("OperateID")), GridColumn::text(s("业务标题"), s("OperateTitle")),
                        GridColumn::centred(s("收支类型"), s("InOrOut")), GridColumn::text(s("业务类型"), s("TypeName")),
                        GridColumn::money(s("折人民币"), s("RMB")), GridColumn::check(s("关联"), s("Link")),
                        GridColumn::text(s("截止日期"), s("EndDate"))});
    m_grid->setDataSource(m_source);
    m_grid->resize(800, 300);
}

void TestGrid::cleanup()
{
    m_grid.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestGrid::modelIsSound_data()
{
    QTest::addColumn<QStringList>("grouping");
    QTest::addColumn<int>("sortColumn");
    QTest::newRow("flat") << QStringList{} << -1;
    QTest::newRow("sorted") << QStringList{} << 4;
    QTest::newRow("grouped") << QStringList{"InOrOut"} << -1;
    QTest::newRow("grouped twice and sorted") << QStringList{"InOrOut", "Link"} << 0;
}

void TestGrid::modelIsSound()
{
    QFETCH(QStringList, grouping);
    QFETCH(int, sortColumn);
    QAbstractItemModelTester tester(m_grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const QString &g : grouping)
        m_grid->groupBy(g);
    if (sortColumn >= 0)
        m_grid->model()->sort(sortColumn, Qt::DescendingOrder);
    // Changes while the tester watches.
    m_ds->last();
    m_ds->edit();
    m_ds->field(s("OperateTitle")).setValue(s("护工（夜班）"));
    m_ds->post();
    m_ds->append();
    m_ds->field(s("OperateID")).setValue(s("O6"));
    m_ds->field(s("InOrOut")).setValue(s("收款"));
    m_ds->post();
    m_ds->first();
    m_ds->remove();
    m_ds->setFilter(s("InOrOut='收款'"));
    m_ds->setFiltered(true);
    m_grid->clearGrouping();
    m_ds->close();
    QCOMPARE(m_grid->model()->rowCount(), 0);
}

void TestGrid::cellsFormatAndAlign()
{
    DatasetModel *m = m_grid->model();
    const QModelIndex o1 = m->indexOfDatasetRow(1, 4);
    QCOMPARE(m->data(o1).toString(), s("1,234,567.89"));  // money: two decimals, group separators
    QCOMPARE(m->data(o1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    QCOMPARE(m->data(m->indexOfDatasetRow(3, 4)).toString(), QString());  // null stays empty, not 0.00
    QCOMPARE(m->data(m->indexOfDatasetRow(0, 5), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(m->data(m->indexOfDatasetRow(2, 5), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));  // null: unticked
    QVERIFY(!m->data(m->indexOfDatasetRow(0, 5)).isValid());
    QCOMPARE(m->data(m->indexOfDatasetRow(0, 6)).toString(), s("2026/3/1"));
    QCOMPARE(m->data(m->indexOfDatasetRow(0, 3)).toString(), s("月嫂"));  // a lookup column
    QCOMPARE(m->headerData(4, Qt::Horizontal).toString(), s("折人民币"));
}

void TestGrid::sortIsAViewOnly()
{
    QTreeView *view = m_grid->view();
    m_grid->show();
    view->sortByColumn(0, Qt::AscendingOrder);
    QStringList shown;
    for (int r = 0; r < m_grid->model()->rowCount(); ++r)
        shown << m_grid->model()->index(r, 0).data().toString();
    QCOMPARE(shown, (QStringList{"O1", "O2", "O3", "O4", "O5"}));
    view->sortByColumn(4, Qt::DescendingOrder);
    QCOMPARE(m_grid->model()->index(0, 0).data().toString(), s("O1"));   // by value, not by text
    QCOMPARE(m_grid->model()->index(4, 0).data().toString(), s("O2"));   // null last when descending
    // The dataset's own order, used by navigators and reports, is untouched.
    QStringList order;
    for (m_ds->first(); !m_ds->isEof(); m_ds->next())
        order << m_ds->field(s("OperateID")).asString();
    QCOMPARE(order, (QStringList{"O3", "O1", "O5", "O2", "O4"}));
}

void TestGrid::groupCountsAndOrder()
{
    m_grid->groupBy(s("InOrOut"));
    DatasetModel *m = m_grid->model();
    QCOMPARE(m->rowCount(), 2);
    const QModelIndex pay = m->index(0, 0);
    const QModelIndex receive = m->index(1, 0);
    QVERIFY(m->isGroup(pay));
    QCOMPARE(pay.data().toString(), s("收支类型：付款（2 条）"));
    QCOMPARE(receive.data().toString(), s("收支类型：收款（3 条）"));
    QCOMPARE(m->rowCount(receive), 3);
    QCOMPARE(m->index(0, 0, receive).data().toString(), s("O3"));  // dataset order inside a group
    QCOMPARE(m->datasetRow(m->index(1, 0, receive)), 2);
    QCOMPARE(m->groupCount(receive), 3);
    QCOMPARE(m_grid->groupedFields(), QStringList{"InOrOut"});
}

void TestGrid::twoLevelGrouping()
{
    m_grid->groupBy(s("InOrOut"));
    m_grid->groupBy(s("Link"));
    m_grid->groupBy(s("Link"));  // once only
    DatasetModel *m = m_grid->model();
    const QModelIndex receive = m->index(1, 0);
    QCOMPARE(m->rowCount(receive), 3);  // null, False, True
    QCOMPARE(m->index(0, 0, receive).data().toString(), s("关联：（空）（1 条）"));
    QCOMPARE(m->index(2, 0, receive).data().toString(), s("关联：True（1 条）"));
    QCOMPARE(m->rowCount(m->index(2, 0, receive)), 1);
    m_grid->ungroup(s("InOrOut"));
    QCOMPARE(m_grid->groupedFields(), QStringList{"Link"});
    QCOMPARE(m->rowCount(), 3);
}

void TestGrid::dropAndChipControlGrouping()
{
    m_grid->show();
    auto *panel = m_grid->findChild<QFrame *>(s("groupPanel"));
    QVERIFY(panel);
    QMimeData mime;
    mime.setData(s("application/x-qlm-grid-column"), QByteArray("2"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &drop);
    QCOMPARE(m_grid->groupedFields(), QStringList{"InOrOut"});
    auto *chip = panel->findChild<QToolButton *>(s("group_InOrOut"));
    QVERIFY(chip);
    QCOMPARE(chip->accessibleName(), s("分组：收支类型"));
    QTest::mouseClick(chip, Qt::LeftButton);
    QVERIFY(m_grid->groupedFields().isEmpty());
    // Something else dropped there is ignored.
    QMimeData other;
    other.setText(s("x"));
    QDropEvent stray(QPointF(5, 5), Qt::MoveAction, &other, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &stray);
    QVERIFY(m_grid->groupedFields().isEmpty());
}

void TestGrid::gridFollowsDataset()
{
    m_grid->groupBy(s("InOrOut"));
    m_ds->locate(s("OperateID"), {s("O4")});
    const QModelIndex current = m_grid->view()->currentIndex();
    QCOMPARE(m_grid->model()->datasetRow(current), m_ds->currentRow());
    QCOMPARE(current.siblingAtColumn(0).data().toString(), s("O4"));
    QVERIFY(m_grid->view()->selectionModel()->isRowSelected(current.row(), current.parent()));
}

void TestGrid::datasetFollowsGrid()
{
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    m_grid->view()->sortByColumn(0, Qt::AscendingOrder);
    const QModelIndex o4 = m_grid->model()->index(3, 0);
    QTest::mouseClick(m_grid->view()->viewport(), Qt::LeftButton, {}, m_grid->view()->visualRect(o4).center());
    QCOMPARE(m_ds->field(s("OperateID")).asString(), s("O4"));
    QTest::keyClick(m_grid->view(), Qt::Key_Down);
    QCOMPARE(m_ds->field(s("OperateID")).asString(), s("O5"));
    // A group row is not a record: the dataset stays.
    m_grid->groupBy(s("InOrOut"));
    m_grid->view()->setCurrentIndex(m_grid->model()->index(0, 0));
    QCOMPARE(m_ds->field(s("OperateID")).asString(), s("O5"));
}

void TestGrid::refusedMoveReturnsToDatasetRow()
{
    m_ds->first();
    m_ds->edit();
    m_ds->field(s("OperateID")).setValue(s("O1"));  // a duplicate: the post on leaving fails
    m_grid->view()->setCurrentIndex(m_grid->model()->indexOfDatasetRow(4));
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(m_ds->currentRow(), 0);
    QCOMPARE(m_ds->state(), Dataset::State::Edit);
    QCOMPARE(m_grid->model()->datasetRow(m_grid->view()->currentIndex()), 0);
}

void TestGrid::rowsAddedAndRemovedShowAtOnce()
{
    QCOMPARE(m_grid->model()->rowCount(), 5);
    m_ds->append();
    m_ds->field(s("OperateID")).setValue(s("O9"));
    m_ds->post();
    QCOMPARE(m_grid->model()->rowCount(), 6);
    QCOMPARE(m_grid->view()->currentIndex().siblingAtColumn(0).data().toString(), s("O9"));
    m_ds->remove();
    QCOMPARE(m_grid->model()->rowCount(), 5);
    m_ds->edit();
    m_ds->field(s("OperateTitle")).setValue(s("改了"));
    QCOMPARE(m_grid->model()->indexOfDatasetRow(m_ds->currentRow(), 1).data().toString(), s("改了"));
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
