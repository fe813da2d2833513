// SPDX-License-Identifier: GPL-3.0-or-later
// Measurements of a sweep. Every pass is linear in the sweep: one pass for the extremes and
// sums, one for the histogram levels, one for the edges; the edge-time searches walk only the
// samples of each transition.
#include "measurer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace qvt::analysis {

namespace {

// Coarse enough that a square's flat part, noise included, falls in one or two bins.
constexpr int kHistogramBins = 64;
// A half's most frequent bin is a level when it holds this share of the half's samples; a
// sine's extreme bin holds about 16 %, a triangle's 3 %, a square's flat part nearly all.
constexpr double kLevelShare = 0.2;
// Hysteresis on each side of the middle level: a share of the amplitude, widened to this many
// times the noise's RMS value, within a ceiling share of the amplitude.
constexpr double kHysteresis = 0.1;
constexpr double kHysteresisNoise = 4.0;
// A swing up to this many times the noise's RMS value, or this share of the range span, is
// taken for a flat trace.
constexpr double kFlatNoise = 8.0;
constexpr double kFlatShare = 1.0 / 2000.0;
constexpr double kHysteresisCeiling = 0.4;
constexpr std::size_t kNoiseSteps = 4096;
// The edges' jitter makes the mean period uncertain by about the spread of single periods
// divided by their count; beyond this the spectrum's peak is the better estimate.
constexpr double kEdgeUncertainty = 1e-4;

struct Levels {
  double base = 0;
  double top = 0;
};

// Base and top from the histogram over [lo, hi] (hi > lo): in each half, the mean of the
// samples around the most frequent bin when that bin stands out, else the extreme.
Levels HistogramLevels(std::span<const double> x, double lo, double hi) {
  std::array<std::size_t, kHistogramBins> count{};
  const double width = (hi - lo) / kHistogramBins;
  const auto binOf = [&](double v) {
    return std::min(static_cast<int>((v - lo) / width), kHistogramBins - 1);
  };
  for (const double v : x)
    ++count[static_cast<std::size_t>(binOf(v))];

  const auto mode = [&](int from, int to, std::size_t& total) {
    int best = from;
    total = 0;
    for (int b = from; b < to; ++b) {
      total += count[static_cast<std::size_t>(b)];
      if (count[static_cast<std::size_t>(b)] > count[static_cast<std::size_t>(best)])
        best = b;
    }
    return best;
  };
  constexpr int kHalf = kHistogramBins / 2;
  std::size_t lowTotal = 0;
  std::size_t highTotal = 0;
  const int lowMode = mode(0, kHalf, lowTotal);
  const int highMode = mode(kHalf, kHistogramBins, highTotal);
  const bool lowLevel = static_cast<double>(count[static_cast<std::size_t>(lowMode)]) >=
                        kLevelShare * static_cast<double>(lowTotal);
  const bool highLevel = static_cast<double>(count[static_cast<std::size_t>(highMode)]) >=
                         kLevelShare * static_cast<double>(highTotal);

  Levels levels{lo, hi};
  if (!lowLevel && !highLevel)
    return levels;
  double lowSum = 0;
  double highSum = 0;
  std::size_t lowCount = 0;
  std::size_t highCount = 0;
  for (const double v : x) {
    const int b = binOf(v);
    if (lowLevel && std::abs(b - lowMode) <= 1) {
      lowSum += v;
      ++lowCount;
    } else if (highLevel && std::abs(b - highMode) <= 1) {
      highSum += v;
      ++highCount;
    }
  }
  if (lowCount > 0)
    levels.base = lowSum / static_cast<double>(lowCount);
  if (highCount > 0)
    levels.top = highSum / static_cast<double>(highCount);
  return levels;
}

// The noise's RMS value, from the median step between consecutive samples: for white noise
// of RMS s a step has the RMS s sqrt(2) and its magnitude the median 0.6745 s sqrt(2). The
// median ignores a square's few large steps, and an oversampled wave's own steps are small.
// At most kNoiseSteps steps spread over the sweep are enough for the median.
double NoiseRms(std::span<const double> x, std::vector<double>& steps) {
  if (x.size() < 3)
    return 0;
  const std::size_t stride = (x.size() - 2) / kNoiseSteps + 1;
  steps.clear();
  for (std::size_t i = 0; i + 1 < x.size(); i += stride)
    steps.push_back(std::fabs(x[i + 1] - x[i]));
  const auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
  std::nth_element(steps.begin(), middle, steps.end());
  return *middle / (0.6745 * std::numbers::sqrt2);
}

// The fractional index where x last crossed `mid` before reaching index i, searching no
// further back than `since` (where x lay on the other side of the hysteresis band).
double Crossing(std::span<const double> x, std::size_t since, std::size_t i, double mid) {
  const bool up = x[i] > mid;
  for (std::size_t j = i; j > since; --j) {
    const double a = x[j - 1];
    const double b = x[j];
    if (up ? a <= mid : a >= mid)
      return static_cast<double>(j - 1) + (mid - a) / (b - a);
  }
  return static_cast<double>(i);
}

// Middle-level crossings with hysteresis: an edge counts once the signal has gone from beyond
// one side of the band to beyond the other; a sweep starting inside the band or mid-edge
// gives no partial edge.
void FindEdges(std::span<const double> x, double mid, double hysteresis,
               std::vector<double>& rising, std::vector<double>& falling) {
  rising.clear();
  falling.clear();
  const double high = mid + hysteresis;
  const double low = mid - hysteresis;
  int state = 0;
  std::size_t since = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double v = x[i];
    if (state != 1 && v > high) {
      if (state == -1)
        rising.push_back(Crossing(x, since, i, mid));
      state = 1;
      since = i;
    } else if (state != -1 && v < low) {
      if (state == 1)
        falling.push_back(Crossing(x, since, i, mid));
      state = -1;
      since = i;
    }
  }
}

