// SPDX-License-Identifier: GPL-3.0-or-later
// Savitzky-Golay filters and the moving average: smoothing and first derivative of a sampled
// curve by a least-squares polynomial over a sliding window of an odd number of points.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace qvt::analysis {

// Window sizes the filters accept: odd, 3 to 51; 9 when the user leaves it.
inline constexpr int kMinFilterPoints = 3;
inline constexpr int kMaxFilterPoints = 51;
inline constexpr int kDefaultFilterPoints = 9;
// The degree of the fitted polynomial unless the caller gives one.
inline constexpr int kDefaultPolyOrder = 2;

// Whether `points` is a window size the filters accept.
bool ValidFilterPoints(int points);

// The weights c[0..points-1] such that sum c[j] y[j] over a window of `points` samples at unit
// spacing is the `deriv`-th derivative, at position `at` (0 = first sample of the window), of
// the least-squares polynomial of degree `order` through the window. order < points.
std::vector<double> SavgolWeights(int points, int order, int deriv, int at);

// Savitzky-Golay filter of `y` into `out` (same size): deriv 0 smooths, deriv 1 differentiates
// against a uniform step `delta`. Equal to scipy.signal.savgol_filter(y, points, order,
// deriv, delta) with its default mode "interp": inside, the polynomial of each centred window
// is read at its centre; within (points - 1) / 2 samples of either end, the polynomial fitted
// to the first (last) `points` samples is read at each sample's own place.
//
// Gaps: a sample equal to kNoValue or not finite makes every output whose window holds it
// kNoValue. Fewer samples than `points`, or points/order outside their ranges (order from 0
// to points - 1), or delta not finite and non-zero: the whole output is kNoValue.
void SavgolFilter(std::span<const double> y, int points, int order, int deriv, double delta,
                  std::span<double> out);

// The derivative dy/dx against a non-uniform abscissa (the point graph): the ratio of the
// filtered derivatives of y and of x against the sample index, each as SavgolFilter gives it
// with delta 1. Exact where x is uniform (it then equals the filter with delta = the step);
// elsewhere the chain rule on the two smoothed curves. Where the filtered dx/di is 0 (x goes
// back or stands still) or either input is a gap, the output is kNoValue.
void SavgolDerivativeAgainst(std::span<const double> x, std::span<const double> y, int points,
                             int order, std::span<double> out);

// Centred moving average over `points` samples; within (points - 1) / 2 samples of an end the
// window shrinks symmetrically to the samples that exist (the end sample is itself). Gaps in a
// window make that output kNoValue; bad `points` or too few samples: all kNoValue.
void MovingAverage(std::span<const double> y, int points, std::span<double> out);

} // namespace qvt::analysis
