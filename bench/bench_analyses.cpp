// The heaviest analysis: the year dialog's "确定" on 150,000 business records and about
// 80,000 customers in the pie, until the chart has been painted once, against the same
// statements, bound alike, stepped to their end through the engine adapter.
#include "AnalysisChart.h"
#include "AnalysisPage.h"
#include "AnalysisRun.h"
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "PeriodQuery.h"
#include "Statement.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <benchmark/benchmark.h>

namespace {

const AnalysisMember &timeMember()
{
    for (const AnalysisMember &m : analysisMembers())
        if (QLatin1String(m.objectName) == QLatin1String("frmTimeAnalyse"))
            return m;
    std::abort();
}

TdmMain &largeModule()
{
    static std::unique_ptr<TdmMain> dm;
    if (!dm) {
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        CurrentUserID = QStringLiteral("Admin");
    }
    dmMain = dm.get();
    return *dm;
}

void BM_AnalysisYear100k(benchmark::State &state)
{
    largeModule();
    AnalysisPage page(timeMember());
    page.resize(667, 500);
    page.show();
    qint64 slices = 0;
    for (auto _ : state) {
        TfrmYearQuery dialog(&page, &page);
        dialog.yearBox()->setEditText(QString::number(QDate::currentDate().year()));
        if (!dialog.confirm())
            state.SkipWithError("the year analysis failed");
        page.chart()->view()->grab();
        slices += page.chart()->chart()->series().size();
    }
    benchmark::DoNotOptimize(slices);
}

void BM_AnalysisYearStatements100k(benchmark::State &state)
{
    TdmMain &dm = largeModule();
    QList<AnalysisRun::Traced> trace;
    AnalysisRun::setTrace(&trace);
    TfrmPeriodQuery::yearResult(QDate::currentDate().year(), true);
    AnalysisRun::setTrace(nullptr);
    qint64 rows = 0;
    for (auto _ : state) {
        for (const AnalysisRun::Traced &t : trace) {
            Statement st(*dm.database(), t.sql);
            for (const QString &name : st.parameterNames())
                for (const auto &[param, value] : t.params)
                    if (param.compare(name, Qt::CaseInsensitive) == 0)
                        st.bind(name, value);
            while (st.step())
                ++rows;
        }
    }
    state.counters["statements"] = double(trace.size());
    benchmark::DoNotOptimize(rows);
}

BENCHMARK(BM_AnalysisYear100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_AnalysisYearStatements100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"analysis_year_100k", "BM_AnalysisYear100k", "BM_AnalysisYearStatements100k", 1.5});
    return runBenchmarksAndTargets(argc, argv);
}
