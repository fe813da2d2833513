// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing over a graph's plot: the range markers with their handles, and a model curve given
// as values at abscissae. The transforms are those of the curves as last painted.
#pragma once

#include <span>

#include "colour.h"
#include "graphe_base.h"
#include "range_markers.h"

namespace qvt {

class TCourbe;

// The two markers of data from `lo` to `hi` as dotted vertical lines across `plot` with a
// small triangle at the top of each, the part outside the range shaded lightly.
void DrawRangeMarkers(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                      const TRangeMarkers& markers, double lo, double hi);

// The marker (0 or 1) whose line is within a few pixels of column `x`, or -1.
int GrabRangeMarker(const TCourbe& xCurve, const TRangeMarkers& markers, double lo, double hi,
                    int x);

// The polyline through (x[i], y[i]) dashed in `colour`, clipped to `plot`, broken where a
// value is not finite.
void DrawModelCurve(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                    const TCourbe& yCurve, std::span<const double> x, std::span<const double> y,
                    TColour colour);

} // namespace qvt
