// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the fit against a baseline in the same run: a damped sine of 16,385 noisy samples
// fitted from the automatic start as the built-in model (goal under 20 ms) and as a formula
// of the evaluator from the same start (goal under 100 ms), against one pass of the built-in
// model over the samples. Prints the best times and the ratios at the end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "best_times.h"
#include "fit.h"

namespace {

using namespace qvt::analysis;

constexpr std::size_t kSamples = 16385;
constexpr double kSamplePeriod = 1e-5;

struct Data {
  std::vector<double> t, y;
};

// 4 V at 300 Hz decaying in 40 ms, 50 mV of noise, over 0.16 s.
const Data& Samples() {
  static const Data data = [] {
    Data d;
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0, 0.05);
    for (std::size_t i = 0; i < kSamples; ++i) {
      const double t = static_cast<double>(i) * kSamplePeriod;
      d.t.push_back(t);
      d.y.push_back(4 * std::exp(-t / 0.04) * std::sin(2 * std::numbers::pi * 300 * t + 0.4) + 0.1 +
                    noise(random));
    }
    return d;
  }();
  return data;
}

FitRequest Request(FitModelSpec model) {
  FitRequest r;
  r.x = Samples().t;
  r.y = Samples().y;
  r.model = std::move(model);
  return r;
}

const FitModelSpec kBuiltin{FitModel::kDampedSine, 3, {}};
const FitModelSpec kFormula{FitModel::kExpression, 3, "A*EXP(-t/tau)*SIN(2*PI*f*t+phi)+B"};

void ModelPass(benchmark::State& state) {
  const std::vector<double> p{4, 0.04, 300, 0.4, 0.1};
  std::vector<double> out(kSamples);
  for (auto _ : state) {
    FitModelValues(kBuiltin, p, Samples().t, out);
    benchmark::DoNotOptimize(out.data());
  }
}

// Fits the request over and over, with its iterations and passes of the model as counters.
void Fits(benchmark::State& state, const FitRequest& request) {
  FitResult r;
  for (auto _ : state) {
    r = Fit(request);
    if (!r.Ok())
      state.SkipWithError(r.message.c_str());
  }
  state.counters["iterations"] = r.iterations;
  state.counters["passes"] = r.evaluations;
}

void FitBuiltin(benchmark::State& state) {
  Fits(state, Request(kBuiltin));
}

void FitFormula(benchmark::State& state) {
  // The formula starts where the built-in model's automatic start lies.
  FitOptions startOnly;
  startOnly.maxIterations = 0;
  FitRequest request = Request(kFormula);
  for (const FitParameter& p : Fit(Request(kBuiltin), startOnly).parameters)
    request.start.push_back({p.name, p.value});
  Fits(state, request);
}

void Summary(qvt::bench::TBestTimes& best) {
  const double pass = best["ModelPass"], builtin = best["FitBuiltin"], formula = best["FitFormula"];
  std::printf("\nbest processor time (ms) and ratios, damped sine of %zu samples\n", kSamples);
  std::printf("built-in model: %7.2f ms (goal < 20),  %6.1f x one pass of the model (%.3f ms)\n",
              builtin, builtin / pass, pass);
  std::printf("formula:        %7.2f ms (goal < 100), %6.1f x one pass of the model\n", formula,
              formula / pass);
}

} // namespace

int main(int argc, char** argv) {
  return qvt::bench::RunWithBestTimes(
      argc, argv,
      {{"ModelPass", ModelPass}, {"FitBuiltin", FitBuiltin}, {"FitFormula", FitFormula}},
      benchmark::kMillisecond, Summary);
}
