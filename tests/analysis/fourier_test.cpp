// SPDX-License-Identifier: GPL-3.0-or-later
// Spectra: every window reads a sine's amplitude and frequency wherever it falls between bins,
// a square's harmonics stand at 1/3 and 1/5 of its fundamental, the average follows its
// rules, and bad input changes nothing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "signals.h"
#include "fourier.h"

namespace qvt::analysis {
namespace {

using testing::Sweep;
using testing::Wave;

// A noise-free sine of `amplitude` volts at `bin` + offset bins of an n-point transform
// sampled at 1 kHz.
std::vector<double> Tone(std::size_t n, double bin, double amplitude) {
  std::vector<double> x(n);
  for (std::size_t i = 0; i < n; ++i)
    x[i] = amplitude *
           std::sin(2 * std::numbers::pi * bin * static_cast<double>(i) / static_cast<double>(n) +
                    0.3);
  return x;
}

TEST(Spectrum, EveryWindowReadsASinesAmplitudeBetweenBins) {
  const Window windows[] = {Window::kHann, Window::kRectangular, Window::kHamming,
                            Window::kBlackmanHarris, Window::kFlatTop};
  constexpr std::size_t n = 4096;
  Spectrum spectrum;
  for (const Window w : windows) {
    spectrum.SetWindow(w);
    for (const double offset : {0.0, 0.25, 0.5, 0.8}) {
      const std::string name =
          "window " + std::to_string(static_cast<int>(w)) + " offset " + std::to_string(offset);
      ASSERT_TRUE(spectrum.Compute(Tone(n, 300 + offset, 1.5), 1e-3)) << name;
      const auto peak = spectrum.FindPeak();
      ASSERT_TRUE(peak) << name;
      EXPECT_NEAR(20 * std::log10(peak->amplitude / 1.5), 0, 0.01) << name;
      EXPECT_NEAR(peak->frequency, (300 + offset) * spectrum.Resolution(), 0.002) << name;
      if (w == Window::kFlatTop) {
        // The flat-top window needs no interpolation: the largest bin is the amplitude.
        double largest = 0;
        for (const double v : spectrum.Magnitudes())
          largest = std::max(largest, v);
        EXPECT_NEAR(20 * std::log10(largest / 1.5), 0, 0.1) << name;
      }
    }
  }
}

TEST(Spectrum, SquareHarmonicsFallAsOneOverTheirNumber) {
  Sweep square{Wave::kSquare, 1000, 1};
  square.periods = 40.3;
  square.samples = 16384;
  const std::vector<double> x = square.Make();
  Spectrum spectrum;
  spectrum.SetWindow(Window::kBlackmanHarris);
  ASSERT_TRUE(spectrum.Compute(x, square.SamplePeriod()));
  std::array<Harmonic, 6> h;
  ASSERT_EQ(spectrum.Harmonics(h), h.size());
  EXPECT_NEAR(h[0].frequency, 1000, 0.5);
  EXPECT_NEAR(h[0].amplitude, 4 / std::numbers::pi, 0.01);
  for (int k = 1; k <= 6; ++k) {
    const Harmonic& r = h[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(r.number, k);
    if (k % 2 == 1) {
      EXPECT_NEAR(r.frequency, 1000.0 * k, 1) << k;
      EXPECT_NEAR(r.relativeDb, 20 * std::log10(1.0 / k), 0.5) << k;
    } else {
      EXPECT_LT(r.relativeDb, -40) << k; // a square with 50 % duty has no even harmonic
    }
  }

  // One period in the sweep: the fundamental on bin 1 is not listed again as harmonic 2.
  square.periods = 1;
  spectrum.SetWindow(Window::kRectangular);
  ASSERT_TRUE(spectrum.Compute(square.Make(), square.SamplePeriod()));
  ASSERT_EQ(spectrum.Harmonics(h), h.size());
  EXPECT_NEAR(h[1].frequency, 2 * h[0].frequency, spectrum.Resolution() / 2);
  EXPECT_LT(h[1].relativeDb, -40);
}

TEST(Spectrum, DbvScaleAndBinFrequencies) {
  constexpr std::size_t n = 1000;
  Spectrum spectrum;
  spectrum.SetWindow(Window::kRectangular);
  std::vector<double> x = Tone(n, 50, 1);
  for (double& v : x)
    v += 0.25;
  ASSERT_TRUE(spectrum.Compute(x, 1e-4));
  spectrum.SetScale(SpectrumScale::kDbv);
  const auto db = spectrum.Magnitudes();
  ASSERT_EQ(db.size(), n / 2 + 1);
  EXPECT_NEAR(db[50], 0, 1e-9);                       // 1 V
  EXPECT_NEAR(db[0], 20 * std::log10(0.25), 1e-9);    // the mean
  EXPECT_EQ(db[51], Spectrum::kFloorDbv);             // nothing else
  EXPECT_DOUBLE_EQ(spectrum.BinFrequency(50), 500.0); // 50 bins of 10 Hz
  EXPECT_DOUBLE_EQ(spectrum.Resolution(), 10.0);
  EXPECT_NEAR(spectrum.LinearMagnitudes()[50], 1, 1e-9);
}

TEST(Spectrum, AveragingIsAMeanThenAnExponentialMean) {
  constexpr std::size_t n = 256;
  Spectrum spectrum;
  spectrum.SetWindow(Window::kRectangular);
  spectrum.SetAveraging(4);
  const auto peak = [&] { return spectrum.LinearMagnitudes()[16]; };
  for (const double a : {1.0, 2.0, 3.0, 4.0})
    ASSERT_TRUE(spectrum.Compute(Tone(n, 16, a), 1e-3));
  EXPECT_NEAR(peak(), 2.5, 1e-12);
  ASSERT_TRUE(spectrum.Compute(Tone(n, 16, 6), 1e-3));
  EXPECT_NEAR(peak(), 2.5 + (6 - 2.5) / 4, 1e-12);
  EXPECT_EQ(spectrum.SweepsAveraged(), 4);

  spectrum.ResetAverage();
  ASSERT_TRUE(spectrum.Compute(Tone(n, 16, 0.5), 1e-3));
  EXPECT_NEAR(peak(), 0.5, 1e-12);
  // Another size or sample period starts again, on a new plan.
  ASSERT_TRUE(spectrum.Compute(Tone(2 * n, 32, 0.7), 1e-3));
  EXPECT_EQ(spectrum.LinearMagnitudes().size(), n + 1);
  EXPECT_NEAR(spectrum.LinearMagnitudes()[32], 0.7, 1e-12);
  ASSERT_TRUE(spectrum.Compute(Tone(2 * n, 32, 0.2), 2e-3));
  EXPECT_NEAR(spectrum.LinearMagnitudes()[32], 0.2, 1e-12);

  spectrum.SetAveraging(1000);
  EXPECT_EQ(spectrum.Averaging(), Spectrum::kMaxAveraging);
  spectrum.SetAveraging(0);
  EXPECT_EQ(spectrum.Averaging(), 1);
}

TEST(Spectrum, BadInputIsRefusedAndChangesNothing) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  Spectrum spectrum;
  EXPECT_TRUE(spectrum.Magnitudes().empty());
  EXPECT_FALSE(spectrum.FindPeak());
  std::array<Harmonic, 3> h;
  EXPECT_EQ(spectrum.Harmonics(h), 0u);

  const std::vector<double> good = Tone(64, 4, 1);
  std::vector<double> withNan = good;
  withNan[3] = nan;
  const std::vector<double> one{1.0};
  ASSERT_TRUE(spectrum.Compute(good, 1e-3));
  const std::vector<double> before(spectrum.Magnitudes().begin(), spectrum.Magnitudes().end());
  EXPECT_FALSE(spectrum.Compute({}, 1e-3));
  EXPECT_FALSE(spectrum.Compute(one, 1e-3));
  EXPECT_FALSE(spectrum.Compute(withNan, 1e-3));
  EXPECT_FALSE(spectrum.Compute(good, 0));
  EXPECT_FALSE(spectrum.Compute(good, -1e-3));
  EXPECT_FALSE(spectrum.Compute(good, nan));
  EXPECT_EQ(std::vector<double>(spectrum.Magnitudes().begin(), spectrum.Magnitudes().end()),
            before);

  // A flat sweep has a mean and no tone.
  ASSERT_TRUE(spectrum.Compute(std::vector<double>(64, 2.0), 1e-3));
  EXPECT_FALSE(spectrum.FindPeak());
  EXPECT_EQ(spectrum.Harmonics(h), 0u);
}

} // namespace
} // namespace qvt::analysis
