// SPDX-License-Identifier: GPL-3.0-or-later
// Measurements on synthetic sweeps like the virtual interface's (50 Hz sine, 1 kHz square,
// slow triangle, with noise and converter steps), on bad input, on clipped sweeps, and the
// delay and phase between channels.
#include <gtest/gtest.h>

#include <random>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "measurer.h"
#include "signals.h"

namespace qvt::analysis {
namespace {

using testing::Sweep;
using testing::Wave;

// The sweep's samples, clipped where the converter's ends were reached (as a device tells).
ChannelInput Input(const Sweep& s, const std::vector<double>& x) {
  const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
  return {x,
          s.SamplePeriod(),
          s.rangeMin,
          s.rangeMax,
          !x.empty() && *lo <= s.rangeMin,
          !x.empty() && *hi >= s.rangeMax};
}

void ExpectWithin(const std::optional<double>& value, double expected, double relative,
                  const std::string& what) {
  ASSERT_TRUE(value.has_value()) << what;
  EXPECT_NEAR(*value, expected, std::fabs(expected) * relative) << what;
}

TEST(Measurer, PeriodicWavesReadTheirFrequencyLevelsAndEdges) {
  struct Case {
    const char* name;
    Sweep sweep;
    double vpp;
    double rms;
    double amplitude;
    double rise; // share of a period; 0: not checked
  };
  const double sqrt2 = std::sqrt(2.0);
  const double sqrt3 = std::sqrt(3.0);
  const Case cases[] = {
      {"sine 50 Hz", {Wave::kSine, 50, 2, 0, 0.5, 0.1, 5.3}, 4, 2 / sqrt2, 4, 0.29517},
      {"sine with offset",
       {Wave::kSine, 50, 2, 1, 0.5, 0.6, 12.7},
       4,
       std::sqrt(1 + 2.0),
       4,
       0.29517},
      {"square 1 kHz", {Wave::kSquare, 1000, 1, 0, 0.5, 0.3, 7.7}, 2, 1, 2, 0},
      {"triangle 0.05 Hz",
       {Wave::kTriangle, 0.05, 5, 0, 0.5, 0.2, 5.2, 16385},
       10,
       5 / sqrt3,
       10,
       0.4},
  };
  Measurer measurer;
  for (const Case& c : cases) {
    const std::vector<double> x = c.sweep.Make();
    const Measurements m = measurer.Measure(Input(c.sweep, x));
    const std::string name = c.name;
    EXPECT_FALSE(m.saturated) << name;
    ExpectWithin(m.frequency, c.sweep.frequency, 0.001, name + " f");
    ExpectWithin(m.peakToPeak, c.vpp, 0.01, name + " vpp");
    ExpectWithin(m.rms, c.rms, 0.01, name + " rms");
    ExpectWithin(m.amplitude, c.amplitude, 0.01, name + " amplitude");
    ASSERT_TRUE(m.mean) << name;
    EXPECT_NEAR(*m.mean, c.sweep.offset, 0.01 * c.vpp) << name;
    ExpectWithin(m.dutyCycle, 50, 0.01, name + " duty");
    if (c.rise > 0) {
      ExpectWithin(m.riseTime, c.rise / c.sweep.frequency, 0.02, name + " rise");
      ExpectWithin(m.fallTime, c.rise / c.sweep.frequency, 0.02, name + " fall");
    }
  }
}

TEST(Measurer, DutyCycleOfSquaresFrom10To90Percent) {
  Measurer measurer;
  for (int duty = 10; duty <= 90; duty += 10) {
    Sweep s{Wave::kSquare, 1000, 1, 0.5};
    s.duty = duty / 100.0;
    s.periods = 10.3;
    const std::vector<double> x = s.Make();
    const Measurements m = measurer.Measure(Input(s, x));
    ExpectWithin(m.dutyCycle, duty, 0.01, "duty " + std::to_string(duty));
  }
}

// Noise of 15 % of the amplitude: its peaks would cross a fixed hysteresis band, and the
// jittered edges alone miss 0.1 %.
TEST(Measurer, NoisySineFrequencyComesFromTheSpectrum) {
  Sweep s{Wave::kSine, 50, 2};
  s.noise = 0.3;
  s.periods = 10.4;
  s.samples = 16385;
  Measurer measurer;
  for (unsigned seed = 1; seed <= 10; ++seed) {
    s.seed = seed;
    const std::vector<double> x = s.Make();
    const Measurements m = measurer.Measure(Input(s, x));
    ExpectWithin(m.frequency, 50, 0.001, "seed " + std::to_string(seed));
  }
}

TEST(Measurer, BadInputGivesEmptyOrDefinedValues) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  const Sweep sine{Wave::kSine, 50, 2};
  std::vector<double> part = Sweep{Wave::kSine, 50, 2, 0, 0.5, 0, 0.6}.Make();
  std::vector<double> withNan = sine.Make();
  withNan[100] = nan;
  std::vector<double> withInf = sine.Make();
  withInf[7] = -inf;
  const std::vector<double> flat(1000, 1.25);
  // An unconnected input: 2 mV of noise, whose crossings are no period.
  std::vector<double> noise(2500);
  std::mt19937 draw(7);
  std::normal_distribution<double> gauss(0.0, 0.002);
  for (double& v : noise)
    v = gauss(draw);
  const std::vector<double> one{0.5};
  const std::vector<double> huge{1e300, -1e300, 1e300, -1e300};
  const std::vector<double> good = sine.Make();
  std::vector<double> step(200, -1.0);
  for (std::size_t i = 100; i < step.size(); ++i)
    step[i] = i < 110 ? -1 + 0.2 * static_cast<double>(i - 100) : 1.0;
  const double dt = sine.SamplePeriod();

