// SPDX-License-Identifier: GPL-3.0-or-later
// TRangeMarkers: two abscissae; the range is read in order whichever marker was dragged past
// the other.
#include "range_markers.h"

#include <algorithm>
#include <limits>

namespace qvt {

void TRangeMarkers::Move(int marker, double position, double lo, double hi) {
  if (!Placed())
    Place(lo, hi);
  (marker == 0 ? first_ : second_) = position;
}

std::pair<double, double> TRangeMarkers::Shown(double lo, double hi) const {
  if (!Placed())
    return {lo, hi};
  return {*first_, *second_};
}

double TRangeMarkers::From() const {
  return Placed() ? std::min(*first_, *second_) : -std::numeric_limits<double>::infinity();
}

double TRangeMarkers::To() const {
  return Placed() ? std::max(*first_, *second_) : std::numeric_limits<double>::infinity();
}

} // namespace qvt
