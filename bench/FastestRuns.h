#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

// The console table, and each benchmark's fastest run (or its median, when only the
// repetitions' summary is shown), so that a busy moment of the machine does not count. The
// programs print their ratios from it when the run ends.
class FastestRuns : public benchmark::ConsoleReporter {
public:
    FastestRuns()
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool single = run.run_type == Run::RT_Iteration;
            if (!single && run.aggregate_name != "median")
                continue;
            // the programs report milliseconds
            keepLower(m_fastest, run.run_name.function_name, run.GetAdjustedRealTime());
            keepLower(m_fastestCpu, run.run_name.function_name, run.GetAdjustedCPUTime());
        }
    }

protected:
    // Milliseconds, 0 when the benchmark did not run.
    double fastest(const std::string& name) const { return of(m_fastest, name); }
    double fastestCpu(const std::string& name) const { return of(m_fastestCpu, name); }
    const std::map<std::string, double>& all() const { return m_fastest; }

private:
    using Times = std::map<std::string, double>;
    static void keepLower(Times& times, const std::string& name, double ms)
    {
        const auto found = times.find(name);
        if (found == times.end() || ms < found->second)
            times[name] = ms;
    }
    static double of(const Times& times, const std::string& name)
    {
        const auto found = times.find(name);
        return found == times.end() ? 0.0 : found->second;
    }

    Times m_fastest;
    Times m_fastestCpu;
};

// What each program's main does once its application object is made: reads the benchmark
// flags, runs with `reporter` and shuts down. Returns the exit code.
inline int runBenchmarks(int argc, char** argv, FastestRuns& reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
