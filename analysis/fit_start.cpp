// SPDX-License-Identifier: GPL-3.0-or-later
// Starting values of the built-in models.
//
// Each model has one or two parameters that enter nonlinearly (τ, f, μ and σ, n); candidates
// for those come from simple readings of the data, and the rest are solved by least squares on
// the basis functions they multiply, so that a candidate is already the best curve of its
// shape. The fit then starts from the candidates with the lowest sums of squares.
#include "fit_start.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "fit_models.h"
#include "fourier.h"
#include "measurer.h"

namespace qvt::analysis::fit {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Points {
  std::vector<double> x, y; // sorted by x
  double span = 0;
};

Points Sorted(std::span<const double> x, std::span<const double> y) {
  if (std::is_sorted(x.begin(), x.end())) {
    // A sweep's times, most often: no order to work out.
    Points p{{x.begin(), x.end()}, {y.begin(), y.end()}, 0.0};
    if (!p.x.empty())
      p.span = p.x.back() - p.x.front();
    return p;
  }
  std::vector<std::size_t> order(x.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
  Points p;
  p.x.reserve(order.size());
  p.y.reserve(order.size());
  for (std::size_t i : order) {
    p.x.push_back(x[i]);
    p.y.push_back(y[i]);
  }
  if (!p.x.empty())
    p.span = p.x.back() - p.x.front();
  return p;
}

// Least squares of y on up to three basis columns (given as functions of the point index) by
// the normal equations, which is plenty for a start: the coefficients, then the sum of squares
// yᵀy − cᵀAᵀy. NaN coefficients when singular.
template <class Basis> std::array<double, 4> Project(const Points& p, int m, Basis basis) {
  double ata[3][3] = {}, aty[3] = {};
  double b[3];
  double yty = 0;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    basis(i, b);
    yty += p.y[i] * p.y[i];
    for (int r = 0; r < m; ++r) {
      aty[r] += b[r] * p.y[i];
      for (int c = 0; c < m; ++c)
        ata[r][c] += b[r] * b[c];
    }
  }
  const std::array<double, 3> rhs{aty[0], aty[1], aty[2]};
  // Gaussian elimination with partial pivoting.
  std::array<double, 4> out{kNaN, kNaN, kNaN, kNaN};
  for (int c = 0; c < m; ++c) {
    int pivot = c;
    for (int r = c + 1; r < m; ++r)
      if (std::fabs(ata[r][c]) > std::fabs(ata[pivot][c]))
        pivot = r;
    if (!(std::fabs(ata[pivot][c]) > 1e-300))
      return out;
    std::swap(ata[pivot], ata[c]);
    std::swap(aty[pivot], aty[c]);
    for (int r = c + 1; r < m; ++r) {
      const double f = ata[r][c] / ata[c][c];
      for (int k = c; k < m; ++k)
        ata[r][k] -= f * ata[c][k];
      aty[r] -= f * aty[c];
    }
  }
  for (int r = m - 1; r >= 0; --r) {
    double s = aty[r];
    for (int k = r + 1; k < m; ++k)
      s -= ata[r][k] * out[static_cast<std::size_t>(k)];
    out[static_cast<std::size_t>(r)] = s / ata[r][r];
  }
  out[3] = yty;
  for (int r = 0; r < m; ++r)
    out[3] -= out[static_cast<std::size_t>(r)] * rhs[static_cast<std::size_t>(r)];
  out[3] = std::max(out[3], 0.0);
  return out;
}

// The mean of y over a window of the sorted points around index i.
double LevelAt(const Points& p, std::size_t from, std::size_t count) {
  double s = 0;
  for (std::size_t i = from; i < from + count; ++i)
    s += p.y[i];
  return s / static_cast<double>(count);
}

// Frequencies of the points seen as a sweep: the measurements' (edges) and the spectrum's peak.
// Unevenly spaced points are first interpolated onto an even grid.
std::vector<double> Frequencies(const Points& p) {
  std::vector<double> out;
  const std::size_t n = p.x.size();
  if (n < 4 || !(p.span > 0))
    return out;
  const double dt = p.span / static_cast<double>(n - 1);
  std::vector<double> even(n);
  std::size_t j = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = p.x.front() + dt * static_cast<double>(i);
    while (j + 2 < n && p.x[j + 1] < t)
      ++j;
    const double x0 = p.x[j], x1 = p.x[j + 1];
    const double w = x1 > x0 ? std::clamp((t - x0) / (x1 - x0), 0.0, 1.0) : 0.0;
    even[i] = p.y[j] + w * (p.y[j + 1] - p.y[j]);
  }
  const double inf = std::numeric_limits<double>::infinity();
  Measurer measurer;
  if (auto f = measurer.Measure(ChannelInput{even, dt, -inf, inf}).frequency)
    out.push_back(*f);
  Spectrum spectrum;
  if (spectrum.Compute(even, dt))
    if (auto peak = spectrum.FindPeak())
      if (out.empty() || std::fabs(peak->frequency - out[0]) > 1e-3 * out[0])
        out.push_back(peak->frequency);
  if (out.empty())
    out.push_back(1 / p.span); // one period over the points
  return out;
}

