// Work assignment: "确认分配" moving every customer of demo user "wang" with its contacts,
// against the bare engine updating the same rows (one prepared UPDATE per table, bound per
// code, in one transaction). Each run starts from the same file: the rows are moved back
// outside the timing. `--scale N` picks the demo database (default 1000).
#include "BenchData.h"
#include "BenchQuiet.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Statement.h"
#include "uAssign.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int g_scale = 1000;
const char *const Target = "wangb";

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

struct Fixture
{
    QTemporaryDir dir;
    Quiet quiet;
    std::unique_ptr<TdmMain> dm;
    QStringList codes;
    Fixture()
    {
        Messages::setHandler(&quiet);
        Dialogs::setHandler(&quiet);
        SetAppDir(dir.path());
        // A copy of its own: the runs write to it.
        const QString path = dir.filePath(s("bench.qdb"));
        QFile::copy(benchDatabase(g_scale), path);
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(path, ConnectionString::databasePassword().toUtf8()));
        CurrentUserID = s("Admin");
        Statement st(*dm->database(), s("select CustId from tblCustomers where SUser='wang'"));
        while (st.step())
            codes << st.text(0);
    }
    // Every row the last run moved goes back to wang.
    void moveBack()
    {
        Transaction tx(*dm->database());
        dm->database()->exec(s("update tblCustomers set SUser='wang' where SUser='%1'").arg(s(Target)));
        dm->database()->exec(s("update tblLinkmans set SUser='wang' where SUser='%1'").arg(s(Target)));
        tx.commit();
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

void BM_AssignUser(benchmark::State &state)
{
    Fixture &f = fixture();
    TfrmAssign window;
    window.contentBox()->setCurrentText(s("客户资料"));
    window.sourceBox()->setCurrentText(s("wang"));
    window.targetBox()->setCurrentText(s(Target));
    for (auto _ : state) {
        state.PauseTiming();
        f.moveBack();
        window.refreshList();
        window.moveAll(true);
        state.ResumeTiming();
        if (!window.assign()) {
            state.SkipWithError("the assignment failed");
            break;
        }
    }
    state.counters["customers"] = double(f.codes.size());
    f.moveBack();
}
BENCHMARK(BM_AssignUser)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BareOwnerUpdate(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.moveBack();
        state.ResumeTiming();
        Transaction tx(*f.dm->database());
        Statement customers(*f.dm->database(), s("update tblCustomers set SUser=:SUser where CustId=:CustID"));
        Statement contacts(*f.dm->database(), s("update tblLinkmans set SUser=:SUser where CustID=:CustID"));
        for (const QString &code : f.codes) {
            for (Statement *st : {&customers, &contacts}) {
                st->reset();
                st->bind(s("SUser"), s(Target));
                st->bind(s("CustID"), code);
                st->step();
            }
        }
        tx.commit();
    }
    f.moveBack();
}
BENCHMARK(BM_BareOwnerUpdate)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char **argv)
{
    // "--scale N" is ours; everything else goes to the benchmark library.
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
            g_scale = std::max(1, std::atoi(argv[++i]));
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(count, args.data());
    registerTarget({"assign_user_vs_bare_update", "BM_AssignUser", "BM_BareOwnerUpdate", 5.0});
    const int status = runBenchmarksAndTargets(count, args.data());
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
