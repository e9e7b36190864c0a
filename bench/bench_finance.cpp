// Receivables over 150,000 business records and 450,000 items, and the business-record
// query's day-range filter over ten years.
#include "ActionGate.h"
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Dialogs.h"
#include "FinanceWindows.h"
#include "Messages.h"
#include "QueryDataset.h"
#include "Statement.h"
#include "uGathering.h"
#include "uMain.h"
#include "uOperateQuery1.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

struct Fixture
{
    QTemporaryDir dir;
    Quiet quiet;
    std::unique_ptr<TdmMain> dm;
    std::unique_ptr<TfrmMain> main;
    Fixture()
    {
        Messages::setHandler(&quiet);
        Dialogs::setHandler(&quiet);
        SetAppDir(dir.path());
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        main = std::make_unique<TfrmMain>();
        installFinanceWindows(*main);
        OpenDatasets({dm->tblUserRight});
        loginAs(s("Admin"));
    }
    void loginAs(const QString &user)
    {
        CurrentUserID = user;
        dm->tblUser->close();
        dm->tblUser->open();
        ActionGate::instance()->evaluate();
    }
};

std::unique_ptr<Fixture> &holder()
{
    static std::unique_ptr<Fixture> f;
    return f;
}

Fixture &fixture()
{
    if (!holder())
        holder() = std::make_unique<Fixture>();
    return *holder();
}

// "应收账款" from the main window: the statement run, every row held, the grid shown.
void BM_InOutOpen100k(benchmark::State &state)
{
    Fixture &f = fixture();
    frmGathering->PnMain->resize(1000, 600);
    for (auto _ : state) {
        f.main->action(s("Act_Gathering"))->trigger();
        frmGathering->PnMain->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(f.dm->qryGathering->recordCount());
    }
    state.counters["rows"] = double(f.dm->qryGathering->recordCount());
}
BENCHMARK(BM_InOutOpen100k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same statement stepped by the engine, its eleven columns read.
void BM_InOutStatement(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString sql = TdmMain::inOutSql(true, false).join(u'\n');
    qint64 rows = 0;
    for (auto _ : state) {
        Statement st(*f.dm->database(), sql);
        while (st.step()) {
            for (int c = 0; c < 11; ++c)
                benchmark::DoNotOptimize(st.value(c));
            ++rows;
        }
    }
    benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_InOutStatement)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Every item's OperateID and RMB read by the engine: the least the statement must do.
void BM_ItemsRead(benchmark::State &state)
{
    Fixture &f = fixture();
    qint64 rows = 0;
    for (auto _ : state) {
        Statement st(*f.dm->database(), s("select OperateID, RMB from tblOperateDetail"));
        while (st.step()) {
            benchmark::DoNotOptimize(st.value(0));
            benchmark::DoNotOptimize(st.value(1));
            ++rows;
        }
    }
    benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_ItemsRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A non-system user's day-range filter on tblOperates2 holding every record.
void operateRange(benchmark::State &state, int days)
{
    Fixture &f = fixture();
    f.loginAs(s("wang"));
    f.dm->tblOperates2->setFiltered(false);
    if (!f.dm->tblOperates2->isActive())
        f.dm->tblOperates2->open();
    TfrmOperateQuery1 dialog;
    dialog.rangeButton()->setChecked(true);
    dialog.endEdit()->setDate(QDate::currentDate());
    dialog.startEdit()->setDate(QDate::currentDate().addDays(1 - days));
    for (auto _ : state) {
        dialog.okButton()->click();
        benchmark::DoNotOptimize(f.dm->tblOperates2->recordCount());
    }
    state.counters["rows"] = double(f.dm->tblOperates2->recordCount());
    f.dm->tblOperates2->setFiltered(false);
    f.loginAs(s("Admin"));
}

void BM_OperateQueryTenYears(benchmark::State &state)
{
    operateRange(state, 3653);
}
BENCHMARK(BM_OperateQueryTenYears)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OperateQueryMonth(benchmark::State &state)
{
    operateRange(state, 31);
}
BENCHMARK(BM_OperateQueryMonth)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"inout_open_100k", "BM_InOutOpen100k", "BM_InOutStatement", 1.5});
    registerTarget({"inout_statement_vs_items", "BM_InOutStatement", "BM_ItemsRead", 8.0});
    registerTarget({"operate_query_ten_years", "BM_OperateQueryTenYears", "BM_OperateQueryMonth", 3.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