// Span (in samples) and count of the whole periods between the first and last edge.
struct PeriodSpan {
  double first = 0;
  double last = 0;
  std::size_t periods = 0;
};

PeriodSpan SpanOf(const std::vector<double>& edges) {
  if (edges.size() < 2)
    return {};
  return {edges.front(), edges.back(), edges.size() - 1};
}

// Relative standard deviation of the single periods between consecutive edges.
double PeriodSpread(const std::vector<double>& edges) {
  if (edges.size() < 3)
    return 0;
  const double n = static_cast<double>(edges.size() - 1);
  const double mean = (edges.back() - edges.front()) / n;
  double sq = 0;
  for (std::size_t i = 1; i < edges.size(); ++i) {
    const double d = edges[i] - edges[i - 1] - mean;
    sq += d * d;
  }
  return std::sqrt(sq / n) / mean;
}

// Time spent (in samples) by the edge at fractional index t going from `lower` to `upper`,
// with the signal read through `sign` (+1 rising, -1 falling, levels negated alike). The
// search stays within [from, to]. Negative when a level is not reached there.
double TransitionTime(std::span<const double> x, double sign, double t, double lower, double upper,
                      std::size_t from, std::size_t to) {
  const auto at = [&](std::size_t j) { return sign * x[j]; };
  std::size_t j = static_cast<std::size_t>(t);
  if (j + 1 >= x.size() || j < from || j + 1 > to)
    return -1;
  while (j > from && at(j) > lower)
    --j;
  if (at(j) > lower)
    return -1;
  const double tLower = static_cast<double>(j) + (lower - at(j)) / (at(j + 1) - at(j));
  std::size_t k = static_cast<std::size_t>(t) + 1;
  while (k < to && at(k) < upper)
    ++k;
  if (at(k) < upper)
    return -1;
  const double tUpper = static_cast<double>(k - 1) + (upper - at(k - 1)) / (at(k) - at(k - 1));
  return tUpper - tLower;
}

// Mean transition time of the edges `edges` between the opposite edges `others`.
std::optional<double> MeanTransition(std::span<const double> x, double sign,
                                     const std::vector<double>& edges,
                                     const std::vector<double>& others, double lower,
                                     double upper) {
  double sum = 0;
  std::size_t count = 0;
  std::size_t o = 0;
  for (const double t : edges) {
    while (o < others.size() && others[o] < t)
      ++o;
    const std::size_t from =
        o > 0 ? static_cast<std::size_t>(std::ceil(others[o - 1])) : std::size_t{0};
    const std::size_t to = o < others.size() ? static_cast<std::size_t>(others[o]) : x.size() - 1;
    const double d = TransitionTime(x, sign, t, sign * lower, sign * upper, from, to);
    if (d >= 0) {
      sum += d;
      ++count;
    }
  }
  if (count == 0)
    return std::nullopt;
  return sum / static_cast<double>(count);
}

