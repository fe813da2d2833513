// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing over a graph's plot: the range markers with their handles, and a model curve given
// as values at abscissae. The transforms are those of the curves as last painted. The mouse
// on the markers is range_markers_drag.h's.
#pragma once

#include <QRect>

#include <span>

#include "colour.h"
#include "graphe_base.h"
#include "range_markers.h"

namespace qvt {

class TCourbe;

// Clips `canvas` to the inside of `plot` (within any clip it has) for the life of the object,
// then gives it back the clip it had.
class TPlotClip {
public:
  TPlotClip(TCanvas& canvas, const TRect& plot);
  ~TPlotClip();
  TPlotClip(const TPlotClip&) = delete;
  TPlotClip& operator=(const TPlotClip&) = delete;

private:
  TCanvas& canvas_;
  bool had_;
  QRect old_;
};

// The two markers of data from `lo` to `hi` as dotted vertical lines across `plot` with a
// small triangle at the top of each, the part outside the range shaded lightly.
void DrawRangeMarkers(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                      const TRangeMarkers& markers, double lo, double hi);

// The polyline through (x[i], y[i]) dashed in `colour`, clipped to `plot`, broken where a
// value is not finite.
void DrawModelCurve(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                    const TCourbe& yCurve, std::span<const double> x, std::span<const double> y,
                    TColour colour);

} // namespace qvt
