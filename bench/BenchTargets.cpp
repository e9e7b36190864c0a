#include "BenchTargets.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <vector>

namespace {

std::vector<BenchTarget> &targets()
{
    static std::vector<BenchTarget> list;
    return list;
}

struct Direct
{
    std::string name;
    double measured;
    double limit;
    std::string unit;
};

std::vector<Direct> &directs()
{
    static std::vector<Direct> list;
    return list;
}

// Keeps the real time per iteration (ms) of every run (the median of repeated runs)
// while printing as usual.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    CollectingReporter() : ConsoleReporter(OO_Tabular) {}  // no colour codes: the TARGET lines are grepped
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.run_name.function_name] = run.GetAdjustedRealTime() * multiplier(run.time_unit);
            // With repetitions the median follows the single runs and is the figure kept.
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedRealTime() * multiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;

private:
    static double multiplier(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond: return 1e-6;
        case benchmark::kMicrosecond: return 1e-3;
        case benchmark::kMillisecond: return 1.0;
        default: return 1e3;
        }
    }
};

}  // namespace

void registerTarget(const BenchTarget &target)
{
    targets().push_back(target);
}

void reportTarget(const std::string &name, double measured, double limit, const std::string &unit)
{
    directs().push_back({name, measured, limit, unit});
}

int runBenchmarksAndTargets(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    int failed = 0;
    for (const BenchTarget &t : targets()) {
        const auto num = reporter.times.find(t.numerator);
        const auto den = reporter.times.find(t.denominator);
        if (num == reporter.times.end() || (!t.denominator.empty() && den == reporter.times.end()))
            continue;  // filtered out of this run
        if (t.denominator.empty()) {
            const bool pass = num->second <= t.limit;
            std::printf("TARGET %s %.2fms %.2fms %s\n", t.name.c_str(), num->second, t.limit, pass ? "PASS" : "FAIL");
            failed += pass ? 0 : 1;
        } else {
            const double ratio = num->second / den->second;
            const bool pass = ratio <= t.limit;
            std::printf("TARGET %s %.3f %.3f %s\n", t.name.c_str(), ratio, t.limit, pass ? "PASS" : "FAIL");
            failed += pass ? 0 : 1;
        }
    }
    for (const Direct &d : directs()) {
        const bool pass = d.measured <= d.limit;
        std::printf("TARGET %s %.3f%s %.3f%s %s\n", d.name.c_str(), d.measured, d.unit.c_str(), d.limit, d.unit.c_str(),
                    pass ? "PASS" : "FAIL");
        failed += pass ? 0 : 1;
    }
    std::fflush(stdout);
    return failed ? 1 : 0;
}
