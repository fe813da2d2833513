// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of drawing the oscilloscope graph: a whole Paint of four visible channels of 16,385
// samples on a 1060 x 700 picture, the same Paint without traces (background, axes, ticks,
// labels and zero lines only) measured in the same run, and DrawTracesFrom for the last 500
// samples. Prints the ratio of the two paints after the benchmark output.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "canvas.h"
#include "graph_settings.h"
#include "graphe_osc.h"

namespace {

constexpr int kSamples = 16385;
constexpr int kPreTrigger = 500;

struct Scene {
  Scene() : image(1060, 700, QImage::Format_RGB32), canvas(&image), graph(&canvas) {
    const double dt = 1e-5;
    graph.SetSampleCount(kSamples - kPreTrigger);
    graph.FilledCount = kSamples;
    graph.TimeCurve.Mini = -kPreTrigger * dt;
    graph.TimeCurve.Maxi = graph.TimeCurve.Mini + (kSamples - kPreTrigger) * dt;
    const double ranges[] = {5, 15, 1, 0.2};
    for (int i = 0; i < 4; ++i) {
      qvt::TCourbeOsc& c = graph.Curves[i];
      c.Visible = true;
      c.Mini = -ranges[i];
      c.Maxi = ranges[i];
      for (int j = 0; j < kSamples; ++j) {
        graph.TimeCurve.Value[j] = (j - kPreTrigger) * dt;
        c.Value[j] = 0.8 * ranges[i] * std::sin(2 * std::numbers::pi * (i + 1) * j / 4000.0);
      }
    }
    graph.TriggerChannel = 0;
    graph.TriggerLevel = 1;
  }

  QImage image;
  qvt::TCanvas canvas;
  qvt::TgrapheOsc graph;
};

void BM_PaintWithTraces(benchmark::State& state) {
  Scene s;
  qvt::LineWidth = static_cast<int>(state.range(0));
  for (auto _ : state) {
    s.graph.Paint();
    s.canvas.End();
  }
  qvt::LineWidth = 1;
}
BENCHMARK(BM_PaintWithTraces)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_PaintAxesOnly(benchmark::State& state) {
  Scene s;
  s.graph.FilledCount = 0;
  for (auto _ : state) {
    s.graph.Paint();
    s.canvas.End();
  }
}
BENCHMARK(BM_PaintAxesOnly)->Unit(benchmark::kMicrosecond);

void BM_DrawTracesFromLast500(benchmark::State& state) {
  // While an acquisition runs the window starts at the first sample, so that the newest
  // samples lie inside it.
  Scene s;
  s.graph.TimeCurve.Mini = 0;
  s.graph.TimeCurve.Maxi = kSamples * 1e-5;
  s.graph.Paint();
  for (auto _ : state) {
    s.graph.DrawTracesFrom(kSamples - 500);
    s.canvas.End();
  }
}
BENCHMARK(BM_DrawTracesFromLast500)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's real time per iteration for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0)
        continue;
      times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto traces = times_.find("BM_PaintWithTraces/1");
    const auto axes = times_.find("BM_PaintAxesOnly");
    if (traces != times_.end() && axes != times_.end() && axes->second > 0)
      std::printf("Paint with traces / Paint of the axes only: %.2f\n",
                  traces->second / axes->second);
  }

private:
  std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
