// The sending-unit window over 8,000 units and 40,000 settlements: a row move with the
// settlement grid following, and the settlement check a delete runs first.
#include "ActionGate.h"
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Dialogs.h"
#include "Messages.h"
#include "SendingRules.h"
#include "SendingWindows.h"
#include "Statement.h"
#include "uMain.h"
#include "uPublic.h"
#include "uShusong.h"
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
        installSendingWindows(*main);
        OpenDatasets({dm->tblUserRight});
        CurrentUserID = s("Admin");
        dm->tblUser->close();
        dm->tblUser->open();
        ActionGate::instance()->evaluate();
        main->action(s("Act_Shusong"))->trigger();
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

// One move to the next unit with the detail tab and its settlement grid shown.
void BM_ShusongUnitMove(benchmark::State &state)
{
    Fixture &f = fixture();
    frmShusong->pages()->setCurrentIndex(1);
    frmShusong->PnMain->resize(1000, 700);
    frmShusong->PnMain->show();
    Dataset *u = f.dm->tblShusong;
    u->first();
    for (auto _ : state) {
        if (u->isEof())
            u->first();
        else
            u->next();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(f.dm->tblShusongYJ->recordCount());
    }
    frmShusong->PnMain->hide();
}
BENCHMARK(BM_ShusongUnitMove)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The check before a delete: the shared query re-texted, bound, opened, tested, closed.
void BM_ShusongDeleteCheck(benchmark::State &state)
{
    Fixture &f = fixture();
    int i = 0;
    for (auto _ : state) {
        const QString id = QStringLiteral("SS%1").arg(1 + (i++ * 7919) % 8000, 3, 10, QLatin1Char('0'));
        benchmark::DoNotOptimize(SendingRules::hasSettlements(id));
    }
    (void)f;
}
BENCHMARK(BM_ShusongDeleteCheck)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_ShusongSelectIndexed(benchmark::State &state)
{
    Fixture &f = fixture();
    int i = 0;
    for (auto _ : state) {
        Statement st(*f.dm->database(), s("select * from tblShusong where ShusongID=:ShusongID"));
        st.bind(s("ShusongID"), QStringLiteral("SS%1").arg(1 + (i++ * 7919) % 8000, 3, 10, QLatin1Char('0')));
        benchmark::DoNotOptimize(st.step());
    }
}
BENCHMARK(BM_ShusongSelectIndexed)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"shusong_unit_move", "BM_ShusongUnitMove", "BM_ShusongSelectIndexed", 10.0});
    registerTarget({"shusong_delete_check", "BM_ShusongDeleteCheck", "BM_ShusongSelectIndexed", 10.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
