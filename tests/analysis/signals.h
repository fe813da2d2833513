// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic sweeps like the virtual interface's inputs: a periodic wave with its offset, a
// seeded Gaussian noise and the converter's 12-bit steps over the channel's range.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>
#include <vector>

namespace qvt::analysis::testing {

enum class Wave { kSine, kSquare, kTriangle };

struct Sweep {
  Wave wave = Wave::kSine;
  double frequency = 50; // Hz
  double amplitude = 2;  // V peak
  double offset = 0;     // V
  double duty = 0.5;     // high share of a square's period
  double phase = 0;      // share of a period at the first sample
  double periods = 5.3;  // periods in the sweep
  std::size_t samples = 4096;
  double noise = 0.002;  // V rms
  double rangeMin = -10; // V; the converter clips and steps within it
  double rangeMax = 10;
  unsigned seed = 1;

  double SamplePeriod() const { return periods / frequency / static_cast<double>(samples); }

  // The noise-free wave at `cycles` periods from the start of one.
  double Ideal(double cycles) const {
    const double p = cycles - std::floor(cycles);
    switch (wave) {
    case Wave::kSine:
      return offset + amplitude * std::sin(2 * std::numbers::pi * p);
    case Wave::kSquare:
      return offset + (p < duty ? amplitude : -amplitude);
    case Wave::kTriangle:
      return offset + amplitude * (p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
    }
    return offset;
  }

  std::vector<double> Make() const {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> gauss(0.0, noise);
    const double step = (rangeMax - rangeMin) / 4096;
    std::vector<double> x(samples);
    for (std::size_t i = 0; i < samples; ++i) {
      double v = Ideal(phase + frequency * SamplePeriod() * static_cast<double>(i));
      if (noise > 0)
        v += gauss(random);
      v = rangeMin + std::round((v - rangeMin) / step) * step;
      x[i] = std::fmin(std::fmax(v, rangeMin), rangeMax);
    }
    return x;
  }
};

} // namespace qvt::analysis::testing
