// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the expression evaluator on the arbitrary-wave formulas: a table of 16,000 samples
// computed as the synthesis does it (t set, Value read), against muparser and against the same
// formulas written in C++, all in one run. Prints a table of nanoseconds per evaluation and the
// ratios after the benchmark output.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>

#include "parser.h"

namespace {

constexpr int kSamples = 16000;
constexpr double kStep = 1.0 / kSamples;
constexpr double kPi = std::numbers::pi;

// The hand-written formulas, as types so that each loop inlines its formula.
struct Linear {
  static double F(double t) { return t * 5; }
};
struct Sine {
  static double F(double t) { return 5 * std::sin(2 * kPi * t); }
};
struct Damped {
  static double F(double t) { return 10 * std::exp(-5 * t) * std::sin(20 * kPi * t); }
};
struct Quadratic {
  static double F(double t) { return 2 * t * t - 3 * t + 1; }
};
struct Clipped {
  static double F(double t) { return std::max(-5.0, std::min(5.0, 20 * (t - 0.5))); }
};
struct Rectified {
  static double F(double t) { return std::sqrt(std::fabs(std::sin(6.283185307 * t))); }
};

// Each run fills a table of the values, as the synthesis fills its samples: a running sum
// would instead time the chain of additions through memory around each call.
double table[kSamples];

template <class Native> void RunNative(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < kSamples; ++i)
      table[i] = Native::F(i * kStep);
    benchmark::DoNotOptimize(table);
    benchmark::ClobberMemory();
  }
}

struct Formula {
  const char* text;     // for TParser
  const char* muparser; // the same formula in muparser's syntax
  void (*native)(benchmark::State&);
};

const Formula kFormulas[] = {
    {"t*5", "t*5", RunNative<Linear>},
    {"5*SIN(2*PI*t)", "5*sin(2*_pi*t)", RunNative<Sine>},
    {"10*EXP(-5*t)*SIN(20*PI*t)", "10*exp(-5*t)*sin(20*_pi*t)", RunNative<Damped>},
    {"2*t^2-3*t+1", "2*t^2-3*t+1", RunNative<Quadratic>},
    {"MAX(-5,MIN(5,20*(t-0.5)))", "max(-5,min(5,20*(t-0.5)))", RunNative<Clipped>},
    {"SQRT(ABS(SIN(6.283185307*t)))", "sqrt(abs(sin(6.283185307*t)))", RunNative<Rectified>},
};

void RunTParser(benchmark::State& state, const Formula* formula) {
  qvt::TParser parser;
  parser.SetExpression(formula->text);
  for (auto _ : state) {
    for (int i = 0; i < kSamples; ++i) {
      parser.T = i * kStep;
      table[i] = parser.Value();
    }
    benchmark::DoNotOptimize(table);
    benchmark::ClobberMemory();
  }
}

void RunMuparser(benchmark::State& state, const Formula* formula) {
  mu::Parser parser;
  double t = 0;
  parser.DefineVar("t", &t);
  parser.SetExpr(formula->muparser);
  for (auto _ : state) {
    for (int i = 0; i < kSamples; ++i) {
      t = i * kStep;
      table[i] = parser.Eval();
    }
    benchmark::DoNotOptimize(table);
    benchmark::ClobberMemory();
  }
}

// Keeps the best processor time per evaluation of every benchmark (the least disturbed
// repetition on a shared machine) and prints the comparison at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred)
        continue;
      const double nanos = run.GetAdjustedCPUTime() * 1e9 /
                           benchmark::GetTimeUnitMultiplier(run.time_unit) / kSamples;
      auto [entry, added] = best_.try_emplace(run.run_name.function_name, nanos);
      if (!added)
        entry->second = std::min(entry->second, nanos);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nns of processor time per evaluation (best of the repetitions) and ratios\n");
    std::printf("%-32s %9s %9s %9s %12s %12s\n", "formula", "TParser", "muparser", "C++",
                "TP/muparser", "TP/C++");
    for (size_t i = 0; i < std::size(kFormulas); ++i) {
      const double ours = Best("TParser", i), theirs = Best("muparser", i), native = Best("cpp", i);
      std::printf("%-32s %9.2f %9.2f %9.2f %12.2f %12.2f\n", kFormulas[i].text, ours, theirs,
                  native, ours / theirs, ours / native);
    }
  }

private:
  double Best(const char* evaluator, size_t formula) const {
    auto found = best_.find(std::string(evaluator) + "/" + std::to_string(formula));
    return found == best_.end() ? std::nan("") : found->second;
  }

  std::map<std::string, double> best_;
};

} // namespace

int main(int argc, char** argv) {
  for (size_t i = 0; i < std::size(kFormulas); ++i) {
    const Formula* formula = &kFormulas[i];
    const std::string index = std::to_string(i);
    benchmark::RegisterBenchmark(("TParser/" + index).c_str(), RunTParser, formula)
        ->Repetitions(5)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("muparser/" + index).c_str(), RunMuparser, formula)
        ->Repetitions(5)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("cpp/" + index).c_str(), formula->native)
        ->Repetitions(5)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
