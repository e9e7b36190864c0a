// The business-record window over 100,000 customers and 200,000 contacts: "新增" on the
// list tab, which reads the customers and contacts again for the record tab's drop-downs.
#include "ActionGate.h"
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "CustomerWindows.h"
#include "OperationWindows.h"
#include "uMain.h"
#include "uOperates.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
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
        installCustomerWindows(*main);
        installOperationWindows(*main);
        OpenDatasets({dm->tblUserRight});
        CurrentUserID = s("Admin");
        dm->tblUser->close();
        dm->tblUser->open();
        ActionGate::instance()->evaluate();
        main->action(s("Act_OperatesInfo"))->trigger();
        // The record tab shown, its drop-downs built over the customers and contacts.
        frmOperates->PnMain->resize(1100, 700);
        frmOperates->PnMain->show();
        frmOperates->pages()->setCurrentIndex(1);
        QCoreApplication::processEvents();
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

void BM_OperateNew(benchmark::State &state)
{
    Fixture &f = fixture();
    Dataset *o = f.dm->tblOperates2;
    for (auto _ : state) {
        ActionGate::instance()->evaluate();
        frmOperates->Act_Insert->trigger();
        QCoreApplication::processEvents();
        if (o->state() != Dataset::State::Insert) {
            state.SkipWithError("no new row");
            break;
        }
        o->cancel();
    }
}
BENCHMARK(BM_OperateNew)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// What "新增" cannot do without: both datasets read again, every row.
void BM_ReopenCustomersAndContacts(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        int rows = 0;
        for (Dataset *d : {static_cast<Dataset *>(f.dm->tblCustomers2), static_cast<Dataset *>(f.dm->tblLinkmans2)}) {
            d->close();
            d->open();
            rows += d->recordCount();
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ReopenCustomersAndContacts)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"operates_new_100k", "BM_OperateNew", "BM_ReopenCustomersAndContacts", 1.5});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
