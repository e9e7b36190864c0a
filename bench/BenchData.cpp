#include "BenchData.h"

#include "ConnectionString.h"
#include "DemoData.h"
#include "NewDatabase.h"

#include <QDir>
#include <QFile>
#include <cstdio>

QString benchDatabase(int scale)
{
    const QString folder = QString::fromLocal8Bit(QLM_BENCH_DATA);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/demo-scale%1.qdb").arg(scale);
    if (QFile::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    std::fprintf(stderr, "making benchmark data at scale %d ...\n", scale);
    {
        auto db = NewDatabase::create(partial);
        DemoData::add(*db, scale, QDate(2026, 12, 9));
    }
    QFile::rename(partial, path);
    return path;
}
