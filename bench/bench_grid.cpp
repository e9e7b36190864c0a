// The grid over 100,000 customers: first paint and grouping.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Database.h"
#include "DbGrid.h"
#include "GridExport.h"
#include "GridFindBar.h"
#include "TableDataset.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

struct Fixture
{
    std::unique_ptr<Database> db = Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8());
    TableDataset levels{db.get(), s("tblCustLevel"), s("tblCustLevel")};
    TableDataset customers{db.get(), s("tblCustomers"), s("tblCustomers")};
    DataSource source{s("dsCustomers"), &customers};
    Fixture()
    {
        customers.addLookup(s("LevelName"), s("LevelID"), &levels, s("LevelID"), s("LevelName"));
        levels.open();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QList<GridColumn> columns()
{
    return {GridColumn::text(s("客户代码"), s("CustId")), GridColumn::text(s("客户名称"), s("CustName"), 160),
            GridColumn::text(s("主要联系人"), s("MainLinkman")), GridColumn::text(s("电话"), s("Telephone")),
            GridColumn::text(s("客户级别"), s("LevelName")), GridColumn::text(s("建档日期"), s("CreateDate")),
            GridColumn::text(s("地址"), s("Address"), 240)};
}

void BM_DatasetOpen100k(benchmark::State &state)
{
    TableDataset &c = fixture().customers;
    for (auto _ : state) {
        c.close();
        c.open();
        benchmark::DoNotOptimize(c.recordCount());
    }
}
BENCHMARK(BM_DatasetOpen100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A grid made, bound and shown over the open dataset, until its first frame is painted.
void BM_GridFirstPaint100k(benchmark::State &state)
{
    TableDataset &c = fixture().customers;
    if (!c.isActive())
        c.open();
    c.recordCount();
    for (auto _ : state) {
        DbGrid grid;
        grid.resize(1000, 700);
        grid.setColumns(columns());
        grid.setDataSource(&fixture().source);
        grid.show();
        benchmark::DoNotOptimize(grid.grab());
    }
}
BENCHMARK(BM_GridFirstPaint100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The customer list written to a spreadsheet, every shown cell, as the export command does.
void BM_GridExportXlsx100k(benchmark::State &state)
{
    TableDataset &c = fixture().customers;
    if (!c.isActive())
        c.open();
    c.recordCount();
    DbGrid grid;
    grid.setColumns(columns());
    grid.setDataSource(&fixture().source);
    const QString path = QDir::temp().filePath(s("qlm-bench-export.xlsx"));
    for (auto _ : state) {
        const GridExport::Result r = GridExport::writeXlsx(path, *grid.model(), GridExport::shownColumns(grid));
        if (!r.written)
            state.SkipWithError(qPrintable(r.error));
    }
    QFile::remove(path);
}
BENCHMARK(BM_GridExportXlsx100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A grid whose last row (in the order shown) is the only one a pinyin query finds.
struct FindSetup
{
    DbGrid grid;
    FindSetup()
    {
        TableDataset &c = fixture().customers;
        if (!c.isActive())
            c.open();
        grid.setColumns(columns());
        grid.setDataSource(&fixture().source);
        grid.sortBy(s("CustId"));
        const std::vector<int> rows = grid.model()->rowsInViewOrder();
        c.setCurrentRow(rows.back());
        if (c.field(s("CustName")).asString() != s("鑫淼犇")) {
            c.edit();
            c.field(s("CustName")).setValue(s("鑫淼犇"));
            c.post();
        }
        c.setCurrentRow(rows.front());
        grid.findBar()->edit()->setText(s("xinmiaoben"));
    }
};

void BM_GridFindFirst100k(benchmark::State &state)
{
    FindSetup f;
    for (auto _ : state) {
        f.grid.findBar()->forget();
        fixture().customers.setCurrentRow(f.grid.model()->rowsInViewOrder().front());
        if (!f.grid.findBar()->find())
            state.SkipWithError("not found");
    }
}
BENCHMARK(BM_GridFindFirst100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_GridFindAgain100k(benchmark::State &state)
{
    FindSetup f;
    f.grid.findBar()->find();
    for (auto _ : state) {
        fixture().customers.setCurrentRow(f.grid.model()->rowsInViewOrder().front());
        if (!f.grid.findBar()->find())
            state.SkipWithError("not found");
    }
}
BENCHMARK(BM_GridFindAgain100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void measureGrouping()
{
    TableDataset &c = fixture().customers;
    if (!c.isActive())
        c.open();
    c.recordCount();
    DbGrid grid;
    grid.resize(1000, 700);
    grid.setColumns(columns());
    grid.setDataSource(&fixture().source);
    grid.show();
    QElapsedTimer t;
    t.start();
    grid.groupBy(s("LevelName"));
    grid.grab();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    std::printf("grouping 100,000 rows by one column: %.1f ms\n", ms);
    reportTarget("grid_group_100k", ms, 1000.0, "ms");
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"grid_first_paint_100k", "BM_GridFirstPaint100k", "BM_DatasetOpen100k", 1.0});
    registerTarget({"grid_export_xlsx_100k", "BM_GridExportXlsx100k", "BM_DatasetOpen100k", 3.0});
    registerTarget({"grid_find_pinyin_100k", "BM_GridFindFirst100k", "BM_DatasetOpen100k", 1.0});
    registerTarget({"grid_find_pinyin_again_100k", "BM_GridFindAgain100k", "BM_DatasetOpen100k", 0.1});
    measureGrouping();
    return runBenchmarksAndTargets(argc, argv);
}
