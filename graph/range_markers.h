// SPDX-License-Identifier: GPL-3.0-or-later
// TRangeMarkers: the two vertical markers ("bornes") that bound the part of a sweep a
// calculation reads, as two abscissae in the units of the horizontal axis. Until they are
// placed the range is the whole sweep. No drawing here (see range_markers_draw.h).
#pragma once

#include <optional>
#include <utility>

namespace qvt {

class TRangeMarkers {
public:
  // The markers have been placed: the range is theirs, not the whole sweep.
  bool Placed() const { return first_.has_value(); }
  // Back to the whole sweep.
  void Reset() { first_.reset(), second_.reset(); }
  // Both markers at once, in any order.
  void Place(double a, double b) { first_ = a, second_ = b; }
  // Marker 0 or 1 to `position`; the markers not yet placed are first put at `lo` and `hi`,
  // the ends of the data, so that dragging one keeps the other at its end.
  void Move(int marker, double position, double lo, double hi);
  // The positions to show for data from `lo` to `hi`: the markers', or lo and hi.
  std::pair<double, double> Shown(double lo, double hi) const;
  // The range in order; the whole line (-inf, +inf) until the markers are placed.
  double From() const;
  double To() const;

private:
  std::optional<double> first_, second_;
};

} // namespace qvt