// Decay times of an exponential approach to a level: from the three levels at the start, the
// middle and the end, and from a log-linear fit against the end level.
std::vector<double> DecayTimes(const Points& p) {
  std::vector<double> out;
  const std::size_t n = p.x.size();
  const std::size_t w = std::max<std::size_t>(1, n / 20);
  if (n >= 3) {
    const double ys = LevelAt(p, 0, w), ym = LevelAt(p, n / 2 - std::min(n / 2, w / 2), w),
                 ye = LevelAt(p, n - w, w);
    const double half = p.span / 2;
    const double r = (ye - ym) / (ym - ys);
    if (r > 0 && r != 1 && std::isfinite(r))
      out.push_back(-half / std::log(r));
    // Log-linear: ln|y − end level| against x over the points well away from that level.
    const double end = ye - 0.02 * (ys - ye);
    const double sign = ys > end ? 1 : -1;
    double sx = 0, sy = 0, sxx = 0, sxy = 0, m = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double d = sign * (p.y[i] - end);
      if (!(d > 0.05 * std::fabs(ys - end)))
        continue;
      const double l = std::log(d);
      sx += p.x[i];
      sy += l;
      sxx += p.x[i] * p.x[i];
      sxy += p.x[i] * l;
      ++m;
    }
    const double det = m * sxx - sx * sx;
    if (m >= 2 && det > 0) {
      const double slope = (m * sxy - sx * sy) / det;
      if (slope != 0)
        out.push_back(-1 / slope);
    }
  }
  out.push_back(p.span / 3);
  out.push_back(p.span);
  return out;
}

// The decay time of an oscillation's envelope, from the RMS of its first and last thirds.
std::vector<double> EnvelopeTimes(const Points& p) {
  std::vector<double> out;
  const std::size_t n = p.x.size();
  if (n >= 6) {
    const double mean = std::accumulate(p.y.begin(), p.y.end(), 0.0) / static_cast<double>(n);
    auto rms = [&](std::size_t from, std::size_t to) {
      double s = 0;
      for (std::size_t i = from; i < to; ++i)
        s += (p.y[i] - mean) * (p.y[i] - mean);
      return std::sqrt(s / static_cast<double>(to - from));
    };
    const std::size_t third = n / 3;
    const double r1 = rms(0, third), r3 = rms(n - third, n);
    const double gap = (p.x[n - 1 - third / 2] - p.x[third / 2]);
    if (r1 > 0 && r3 > 0 && r1 != r3)
      out.push_back(gap / std::log(r1 / r3));
  }
  out.push_back(p.span / 2);
  if (out.size() == 1)
    out.push_back(p.span * 3);
  return out;
}

void Exponentials(const Points& p, bool charge, std::vector<StartCandidate>& out) {
  std::vector<double> decay(p.x.size());
  for (double tau : DecayTimes(p)) {
    if (!(std::isfinite(tau) && tau != 0))
      continue;
    DecayTerms(p.x, tau, decay.data());
    auto c = Project(p, 2, [&](std::size_t i, double* b) {
      const double e = decay[i];
      b[0] = charge ? 1 - e : e;
      b[1] = 1;
    });
    out.push_back({{c[0], tau, c[1]}, c[3]});
  }
}

