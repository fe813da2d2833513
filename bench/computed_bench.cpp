// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the computed quantities: eight of them (five formulas, a derivative, an integral and
// a smoothing) over 16,385-sample channels (goal under 5 ms), against one evaluation pass of a
// formula alone over the same samples as the baseline. Prints the best times and the ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "best_times.h"
#include "computed.h"
#include "parser.h"
#include "signals.h"

namespace {

using namespace qvt::analysis;
using testing::Sweep;
using testing::Wave;

constexpr std::size_t kSweep = 16385;
constexpr double kSamplePeriod = 1e-5;

// The 50 Hz sine and the 200 Hz sine of the virtual interface, with their noise.
std::array<std::vector<double>, 2> Channels() {
  const double span = kSamplePeriod * kSweep;
  return {Sweep{Wave::kSine, 50, 2, 0, 0.5, 0, 50 * span, kSweep}.Make(),
          Sweep{Wave::kSine, 200, 1, 0, 0.5, 0, 200 * span, kSweep}.Make()};
}

void FormulaAlone(benchmark::State& state) {
  const auto x = Channels();
  qvt::TParser parser;
  double& u = parser.DefineVariable("U");
  double& i = parser.DefineVariable("I");
  parser.SetExpression("U*I/100");
  std::vector<double> out(kSweep);
  for (auto _ : state) {
    for (std::size_t k = 0; k < kSweep; ++k) {
      u = x[0][k];
      i = x[1][k];
      out[k] = parser.Value();
    }
    benchmark::DoNotOptimize(out.data());
  }
}

ComputedDefinition Of(ComputedKind kind, const char* name, const char* what) {
  ComputedDefinition d;
  d.kind = kind;
  d.name = name;
  (kind == ComputedKind::kFormula ? d.formula : d.source) = what;
  return d;
}

void EightQuantities(benchmark::State& state) {
  const auto x = Channels();
  const std::array<ComputedChannel, 4> channels{{{"U", "V"}, {"I", "A"}, {}, {}}};
  const std::array<ComputedConstant, 1> constants{{{"R", 100, "\x9D"}}};
  const std::vector<ComputedDefinition> definitions{
      Of(ComputedKind::kFormula, "Ir", "U/R"),
      Of(ComputedKind::kFormula, "P", "U*I"),
      Of(ComputedKind::kFormula, "E", "U*U/R"),
      Of(ComputedKind::kFormula, "S", "SQRT(SQR(U)+SQR(I))"),
      Of(ComputedKind::kFormula, "A", "EXP(-t/0.01)*U"),
      Of(ComputedKind::kDerivative, "dU", "U"),
      Of(ComputedKind::kIntegral, "Q", "I"),
      Of(ComputedKind::kSmoothing, "Ul", "U")};
  ComputedModel model;
  if (const auto error = model.Define(channels, constants, definitions)) {
    state.SkipWithError(error->message.c_str());
    return;
  }
  const std::array<std::span<const double>, 2> in{x[0], x[1]};
  ComputedInput input;
  input.samples = kSweep;
  input.channels = in;
  input.dt = kSamplePeriod;
  for (auto _ : state) {
    model.Compute(input);
    benchmark::DoNotOptimize(model.Values(7).data());
  }
}

void Summary(qvt::bench::TBestTimes& best) {
  const double alone = best["FormulaAlone"], eight = best["EightQuantities"];
  std::printf("\nbest processor time (us) and ratio\n");
  std::printf("8 computed quantities over %zu samples: %8.1f us (goal < 5000), %5.1f x one "
              "formula's pass (%.1f us)\n",
              kSweep, eight, eight / alone, alone);
}

} // namespace

int main(int argc, char** argv) {
  return qvt::bench::RunWithBestTimes(
      argc, argv, {{"FormulaAlone", FormulaAlone}, {"EightQuantities", EightQuantities}},
      benchmark::kMicrosecond, Summary);
}
