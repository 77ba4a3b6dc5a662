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
            const double ms = run.GetAdjustedRealTime(); // the programs report milliseconds
            const std::string& name = run.run_name.function_name;
            const auto found = m_fastest.find(name);
            if (found == m_fastest.end() || ms < found->second)
                m_fastest[name] = ms;
        }
    }

protected:
    // Milliseconds, 0 when the benchmark did not run.
    double fastest(const std::string& name) const
    {
        const auto found = m_fastest.find(name);
        return found == m_fastest.end() ? 0.0 : found->second;
    }
    const std::map<std::string, double>& all() const { return m_fastest; }

private:
    std::map<std::string, double> m_fastest;
};
