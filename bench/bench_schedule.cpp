// The today view over the large demo data: its on-show steps for an ordinary user against
// opening tblOperates2 and reading every row with its lookup columns.
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "uPublic.h"
#include "uToday.h"
#include "udmMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

Quiet &quiet()
{
    static Quiet handler;
    return handler;
}

// One data module over the large database, kept for the run; the user is "wang", an
// ordinary user.
TdmMain &largeModule()
{
    static std::unique_ptr<TdmMain> dm;
    if (!dm) {
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        CurrentUserID = s("wang");
        Messages::setHandler(&quiet());
        Dialogs::setHandler(&quiet());
        OpenDatasets({dm->tblOperateState, dm->tblCurrencyRate, dm->tblOperaters, dm->tblOperateOrigin,
                      dm->tblOperateType, dm->tblLinkmansLookup});
    }
    dmMain = dm.get();
    return *dm;
}

// Every row of tblOperates2 with the lookup columns the today view's grid shows.
void BM_ReadTblOperates2_100k(benchmark::State &state)
{
    Dataset *ops = largeModule().tblOperates2;
    Dataset *c2 = dmMain->tblCustomers2;
    c2->setFiltered(false);
    OpenDatasets({c2});
    ops->setFiltered(false);
    for (auto _ : state) {
        ops->close();
        ops->open();
        qint64 chars = 0;
        for (ops->first(); !ops->isEof(); ops->next())
            for (const char *f : {"OperateID", "CustName", "CurrName", "OperateStateName", "OperaterName"})
                chars += ops->field(s(f)).asString().size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_ReadTblOperates2_100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The on-show steps: user, owner-filtered customers, due records, notices, appointments.
void BM_TodayViewPrepare100k(benchmark::State &state)
{
    largeModule();
    for (auto _ : state) {
        TfrmToday::prepare();
        benchmark::DoNotOptimize(dmMain->tblOperates2->recordCount());
        benchmark::DoNotOptimize(dmMain->qryPlan->recordCount());
    }
}
BENCHMARK(BM_TodayViewPrepare100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"today_view_100k", "BM_TodayViewPrepare100k", "BM_ReadTblOperates2_100k", 3.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
