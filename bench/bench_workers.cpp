// The worker page over 80,000 workers, 100,000 customers and 8,000 units: opening it
// from the main window, and one row change with its tabs and photo box following.
#include "ActionGate.h"
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Dialogs.h"
#include "Messages.h"
#include "Statement.h"
#include "WorkerWindows.h"
#include "uMain.h"
#include "uPublic.h"
#include "uYuangong.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
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
        installWorkerWindows(*main);
        OpenDatasets({dm->tblUserRight});
        CurrentUserID = s("Admin");
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

// "员工资料" from the main window: the workers re-read, the page shown and painted.
void BM_WorkerOpen80k(benchmark::State &state)
{
    Fixture &f = fixture();
    frmYuangong->PnMain->resize(1000, 650);
    for (auto _ : state) {
        f.main->action(s("Act_Yuangong"))->trigger();
        frmYuangong->PnMain->show();
        benchmark::DoNotOptimize(frmYuangong->PnMain->grab());
    }
    state.counters["rows"] = double(f.dm->tblYuangong->recordCount());
    if (f.dm->tblYuangong->recordCount() < 1000)
        state.SkipWithError("too few workers");
}
BENCHMARK(BM_WorkerOpen80k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same rows read by the engine, every column.
void BM_WorkerRowsRead(benchmark::State &state)
{
    Fixture &f = fixture();
    qint64 rows = 0;
    for (auto _ : state) {
        Statement st(*f.dm->database(), s("select * from tblYuangong"));
        const int n = st.columnCount();
        while (st.step()) {
            for (int c = 0; c < n; ++c)
                benchmark::DoNotOptimize(st.value(c));
            ++rows;
        }
    }
    benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_WorkerRowsRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One step of the current worker (alternately forward and back) with the page shown: the
// detail fields, the customer and unit tabs and the photo box follow.
void BM_WorkerRowFollow(benchmark::State &state)
{
    Fixture &f = fixture();
    f.main->action(s("Act_Yuangong"))->trigger();
    frmYuangong->PnMain->resize(1000, 650);
    frmYuangong->PnMain->show();
    Dataset *y = f.dm->tblYuangong;
    y->setCurrentRow(y->recordCount() / 2);
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            y->next();
        else
            y->prior();
        forward = !forward;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WorkerRowFollow)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->Repetitions(5);

// One worker read by its key through the index.
void BM_WorkerIndexedSelect(benchmark::State &state)
{
    Fixture &f = fixture();
    Statement st(*f.dm->database(), s("select * from tblYuangong where YuangongID = :id"));
    const int n = st.columnCount();
    int i = 0;
    for (auto _ : state) {
        st.reset();
        st.bind(s(":id"), QString(u'Y' + QString::number(40000 + (i++ % 100)).rightJustified(5, u'0')));
        while (st.step())
            for (int c = 0; c < n; ++c)
                benchmark::DoNotOptimize(st.value(c));
    }
}
BENCHMARK(BM_WorkerIndexedSelect)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->Repetitions(5);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"worker_open_80k", "BM_WorkerOpen80k", "BM_WorkerRowsRead", 6.0});
    registerTarget({"worker_row_follow", "BM_WorkerRowFollow", "BM_WorkerIndexedSelect", 10.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
