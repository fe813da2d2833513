// SPDX-License-Identifier: GPL-3.0-or-later
// TRangeMarkerDrag: a marker is grabbed by its line within a few pixels; the nearer of the two
// wins where they overlap, so that two markers dragged together can still be parted.
#include "range_markers_drag.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "courbe.h"
#include "numbers.h"

namespace qvt {

namespace {

// A marker is grabbed within this many pixels of its line.
constexpr int kGrab = 5;

} // namespace

std::pair<double, double> MarkerSpan(std::span<const double> x, double axisLo, double axisHi) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  // A computed abscissa holds the no-value marker where it has a gap.
  for (const double v : x)
    if (std::isfinite(v) && v != kNoValue)
      lo = std::min(lo, v), hi = std::max(hi, v);
  // What the graph shows: a triggered sweep holds samples before the time axis starts.
  lo = std::max(lo, std::min(axisLo, axisHi));
  hi = std::min(hi, std::max(axisLo, axisHi));
  if (lo > hi)
    return {0.0, 0.0};
  return {lo, hi};
}

std::pair<double, double> MarkerSpan(const TCourbe& x, int count) {
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), x.Value.size());
  return MarkerSpan(std::span<const double>(x.Value.data(), n), x.Mini, x.Maxi);
}

int GrabRangeMarker(const TCourbe& xCurve, const TRangeMarkers& markers, double lo, double hi,
                    int px) {
  const auto [a, b] = markers.Shown(lo, hi);
  const int da = std::abs(xCurve.ToPixel(a) - px);
  const int db = std::abs(xCurve.ToPixel(b) - px);
  if (std::min(da, db) > kGrab)
    return -1;
  return da <= db ? 0 : 1;
}

bool TRangeMarkerDrag::Press(const TCourbe& xCurve, double lo, double hi, int px) {
  dragged_ = GrabRangeMarker(xCurve, markers_, lo, hi, px);
  return dragged_ >= 0;
}

bool TRangeMarkerDrag::Move(const TCourbe& xCurve, double lo, double hi, int px) {
  if (dragged_ < 0)
    return false;
  markers_.Move(dragged_, std::clamp(xCurve.FromPixel(px), lo, hi), lo, hi);
  return true;
}

bool TRangeMarkerDrag::Release(double lo, double hi) {
  if (dragged_ < 0)
    return false;
  dragged_ = -1;
  if (markers_.From() <= lo && markers_.To() >= hi)
    markers_.Reset();
  return true;
}

} // namespace qvt
