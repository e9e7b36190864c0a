// The engine adapter against the bare engine: opening a keyed file, bulk inserts.
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "Database.h"
#include "NewDatabase.h"
#include "TableInserter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int RowsPerBatch = 10000;

struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/bench.qdb");
    Fixture() { NewDatabase::create(path); }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QByteArray key()
{
    return ConnectionString::databasePassword().toUtf8();
}

void BM_OpenWithKey(benchmark::State &state)
{
    for (auto _ : state) {
        auto db = Database::open(fixture().path, key());
        benchmark::DoNotOptimize(db.get());
    }
}
BENCHMARK(BM_OpenWithKey)->Unit(benchmark::kMillisecond);

QString operateText(int i)
{
    return QStringLiteral("客户业务管理-业务资料-保存 %1").arg(i);
}

void BM_InsertAdapter(benchmark::State &state)
{
    auto db = Database::open(fixture().path, key());
    QStringList texts;
    for (int i = 0; i < RowsPerBatch; ++i)
        texts << operateText(i);
    for (auto _ : state) {
        Transaction tx(*db);  // rolled back: every batch starts from the same file
        TableInserter ins(*db, QStringLiteral("tblLog"),
                          {QStringLiteral("LogDateTime"), QStringLiteral("UserID"), QStringLiteral("Operate")});
        for (int i = 0; i < RowsPerBatch; ++i)
            ins.insert({QStringLiteral("2026/12/9 08:00:00"), QStringLiteral("Admin"), texts.at(i)});
    }
    state.SetItemsProcessed(state.iterations() * RowsPerBatch);
}
BENCHMARK(BM_InsertAdapter)->Unit(benchmark::kMillisecond);

void BM_InsertBareEngine(benchmark::State &state)
{
    auto db = Database::open(fixture().path, key());
    sqlite3 *h = db->handle();
    std::vector<QByteArray> texts;
    for (int i = 0; i < RowsPerBatch; ++i)
        texts.push_back(operateText(i).toUtf8());
    for (auto _ : state) {
        sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(h, "INSERT INTO tblLog (LogDateTime, UserID, Operate) VALUES (?, ?, ?)", -1, &st, nullptr);
        for (int i = 0; i < RowsPerBatch; ++i) {
            sqlite3_reset(st);
            sqlite3_bind_text(st, 1, "2026/12/9 08:00:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, "Admin", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, texts[size_t(i)].constData(), int(texts[size_t(i)].size()), SQLITE_STATIC);
            sqlite3_step(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * RowsPerBatch);
}
BENCHMARK(BM_InsertBareEngine)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    registerTarget({"open_with_key", "BM_OpenWithKey", "", 100.0});
    registerTarget({"bulk_insert_vs_bare_engine", "BM_InsertAdapter", "BM_InsertBareEngine", 2.0});
    return runBenchmarksAndTargets(argc, argv);
}
