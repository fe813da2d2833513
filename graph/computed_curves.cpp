// SPDX-License-Identifier: GPL-3.0-or-later
// TComputedCurves: the set of computed quantities checked as a whole, and their curves
// computed from the channel curves of a sweep or of the recorded points.
#include "computed_curves.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numbers.h"
#include "translate.h"

namespace qvt {

namespace {

std::size_t HeldCount(int count) {
  return static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(TSamples::kCount)));
}

// The first n samples of each visible channel; a hidden one reads as gaps (an empty span).
template <typename Curve>
std::array<std::span<const double>, 4> VisibleColumns(const std::array<Curve, 4>& channels,
                                                      std::size_t n) {
  std::array<std::span<const double>, 4> columns;
  for (std::size_t c = 0; c < channels.size(); ++c)
    if (channels[c].Visible)
      columns[c] = {channels[c].Value.data(), n};
  return columns;
}

// Dark, and far from the channels' pure blue, red, magenta and green.
constexpr std::array<TColour, analysis::kMaxComputed> kComputedColours = {
    MakeColour(204, 102, 0),  MakeColour(0, 128, 128), MakeColour(112, 48, 160),
    MakeColour(128, 128, 0),  MakeColour(0, 64, 128),  MakeColour(96, 96, 96),
    MakeColour(153, 51, 102), MakeColour(102, 51, 0)};

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

