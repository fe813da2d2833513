// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as cosine sums. Keeping them in that form gives the coherent gain (a_0) and the
// exact response between bins in closed form, which the peak interpolation relies on.
#include "window.h"

#include <array>
#include <cmath>
#include <complex>
#include <numbers>

namespace qvt::analysis {

namespace {

struct CosineSum {
  std::array<double, 5> a{};
  int terms = 1;
};

// Magnitudes of the coefficients; the signs alternate. Blackman-Harris is the four-term
// minimum-sidelobe window (-92 dB); the flat-top one reads a tone within 0.01 dB wherever it
// falls between bins.
CosineSum Coefficients(Window window) {
  switch (window) {
  case Window::kRectangular:
    return {{1.0}, 1};
  case Window::kHann:
    return {{0.5, 0.5}, 2};
  case Window::kHamming:
    return {{0.54, 0.46}, 2};
  case Window::kBlackmanHarris:
    return {{0.35875, 0.48829, 0.14128, 0.01168}, 4};
  case Window::kFlatTop:
    return {{0.21557895, 0.41663158, 0.277263158, 0.083578947, 0.006947368}, 5};
  }
  return {{1.0}, 1};
}

// Sum over i < n of exp(-j 2 pi x i / n): the transform of the n-point rectangle at x bins.
std::complex<double> Dirichlet(double x, std::size_t n) {
  const double nd = static_cast<double>(n);
  const double r = std::remainder(x, nd);
  if (std::fabs(r) < 1e-12)
    return {nd, 0.0};
  using std::numbers::pi;
  const std::complex<double> num = 1.0 - std::polar(1.0, -2 * pi * x);
  const std::complex<double> den = 1.0 - std::polar(1.0, -2 * pi * x / nd);
  if (std::abs(num) < 1e-300)
    return {0.0, 0.0};
  return num / den;
}

} // namespace

void FillWindow(Window window, std::span<double> w) {
  const CosineSum c = Coefficients(window);
  const double n = static_cast<double>(w.size());
  for (std::size_t i = 0; i < w.size(); ++i) {
    double v = 0;
    double sign = 1;
    for (int m = 0; m < c.terms; ++m) {
      v += sign * c.a[m] * std::cos(2 * std::numbers::pi * m * static_cast<double>(i) / n);
      sign = -sign;
    }
    w[i] = v;
  }
}

double CoherentGain(Window window) {
  return Coefficients(window).a[0];
}

int MainLobeHalfWidth(Window window) {
  switch (window) {
  case Window::kRectangular:
    return 1;
  case Window::kHann:
  case Window::kHamming:
    return 2;
  case Window::kBlackmanHarris:
    return 4;
  case Window::kFlatTop:
    return 5;
  }
  return 1;
}

// Each cosine term shifts the rectangle's transform by +-m bins.
double WindowResponse(Window window, std::size_t n, double offset) {
  if (n == 0)
    return 0;
  const CosineSum c = Coefficients(window);
  std::complex<double> sum = c.a[0] * Dirichlet(offset, n);
  double sign = -1;
  for (int m = 1; m < c.terms; ++m) {
    sum += sign * c.a[m] / 2 * (Dirichlet(offset - m, n) + Dirichlet(offset + m, n));
    sign = -sign;
  }
  return std::abs(sum) / (c.a[0] * static_cast<double>(n));
}

} // namespace qvt::analysis