void Sines(const Points& p, bool damped, std::vector<StartCandidate>& out) {
  const std::vector<double> taus = damped ? EnvelopeTimes(p) : std::vector<double>{kNaN};
  const std::size_t n = p.x.size();
  std::vector<double> sines(n), cosines(n), decay(n, 1.0);
  for (double f : Frequencies(p)) {
    PhaseTerms(p.x, f, 0.0, sines.data(), cosines.data());
    for (double tau : taus) {
      if (damped)
        DecayTerms(p.x, tau, decay.data());
      auto c = Project(p, 3, [&](std::size_t i, double* b) {
        b[0] = decay[i] * sines[i];
        b[1] = decay[i] * cosines[i];
        b[2] = 1;
      });
      // a·sin θ + b·cos θ = A·sin(θ + φ) with A = hypot(a, b), φ = atan2(b, a).
      const double amplitude = std::hypot(c[0], c[1]), phase = std::atan2(c[1], c[0]);
      if (damped)
        out.push_back({{amplitude, tau, f, phase, c[2]}, c[3]});
      else
        out.push_back({{amplitude, f, phase, c[2]}, c[3]});
    }
  }
}

void Powers(const Points& p, std::vector<StartCandidate>& out) {
  std::vector<double> exponents;
  double sx = 0, sy = 0, sxx = 0, sxy = 0, m = 0;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (!(p.x[i] > 0 && p.y[i] != 0))
      continue;
    const double lx = std::log(p.x[i]), ly = std::log(std::fabs(p.y[i]));
    sx += lx;
    sy += ly;
    sxx += lx * lx;
    sxy += lx * ly;
    ++m;
  }
  const double det = m * sxx - sx * sx;
  if (m >= 2 && det > 0)
    exponents.push_back((m * sxy - sx * sy) / det);
  for (double n : {1.0, 2.0, 0.5, -1.0, 3.0})
    exponents.push_back(n);
  for (double n : exponents) {
    auto c = Project(p, 1, [&](std::size_t i, double* b) { b[0] = std::pow(p.x[i], n); });
    out.push_back({{c[0], n}, c[3]});
  }
}

void Gaussians(const Points& p, std::vector<StartCandidate>& out) {
  const std::size_t n = p.x.size();
  if (n < 3)
    return;
  const std::size_t w = std::max<std::size_t>(1, n / 10);
  const double base = 0.5 * (LevelAt(p, 0, w) + LevelAt(p, n - w, w));
  for (int sign : {1, -1}) {
    std::size_t peak = 0;
    for (std::size_t i = 1; i < n; ++i)
      if (sign * (p.y[i] - p.y[peak]) > 0)
        peak = i;
    const double height = p.y[peak] - base;
    // The half-height crossings on both sides of the peak.
    auto crossing = [&](int step) -> double {
      for (std::size_t i = peak; i < n && i > 0;) {
        const std::size_t next = step > 0 ? i + 1 : i - 1;
        if (next >= n)
          break;
        if (sign * (p.y[next] - base) < sign * height / 2)
          return std::fabs(p.x[next] - p.x[peak]);
        i = next;
      }
      return kNaN;
    };
    const double left = crossing(-1), right = crossing(1);
    double half = std::isfinite(left) && std::isfinite(right) ? (left + right) / 2
                  : std::isfinite(left)                       ? left
                  : std::isfinite(right)                      ? right
                                                              : p.span / 4;
    if (!(half > 0))
      half = p.span / 4;
    const double sigma = half / std::sqrt(2 * std::log(2.0));
    const double mu = p.x[peak];
    auto c = Project(p, 2, [&](std::size_t i, double* b) {
      const double u = (p.x[i] - mu) / sigma;
      b[0] = std::exp(-0.5 * u * u);
      b[1] = 1;
    });
    out.push_back({{c[0], mu, sigma, c[1]}, c[3]});
  }
}

} // namespace

std::vector<StartCandidate> StartCandidates(FitModel model, std::span<const double> x,
                                            std::span<const double> y) {
  const Points p = Sorted(x, y);
  std::vector<StartCandidate> out;
  switch (model) {
  case FitModel::kExponential:
    Exponentials(p, false, out);
    break;
  case FitModel::kCharge:
    Exponentials(p, true, out);
    break;
  case FitModel::kSine:
    Sines(p, false, out);
    break;
  case FitModel::kDampedSine:
    Sines(p, true, out);
    break;
  case FitModel::kPower:
    Powers(p, out);
    break;
  case FitModel::kGaussian:
    Gaussians(p, out);
    break;
  default:
    break;
  }
  return out;
}

} // namespace qvt::analysis::fit
