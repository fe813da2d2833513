// SPDX-License-Identifier: GPL-3.0-or-later
// Savitzky-Golay weights from the normal equations of the windowed polynomial fit, and the
// filters that slide them along a sweep.
#include "savgol.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"

namespace qvt::analysis {

namespace {

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

void FillGaps(std::span<double> out) {
  std::fill(out.begin(), out.end(), kNoValue);
}

// Solves g z = v in place (n x n, row-major) by Gaussian elimination with partial pivoting.
void Solve(std::vector<long double>& g, std::vector<long double>& v, int n) {
  for (int col = 0; col < n; ++col) {
    int pivot = col;
    for (int r = col + 1; r < n; ++r)
      if (std::fabs(g[r * n + col]) > std::fabs(g[pivot * n + col]))
        pivot = r;
    if (pivot != col) {
      for (int c = 0; c < n; ++c)
        std::swap(g[col * n + c], g[pivot * n + c]);
      std::swap(v[col], v[pivot]);
    }
    for (int r = col + 1; r < n; ++r) {
      const long double f = g[r * n + col] / g[col * n + col];
      for (int c = col; c < n; ++c)
        g[r * n + c] -= f * g[col * n + c];
      v[r] -= f * v[col];
    }
  }
  for (int r = n - 1; r >= 0; --r) {
    long double s = v[r];
    for (int c = r + 1; c < n; ++c)
      s -= g[r * n + c] * v[c];
    v[r] = s / g[r * n + r];
  }
}

// Slides the centred weights over the inside and the end weights over both ends.
void Apply(std::span<const double> y, int points, int order, int deriv, double scale,
           std::span<double> out) {
  const int half = (points - 1) / 2;
  const std::size_t n = y.size();
  const std::vector<double> centre = SavgolWeights(points, order, deriv, half);
  // The index of the next gap at or after each window start would be faster; windows are at
  // most 51 points, so the plain check is cheap next to the sum.
  auto windowValue = [&](std::size_t first, const std::vector<double>& w) {
    double s = 0;
    for (int j = 0; j < points; ++j) {
      const double v = y[first + j];
      if (IsGap(v))
        return kNoValue;
      s += w[j] * v;
    }
    return s * scale;
  };
  for (std::size_t i = half; i + half < n; ++i)
    out[i] = windowValue(i - half, centre);
  for (int at = 0; at < half; ++at) {
    out[at] = windowValue(0, SavgolWeights(points, order, deriv, at));
    out[n - half + at] =
        windowValue(n - points, SavgolWeights(points, order, deriv, half + 1 + at));
  }
}

bool ValidArguments(std::size_t n, int points, int order, int deriv) {
  return ValidFilterPoints(points) && order >= 0 && order < points && deriv >= 0 &&
         n >= static_cast<std::size_t>(points);
}

} // namespace

bool ValidFilterPoints(int points) {
  return points >= kMinFilterPoints && points <= kMaxFilterPoints && points % 2 == 1;
}

std::vector<double> SavgolWeights(int points, int order, int deriv, int at) {
  // Positions are scaled to [-1, 1] around the window's centre so that the normal equations
  // stay well conditioned for every window and degree; the derivative is scaled back at the end.
  const int n = order + 1;
  const int half = (points - 1) / 2;
  std::vector<double> weights(points, 0.0);
  if (deriv > order)
    return weights;
  auto position = [&](int j) { return static_cast<long double>(j - half) / half; };
  std::vector<long double> g(n * n, 0.0L);
  for (int j = 0; j < points; ++j) {
    long double p = 1;
    std::vector<long double> powers(2 * n - 1);
    for (auto& pw : powers) {
      pw = p;
      p *= position(j);
    }
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c)
        g[r * n + c] += powers[r + c];
  }
  // v[k] = d^deriv/du^deriv of u^k at the evaluation point.
  std::vector<long double> v(n, 0.0L);
  const long double u0 = position(at);
  for (int k = deriv; k < n; ++k) {
    long double f = 1;
    for (int d = 0; d < deriv; ++d)
      f *= k - d;
    v[k] = f * std::pow(u0, k - deriv);
  }
  Solve(g, v, n);
  const long double unit = std::pow(static_cast<long double>(half), -deriv);
  for (int j = 0; j < points; ++j) {
    long double s = 0, p = 1;
    for (int k = 0; k < n; ++k, p *= position(j))
      s += p * v[k];
    weights[j] = static_cast<double>(s * unit);
  }
  return weights;
}

void SavgolFilter(std::span<const double> y, int points, int order, int deriv, double delta,
                  std::span<double> out) {
  if (!ValidArguments(y.size(), points, order, deriv) || !std::isfinite(delta) || delta == 0) {
    FillGaps(out);
    return;
  }
  Apply(y, points, order, deriv, std::pow(delta, -deriv), out);
}

void SavgolDerivativeAgainst(std::span<const double> x, std::span<const double> y, int points,
                             int order, std::span<double> out) {
  const std::size_t n = std::min(x.size(), y.size());
  if (!ValidArguments(n, points, order, 1)) {
    FillGaps(out);
    return;
  }
  std::vector<double> dx(n);
  SavgolFilter(x.first(n), points, order, 1, 1.0, dx);
  SavgolFilter(y.first(n), points, order, 1, 1.0, out.first(n));
  for (std::size_t i = 0; i < n; ++i)
    out[i] = out[i] == kNoValue || dx[i] == kNoValue || dx[i] == 0 ? kNoValue : out[i] / dx[i];
}

void MovingAverage(std::span<const double> y, int points, std::span<double> out) {
  const std::size_t n = y.size();
  if (!ValidArguments(n, points, 0, 0)) {
    FillGaps(out);
    return;
  }
  const std::size_t half = (points - 1) / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t reach = std::min({half, i, n - 1 - i});
    double s = 0;
    bool gap = false;
    for (std::size_t j = i - reach; j <= i + reach && !gap; ++j) {
      gap = IsGap(y[j]);
      s += y[j];
    }
    out[i] = gap ? kNoValue : s / static_cast<double>(2 * reach + 1);
  }
}

} // namespace qvt::analysis
