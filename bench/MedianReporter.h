#pragma once
// The console reporter of the benchmark programs that print ratio lines: it keeps the
// median of every benchmark's repetitions (or its single run) by run name, and writes
// terminal colour codes only when standard output is a terminal, so that the ratio
// lines of `make bench` read cleanly in a file or a pipe.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
  public:
    MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        // Repetitions come before their aggregates: the median replaces them.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            cpu[run.run_name.str()] = run.GetAdjustedCPUTime();
            real[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    /// The median CPU time of the run name, or NaN when it did not run.
    double cpuTime(const std::string& name) const { return find(cpu, name); }
    /// The median real time of the run name, or NaN when it did not run.
    double realTime(const std::string& name) const { return find(real, name); }

  private:
    static double find(const std::map<std::string, double>& times, const std::string& name) {
        auto it = times.find(name);
        return it == times.end() ? NAN : it->second;
    }
    std::map<std::string, double> cpu;
    std::map<std::string, double> real;
};
