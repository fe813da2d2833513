// SPDX-License-Identifier: GPL-3.0-or-later
// TRangeMarkerDrag: the mouse on the two range markers ("bornes") over a graph: which marker
// is near a column, the drag of the one taken, its release. One object for the window, over
// the markers every calculation shares; no drawing here (see range_markers_draw.h).
#pragma once

#include <span>
#include <utility>

#include "range_markers.h"

namespace qvt {

class TCourbe;

// The span the markers move in: the finite abscissae of the data, held to the part the
// horizontal axis shows (axisLo..axisHi in any order); 0..0 when nothing is left.
std::pair<double, double> MarkerSpan(std::span<const double> x, double axisLo, double axisHi);
// The same for the first `count` values of `x`, held to x.Mini..x.Maxi.
std::pair<double, double> MarkerSpan(const TCourbe& x, int count);

// The marker (0 or 1) whose line is within a few pixels of column `px` for data from `lo`
// to `hi` on the abscissa `xCurve` (its screen transform as last painted), or -1.
int GrabRangeMarker(const TCourbe& xCurve, const TRangeMarkers& markers, double lo, double hi,
                    int px);

class TRangeMarkerDrag {
public:
  // The markers dragged; they outlive this object.
  explicit TRangeMarkerDrag(TRangeMarkers& markers) : markers_(markers) {}

  // A press at column `px` near a marker takes it (true); anywhere else nothing changes.
  bool Press(const TCourbe& xCurve, double lo, double hi, int px);
  // While a marker is held it goes to the abscissa of `px`, held within lo..hi (true);
  // false when none is held.
  bool Move(const TCourbe& xCurve, double lo, double hi, int px);
  // Lets the marker go (true when one was held). Markers dragged back onto the whole span
  // are the whole sweep again (Reset).
  bool Release(double lo, double hi);
  bool Dragging() const { return dragged_ >= 0; }

private:
  TRangeMarkers& markers_;
  int dragged_ = -1;
};

} // namespace qvt
