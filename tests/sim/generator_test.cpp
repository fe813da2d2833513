// SPDX-License-Identifier: GPL-3.0-or-later
// The generator output G0, observed on Y0 (wired to it in the default scene): playback rate for
// each clock index, the code-to-volts law, load-only start, stop and reload.
#include <gtest/gtest.h>

#include <cmath>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

constexpr int64_t kMs = 1'000'000;

// Y0 sampled at 250 kHz for 60 ms, or (slow) at 1 kHz for 3 s.
std::vector<double> RecordY0(SimHost& host, bool slow = false) {
  Acquisition a;
  a.clockSelect = slow ? 1 : 0;
  a.reload = slow ? 56 : 232;
  a.prescaler = slow ? 10 : 1;
  host.Start(a);
  const auto words = slow ? host.Collect(3000 * kMs, 50 * kMs) : host.Collect(60 * kMs, 5 * kMs);
  std::vector<double> volts;
  for (uint16_t w : words)
    volts.push_back(SignedCode(w) * 30.0 / 16384);
  return volts;
}

// Frequency from the first and last rising zero crossings.
double MeasuredFrequency(const std::vector<double>& v, double sampleRate) {
  long first = -1, last = -1, edges = 0;
  for (size_t i = 1; i < v.size(); ++i)
    if (v[i - 1] < 0 && v[i] >= 0) {
      if (first < 0)
        first = static_cast<long>(i);
      last = static_cast<long>(i);
      ++edges;
    }
  if (edges < 2)
    return 0;
  return (edges - 1) * sampleRate / static_cast<double>(last - first);
}

std::vector<uint16_t> Square(size_t points) {
  std::vector<uint16_t> t(points);
  for (size_t i = 0; i < points; ++i)
    t[i] = i < points / 2 ? 16383 : 0; // -10 V then +10 V
  return t;
}

TEST(GeneratorTest, PlaybackRateFollowsClockIndexPointsAndTimer) {
  struct Case {
    uint8_t clockIndex;
    uint16_t timer;
    size_t points;
    double hertz;
  };
  const Case cases[] = {
      {0, 0, 4800, 10000},       // 48 MHz / 4800
      {0, 65000, 9600, 5000},    // clock 0 ignores the timer
      {1, 65535, 4000, 3000},    // 12 MHz / 4000
      {1, 65530, 4000, 500},     // 12 MHz / (4000 * 6)
      {2, 65535, 5714, 700.035}, // 4 MHz / 5714
      {2, 65534, 8000, 250},     // 4 MHz / (8000 * 2)
      {2, 65500, 15873, 7.0},    // 4 MHz / (15873 * 36)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hertz);
    SimHost host;
    host.StartGenerator(Square(c.points), c.clockIndex, c.timer);
    const bool slow = c.hertz < 20;
    const auto v = RecordY0(host, slow);
    ASSERT_GT(v.size(), slow ? 2900u : 14000u);
    EXPECT_NEAR(MeasuredFrequency(v, slow ? 1000 : 250000), c.hertz, c.hertz * 0.005);
  }
}

TEST(GeneratorTest, CodesMapToVoltsFallingAsTheCodeRises) {
  struct Case {
    uint16_t code;
    double volts;
  };
  for (const Case c : {Case{8192, 0.0}, Case{8192 - 819, 0.99976}, Case{8192 + 4096, -5.0},
                       Case{0, 10.0}, Case{16383, -9.99878}}) {
    SCOPED_TRACE(c.code);
    SimHost host;
    host.StartGenerator({c.code}, 0, 0);
    const auto v = RecordY0(host);
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v[100], c.volts, 30.0 / 16384);
  }
}

TEST(GeneratorTest, LoadOnlyStartHoldsTheOutputUntilPlayAndStopReturnsToZero) {
  SimHost host;
  host.StartGenerator({4096}, 0, 0, /*play=*/false); // +5 V when playing
  EXPECT_NEAR(RecordY0(host).at(10), 0.0, 0.01);
  host.Write(kPipeCommand, {kCmdGeneratorPlay, 0, 0, 0, 0});
  EXPECT_NEAR(RecordY0(host).at(10), 5.0, 0.01);
  host.Write(kPipeCommand, {kCmdGeneratorStop});
  EXPECT_NEAR(RecordY0(host).at(10), 0.0, 0.01);
  host.Write(kPipeCommand, {kCmdGeneratorPlay, 0, 0, 0, 0});
  EXPECT_NEAR(RecordY0(host).at(10), 5.0, 0.01);
  // A new table stops the old one.
  host.Write(kPipeCommand, {kCmdGeneratorBegin});
  EXPECT_NEAR(RecordY0(host).at(10), 0.0, 0.01);
}

} // namespace
} // namespace qvt::sim::testing