// The automatic range of a curve's values: theirs widened by 5 % so that the extremes stay
// off the plot's edges; a flat curve gets a range around its value that a transform can
// divide by.
void AutoRange(std::span<const double> values, double& mini, double& maxi) {
  bool any = false;
  double lo = 0, hi = 0;
  for (const double v : values) {
    if (IsGap(v))
      continue;
    if (!any) {
      lo = hi = v;
      any = true;
    } else {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  if (!any) {
    mini = -1;
    maxi = 1;
  } else if (hi > lo) {
    const double margin = 0.05 * (hi - lo);
    mini = lo - margin;
    maxi = hi + margin;
  } else {
    const double half = lo == 0 ? 1.0 : 0.01 * std::fabs(lo);
    mini = lo - half;
    maxi = lo + half;
  }
  // A span wider than the doubles hold (values near their ends) would make the transform
  // infinite: the range is cut to what it can be.
  if (!std::isfinite(maxi - mini)) {
    mini = std::max(mini, -1e300);
    maxi = std::min(maxi, 1e300);
  }
}

} // namespace

TColour ComputedColour(int k) {
  if (k < 0 || k >= static_cast<int>(kComputedColours.size()))
    return MakeColour(0, 0, 0);
  return kComputedColours[static_cast<std::size_t>(k)];
}

std::optional<analysis::ComputedError>
TComputedCurves::Define(const std::array<analysis::ComputedChannel, 4>& channels,
                        std::vector<analysis::ComputedConstant> constants,
                        std::vector<analysis::ComputedDefinition> definitions,
                        std::vector<TComputedDisplay> displays, std::string_view abscissaUnit) {
  // The model keeps its set when it refuses one: so does this.
  if (auto error = model_.Define(channels, constants, definitions, abscissaUnit))
    return error;
  constants_ = std::move(constants);
  definitions_ = std::move(definitions);
  displays_ = std::move(displays);
  displays_.resize(definitions_.size());
  refused_.reset();
  kept_ = false;
  Curves.clear();
  return std::nullopt;
}

std::optional<analysis::ComputedError>
TComputedCurves::Recheck(const std::array<analysis::ComputedChannel, 4>& channels,
                         std::string_view abscissaUnit) {
  Curves.clear();
  if (auto error = model_.Define(channels, constants_, definitions_, abscissaUnit)) {
    refused_ = std::move(error);
    return refused_;
  }
  refused_.reset();
  kept_ = false;
  return std::nullopt;
}

void TComputedCurves::Keep(std::vector<analysis::ComputedConstant> constants,
                           std::vector<analysis::ComputedDefinition> definitions,
                           std::vector<TComputedDisplay> displays) {
  constants_ = std::move(constants);
  definitions_ = std::move(definitions);
  displays_ = std::move(displays);
  displays_.resize(definitions_.size());
  Curves.clear();
  // The model still holds the set before: it must not compute for this one.
  refused_ = analysis::ComputedError{
      0, qvt::translate("TComputedCurves", "Grandeurs calculées pas encore vérifiées")};
  kept_ = true;
}

const std::string& TComputedCurves::Unit(std::size_t k) const {
  // Only a set the model accepted has the algebra's units.
  if (kept_)
    return definitions_.at(k).unit;
  return model_.Unit(k);
}

std::optional<analysis::ComputedError>
TComputedCurves::ComputeSweep(const std::array<TCourbeOsc, 4>& channels, const TCourbe& time,
                              int count, std::size_t integralStart) {
  const std::size_t n = HeldCount(count);
  const std::array<std::span<const double>, 4> columns = VisibleColumns(channels, n);
  analysis::ComputedInput input;
  input.samples = n;
  input.channels = columns;
  input.time = {time.Value.data(), n};
  // The sweep's samples are evenly spaced: derivatives take the mean step, which rounding in
  // the instants does not disturb.
  input.dt = n >= 2 ? (time.Value[static_cast<std::ptrdiff_t>(n) - 1] - time.Value[0]) /
                          static_cast<double>(n - 1)
                    : 0;
  if (!(input.dt > 0) || !std::isfinite(input.dt))
    input.dt = 0;
  input.integralStart = integralStart;
  return Compute(input);
}

std::optional<analysis::ComputedError>
TComputedCurves::ComputePoints(const std::array<TCourbePoint, 4>& channels, int abscissa,
                               int count) {
  const std::size_t n = HeldCount(count);
  const std::array<std::span<const double>, 4> columns = VisibleColumns(channels, n);
  analysis::ComputedInput input;
  input.samples = n;
  input.channels = columns;
  input.t0 = 0;
  input.dt = 1; // t: the point's number
  if (abscissa >= 0 && abscissa < static_cast<int>(columns.size()))
    input.abscissa = columns[static_cast<std::size_t>(abscissa)];
  return Compute(input);
}

std::optional<analysis::ComputedError>
TComputedCurves::Compute(const analysis::ComputedInput& input) {
  if (refused_ || definitions_.empty()) {
    Curves.clear();
    return std::nullopt;
  }
  std::optional<analysis::ComputedError> error = model_.Compute(input);
  const std::size_t n = input.samples;

  // The curves are made once per set (Define and Recheck empty them): their units are parsed
  // once, and the sample stores are not allocated again at each sweep.
  if (Curves.size() != definitions_.size()) {
    Curves.clear();
    Curves.reserve(definitions_.size());
    for (std::size_t k = 0; k < definitions_.size(); ++k) {
      TCourbe& curve =
          Curves.emplace_back(definitions_[k].name, static_cast<int>(4 + k), model_.Unit(k));
      // The values are SI whatever the prefix typed ("mW"): the curve reads them as such and
      // picks its prefix for each value, else 5 mW would read 5 µW.
      curve.Pow10 = 0;
    }
  }
  for (std::size_t k = 0; k < Curves.size(); ++k) {
    TCourbe& curve = Curves[k];
    const TComputedDisplay& display = displays_[k];
    const std::span<const double> all = model_.Values(k);
    const std::span<const double> values = all.first(std::min(n, all.size()));
    std::copy(values.begin(), values.end(), curve.Value.begin());
    // What lies beyond the samples reads as gaps: a graph never draws an earlier sweep's
    // values.
    std::fill(curve.Value.begin() + static_cast<std::ptrdiff_t>(values.size()), curve.Value.end(),
              kNoValue);
    curve.Colour = display.Colour != 0 ? display.Colour : ComputedColour(static_cast<int>(k));
    curve.Visible = display.Visible;
    if (display.AutoScale) {
      AutoRange(values, curve.Mini, curve.Maxi);
    } else {
      curve.Mini = std::min(display.Mini, display.Maxi);
      curve.Maxi = std::max(display.Mini, display.Maxi);
      // A range of no height (or not a number) cannot be drawn: one around its value instead.
      if (!(curve.Maxi > curve.Mini) || !std::isfinite(curve.Maxi - curve.Mini)) {
        const double v = std::isfinite(display.Mini) ? display.Mini : 0.0;
        AutoRange({&v, 1}, curve.Mini, curve.Maxi);
      }
    }
    curve.ComputeDisplayScale();
  }
  return error;
}

} // namespace qvt
