// SPDX-License-Identifier: GPL-3.0-or-later
// bench_python: what the Python module adds to a sweep. BM_Sweep is a "1 ms" sweep of four
// channels on the virtual interface (the baseline); BM_SweepToNumpy is the same sweep turned
// into the module's arrays and metadata; BM_ToNumpy the conversion alone. The conversion
// should cost under 5 % of a sweep: compare BM_SweepToNumpy with BM_Sweep in the same run.
#include <benchmark/benchmark.h>
#include <pybind11/embed.h>

#include <cstdlib>

#include "acquire.h"
#include "qvt2.h"
#include "result.h"
#include "timebase_names.h"

namespace py = pybind11;

namespace {

qvt::TSweepSetup FourChannels() {
  qvt::TSweepSetup setup;
  setup.TimeBase = *qvt::FindTimeBase("1 ms");
  setup.Channels = {true, true, true, true};
  return setup;
}

TQVT2& Device() {
  static TQVT2* device = [] {
    ::setenv("QVTLINK_DEVICE", "sim", 1);
    auto* d = new TQVT2;
    if (!d->OpenPort())
      std::abort();
    return d;
  }();
  return *device;
}

void BM_Sweep(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(qvt::Acquire(Device(), FourChannels()));
}
BENCHMARK(BM_Sweep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SweepToNumpy(benchmark::State& state) {
  for (auto _ : state) {
    qvt::TSweep sweep;
    {
      py::gil_scoped_release release;
      sweep = qvt::Acquire(Device(), FourChannels());
    }
    benchmark::DoNotOptimize(qvt::python::ResultOfSweep(std::move(sweep)));
  }
}
BENCHMARK(BM_SweepToNumpy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ToNumpy(benchmark::State& state) {
  const qvt::TSweep sweep = qvt::Acquire(Device(), FourChannels());
  for (auto _ : state) {
    qvt::TSweep copy = sweep;
    benchmark::DoNotOptimize(qvt::python::ResultOfSweep(std::move(copy)));
  }
}
BENCHMARK(BM_ToNumpy)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
  py::scoped_interpreter python;
  py::module_::import("numpy");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Device().ClosePort();
  return 0;
}
