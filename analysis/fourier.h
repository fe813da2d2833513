// SPDX-License-Identifier: GPL-3.0-or-later
// Spectrum: the amplitude spectrum of a block of samples through an FFTW real transform,
// windowed, scaled so that a sine reads its amplitude, averaged over sweeps; its peak and its
// harmonics.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "window.h"

namespace qvt::analysis {

enum class SpectrumScale { kLinear, kDbv };

// A tone found in the spectrum: frequency (Hz) and amplitude (V, peak), both interpolated
// between bins.
struct Peak {
  double frequency = 0;
  double amplitude = 0;
};

// The fundamental (number 1) or a harmonic: its amplitude relative to the fundamental's in dB.
struct Harmonic {
  int number = 0;
  double frequency = 0;
  double amplitude = 0;
  double relativeDb = 0;
};

// Holds the FFTW plan and the buffers for one block size; a new size re-plans (and restarts the
// average), the same size reuses everything, so a steady sweep allocates nothing. Not
// thread-safe; distinct objects may be used from distinct threads.
class Spectrum {
public:
  // Sweeps averaged at most.
  static constexpr int kMaxAveraging = 64;
  // The dBV value given for a bin that reads nothing (|X| < 1e-12 V).
  static constexpr double kFloorDbv = -240.0;

  Spectrum();
  ~Spectrum();
  Spectrum(const Spectrum&) = delete;
  Spectrum& operator=(const Spectrum&) = delete;
  Spectrum(Spectrum&&) noexcept;
  Spectrum& operator=(Spectrum&&) noexcept;

  // Settings. Changing the window restarts the average; the scale only changes the output.
  void SetWindow(Window window);
  Window GetWindow() const { return window_; }
  void SetScale(SpectrumScale scale);
  SpectrumScale GetScale() const { return scale_; }
  // Number of sweeps averaged, held within 1..kMaxAveraging.
  void SetAveraging(int sweeps);
  int Averaging() const { return averaging_; }
  // Forgets the sweeps averaged so far; the next Compute starts anew.
  void ResetAverage();

  // Transforms one sweep of at least 2 samples taken every samplePeriod seconds, and adds its
  // magnitudes to the average: the mean of the sweeps since the last restart while they are
  // fewer than Averaging(), then an exponential mean weighting each new sweep 1/Averaging().
  // A change of block size or sample period restarts the average. Returns false and changes
  // nothing for fewer than 2 samples, a non-finite sample, or a period that is not finite and
  // positive or gives a bin spacing beyond the double range.
  bool Compute(std::span<const double> samples, double samplePeriod);

  // Sweeps in the average (0 before the first Compute or after a reset).
  int SweepsAveraged() const { return sweeps_; }
  // N/2 + 1 bins for the N samples of the last Compute (empty before): amplitude in V (peak)
  // of the tone at each bin, or in dBV (20 log10 of it, kFloorDbv at least) with kDbv. Bin 0
  // reads the mean. Valid until the next call that changes the object.
  std::span<const double> Magnitudes() const;
  // The same in V whatever the scale.
  std::span<const double> LinearMagnitudes() const;
  // Frequency of bin k (Hz) and the bin spacing.
  double BinFrequency(std::size_t k) const;
  double Resolution() const { return resolution_; }

  // The largest tone between lowFrequency and highFrequency (Hz), away from the bins of the
  // mean; its frequency and amplitude are interpolated with the window's response, exact for
  // a single tone. Empty when no bin lies in the range or none reads 1e-12 V.
  std::optional<Peak> FindPeak(double lowFrequency = 0, double highFrequency = 1e300) const;
  // The fundamental (the largest tone) and the next harmonics, each searched around its
  // multiple of the fundamental: fills out[0] with number 1, out[1] with number 2..., stopping
  // at the Nyquist frequency. Returns how many were filled (0 without a fundamental).
  std::size_t Harmonics(std::span<Harmonic> out) const;

private:
  struct Plan;
  // The largest bin between the two frequencies, away from the bins of the mean and reading at
  // least 1e-12 V.
  std::optional<std::size_t> LargestBin(double lowFrequency, double highFrequency) const;
  // The tone at `bin`, interpolated between its neighbours or read as the bin stands.
  std::optional<Peak> PeakAt(std::size_t bin, bool interpolate) const;
  void Resize(std::size_t n);
  void RefreshOutput();

  Window window_ = Window::kHann;
  SpectrumScale scale_ = SpectrumScale::kLinear;
  int averaging_ = 1;
  int sweeps_ = 0;
  double samplePeriod_ = 0;
  double resolution_ = 0;
  std::unique_ptr<Plan> plan_;
  std::vector<double> windowSamples_;
  std::vector<double> current_;
  std::vector<double> average_;
  std::vector<double> output_;
};

// 20 log10(volts), kFloorDbv at least.
double ToDbv(double volts);

} // namespace qvt::analysis
