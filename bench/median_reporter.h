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
        for (const Run& r : runs) {
            if (r.aggregate_name != "median") continue;
            medians[r.run_name.function_name] = r.GetAdjustedRealTime();
            auto server = r.counters.find("server_cpu");
            if (server != r.counters.end())
                cpu_with_server[r.run_name.function_name] =
                    r.GetAdjustedCPUTime() + server->second * 1e6;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Median time per benchmark function name, in the benchmark's unit.
    std::map<std::string, double> medians;
    // For benchmarks that count their server's CPU seconds per iteration as
    // "server_cpu": median CPU time of client and server added up, in us.
    std::map<std::string, double> cpu_with_server;
};
