// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the measurements and of the spectrum, each against a baseline in the same run: all
// measurements of four 16,385-sample channels (goal under 1 ms) against one pass summing the
// samples, and a windowed 16,384-point spectrum with magnitudes (goal under 0.3 ms) against
// FFTW's execution of the same plan alone. Prints the best times and the ratios at the end.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "best_times.h"
#include "fourier.h"
#include "measurer.h"
#include "signals.h"

namespace {

using qvt::analysis::testing::Sweep;
using qvt::analysis::testing::Wave;

constexpr std::size_t kSweep = 16385;
constexpr std::size_t kTransform = 16384;
constexpr double kSamplePeriod = 1e-5;

// The virtual interface's default inputs over one 0.16 s sweep: the generator's 200 Hz sine,
// the 50 Hz sine, the 1 kHz square and the slow triangle, with their noise.
std::array<std::vector<double>, 4> Channels() {
  const double span = kSamplePeriod * kSweep;
  const Sweep sweeps[] = {
      {Wave::kSine, 200, 1, 0, 0.5, 0, 200 * span, kSweep},
      {Wave::kSine, 50, 2, 0, 0.5, 0, 50 * span, kSweep},
      {Wave::kSquare, 1000, 1, 0, 0.5, 0, 1000 * span, kSweep},
      {Wave::kTriangle, 0.05, 5, 0, 0.5, 0.1, 0.05 * span, kSweep},
  };
  std::array<std::vector<double>, 4> x;
  for (std::size_t c = 0; c < x.size(); ++c)
    x[c] = sweeps[c].Make();
  return x;
}

void SumBaseline(benchmark::State& state) {
  const auto x = Channels();
  for (auto _ : state) {
    double sum = 0;
    for (const auto& channel : x)
      sum = std::accumulate(channel.begin(), channel.end(), sum);
    benchmark::DoNotOptimize(sum);
  }
}

void MeasureAll(benchmark::State& state) {
  const auto x = Channels();
  std::array<qvt::analysis::ChannelInput, 4> in;
  for (std::size_t c = 0; c < in.size(); ++c)
    in[c] = {x[c], kSamplePeriod, -10, 10, false, false};
  std::array<qvt::analysis::Measurements, 4> out;
  qvt::analysis::Measurer measurer;
  for (auto _ : state) {
    measurer.Measure(in, 1, out);
    benchmark::DoNotOptimize(out);
  }
}

void PlanExecution(benchmark::State& state) {
  double* in = fftw_alloc_real(kTransform);
  fftw_complex* out = fftw_alloc_complex(kTransform / 2 + 1);
  const fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(kTransform), in, out, FFTW_ESTIMATE);
  const auto x = Channels();
  std::copy_n(x[1].begin(), kTransform, in);
  for (auto _ : state) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
  fftw_free(out);
  fftw_free(in);
}

void WindowedSpectrum(benchmark::State& state) {
  const auto x = Channels();
  const std::span<const double> samples(x[1].data(), kTransform);
  qvt::analysis::Spectrum spectrum;
  spectrum.SetAveraging(8);
  for (auto _ : state) {
    spectrum.Compute(samples, kSamplePeriod);
    benchmark::DoNotOptimize(spectrum.Magnitudes().data());
  }
}

void Summary(qvt::bench::TBestTimes& best) {
  const double sum = best["SumBaseline"], measure = best["MeasureAll"];
  const double plan = best["PlanExecution"], spectrum = best["WindowedSpectrum"];
  std::printf("\nbest processor time (us) and ratios\n");
  std::printf("measurements of 4 x %zu samples: %8.1f us (goal < 1000), %6.1f x the summing pass "
              "(%.1f us)\n",
              kSweep, measure, measure / sum, sum);
  std::printf("windowed %zu-point spectrum:      %8.1f us (goal < 300),  %6.2f x the plan "
              "execution (%.1f us)\n",
              kTransform, spectrum, spectrum / plan, plan);
}

} // namespace

int main(int argc, char** argv) {
  return qvt::bench::RunWithBestTimes(argc, argv,
                                      {{"SumBaseline", SumBaseline},
                                       {"MeasureAll", MeasureAll},
                                       {"PlanExecution", PlanExecution},
                                       {"WindowedSpectrum", WindowedSpectrum}},
                                      benchmark::kMicrosecond, Summary);
}
