// The customer windows over 100,000 customers: the date-range query and the pick dialog,
// each against simply opening the table they show.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "CustomerPick.h"
#include "DbGrid.h"
#include "Messages.h"
#include "uCustomerQuery3.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Any message (a query that finds nothing) is counted, never shown.
struct CountingMessages : Messages::Handler
{
    int shown = 0;
    Messages::Answer show(QWidget *, const Messages::Request &request) override
    {
        ++shown;
        return request.defaultAnswer;
    }
};

CountingMessages &messages()
{
    static CountingMessages handler;
    return handler;
}

// One data module over the large database, made on first use and kept for the run; the
// user is "wang", an ordinary user who owns about a quarter of the customers.
TdmMain &largeModule()
{
    static std::unique_ptr<TdmMain> dm;
    if (!dm) {
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        CurrentUserID = s("wang");
        Messages::setHandler(&messages());
    }
    dmMain = dm.get();
    return *dm;
}

void BM_OpenTblCustomers100k(benchmark::State &state)
{
    Dataset *c = largeModule().tblCustomers;
    c->setFiltered(false);
    for (auto _ : state) {
        c->close();
        c->open();
        benchmark::DoNotOptimize(c->recordCount());
    }
}
BENCHMARK(BM_OpenTblCustomers100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// "确定" with ten years of days (3,653 one-day terms) and the owner term.
void BM_CustomerQueryRange100k(benchmark::State &state)
{
    Dataset *c = largeModule().tblCustomers;
    c->open();
    TfrmCustomerQuery3 dialog;
    dialog.show();
    dialog.rangeButton()->setChecked(true);
    dialog.endEdit()->setDate(QDate::currentDate());
    dialog.startEdit()->setDate(QDate::currentDate().addYears(-10));
    const int before = messages().shown;
    for (auto _ : state) {
        dialog.okButton()->click();
        benchmark::DoNotOptimize(c->recordCount());
    }
    if (messages().shown != before || c->isEmpty())
        state.SkipWithError("the query found nothing");
    c->setFiltered(false);
}
BENCHMARK(BM_CustomerQueryRange100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenTblCustomers2_100k(benchmark::State &state)
{
    Dataset *c = largeModule().tblCustomers2;
    c->setFiltered(false);
    for (auto _ : state) {
        c->close();
        c->open();
        benchmark::DoNotOptimize(c->recordCount());
    }
}
BENCHMARK(BM_OpenTblCustomers2_100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The pick dialog made, its owner rule applied, shown and painted once.
void BM_CustomerPickerShow100k(benchmark::State &state)
{
    largeModule();
    for (auto _ : state) {
        CustomerPickDialog dialog;
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab());
        dialog.hide();
    }
    if (dmMain->tblCustomers2->isEmpty())
        state.SkipWithError("the picker lists nothing");
}
BENCHMARK(BM_CustomerPickerShow100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"customer_query_range_100k", "BM_CustomerQueryRange100k", "BM_OpenTblCustomers100k", 1.0});
    registerTarget({"customer_picker_show_100k", "BM_CustomerPickerShow100k", "BM_OpenTblCustomers2_100k", 3.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    Messages::setHandler(nullptr);
    return status;
}