// Sum of the times from each edge to the next opposite edge, and of the periods, over the
// periods that hold an opposite edge.
void StateTimes(const std::vector<double>& edges, const std::vector<double>& others, double& state,
                double& total) {
  std::size_t o = 0;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    while (o < others.size() && others[o] <= edges[i])
      ++o;
    if (o < others.size() && others[o] < edges[i + 1]) {
      state += others[o] - edges[i];
      total += edges[i + 1] - edges[i];
    }
  }
}

} // namespace

Measurer::Measurer() {
  spectrum_.SetWindow(Window::kHann);
}

Measurements Measurer::Measure(const ChannelInput& channel) {
  if (edges_.empty())
    edges_.resize(1);
  return MeasureInto(channel, edges_[0]);
}

Measurements Measurer::MeasureInto(const ChannelInput& channel, Edges& edges) {
  edges.rising.clear();
  edges.falling.clear();
  edges.periodSamples = 0;
  Measurements m;
  const std::span<const double> x = channel.samples;
  const std::size_t n = x.size();
  if (n == 0)
    return m;

  double lo = x[0];
  double hi = x[0];
  double sum = 0;
  double sumSquares = 0;
  for (const double v : x) {
    if (!std::isfinite(v))
      return m;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    sum += v;
    sumSquares += v * v;
  }
  // Values so large that their squares or their span overflow cannot be measured.
  if (!std::isfinite(sumSquares) || !std::isfinite(hi - lo))
    return m;

  const bool lowTouched = channel.clippedLow;
  const bool highTouched = channel.clippedHigh;
  m.saturated = lowTouched || highTouched;
  if (!lowTouched)
    m.min = lo;
  if (!highTouched)
    m.max = hi;
  if (!m.saturated)
    m.peakToPeak = hi - lo;
  m.mean = sum / static_cast<double>(n);
  m.rms = std::sqrt(sumSquares / static_cast<double>(n));

  const double scale = std::max({1.0, std::fabs(lo), std::fabs(hi)});
  if (hi - lo <= 1e-12 * scale) {
    if (!m.saturated) {
      m.amplitude = 0.0;
      m.base = lo;
      m.top = hi;
    }
    return m;
  }

  const Levels levels = HistogramLevels(x, lo, hi);
  const double amplitude = levels.top - levels.base;
  if (!lowTouched)
    m.base = levels.base;
  if (!highTouched)
    m.top = levels.top;
  if (!m.saturated)
    m.amplitude = amplitude;

  // A sample period whose sweep length or reciprocal leaves the double range gives no time.
  const double dt = channel.samplePeriod;
  if (!std::isnormal(dt) || !(dt > 0) || !std::isfinite(1.0 / dt) ||
      !std::isfinite(dt * static_cast<double>(n)) || !(amplitude > 0))
    return m;
  // Noise alone is no signal: a trace that swings no higher than a few times its own noise,
  // or than a few converter steps of its range, has no period to measure, whatever level
  // crossings the noise makes.
  const double noise = NoiseRms(x, steps_);
  double flat = kFlatNoise * noise;
  if (std::isfinite(channel.rangeMin) && std::isfinite(channel.rangeMax) &&
      channel.rangeMin < channel.rangeMax)
    flat = std::max(flat, (channel.rangeMax - channel.rangeMin) * kFlatShare);
  if (amplitude <= flat)
    return m;
  const double hysteresis = std::min(std::max(kHysteresis * amplitude, kHysteresisNoise * noise),
                                     kHysteresisCeiling * amplitude);
  FindEdges(x, (levels.top + levels.base) / 2, hysteresis, edges.rising, edges.falling);
  // Edge times need no whole period: a single step has a rise time.
  const double level10 = levels.base + 0.1 * amplitude;
  const double level90 = levels.base + 0.9 * amplitude;
  if (const auto rise = MeanTransition(x, 1.0, edges.rising, edges.falling, level10, level90))
    m.riseTime = *rise * dt;
  if (const auto fall = MeanTransition(x, -1.0, edges.falling, edges.rising, level90, level10))
    m.fallTime = *fall * dt;

  const PeriodSpan rising = SpanOf(edges.rising);
  const PeriodSpan falling = SpanOf(edges.falling);
  const std::size_t periods = rising.periods + falling.periods;
  if (periods == 0)
    return m;
  edges.periodSamples = ((rising.last - rising.first) + (falling.last - falling.first)) /
                        static_cast<double>(periods);
  if (!(edges.periodSamples > 0)) {
    edges.periodSamples = 0;
    return m;
  }
  double frequency = 1.0 / (edges.periodSamples * dt);

  // Jittery edges: the spectrum's peak near the edges' frequency is the better estimate.
  const double spread = std::max(PeriodSpread(edges.rising), PeriodSpread(edges.falling));
  if (spread / static_cast<double>(periods) > kEdgeUncertainty && spectrum_.Compute(x, dt)) {
    if (const auto peak = spectrum_.FindPeak(frequency * 0.8, frequency * 1.25)) {
      frequency = peak->frequency;
      edges.periodSamples = 1.0 / (frequency * dt);
    }
  }
  m.frequency = frequency;
  m.period = 1.0 / frequency;

  // Mean and RMS over the longest run of whole periods.
  const PeriodSpan& whole =
      (rising.last - rising.first) >= (falling.last - falling.first) ? rising : falling;
  const std::size_t begin = static_cast<std::size_t>(std::ceil(whole.first));
  const std::size_t end = std::min(static_cast<std::size_t>(std::ceil(whole.last)), n);
  if (end > begin) {
    double s = 0;
    double s2 = 0;
    for (std::size_t i = begin; i < end; ++i) {
      s += x[i];
      s2 += x[i] * x[i];
    }
    const double count = static_cast<double>(end - begin);
    m.mean = s / count;
    m.rms = std::sqrt(s2 / count);
  }

  double high = 0;
  double highTotal = 0;
  double low = 0;
  double lowTotal = 0;
  StateTimes(edges.rising, edges.falling, high, highTotal);
  StateTimes(edges.falling, edges.rising, low, lowTotal);
  if (highTotal + lowTotal > 0)
    m.dutyCycle = 100.0 * (high + (lowTotal - low)) / (highTotal + lowTotal);

  return m;
}

