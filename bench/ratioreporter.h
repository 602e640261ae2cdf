#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Keeps the time per iteration of each benchmark so that the ratios between them can be
// printed once they all ran.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                secondsPerIteration[run.benchmark_name()] =
                    run.real_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> secondsPerIteration;
};

// Runs the benchmarks the command line asks for; the seconds per iteration of each, by name.
inline std::map<std::string, double> runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.secondsPerIteration;
}
