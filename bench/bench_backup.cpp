// Backup of the 100,000-customer demo file: the keyed online copy to the target plus the
// day's plain copy of it, against one plain copy of the file.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Database.h"
#include "DatabaseFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

void BM_Backup100k(benchmark::State &state)
{
    const QByteArray key = ConnectionString::databasePassword().toUtf8();
    auto db = Database::open(benchDatabase(1000), key);
    const QString target = scratch().path() + QStringLiteral("/QLM30.qdb");
    const QString dated = scratch().path() + QStringLiteral("/2026-12-9/QLM30.qdb");
    for (auto _ : state) {
        QFile::remove(dated);  // each round makes the day's copy anew
        DatabaseFile::backup(*db, target, key);
        DatabaseFile::copyIfMissing(target, dated);
    }
}
BENCHMARK(BM_Backup100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainCopy100k(benchmark::State &state)
{
    const QString source = benchDatabase(1000);
    const QString target = scratch().path() + QStringLiteral("/plain.qdb");
    for (auto _ : state) {
        QFile::remove(target);
        QFile::copy(source, target);
    }
}
BENCHMARK(BM_PlainCopy100k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char **argv)
{
    registerTarget({"backup_100k", "BM_Backup100k", "BM_PlainCopy100k", 25.0});
    return runBenchmarksAndTargets(argc, argv);
}
