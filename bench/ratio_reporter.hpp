// A console reporter that keeps each benchmark's fastest wall and CPU time
// per iteration (or their medians, when only aggregates are reported) for
// ratio lines, and the range of its repetitions' wall times.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
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
            const double unit = benchmark::GetTimeUnitMultiplier(r.time_unit);
            keep(best_, r.run_name.function_name, r.GetAdjustedRealTime() / unit, median);
            keep(best_cpu_, r.run_name.function_name, r.GetAdjustedCPUTime() / unit, median);
            if (!median) runs_[r.run_name.function_name].push_back(r.GetAdjustedRealTime() / unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // seconds per iteration of a benchmark, 0 when it did not run
    double seconds(const std::string& name) const { return find(best_, name); }
    // CPU seconds (user and system) per iteration, 0 when it did not run
    double cpu_seconds(const std::string& name) const { return find(best_cpu_, name); }

    // the fastest and the slowest repetition, in seconds; 0, 0 when it did not run
    std::pair<double, double> range(const std::string& name) const {
        auto it = runs_.find(name);
        if (it == runs_.end() || it->second.empty()) return {0.0, 0.0};
        const auto [lo, hi] = std::minmax_element(it->second.begin(), it->second.end());
        return {*lo, *hi};
    }

private:
    using Times = std::map<std::string, double>;
    static void keep(Times& times, const std::string& name, double s, bool median) {
        auto [it, fresh] = times.try_emplace(name, s);
        if (median || s < it->second) it->second = s;
    }
    static double find(const Times& times, const std::string& name) {
        auto it = times.find(name);
        return it == times.end() ? 0.0 : it->second;
    }
    Times best_, best_cpu_;
    std::map<std::string, std::vector<double>> runs_;
};
