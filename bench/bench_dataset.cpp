// The dataset layer at the sizes of a large agency: 100,000 customers, 1,000,000 log rows.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "DateText.h"
#include "Statement.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

std::unique_ptr<Database> openBench(int scale)
{
    return Database::open(benchDatabase(scale), ConnectionString::databasePassword().toUtf8());
}

// One data module over the large database, made on first use and kept for the run.
TdmMain &largeModule()
{
    static std::unique_ptr<TdmMain> dm;
    if (!dm) {
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(openBench(1000));
        CurrentUserID = s("Admin");
    }
    dmMain = dm.get();
    return *dm;
}

void writeLogLoop(benchmark::State &state, int scale)
{
    TdmMain dm;
    dm.attachDatabase(openBench(scale));
    CurrentUserID = s("Admin");
    for (auto _ : state)
        WriteLog(s("客户业务管理-业务资料-保存"));
    dmMain = nullptr;
}

void BM_WriteLog_1k(benchmark::State &state) { writeLogLoop(state, 1); }
void BM_WriteLog_1M(benchmark::State &state) { writeLogLoop(state, 1000); }
BENCHMARK(BM_WriteLog_1k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteLog_1M)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Open and read every row's stored columns and its six lookup columns as text.
void BM_OpenCustomers100k(benchmark::State &state)
{
    TdmMain &dm = largeModule();
    Dataset *c = dm.tblCustomers;
    const int lookups[] = {c->fieldIndex(s("CountryName")), c->fieldIndex(s("DistName")),
                           c->fieldIndex(s("VocationName")), c->fieldIndex(s("OriginName")),
                           c->fieldIndex(s("Operater")), c->fieldIndex(s("LevelName"))};
    qint64 chars = 0;
    for (auto _ : state) {
        c->close();
        c->open();
        const int rows = c->recordCount();
        const int stored = 24;
        for (int r = 0; r < rows; ++r) {
            for (int f = 0; f < stored; ++f)
                chars += c->textAt(r, f).size();
            for (int f : lookups)
                chars += c->textAt(r, f).size();
        }
    }
    benchmark::DoNotOptimize(chars);
}
BENCHMARK(BM_OpenCustomers100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RawCustomers100k(benchmark::State &state)
{
    TdmMain &dm = largeModule();
    sqlite3 *h = dm.database()->handle();
    qint64 chars = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(h, "SELECT * FROM tblCustomers", -1, &st, nullptr);
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) {
                const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                const QString v = t ? QString::fromUtf8(t, sqlite3_column_bytes(st, i)) : QString();
                chars += v.size();
            }
        }
        sqlite3_finalize(st);
    }
    benchmark::DoNotOptimize(chars);
}
BENCHMARK(BM_RawCustomers100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Sets two filters in turn on the held customers and counts what each shows.
void alternateFilters(benchmark::State &state, const QString &a, const QString &b)
{
    Dataset *c = largeModule().tblCustomers;
    c->setFiltered(false);
    if (!c->isActive())
        c->open();
    c->recordCount();
    c->setFilter(a);
    c->setFiltered(true);
    bool flip = false;
    int shown = 0;
    for (auto _ : state) {
        c->setFilter(flip ? a : b);
        shown += c->recordCount();
        flip = !flip;
    }
    c->setFiltered(false);
    benchmark::DoNotOptimize(shown);
}

void BM_FilterOwner100k(benchmark::State &state)
{
    alternateFilters(state, s("sUser='wang'"), s("sUser='li'"));
}
BENCHMARK(BM_FilterOwner100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A non-system user's one-term-per-day filter, as the query dialogs build it.
QString dateRangeFilter(const QString &user, int days = 31)
{
    QStringList terms;
    const QDate to = QDate::currentDate();
    for (int i = days - 1; i >= 0; --i)
        terms << s("((CreateDate=%1) and (sUser='%2'))").arg(DateText::shortDate(to.addDays(-i)), user);
    return terms.join(s(" or "));
}

// What a window pays to show the customer list: open and count the rows.
void BM_OpenCustomersRows100k(benchmark::State &state)
{
    Dataset *c = largeModule().tblCustomers;
    c->setFiltered(false);
    int rows = 0;
    for (auto _ : state) {
        c->close();
        c->open();
        rows += c->recordCount();
    }
    benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_OpenCustomersRows100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Ten years, one term a day: parsed once, evaluated as one hash lookup per row.
void BM_FilterDayChain3653(benchmark::State &state)
{
    alternateFilters(state, dateRangeFilter(s("wang"), 3653), dateRangeFilter(s("li"), 3653));
}
BENCHMARK(BM_FilterDayChain3653)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One edited field posted, with and without the check that the row still holds what was read.
void postLoop(benchmark::State &state, bool checked)
{
    TdmMain dm;
    dm.attachDatabase(openBench(1));
    CurrentUserID = s("Admin");
    Dataset *c = dm.tblCustomers2;
    c->setConcurrencyCheck(checked);
    c->first();
    int n = 0;
    for (auto _ : state) {
        c->edit();
        c->field(s("Address")).setValue(s("朝阳区建国路%1号").arg(++n));
        c->post();
    }
    dmMain = nullptr;
}

void BM_PostChecked(benchmark::State &state) { postLoop(state, true); }
void BM_PostUnchecked(benchmark::State &state) { postLoop(state, false); }
BENCHMARK(BM_PostUnchecked)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PostChecked)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FilterDateRange100k(benchmark::State &state)
{
    alternateFilters(state, dateRangeFilter(s("wang")), dateRangeFilter(s("li")));
}
BENCHMARK(BM_FilterDateRange100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median of one master move with its five details open and read, and of one indexed select.
void measureMasterMove()
{
    TdmMain &dm = largeModule();
    Dataset *c = dm.tblCustomers;
    c->setFiltered(false);
    if (!c->isActive())
        c->open();
    Dataset *details[] = {dm.tblLinkmans, dm.tblOperates, dm.tblYuangong1, dm.tblCustomerState, dm.tblCustomerAddInfo};
    for (Dataset *d : details) {
        d->open();
        d->recordCount();  // rows read once, as a window showing them would
    }
    c->first();
    std::vector<double> moves;
    QElapsedTimer t;
    int seen = 0;
    for (int i = 0; i < 2001; ++i) {
        t.start();
        c->next();
        for (Dataset *d : details)
            seen += d->recordCount();
        moves.push_back(double(t.nsecsElapsed()));
    }
    sqlite3 *h = dm.database()->handle();
    std::vector<double> selects;
    for (int i = 0; i < 2001; ++i) {
        const QByteArray code = QStringLiteral("C%1").arg(1 + (i * 37) % 100000, 6, 10, QLatin1Char('0')).toUtf8();
        t.start();
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(h, "SELECT * FROM tblCustomers WHERE CustId = ?", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, code.constData(), int(code.size()), SQLITE_STATIC);
        if (sqlite3_step(st) == SQLITE_ROW)
            ++seen;
        sqlite3_finalize(st);
        selects.push_back(double(t.nsecsElapsed()));
    }
    benchmark::DoNotOptimize(seen);
    const double ratio = median(moves) / median(selects);
    std::printf("master move median %.1f us, indexed select median %.1f us\n", median(moves) / 1000,
                median(selects) / 1000);
    reportTarget("master_move_5_details", ratio, 10.0);
}

// Heap bytes kept per customer row once held, against the row's stored text bytes.
void measureMemory()
{
    TdmMain &dm = largeModule();
    Dataset *c = dm.tblCustomers;
    c->close();
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    c->open();
    const int rows = c->recordCount();
    const size_t after = mallinfo2().uordblks;
    QStringList parts;
    for (const QString &f : c->fieldNames())
        if (c->fieldDef(c->fieldIndex(f)).kind != FieldKind::Lookup)
            parts << s("coalesce(length(CAST(\"%1\" AS BLOB)), 0)").arg(f);
    const double storedBytes = dm.database()->scalar(s("select sum(%1) from tblCustomers").arg(parts.join(s("+")))).toDouble();
    const double perRow = double(after - before) / rows;
    const double textPerRow = storedBytes / rows;
    std::printf("customer rows held: %d, %.0f heap bytes per row, %.0f stored text bytes per row\n", rows, perRow,
                textPerRow);
    reportTarget("memory_per_customer_row", perRow / textPerRow, 4.0);
}

}  // namespace

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    registerTarget({"writelog_scaling", "BM_WriteLog_1M", "BM_WriteLog_1k", 1.5});
    registerTarget({"open_customers_vs_raw", "BM_OpenCustomers100k", "BM_RawCustomers100k", 3.0});
    registerTarget({"filter_owner_100k", "BM_FilterOwner100k", "BM_OpenCustomers100k", 0.5});
    registerTarget({"filter_daterange_100k", "BM_FilterDateRange100k", "BM_OpenCustomers100k", 1.0});
    registerTarget({"filter_daychain_3653_100k", "BM_FilterDayChain3653", "BM_OpenCustomersRows100k", 1.0});
    registerTarget({"filter_daychain_vs_31", "BM_FilterDayChain3653", "BM_FilterDateRange100k", 3.0});
    registerTarget({"optimistic_update_cost", "BM_PostChecked", "BM_PostUnchecked", 1.3});
    measureMemory();
    measureMasterMove();
    return runBenchmarksAndTargets(argc, argv);
}
