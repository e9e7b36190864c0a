#pragma once

#include <QString>

// Demo databases for benchmarks, made once by the same code as `qlmdb demo` and kept
// under the build folder (QLM_BENCH_DATA) so later runs start at once.
// scale 1: 100 customers, 1,000 log rows; scale 1000: 100,000 customers, 1,000,000 log rows.
QString benchDatabase(int scale);
