#pragma once

#include <string>

// A speed or memory target checked after the benchmarks ran: either one benchmark's
// time against a limit, or the ratio of two benchmarks' times against a limit.
struct BenchTarget
{
    std::string name;
    std::string numerator;    // benchmark name (as reported)
    std::string denominator;  // empty: absolute time in ms
    double limit;
};

void registerTarget(const BenchTarget &target);

// A target measured outside Google Benchmark (memory, say): printed with the others.
void reportTarget(const std::string &name, double measured, double limit, const std::string &unit = "");

// Runs every registered benchmark, then prints one line per target:
// "TARGET <name> <measured> <limit> PASS|FAIL". Returns non-zero when one failed.
int runBenchmarksAndTargets(int argc, char **argv);
