// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic measurements of a sweep: frequency, period, peak and mean values, amplitude, duty
// cycle, edge times, and the delay and phase of each channel against a reference channel.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "fourier.h"

namespace qvt::analysis {

// One channel's sweep: samples in volts taken every samplePeriod seconds, the limits of the
// channel's range (volts; a few thousandths of its span are taken for a flat trace), and
// whether the converter clipped samples at its lower or upper end of scale (the device
// tells; the range does not: a signal beyond it that the converter still measured is true).
struct ChannelInput {
  std::span<const double> samples;
  double samplePeriod = 0;
  double rangeMin = 0;
  double rangeMax = 0;
  bool clippedLow = false;
  bool clippedHigh = false;
};

// The results of one channel. An empty value could not be measured: never a wrong number.
// Periodic means two edges of the same direction at least, found at the middle level with a
// hysteresis of 10 % of the amplitude on each side (a transition goes from below 40 % to above
// 60 %), widened on a noisy signal to 4 times the noise's RMS value, up to 40 %.
//
// Any non-finite sample, or values so large (beyond 1e150 V or so) that their squares overflow,
// leave every value empty. A flat sweep gives its level as min, max,
// mean and RMS (and 0 for vpp and amplitude) and no time value.
//
// saturated: the input says the converter clipped. The peak values are then left empty: min
// (and base) when it clipped at its lower end, max (and top) at its upper end, vpp and
// amplitude at either. Time values, mean and RMS are still given.
struct Measurements {
  std::optional<double> frequency;  // Hz: from the edges over the whole periods of the sweep,
                                    // or the spectrum's interpolated peak when the edges jitter
  std::optional<double> period;     // s, 1 / frequency
  std::optional<double> peakToPeak; // V, max - min
  std::optional<double> min;        // V, over the sweep
  std::optional<double> max;        // V, over the sweep
  std::optional<double> mean;       // V, over whole periods when periodic, else the sweep
  std::optional<double> rms;        // V, idem (the DC part included)
  std::optional<double> amplitude;  // V, top - base (the histogram's levels)
  std::optional<double> dutyCycle;  // %, high time over period
  std::optional<double> riseTime;   // s, 10 % to 90 % of the amplitude, mean over the edges
                                    // (periodic or not: one step is enough)
  std::optional<double> fallTime;   // s, 90 % to 10 %
  std::optional<double> delay;      // s, against the reference channel
  std::optional<double> phase;      // degrees, in (-180, 180]
  bool saturated = false;
  // Base and top levels (V) of the histogram: the most frequent level of each half when it
  // stands out (a square's flat parts), else the minimum and maximum. Empty with min/max.
  std::optional<double> base;
  std::optional<double> top;
};

// Measures sweeps. Holds the scratch buffers and the spectrum used to refine the frequency of
// a noisy signal; once they have grown to the sweep size, measuring allocates nothing. Not
// thread-safe; use one object per thread.
class Measurer {
public:
  Measurer();

  // One channel alone: delay and phase stay empty.
  Measurements Measure(const ChannelInput& channel);

  // Every channel, with delay and phase against channels[reference] (the caller's trigger
  // channel or first active one). out must be as long as channels. The delay is the time from
  // the reference's rising edges to the channel's nearest rising edges, averaged over the sweep
  // on the circle of one period, so it lies within half a period; phase = 360 x delay / period,
  // positive when the channel lags. Both are empty unless both channels are periodic with the
  // same sample period and frequencies within 1 % of each other; the reference gets 0 for
  // both when periodic. A reference index out of range leaves them all empty.
  void Measure(std::span<const ChannelInput> channels, std::size_t reference,
               std::span<Measurements> out);

private:
  struct Edges {
    std::vector<double> rising; // fractional sample indices of middle-level crossings
    std::vector<double> falling;
    double periodSamples = 0; // 0 when not periodic
  };
  Measurements MeasureInto(const ChannelInput& channel, Edges& edges);

  std::vector<Edges> edges_;
  std::vector<double> steps_;
  Spectrum spectrum_;
};

} // namespace qvt::analysis
