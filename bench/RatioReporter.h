#pragma once
// A console reporter that keeps the real and CPU time of every run by name (the median when
// repetitions are asked for) and, at the end, prints the ratios a benchmark program names against
// their goals.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace terravel::bench {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  // `ratios` runs at the end and calls Ratio for each figure.
  TRatioReporter(std::string heading, std::function<void(TRatioReporter&)> ratios)
      // Colours only on a terminal, as the default reporter does.
      : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular),
        heading_(std::move(heading)),
        ratios_(std::move(ratios)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      // In seconds: the benchmarks report in different units.
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      times_[run.run_name.str()] = {run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
      if (median) medians_ = true;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%s (%s; real time, and CPU time of the measuring thread):\n", heading_.c_str(),
                medians_ ? "medians" : "single runs");
    ratios_(*this);
  }

  // One figure: the run `over` against the run `under`, and whether it stays under the goal.
  void Ratio(const char* figure, const std::string& over, const std::string& under, double goal) {
    const auto a = times_.find(over), b = times_.find(under);
    if (a == times_.end() || b == times_.end()) {
      std::printf("  %-44s not measured in this run\n", figure);
      return;
    }
    const double ratio = a->second.first / b->second.first, cpu = a->second.second / b->second.second;
    std::printf("  %-44s %8.4fx  CPU %8.4fx  (goal under %.2fx: %s)\n", figure, ratio, cpu, goal,
                ratio < goal ? "met" : "NOT met");
  }

 private:
  std::string heading_;
  std::function<void(TRatioReporter&)> ratios_;
  std::map<std::string, std::pair<double, double>> times_;  // real, CPU
  bool medians_ = false;
};

// A benchmark program's main: runs what the arguments select and prints its ratios at the end.
inline int RunBenchmarks(int argc, char** argv, std::string heading,
                         std::function<void(TRatioReporter&)> ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter(std::move(heading), std::move(ratios));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace terravel::bench
