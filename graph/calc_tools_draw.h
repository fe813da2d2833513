// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the tools between the range markers over a painted graph: the tangent across the
// plot with its crossings, the chord of "Pente", the shaded area of "Aire" and the mean and
// spread of "Statistiques". The transforms are those of the curves as last painted; values are
// in SI units like the curves'.
#pragma once

#include <optional>
#include <span>

#include "calculus.h"
#include "colour.h"
#include "graphe_base.h"

namespace qvt {

class TCanvas;
class TCourbe;

// The line of `tangent` across the whole plot, its point of contact ringed, and a ring where
// it crosses the horizontal axis (y = 0) and, when given, `level`, drawn dotted across the
// plot, with a dotted drop from that crossing to the axis.
void DrawTangent(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
                 const analysis::Tangent& tangent, std::optional<double> level);

// The chord from (xa, ya) to (xb, yb), both ends ringed.
void DrawChord(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
               double xa, double ya, double xb, double yb);

// The signed area between the curve through (x[i], y[i]) (x increasing, gaps as in
// analysis::Area) and the horizontal axis, from abscissa a to b, shaded in `colour`.
void DrawArea(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
              std::span<const double> x, std::span<const double> y, double a, double b,
              TColour colour);

// The mean from abscissa a to b as a dashed line in `colour`, over the band mean ± deviation
// lightly shaded.
void DrawStatistics(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                    const TCourbe& yCurve, double a, double b, double mean, double deviation,
                    TColour colour);

} // namespace qvt