  struct Case {
    const char* name;
    ChannelInput in;
    bool levels;  // min, max, mean and RMS given
    double level; // their value when flat; NaN when not flat
    double rise;  // rise time in sample periods when one is expected; NaN otherwise
  };
  const Case cases[] = {
      {"empty", {{}, dt, -10, 10}, false, nan, nan},
      {"nan sample", {withNan, dt, -10, 10}, false, nan, nan},
      {"infinite sample", {withInf, dt, -10, 10}, false, nan, nan},
      {"overflowing squares", {huge, dt, -10, 10}, false, nan, nan},
      {"one sample", {one, dt, -10, 10}, true, 0.5, nan},
      {"flat", {flat, dt, -10, 10}, true, 1.25, nan},
      {"noise alone", {noise, dt, -10, 10}, true, nan, nan},
      {"shorter than a period", {part, dt, -10, 10}, true, nan, nan}, // its fall is an edge
      {"single step", {step, dt, -10, 10}, true, nan, 8},
      {"zero sample period", {good, 0, -10, 10}, true, nan, nan},
      {"nan sample period", {good, nan, -10, 10}, true, nan, nan},
      {"negative sample period", {good, -dt, -10, 10}, true, nan, nan},
      {"subnormal sample period", {good, 1e-310, -10, 10}, true, nan, nan},
  };
  Measurer measurer;
  for (const Case& c : cases) {
    const Measurements m = measurer.Measure(c.in);
    EXPECT_FALSE(m.frequency || m.period || m.dutyCycle) << c.name;
    EXPECT_FALSE(m.saturated) << c.name;
    EXPECT_EQ(m.min.has_value(), c.levels) << c.name;
    EXPECT_EQ(m.rms.has_value(), c.levels) << c.name;
    if (!std::isnan(c.level)) {
      EXPECT_EQ(*m.min, c.level) << c.name;
      EXPECT_EQ(*m.max, c.level) << c.name;
      EXPECT_DOUBLE_EQ(*m.mean, c.level) << c.name;
      EXPECT_EQ(*m.peakToPeak, 0) << c.name;
      EXPECT_EQ(*m.amplitude, 0) << c.name;
    }
    if (std::isnan(c.rise)) {
      EXPECT_FALSE(m.riseTime) << c.name;
    } else {
      ASSERT_TRUE(m.riseTime) << c.name;
      EXPECT_NEAR(*m.riseTime, c.rise * dt, 1e-9 * dt) << c.name;
    }
  }
}

TEST(Measurer, ClippedSweepLeavesPeakValuesEmpty) {
  Measurer measurer;
  // Clipped on both sides: a 12 V sine on the +-10 V range.
  Sweep both{Wave::kSine, 50, 12};
  const std::vector<double> x = both.Make();
  Measurements m = measurer.Measure(Input(both, x));
  EXPECT_TRUE(m.saturated);
  EXPECT_FALSE(m.min || m.max || m.peakToPeak || m.amplitude);
  ExpectWithin(m.frequency, 50, 0.001, "clipped f");

  // Clipped at the top only: the minimum is still true.
  Sweep top{Wave::kSine, 50, 4, 7};
  const std::vector<double> y = top.Make();
  m = measurer.Measure(Input(top, y));
  EXPECT_TRUE(m.saturated);
  EXPECT_FALSE(m.max || m.peakToPeak || m.amplitude);
  ExpectWithin(m.min, 3, 0.01, "min under a clipped top");

  // Only the converter's clipping counts: the same samples on a narrower range, or on limits
  // that are no range, are measured as they are.
  const std::array<std::array<double, 2>, 3> limits{{{-5, 5}, {10, -10}, {-10, NAN}}};
  for (const auto& [lo, hi] : limits) {
    m = measurer.Measure({y, top.SamplePeriod(), lo, hi});
    EXPECT_FALSE(m.saturated) << lo << " " << hi;
    EXPECT_TRUE(m.min && m.max && m.peakToPeak && m.frequency) << lo << " " << hi;
    ExpectWithin(m.max, 10, 0.001, "max when not clipped");
  }
}

TEST(Measurer, DelayAndPhaseAgainstTheReference) {
  struct Case {
    const char* name;
    Sweep channel;     // the reference is a 50 Hz sine starting at phase 0
    double lagPeriods; // expected delay in periods; NaN: none
  };
  constexpr double none = std::numeric_limits<double>::quiet_NaN();
  Sweep lag45{Wave::kSine, 50, 1};
  lag45.phase = -0.125;
  Sweep lead90{Wave::kSine, 50, 3, 0.5};
  lead90.phase = 0.25;
  Sweep square{Wave::kSquare, 50, 1};
  square.phase = -0.3;
  Sweep faster{Wave::kSine, 60, 2};
  faster.periods = 5.3 * 60 / 50;
  const Case cases[] = {
      {"same", {Wave::kSine, 50, 2}, 0},   {"lags 45 degrees", lag45, 0.125},
      {"leads 90 degrees", lead90, -0.25}, {"square lagging 108 degrees", square, 0.3},
      {"other frequency", faster, none},
  };
  const Sweep reference{Wave::kSine, 50, 2};
  const std::vector<double> r = reference.Make();
  Measurer measurer;
  for (const Case& c : cases) {
    Sweep s = c.channel;
    s.seed = 7;
    const std::vector<double> x = s.Make();
    const std::array<ChannelInput, 2> in{Input(reference, r), Input(s, x)};
    std::array<Measurements, 2> out;
    measurer.Measure(in, 0, out);
    EXPECT_EQ(out[0].phase, 0.0) << c.name;
    if (std::isnan(c.lagPeriods)) {
      EXPECT_FALSE(out[1].phase || out[1].delay) << c.name;
      continue;
    }
    ASSERT_TRUE(out[1].phase) << c.name;
    EXPECT_NEAR(*out[1].phase, 360 * c.lagPeriods, 0.5) << c.name;
    ASSERT_TRUE(out[1].delay) << c.name;
    EXPECT_NEAR(*out[1].delay, c.lagPeriods / 50, 0.5 / 360 / 50) << c.name;
  }
}

} // namespace
} // namespace qvt::analysis
