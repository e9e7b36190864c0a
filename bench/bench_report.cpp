// Preparing the customer list report for 1,000 customers against opening them.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Database.h"
#include "ReportRenderer.h"
#include "TableDataset.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

struct Fixture
{
    std::unique_ptr<Database> db = Database::open(benchDatabase(10), ConnectionString::databasePassword().toUtf8());
    TableDataset levels{db.get(), s("tblCustLevel"), s("tblCustLevel")};
    TableDataset customers{db.get(), s("tblCustomers"), s("tblCustomers")};
    ReportLayout layout;
    Fixture()
    {
        customers.addLookup(s("LevelName"), s("LevelID"), &levels, s("LevelID"), s("LevelName"));
        levels.open();
        QString error;
        ReportLayout::load(s(QLM_LAYOUT_DIR "/frCustomers.frf"), &layout, &error);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_OpenCustomers1000(benchmark::State &state)
{
    TableDataset &c = fixture().customers;
    for (auto _ : state) {
        c.close();
        c.open();
        benchmark::DoNotOptimize(c.recordCount());
    }
}
BENCHMARK(BM_OpenCustomers1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_PrepareReport1000(benchmark::State &state)
{
    TableDataset &c = fixture().customers;
    if (!c.isActive())
        c.open();
    c.recordCount();
    for (auto _ : state) {
        ReportRenderer r(fixture().layout, &c);
        benchmark::DoNotOptimize(r.pageCount());
    }
}
BENCHMARK(BM_PrepareReport1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"report_1000_rows", "BM_PrepareReport1000", "BM_OpenCustomers1000", 5.0});
    return runBenchmarksAndTargets(argc, argv);
}
