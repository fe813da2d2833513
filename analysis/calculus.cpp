// SPDX-License-Identifier: GPL-3.0-or-later
// The cumulative trapezoid integral and the tools between two bounds. Every loop skips the
// gap samples, so that a curve with holes still gives values wherever they make sense.
#include "calculus.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numbers.h"

namespace qvt::analysis {

namespace {

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

// The integral over [from, to] of the line through (x0, y0) and (x1, y1).
double SegmentArea(double x0, double y0, double x1, double y1, double from, double to) {
  const double slope = (y1 - y0) / (x1 - x0);
  const double ya = y0 + slope * (from - x0);
  const double yb = y0 + slope * (to - x0);
  return 0.5 * (ya + yb) * (to - from);
}

// Shared by both forms: x(i) gives the abscissa of sample i.
template <class Abscissa>
void Cumulate(Abscissa x, std::span<const double> y, std::size_t start, std::span<double> out) {
  const std::size_t n = y.size();
  std::fill(out.begin(), out.end(), kNoValue);
  if (start >= n)
    return;
  auto valid = [&](std::size_t i) { return !IsGap(y[i]) && !IsGap(x(i)); };
  // The first valid sample at or after start carries the 0 (start itself unless it is a gap).
  std::size_t origin = start;
  while (origin < n && !valid(origin))
    ++origin;
  if (origin == n) {
    origin = start;
    while (origin > 0 && !valid(origin))
      --origin;
    if (!valid(origin))
      return;
  }
  out[origin] = 0;
  double sum = 0;
  std::size_t last = origin;
  for (std::size_t i = origin + 1; i < n; ++i) {
    if (!valid(i))
      continue;
    sum += 0.5 * (y[last] + y[i]) * (x(i) - x(last));
    out[i] = sum;
    last = i;
  }
  sum = 0;
  last = origin;
  for (std::size_t i = origin; i-- > 0;) {
    if (!valid(i))
      continue;
    sum -= 0.5 * (y[last] + y[i]) * (x(last) - x(i));
    out[i] = sum;
    last = i;
  }
}

} // namespace

void CumulativeTrapezoid(std::span<const double> y, double dx, std::size_t start,
                         std::span<double> out) {
  Cumulate([dx](std::size_t i) { return dx * static_cast<double>(i); }, y, start, out);
}

void CumulativeTrapezoid(std::span<const double> x, std::span<const double> y, std::size_t start,
                         std::span<double> out) {
  const std::size_t n = std::min(x.size(), y.size());
  Cumulate([x](std::size_t i) { return x[i]; }, y.first(n), start, out.first(n));
}

std::optional<double> Tangent::Crossing(double level) const {
  if (slope == 0)
    return std::nullopt;
  return (level - intercept) / slope;
}

std::optional<Tangent> TangentAt(std::span<const double> x, std::span<const double> y, double at,
                                 int points) {
  const std::size_t n = std::min(x.size(), y.size());
  std::size_t centre = n;
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < n; ++i) {
    if (IsGap(x[i]) || IsGap(y[i]))
      continue;
    if (const double d = std::fabs(x[i] - at); d < best) {
      best = d;
      centre = i;
    }
  }
  if (centre == n || points < 3)
    return std::nullopt;
  const std::size_t width = std::min<std::size_t>(static_cast<std::size_t>(points), n);
  std::size_t first = centre >= width / 2 ? centre - width / 2 : 0;
  first = std::min(first, n - width);
  // Normal equations of y = a0 + a1 u + a2 u^2 with u = x - x[centre], scaled by the spread.
  const double x0 = x[centre];
  double spread = 0;
  for (std::size_t i = first; i < first + width; ++i)
    if (!IsGap(x[i]) && !IsGap(y[i]))
      spread = std::max(spread, std::fabs(x[i] - x0));
  if (spread == 0)
    return std::nullopt;
  double s[5] = {}, r[3] = {};
  int used = 0;
  for (std::size_t i = first; i < first + width; ++i) {
    if (IsGap(x[i]) || IsGap(y[i]))
      continue;
    const double u = (x[i] - x0) / spread;
    double p = 1;
    for (int k = 0; k < 5; ++k, p *= u) {
      s[k] += p;
      if (k < 3)
        r[k] += p * y[i];
    }
    ++used;
  }
  if (used < 3)
    return std::nullopt;
  double g[3][4] = {{s[0], s[1], s[2], r[0]}, {s[1], s[2], s[3], r[1]}, {s[2], s[3], s[4], r[2]}};
  for (int c = 0; c < 3; ++c) {
    int pivot = c;
    for (int k = c + 1; k < 3; ++k)
      if (std::fabs(g[k][c]) > std::fabs(g[pivot][c]))
        pivot = k;
    std::swap(g[c], g[pivot]);
    if (std::fabs(g[c][c]) < 1e-12 * s[0])
      return std::nullopt; // fewer than three distinct abscissas
    for (int k = c + 1; k < 3; ++k) {
      const double f = g[k][c] / g[c][c];
      for (int j = c; j < 4; ++j)
        g[k][j] -= f * g[c][j];
    }
  }
  double a[3];
  for (int c = 2; c >= 0; --c) {
    double v = g[c][3];
    for (int j = c + 1; j < 3; ++j)
      v -= g[c][j] * a[j];
    a[c] = v / g[c][c];
  }
  Tangent t;
  t.x = x0;
  t.y = a[0];
  t.slope = a[1] / spread;
  t.intercept = t.y - t.slope * x0;
  return t;
}

