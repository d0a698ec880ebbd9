// A console reporter that keeps each benchmark's fastest time per iteration
// (or its median, when only aggregates are reported) for ratio lines.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include <unistd.h>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type != Run::RT_Iteration && !median) continue;
            const double s = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
            auto [it, fresh] = best_.try_emplace(r.run_name.function_name, s);
            if (median || s < it->second) it->second = s;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // seconds per iteration of a benchmark, 0 when it did not run
    double seconds(const std::string& name) const {
        auto it = best_.find(name);
        return it == best_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> best_;
};
