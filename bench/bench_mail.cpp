// The bulk-mail window over the 100,000-customer demo: ">>" with every contact against
// opening the contact query that holds them.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Dialogs.h"
#include "MailWindows.h"
#include "Messages.h"
#include "QueryDataset.h"
#include "uMail.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
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
    std::unique_ptr<TdmMain> dm;
    std::unique_ptr<TfrmMain> main;
    Fixture()
    {
        SetAppDir(dir.path());
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        main = std::make_unique<TfrmMain>();
        installMailWindows(*main);
        CurrentUserID = s("Admin");
        frmMail->open();
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

void BM_MailPendingAll(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        frmMail->btnAddAll->click();
        benchmark::DoNotOptimize(frmMail->lstPending->count());
    }
    if (frmMail->lstPending->count() != f.dm->qryLinkmans3->recordCount())
        state.SkipWithError("not every contact was added");
}
BENCHMARK(BM_MailPendingAll)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OpenContacts3(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QueryDataset *q = f.dm->qryLinkmans3;
        q->close();
        q->setSql({s("select * from tblLinkmans")});
        q->open();
        benchmark::DoNotOptimize(q->recordCount());
    }
}
BENCHMARK(BM_OpenContacts3)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"mail_pending_all", "BM_MailPendingAll", "BM_OpenContacts3", 1.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    return status;
}