void Measurer::Measure(std::span<const ChannelInput> channels, std::size_t reference,
                       std::span<Measurements> out) {
  const std::size_t count = std::min(channels.size(), out.size());
  if (edges_.size() < count)
    edges_.resize(count);
  for (std::size_t c = 0; c < count; ++c)
    out[c] = MeasureInto(channels[c], edges_[c]);
  if (reference >= count || !out[reference].frequency)
    return;

  const Edges& ref = edges_[reference];
  const double refPeriod = ref.periodSamples;
  const double dt = channels[reference].samplePeriod;
  for (std::size_t c = 0; c < count; ++c) {
    const Edges& e = edges_[c];
    if (!out[c].frequency || channels[c].samplePeriod != dt ||
        std::fabs(*out[c].frequency - *out[reference].frequency) > 0.01 * *out[reference].frequency)
      continue;
    const bool useRising = !ref.rising.empty() && !e.rising.empty();
    const std::vector<double>& from = useRising ? ref.rising : ref.falling;
    const std::vector<double>& to = useRising ? e.rising : e.falling;
    if (from.empty() || to.empty())
      continue;
    // The circular mean keeps edges near half a period apart from averaging to zero.
    double sumCos = 0;
    double sumSin = 0;
    std::size_t j = 0;
    for (const double r : from) {
      while (j + 1 < to.size() && std::fabs(to[j + 1] - r) <= std::fabs(to[j] - r))
        ++j;
      const double angle = 2 * std::numbers::pi * (to[j] - r) / refPeriod;
      sumCos += std::cos(angle);
      sumSin += std::sin(angle);
    }
    if (std::hypot(sumCos, sumSin) < 1e-9 * static_cast<double>(from.size()))
      continue;
    double angle = std::atan2(sumSin, sumCos);
    if (angle <= -std::numbers::pi)
      angle = std::numbers::pi;
    out[c].phase = angle * 180 / std::numbers::pi;
    out[c].delay = angle / (2 * std::numbers::pi) * refPeriod * dt;
  }
}

} // namespace qvt::analysis
