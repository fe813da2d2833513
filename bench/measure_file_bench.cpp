// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and opening a measurement file of four channels of 16,385 samples, against writing
// and reading the same bytes with one fwrite and one fread in the same run. The save includes
// its fsync and rename; the text alone (no file) is measured too, so that the two costs can be
// told apart. The files go to the temporary folder (TMPDIR). Prints the ratios at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>

#include "measure_file.h"

namespace {

constexpr int kSamples = 16385;

const qvt::TMeasurement& Sweep() {
  static const qvt::TMeasurement m = [] {
    qvt::TMeasurement s;
    s.TimeBase = "10 ms";
    s.SampleRate = 250000;
    for (int k = 0; k < 4; ++k)
      s.Channels.push_back(
          {k, "V" + std::to_string(k + 1), "V", "", 0x0000FF, "15 V", qvt::TMeasureInput::Bnc, {}});
    for (int j = 0; j < kSamples; ++j) {
      s.Time.push_back((j - 500) / s.SampleRate);
      for (int k = 0; k < 4; ++k) // 14-bit codes in volts, as the interface gives them
        s.Channels[k].Values.push_back(
            std::round(8000 * std::sin(2 * std::numbers::pi * (k + 1) * j / 4000.0)) * 30.0 /
            16384);
    }
    return s;
  }();
  return m;
}

std::string FileName(const char* name) {
  return (std::filesystem::temp_directory_path() /
          ("qvt2_bench_" + std::to_string(::getpid()) + "_" + name))
      .string();
}

void BM_SaveMeasureFile(benchmark::State& state) {
  const std::string path = FileName("save.qvtm");
  std::string error;
  for (auto _ : state)
    if (!qvt::WriteMeasureFile(path, Sweep(), error))
      state.SkipWithError(error.c_str());
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveMeasureFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MeasureFileTextOnly(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(qvt::MeasureFileText(Sweep()));
}
BENCHMARK(BM_MeasureFileTextOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FwriteSameBytes(benchmark::State& state) {
  const std::string path = FileName("fwrite.qvtm");
  const std::string text = qvt::MeasureFileText(Sweep());
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::filesystem::remove(path);
}
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenMeasureFile(benchmark::State& state) {
  const std::string path = FileName("open.qvtm");
  std::string error;
  qvt::WriteMeasureFile(path, Sweep(), error);
  for (auto _ : state) {
    qvt::TMeasurement m;
    if (!qvt::ReadMeasureFile(path, m, error))
      state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(m.Channels.back().Values.back());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenMeasureFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FreadSameBytes(benchmark::State& state) {
  const std::string path = FileName("fread.qvtm");
  std::string error;
  qvt::WriteMeasureFile(path, Sweep(), error);
  const auto size = std::filesystem::file_size(path);
  for (auto _ : state) {
    std::string bytes(size, '\0');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_FreadSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's real time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    Ratio("save / fwrite of the same bytes", "BM_SaveMeasureFile/real_time",
          "BM_FwriteSameBytes/real_time");
    Ratio("text alone / fwrite of the same bytes", "BM_MeasureFileTextOnly/real_time",
          "BM_FwriteSameBytes/real_time");
    Ratio("open / fread of the same bytes", "BM_OpenMeasureFile/real_time",
          "BM_FreadSameBytes/real_time");
  }

private:
  void Ratio(const char* what, const std::string& a, const std::string& b) {
    const auto x = times_.find(a);
    const auto y = times_.find(b);
    if (x != times_.end() && y != times_.end() && y->second > 0)
      std::printf("%s: %.1f\n", what, x->second / y->second);
  }
  std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
