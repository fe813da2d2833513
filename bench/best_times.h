// SPDX-License-Identifier: GPL-3.0-or-later
// The ending the ratio benches share: each benchmark run with repetitions, its best processor
// time kept (the least disturbed repetition on a shared machine), and a summary printed from
// those times at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qvt::bench {

// Best processor time of each benchmark by name, in units of 1 / perSecond seconds.
using TBestTimes = std::map<std::string, double>;

class TBestTimeReporter : public benchmark::ConsoleReporter {
public:
  TBestTimeReporter(double perSecond, std::function<void(TBestTimes&)> summary)
      : PerSecond(perSecond), Summary(std::move(summary)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred)
        continue;
      const double time =
          run.GetAdjustedCPUTime() * PerSecond / benchmark::GetTimeUnitMultiplier(run.time_unit);
      auto [entry, added] = Best.try_emplace(run.run_name.function_name, time);
      if (!added)
        entry->second = std::min(entry->second, time);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    Summary(Best);
  }

private:
  double PerSecond;
  std::function<void(TBestTimes&)> Summary;
  TBestTimes Best;
};

struct TBench {
  const char* Name;
  void (*Function)(benchmark::State&);
};

// Registers `benches` with five repetitions each in `unit`, runs them under the command line's
// options and prints `summary` of their best times in that unit. The program's exit status.
inline int RunWithBestTimes(int argc, char** argv, std::initializer_list<TBench> benches,
                            benchmark::TimeUnit unit, std::function<void(TBestTimes&)> summary) {
  for (const TBench& b : benches)
    benchmark::RegisterBenchmark(b.Name, b.Function)->Repetitions(5)->Unit(unit);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  TBestTimeReporter reporter(benchmark::GetTimeUnitMultiplier(unit), std::move(summary));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

} // namespace qvt::bench
