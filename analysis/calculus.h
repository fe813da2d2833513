// SPDX-License-Identifier: GPL-3.0-or-later
// Calculus on a sampled curve: the cumulative trapezoid integral, and the tools read between
// two abscissa bounds: tangent at a point, chord slope, signed area and statistics.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace qvt::analysis {

// The cumulative integral of y by the trapezoid rule against a uniform step dx, taken from
// sample `start` (the left marker): out[start] = 0, and out[i] is the integral from
// sample start to sample i, negative before start when y > 0. From start = 0 it equals
// scipy.integrate.cumulative_trapezoid(y, dx=dx, initial=0).
//
// Gaps (kNoValue or not finite) stay gaps in out; the integral crosses them along the straight
// line between the samples on either side, so one bad sample does not blank the rest. A start
// out of range, or every sample a gap: all kNoValue.
void CumulativeTrapezoid(std::span<const double> y, double dx, std::size_t start,
                         std::span<double> out);
// The same against an abscissa x (the point graph), x as long as y; a gap in x is a gap of the
// sample.
void CumulativeTrapezoid(std::span<const double> x, std::span<const double> y, std::size_t start,
                         std::span<double> out);

// The tangent at a point: the least-squares parabola through the `points` samples nearest
// the point (centred on the sample nearest `at`, shifted inside the curve at its ends), read at
// that sample.
struct Tangent {
  double x = 0;         // the sample the tangent touches
  double y = 0;         // the fitted value there
  double slope = 0;     // dy/dx
  double intercept = 0; // y of the line at x = 0
  // Where the line crosses y = level: empty for a horizontal line.
  std::optional<double> Crossing(double level) const;
};
// Empty when fewer than 3 valid samples lie in the window or they do not fix a slope (equal
// abscissas). Gaps inside the window are left out of the fit. points: 3 at least (5 default).
std::optional<Tangent> TangentAt(std::span<const double> x, std::span<const double> y, double at,
                                 int points = 5);

// The value of the curve at abscissa `at`, interpolated between the two samples around it
// (x increasing); empty outside the curve or next to a gap.
std::optional<double> ValueAt(std::span<const double> x, std::span<const double> y, double at);

// The slope of the chord between the curve's points at abscissas a and b (interpolated);
// empty when either is, or a == b.
std::optional<double> ChordSlope(std::span<const double> x, std::span<const double> y, double a,
                                 double b);

// The signed area under the straight lines joining the samples, from abscissa a to b (b < a
// gives the opposite sign), the partial segments at the bounds included; gaps are crossed
// like in CumulativeTrapezoid. x increasing. Empty when the bounds leave the curve.
std::optional<double> Area(std::span<const double> x, std::span<const double> y, double a,
                           double b);

// The samples with a <= x <= b (either order), gaps left out. The standard deviation is the
// sample one (divided by count - 1), 0 for a single sample.
struct Statistics {
  std::size_t count = 0;
  double mean = 0;
  double standardDeviation = 0;
  double min = 0;
  double max = 0;
};
// Empty when no valid sample lies between the bounds.
std::optional<Statistics> StatisticsBetween(std::span<const double> x, std::span<const double> y,
                                            double a, double b);

} // namespace qvt::analysis