std::optional<double> ValueAt(std::span<const double> x, std::span<const double> y, double at) {
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (!(x[i] <= at && at <= x[i + 1]))
      continue;
    if (IsGap(x[i]) || IsGap(y[i]) || IsGap(x[i + 1]) || IsGap(y[i + 1]))
      return std::nullopt;
    if (x[i + 1] == x[i])
      return y[i];
    return y[i] + (y[i + 1] - y[i]) * (at - x[i]) / (x[i + 1] - x[i]);
  }
  if (n == 1 && x[0] == at && !IsGap(y[0]))
    return y[0];
  return std::nullopt;
}

std::optional<double> ChordSlope(std::span<const double> x, std::span<const double> y, double a,
                                 double b) {
  const std::optional<double> ya = ValueAt(x, y, a);
  const std::optional<double> yb = ValueAt(x, y, b);
  if (!ya || !yb || a == b)
    return std::nullopt;
  return (*yb - *ya) / (b - a);
}

std::optional<double> Area(std::span<const double> x, std::span<const double> y, double a,
                           double b) {
  const std::size_t n = std::min(x.size(), y.size());
  const double sign = a <= b ? 1 : -1;
  OrderPair(a, b);
  bool seenFirst = false;
  double firstX = 0, lastX = 0, sum = 0;
  std::size_t previous = n;
  for (std::size_t i = 0; i < n; ++i) {
    if (IsGap(x[i]) || IsGap(y[i]))
      continue;
    if (!seenFirst) {
      firstX = x[i];
      seenFirst = true;
    }
    lastX = x[i];
    if (previous != n && x[i] > x[previous]) {
      const double from = std::max(a, x[previous]);
      const double to = std::min(b, x[i]);
      if (to > from)
        sum += SegmentArea(x[previous], y[previous], x[i], y[i], from, to);
    }
    previous = i;
  }
  if (!seenFirst || a < firstX || b > lastX)
    return std::nullopt;
  return sign * sum;
}

std::optional<Statistics> StatisticsBetween(std::span<const double> x, std::span<const double> y,
                                            double a, double b) {
  OrderPair(a, b);
  const std::size_t n = std::min(x.size(), y.size());
  Statistics s;
  // Welford's update keeps the spread exact on a plateau far from zero.
  double m2 = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (IsGap(x[i]) || IsGap(y[i]) || x[i] < a || x[i] > b)
      continue;
    if (s.count == 0)
      s.min = s.max = y[i];
    ++s.count;
    const double d = y[i] - s.mean;
    s.mean += d / static_cast<double>(s.count);
    m2 += d * (y[i] - s.mean);
    s.min = std::min(s.min, y[i]);
    s.max = std::max(s.max, y[i]);
  }
  if (s.count == 0)
    return std::nullopt;
  s.standardDeviation = s.count > 1 ? std::sqrt(m2 / static_cast<double>(s.count - 1)) : 0;
  return s;
}

} // namespace qvt::analysis
