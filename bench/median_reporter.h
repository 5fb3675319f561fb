// Console reporter that also keeps each benchmark's median, so that a
// benchmark's main can print ratios between them.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    // Median time per benchmark function name, in the benchmark's unit.
    std::map<std::string, double> medians;
};
