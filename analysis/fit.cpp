// SPDX-License-Identifier: GPL-3.0-or-later
// The fit: selection of the points, linear least squares for the polynomials, Levenberg-
// Marquardt on the normal equations for the other built-in models, GSL's trust-region
// Levenberg-Marquardt (QR, differences) for formulas, and the covariance.
//
// The built-in models give their derivatives with their values, and are well conditioned
// once scaled, so that one pass of the model at a trial point can give the residuals and the
// normal sums JᵀJ, Jᵀr and χ² at once: a trial step then costs that pass and a 5 × 5 solve.
// GSL's driver would keep the n × p Jacobian and go over it some ten times a step besides.
//
// The residuals are divided by the largest |y| so that data near 1e308 can be squared (the
// built-in models fit their parameters in y's unit divided by it too, so that their values
// stay in range): the values, the covariance (JᵀJ)⁻¹·χ²/(n − p) and r² do not depend on that
// scale, and χ² and the RMS are scaled back at the end. The covariance is taken from a
// Cholesky of JᵀJ when the columns are clearly independent, else from a singular value
// decomposition of the Jacobian with its columns brought to unit length: a
// singular value that is negligible against the largest marks the parameters of its vector
// undetermined, rather than giving them a huge error that means nothing.
#include "fit.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "fit_models.h"
#include "fit_start.h"

namespace qvt::analysis {

namespace {

using fit::ModelFunction;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The residual that stands for a point where a trial step's model is not finite: large enough
// to reject the step, finite so that the norms stay finite.
constexpr double kRejectResidual = 1e100;

// A negligible singular value, relative to the largest: tighter for exact derivatives than for
// the finite differences of formulas, whose columns carry errors near 1e-8.
constexpr double kRankToleranceExact = 1e-10;
constexpr double kRankToleranceDifferences = 1e-7;
// A parameter whose share in the negligible directions exceeds this is undetermined.
constexpr double kNullShare = 1e-6;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
           return up(x) == up(y);
         });
}

struct LeastSquares {
  std::vector<double> coefficients; // when a right-hand side is given
  std::vector<double> covariance;   // (AᵀA)⁺, m × m
  std::vector<bool> undetermined;   // by column
};

// Least squares of rhs on the m columns of a (n × m, row-major, n >= m), by SVD.
bool SolveLeastSquares(std::vector<double> a, std::size_t n, std::size_t m, const double* rhs,
                       double tolerance, LeastSquares& out) {
  std::vector<double> norm(m, 0.0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < m; ++j)
      norm[j] = std::hypot(norm[j], a[i * m + j]);
  for (std::size_t j = 0; j < m; ++j) {
    if (!std::isfinite(norm[j]))
      return false;
    if (norm[j] > 0)
      for (std::size_t i = 0; i < n; ++i)
        a[i * m + j] /= norm[j];
  }
  gsl_matrix_view u = gsl_matrix_view_array(a.data(), n, m);
  std::unique_ptr<gsl_matrix, decltype(&gsl_matrix_free)> v(gsl_matrix_alloc(m, m),
                                                            gsl_matrix_free);
  std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)> s(gsl_vector_alloc(m), gsl_vector_free);
  std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)> work(gsl_vector_alloc(m),
                                                               gsl_vector_free);
  if (gsl_linalg_SV_decomp(&u.matrix, v.get(), s.get(), work.get()) != GSL_SUCCESS)
    return false;
  const double largest = gsl_vector_get(s.get(), 0);
  std::vector<bool> kept(m);
  for (std::size_t k = 0; k < m; ++k)
    kept[k] = largest > 0 && gsl_vector_get(s.get(), k) > tolerance * largest;

  out.covariance.assign(m * m, 0.0);
  out.undetermined.assign(m, false);
  for (std::size_t j = 0; j < m; ++j) {
    double nullShare = 0;
    for (std::size_t k = 0; k < m; ++k)
      if (!kept[k])
        nullShare += gsl_matrix_get(v.get(), j, k) * gsl_matrix_get(v.get(), j, k);
    out.undetermined[j] = norm[j] == 0 || nullShare > kNullShare;
  }
  for (std::size_t j = 0; j < m; ++j)
    for (std::size_t l = 0; l < m; ++l) {
      if (norm[j] == 0 || norm[l] == 0)
        continue;
      double c = 0;
      for (std::size_t k = 0; k < m; ++k)
        if (kept[k]) {
          const double sk = gsl_vector_get(s.get(), k);
          c += gsl_matrix_get(v.get(), j, k) * gsl_matrix_get(v.get(), l, k) / (sk * sk);
        }
      out.covariance[j * m + l] = c / (norm[j] * norm[l]);
    }
  if (rhs) {
    std::vector<double> scaled(m, 0.0);
    for (std::size_t k = 0; k < m; ++k) {
      if (!kept[k])
        continue;
      double dot = 0;
      for (std::size_t i = 0; i < n; ++i)
        dot += gsl_matrix_get(&u.matrix, i, k) * rhs[i];
      dot /= gsl_vector_get(s.get(), k);
      for (std::size_t j = 0; j < m; ++j)
        scaled[j] += dot * gsl_matrix_get(v.get(), j, k);
    }
    out.coefficients.assign(m, 0.0);
    for (std::size_t j = 0; j < m; ++j)
      out.coefficients[j] = norm[j] > 0 ? scaled[j] / norm[j] : 0.0;
  }
  return true;
}

// Brings the lower triangle of the p × p matrix a (row-major) to a unit diagonal, the factors
// into norm, then factors it as L·Lᵀ in place. False when a diagonal term is not finite or not
// above `tiny`, or when a pivot of the unit matrix is not above `minPivot`.
bool UnitCholesky(double* a, std::size_t p, double* norm, double tiny, double minPivot) {
  for (std::size_t j = 0; j < p; ++j) {
    if (!std::isfinite(a[j * p + j]) || !(a[j * p + j] > tiny))
      return false;
    norm[j] = std::sqrt(a[j * p + j]);
  }
  for (std::size_t j = 0; j < p; ++j)
    for (std::size_t l = 0; l <= j; ++l)
      a[j * p + l] /= norm[j] * norm[l];
  for (std::size_t j = 0; j < p; ++j) {
    double d = a[j * p + j];
    for (std::size_t k = 0; k < j; ++k)
      d -= a[j * p + k] * a[j * p + k];
    if (!(d > minPivot))
      return false;
    d = std::sqrt(d);
    a[j * p + j] = d;
    for (std::size_t i = j + 1; i < p; ++i) {
      double v = a[i * p + j];
      for (std::size_t k = 0; k < j; ++k)
        v -= a[i * p + k] * a[j * p + k];
      a[i * p + j] = v / d;
    }
  }
  return true;
}

// The lower triangle of JᵀJ (m × m, row-major) for a Jacobian n × m, row-major.
std::vector<double> NormalMatrix(const std::vector<double>& a, std::size_t n, std::size_t m) {
  std::vector<double> g(m * m, 0.0);
  for (std::size_t j = 0; j < m; ++j)
    for (std::size_t l = 0; l <= j; ++l) {
      double c = 0;
      for (std::size_t i = 0; i < n; ++i)
        c += a[i * m + j] * a[i * m + l];
      g[j * m + l] = c;
    }
  return g;
}

// The covariance (JᵀJ)⁻¹ of a well-conditioned Jacobian from a Cholesky of its m × m normal
// matrix `g` (lower triangle), columns brought to unit length: no pass over J instead of an
// SVD of it. False when the columns are not clearly independent (or their norms not finite, or
// too small to square): the caller then takes the SVD, which alone tells which parameters are
// undetermined. With unit columns, no diagonal term of the inverse above kWellConditioned
// means every singular value above 1/(m·√kWellConditioned) of the largest, far from the
// negligible ones, so no parameter is undetermined.
bool NormalCovariance(std::vector<double> g, std::size_t m, LeastSquares& out) {
  constexpr double kWellConditioned = 1e6;
  std::vector<double> norm(m);
  if (!UnitCholesky(g.data(), m, norm.data(), 1e-280, 1 / kWellConditioned))
    return false;
  // L⁻¹ (lower), then (JᵀJ)⁻¹ = L⁻ᵀ·L⁻¹ scaled back by the norms.
  std::vector<double> inv(m * m, 0.0);
  for (std::size_t j = 0; j < m; ++j) {
    inv[j * m + j] = 1 / g[j * m + j];
    for (std::size_t i = j + 1; i < m; ++i) {
      double v = 0;
      for (std::size_t k = j; k < i; ++k)
        v -= g[i * m + k] * inv[k * m + j];
      inv[i * m + j] = v / g[i * m + i];
    }
  }
  out.covariance.assign(m * m, 0.0);
  out.undetermined.assign(m, false);
  for (std::size_t j = 0; j < m; ++j)
    for (std::size_t l = 0; l <= j; ++l) {
      double c = 0;
      for (std::size_t k = j; k < m; ++k)
        c += inv[k * m + j] * inv[k * m + l];
      if (j == l && c > kWellConditioned)
        return false;
      out.covariance[j * m + l] = out.covariance[l * m + j] = c / (norm[j] * norm[l]);
    }
  return true;
}

using Clock = std::chrono::steady_clock;

// The points and parameters of one fit, as the GSL callbacks see them.
struct Problem {
  ModelFunction* model = nullptr;
  std::vector<double> x, y; // the fitted points, y divided by `scale`
  double scale = 1;
  // What the model's values are divided by: `scale` for a formula, 1 for a built-in model,
  // whose parameters in y's unit are fitted divided by `scale` instead, so that its values and
  // derivatives stay within range too.
  double divide = 1;
  std::vector<double> full; // every parameter, the fixed ones at their values
  std::vector<int> free;    // indices of the fitted parameters in `full`
  bool exact = false;       // the model has derivatives of its own
  std::vector<double> values, shifted;
  std::vector<double> lastAt; // the free values of `values`, for the Jacobian's differences
  int evaluations = 0;
  bool notFinite = false; // a Jacobian could not be computed

  std::size_t n() const { return x.size(); }
  void Set(const double* freeValues) {
    for (std::size_t k = 0; k < free.size(); ++k)
      full[static_cast<std::size_t>(free[k])] = freeValues[k];
  }
  // Residuals at the free values into r; false when one is not finite.
  bool Residuals(const double* freeValues, double* r) {
    Set(freeValues);
    values.resize(n());
    model->Values(full.data(), x, values.data());
    ++evaluations;
    lastAt.assign(freeValues, freeValues + free.size());
    bool finite = true;
    for (std::size_t i = 0; i < n(); ++i) {
      r[i] = values[i] / divide - y[i];
      if (!std::isfinite(r[i])) {
        r[i] = kRejectResidual;
        finite = false;
      }
    }
    if (!finite)
      lastAt.clear();
    return finite;
  }
  // One pass of a built-in model (divide = 1) at the free values: residuals into r and the
  // normal sums; false when a value, a derivative or a sum is not finite.
  bool Pass(const double* freeValues, double* r, fit::NormalSums& sums) {
    Set(freeValues);
    ++evaluations;
    return model->Sums(full.data(), x, y, free, r, sums) && sums.Finite();
  }
  // The Jacobian of the residuals at the free values, row-major n × p.
  bool Jacobian(const double* freeValues, double* out, std::size_t stride) {
    const std::size_t p = free.size();
    Set(freeValues);
    if (exact) {
      // Straight into GSL's matrix, then one pass to scale and check it.
      model->Derivatives(full.data(), x, free, out, stride);
      ++evaluations;
      bool finite = true;
      for (std::size_t i = 0; i < n(); ++i) {
        double* row = out + i * stride;
        for (std::size_t k = 0; k < p; ++k) {
          if (divide != 1)
            row[k] /= divide;
          finite = finite && std::isfinite(row[k]);
        }
      }
      return finite;
    }
    // Forward differences with the step of MINPACK (√ε·|p|), backward where the forward point
    // is not finite.
    if (lastAt.size() != p || !std::equal(lastAt.begin(), lastAt.end(), freeValues)) {
      std::vector<double> r(n());
      if (!Residuals(freeValues, r.data()))
        return false;
    }
    const std::vector<double> base = values;
    shifted.resize(n());
    const double root = std::sqrt(std::numeric_limits<double>::epsilon());
    for (std::size_t k = 0; k < p; ++k) {
      double& cell = full[static_cast<std::size_t>(free[k])];
      const double at = cell;
      double h = root * std::fabs(at);
      if (h == 0)
        h = root;
      bool done = false;
      for (double step : {h, -h}) {
        cell = at + step;
        const double actual = cell - at;
        model->Values(full.data(), x, shifted.data());
        ++evaluations;
        bool finite = true;
        for (std::size_t i = 0; i < n(); ++i) {
          const double d = (shifted[i] - base[i]) / actual / divide;
          if (!std::isfinite(d)) {
            finite = false;
            break;
          }
          out[i * stride + k] = d;
        }
        if (finite) {
          done = true;
          break;
        }
      }
      cell = at;
      if (!done)
        return false;
    }
    return true;
  }
};

int ResidualCallback(const gsl_vector* v, void* data, gsl_vector* f) {
  auto* problem = static_cast<Problem*>(data);
  problem->Residuals(v->data, f->data);
  // Steps to non-finite values are rejected through their large residuals. The workspace's
  // vectors and matrices are contiguous, so their data are read and written directly.
  return GSL_SUCCESS;
}

int JacobianCallback(const gsl_vector* v, void* data, gsl_matrix* j) {
  auto* problem = static_cast<Problem*>(data);
  if (!problem->Jacobian(v->data, j->data, j->tda)) {
    problem->notFinite = true;
    return GSL_EDOM;
  }
  return GSL_SUCCESS;
}

// Four partial sums, so that the additions do not wait on one another.
double SumOfSquares(std::span<const double> r) {
  double s[4] = {};
  std::size_t i = 0;
  for (; i + 4 <= r.size(); i += 4)
    for (std::size_t k = 0; k < 4; ++k)
      s[k] += r[i + k] * r[i + k];
  for (; i < r.size(); ++i)
    s[0] += r[i] * r[i];
  return (s[0] + s[1]) + (s[2] + s[3]);
}

// Σ(y − ȳ)², with partial sums too.
double Spread(std::span<const double> y) {
  double s[4] = {};
  std::size_t i = 0;
  for (; i + 4 <= y.size(); i += 4)
    for (std::size_t k = 0; k < 4; ++k)
      s[k] += y[i + k];
  for (; i < y.size(); ++i)
    s[0] += y[i];
  const double mean = ((s[0] + s[1]) + (s[2] + s[3])) / static_cast<double>(y.size());
  std::fill(s, s + 4, 0.0);
  for (i = 0; i + 4 <= y.size(); i += 4)
    for (std::size_t k = 0; k < 4; ++k)
      s[k] += (y[i + k] - mean) * (y[i + k] - mean);
  for (; i < y.size(); ++i)
    s[0] += (y[i] - mean) * (y[i] - mean);
  return (s[0] + s[1]) + (s[2] + s[3]);
}

struct Outcome {
  FitStatus status = FitStatus::kNotConverged;
  std::vector<double> values;   // free parameters
  std::vector<double> jacobian; // n × p at the values, or empty with `normal` given
  std::vector<double> normal;   // JᵀJ at the values (lower triangle, p × p) when known
  std::vector<double> residuals;
  // The linear fit gives the covariance (AᵀA)⁺ of its parameters and their undetermined flags
  // itself; empty for the others.
  std::vector<double> covariance;
  std::vector<bool> undetermined;
  int iterations = 0;
  std::string message;
};

// Whether every column of the Jacobian is nearly orthogonal to the residuals: the scale-free
// gradient test of MINPACK.
bool GradientSmall(const gsl_matrix* j, const gsl_vector* f, double tolerance) {
  // BLAS norms, which neither overflow nor underflow: derivatives near 1e-300 are not zero.
  const double fnorm = gsl_blas_dnrm2(f);
  if (fnorm == 0)
    return true;
  for (std::size_t k = 0; k < j->size2; ++k) {
    gsl_vector_const_view column = gsl_matrix_const_column(j, k);
    const double cnorm = gsl_blas_dnrm2(&column.vector);
    if (cnorm == 0)
      continue;
    double dot = 0;
    gsl_blas_ddot(&column.vector, f, &dot);
    if (std::fabs(dot) / cnorm / fnorm > tolerance)
      return false;
  }
  return true;
}

// The same test from the normal sums of a pass, for the built-in models; their values are in
// y / scale, so that the squares neither overflow nor underflow where that matters.
bool GradientSmall(const fit::NormalSums& s, double tolerance) {
  if (s.chi2 == 0)
    return true;
  for (std::size_t k = 0; k < s.p; ++k) {
    const double squared = s.a[k * s.p + k];
    if (squared > 0 && std::fabs(s.g[k]) / std::sqrt(squared) / std::sqrt(s.chi2) > tolerance)
      return false;
  }
  return true;
}

// Whether the Gauss-Newton step from here would lower χ² by no more than kNoiseShare of the
// noise variance χ²/(n − p): the minimum is then within √kNoiseShare standard errors of every
// parameter, far below what the errors mean, and the steps that GSL would still try, most of
// them rejected near a minimum on noisy data, would change nothing of use. Data without noise
// (χ² near 0) leave this test to the others.
constexpr double kNoiseShare = 1e-10;
constexpr std::size_t kMaxNoiseColumns = 16;
bool WithinNoise(double chi2, const double* g0, const double* a0, std::size_t n, std::size_t p) {
  if (n <= p || p > kMaxNoiseColumns || !std::isfinite(chi2) || !(chi2 > 0))
    return false;
  double g[kMaxNoiseColumns], a[kMaxNoiseColumns * kMaxNoiseColumns], norm[kMaxNoiseColumns];
  std::copy(g0, g0 + p, g);
  std::copy(a0, a0 + p * p, a);
  // Cholesky of JᵀJ with its diagonal brought to 1, then the predicted reduction gᵀ(JᵀJ)⁻¹g.
  if (!UnitCholesky(a, p, norm, 0.0, 1e-12))
    return false;
  double predicted = 0; // |L⁻¹g|²
  for (std::size_t k = 0; k < p; ++k) {
    double v = g[k] / norm[k];
    for (std::size_t m = 0; m < k; ++m)
      v -= a[k * p + m] * g[m];
    g[k] = v / a[k * p + k];
    predicted += g[k] * g[k];
  }
  return predicted <= kNoiseShare * chi2 / static_cast<double>(n - p);
}

bool WithinNoise(const gsl_matrix* j, const gsl_vector* f) {
  const std::size_t n = j->size1, p = j->size2;
  if (n <= p || p > kMaxNoiseColumns)
    return false;
  double g[kMaxNoiseColumns] = {}, a[kMaxNoiseColumns * kMaxNoiseColumns] = {};
  // Column by column, each sum in a register: a row at a time would chain every sum through
  // memory.
  const double* jd = j->data;
  const double* fd = f->data;
  const std::size_t tda = j->tda, fs = f->stride;
  double chi2 = 0;
  for (std::size_t i = 0; i < n; ++i)
    chi2 += fd[i * fs] * fd[i * fs];
  for (std::size_t k = 0; k < p; ++k) {
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
      sum += jd[i * tda + k] * fd[i * fs];
    g[k] = sum;
    for (std::size_t l = 0; l <= k; ++l) {
      double c = 0;
      for (std::size_t i = 0; i < n; ++i)
        c += jd[i * tda + k] * jd[i * tda + l];
      a[k * p + l] = c;
    }
  }
  return WithinNoise(chi2, g, a, n, p);
}

// Iterates from `start` (the free parameters) on a workspace for the problem's sizes.
Outcome Iterate(Problem& problem, gsl_multifit_nlinear_workspace* w,
                const std::vector<double>& start, const FitOptions& options,
                Clock::time_point deadline) {
  Outcome out;
  const std::size_t n = problem.n(), p = problem.free.size();
  gsl_multifit_nlinear_fdf fdf{};
  fdf.f = ResidualCallback;
  fdf.df = JacobianCallback;
  fdf.fvv = nullptr;
  fdf.n = n;
  fdf.p = p;
  fdf.params = &problem;
  std::vector<double> x0 = start;
  gsl_vector_view x0v = gsl_vector_view_array(x0.data(), p);
  problem.notFinite = false;
  if (gsl_multifit_nlinear_init(&x0v.vector, &fdf, w) != GSL_SUCCESS) {
    out.status = FitStatus::kNotFinite;
    out.message = "the model's derivatives are not finite at the starting values";
    return out;
  }
  const int limit = std::max(0, options.maxIterations);
  for (int iteration = 0;; ++iteration) {
    if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
      out.status = FitStatus::kCancelled;
      out.message = "cancelled";
      break;
    }
    if (iteration >= limit) {
      out.status = FitStatus::kNotConverged;
      out.message = "no convergence in " + std::to_string(limit) + " iterations";
      break;
    }
    if (options.timeLimit > 0 && Clock::now() > deadline) {
      out.status = FitStatus::kNotConverged;
      out.message = "no convergence within the time limit";
      break;
    }
    if (WithinNoise(gsl_multifit_nlinear_jac(w), gsl_multifit_nlinear_residual(w))) {
      out.status = FitStatus::kConverged;
      out.message = "converged";
      break;
    }
    const int status = gsl_multifit_nlinear_iterate(w);
    if (status == GSL_ENOPROG) {
      // No step lowers the sum of squares any more: a minimum to the precision of the
      // arithmetic when the gradient is negligible, else a stall.
      const bool small =
          GradientSmall(gsl_multifit_nlinear_jac(w), gsl_multifit_nlinear_residual(w), 1e-5);
      out.status = small ? FitStatus::kConverged : FitStatus::kNotConverged;
      out.message = small ? "converged" : "no further progress away from a minimum";
      break;
    }
    if (status != GSL_SUCCESS) {
      out.status = problem.notFinite ? FitStatus::kNotFinite : FitStatus::kNotConverged;
      out.message = problem.notFinite ? "the model is not finite on the way to the minimum"
                                      : std::string("solver stopped: ") + gsl_strerror(status);
      break;
    }
    int info = 0;
    if (gsl_multifit_nlinear_test(1e-12, 1e-12, 0.0, &info, w) == GSL_SUCCESS ||
        GradientSmall(gsl_multifit_nlinear_jac(w), gsl_multifit_nlinear_residual(w), 1e-12)) {
      out.status = FitStatus::kConverged;
      out.message = "converged";
      break;
    }
  }
  out.iterations = static_cast<int>(gsl_multifit_nlinear_niter(w));
  const gsl_vector* x = gsl_multifit_nlinear_position(w);
  const gsl_vector* f = gsl_multifit_nlinear_residual(w);
  const gsl_matrix* j = gsl_multifit_nlinear_jac(w);
  out.values.assign(x->data, x->data + p);
  out.residuals.assign(f->data, f->data + n);
  out.jacobian.resize(n * p);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = 0; k < p; ++k)
      out.jacobian[i * p + k] = gsl_matrix_get(j, i, k);
  return out;
}

// Levenberg-Marquardt on the normal equations, for the built-in models, from `start` (the free
// parameters): each trial point costs one pass of the model that gives its values, derivatives
// and normal sums at once, where GSL's driver would make a dozen passes over a stored Jacobian
// (column norms, products, gradients) besides its own evaluations. The damping μ follows
// Nielsen's rule on the ratio of the actual to the predicted reduction of χ², with Marquardt's
// scaling by the largest diagonal of JᵀJ seen so far; the tests are those of the GSL driver.
Outcome IterateNormal(Problem& problem, const std::vector<double>& start, const FitOptions& options,
                      Clock::time_point deadline) {
  constexpr int kMostRejected = 15; // trial steps rejected in a row before giving up
  Outcome out;
  const std::size_t n = problem.n(), p = problem.free.size();
  std::vector<double> x = start, trial(p), r(n), rTrial(n);
  fit::NormalSums sums, trialSums;
  auto finish = [&](FitStatus status, std::string message) {
    out.status = status;
    out.message = std::move(message);
    out.values = x;
    out.residuals = std::move(r);
    out.normal.assign(sums.a, sums.a + p * p);
    return std::move(out);
  };
  if (!problem.Pass(x.data(), r.data(), sums)) {
    out.status = FitStatus::kNotFinite;
    out.message = std::isfinite(sums.chi2)
                      ? "the model's derivatives are not finite at the starting values"
                      : "the model is not finite at the starting values";
    return out;
  }
  double scale[fit::kMaxSumColumns];
  auto widen = [&] {
    for (std::size_t k = 0; k < p; ++k)
      scale[k] = std::max(out.iterations == 0 ? 0.0 : scale[k], sums.a[k * p + k]);
  };
  widen();
  for (std::size_t k = 0; k < p; ++k)
    if (!(scale[k] > 0))
      scale[k] = 1;
  double mu = 1e-3, nu = 2;
  int rejected = 0;
  const int limit = std::max(0, options.maxIterations);
  for (;;) {
    if (options.cancel && options.cancel->load(std::memory_order_relaxed))
      return finish(FitStatus::kCancelled, "cancelled");
    if (out.iterations >= limit)
      return finish(FitStatus::kNotConverged,
                    "no convergence in " + std::to_string(limit) + " iterations");
    if (options.timeLimit > 0 && Clock::now() > deadline)
      return finish(FitStatus::kNotConverged, "no convergence within the time limit");
    if (rejected == 0 && WithinNoise(sums.chi2, sums.g, sums.a, n, p))
      return finish(FitStatus::kConverged, "converged");
    if (rejected > kMostRejected || !(mu < 1e100)) {
      // No step lowers the sum of squares any more: a minimum to the precision of the
      // arithmetic when the gradient is negligible or the residuals are rounding errors of
      // y / scale (data without noise), else a stall.
      constexpr double kRounding = 64 * std::numeric_limits<double>::epsilon();
      const bool small =
          GradientSmall(sums, 1e-5) || sums.chi2 <= static_cast<double>(n) * kRounding * kRounding;
      return finish(small ? FitStatus::kConverged : FitStatus::kNotConverged,
                    small ? "converged" : "no further progress away from a minimum");
    }
    // The step δ = −(JᵀJ + μ·D)⁻¹·Jᵀr, by a Cholesky of the damped matrix.
    double m[fit::kMaxSumColumns * fit::kMaxSumColumns], step[fit::kMaxSumColumns];
    bool solved = true;
    for (std::size_t k = 0; k < p && solved; ++k) {
      for (std::size_t l = 0; l < k; ++l) {
        double v = sums.a[k * p + l];
        for (std::size_t i = 0; i < l; ++i)
          v -= m[k * p + i] * m[l * p + i];
        m[k * p + l] = v / m[l * p + l];
      }
      double d = sums.a[k * p + k] + mu * scale[k];
      for (std::size_t i = 0; i < k; ++i)
        d -= m[k * p + i] * m[k * p + i];
      solved = d > 0 && std::isfinite(d);
      m[k * p + k] = std::sqrt(d);
    }
    if (solved) {
      for (std::size_t k = 0; k < p; ++k) {
        double v = -sums.g[k];
        for (std::size_t i = 0; i < k; ++i)
          v -= m[k * p + i] * step[i];
        step[k] = v / m[k * p + k];
      }
      for (std::size_t k = p; k-- > 0;) {
        double v = step[k];
        for (std::size_t i = k + 1; i < p; ++i)
          v -= m[i * p + k] * step[i];
        step[k] = v / m[k * p + k];
      }
      for (std::size_t k = 0; k < p; ++k)
        trial[k] = x[k] + step[k];
    }
    // The reduction the linear model predicts, δᵀ·JᵀJ·δ + 2μ·δᵀ·D·δ, against the actual one.
    double predicted = 0;
    if (solved)
      for (std::size_t k = 0; k < p; ++k) {
        double v = sums.a[k * p + k] * step[k];
        for (std::size_t l = 0; l < k; ++l)
          v += 2 * sums.a[k * p + l] * step[l];
        predicted += step[k] * v + 2 * mu * scale[k] * step[k] * step[k];
      }
    const bool better = solved && std::isfinite(predicted) && predicted > 0 &&
                        problem.Pass(trial.data(), rTrial.data(), trialSums) &&
                        trialSums.chi2 < sums.chi2;
    if (!better) {
      mu *= nu;
      nu *= 2;
      ++rejected;
      continue;
    }
    const double rho = (sums.chi2 - trialSums.chi2) / predicted;
    mu *= std::max(1.0 / 3, 1 - std::pow(2 * rho - 1, 3));
    nu = 2;
    rejected = 0;
    x.swap(trial);
    r.swap(rTrial);
    sums = trialSums;
    ++out.iterations;
    widen();
    bool still = false;
    for (std::size_t k = 0; k < p; ++k)
      still = still || std::fabs(step[k]) > 1e-12 * (std::fabs(x[k]) + 1e-12);
    if (!still || GradientSmall(sums, 1e-12))
      return finish(FitStatus::kConverged, "converged");
  }
}

// The polynomials: least squares on the powers of u = (x − c)/s, c and s centring the points
// on [−1, 1] when every power up to the degree is fitted (only scaling them otherwise, as for
// y = a·x), then brought back to the powers of x.
Outcome LinearFit(Problem& problem) {
  Outcome out;
  const std::size_t n = problem.n(), p = problem.free.size();
  const std::vector<int>& powers = problem.model->Powers();
  int degree = 0;
  std::vector<bool> seen;
  for (int k : problem.free)
    degree = std::max(degree, powers[static_cast<std::size_t>(k)]);
  seen.assign(static_cast<std::size_t>(degree) + 1, false);
  for (int k : problem.free)
    seen[static_cast<std::size_t>(powers[static_cast<std::size_t>(k)])] = true;
  const bool centred = p == seen.size();
  double lo = problem.x[0], hi = problem.x[0];
  for (double v : problem.x) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  double c = centred ? lo / 2 + hi / 2 : 0.0;
  double s = centred ? hi / 2 - lo / 2 : std::max(std::fabs(lo), std::fabs(hi));
  if (!(s > 0) || !std::isfinite(s))
    s = 1;
  if (!std::isfinite(c))
    c = 0;

  // What the fixed parameters give is taken off the data first.
  std::vector<double> rhs(problem.y);
  {
    std::vector<double> freeZero(p, 0.0);
    problem.Set(freeZero.data());
    std::vector<double> fixedPart(n);
    problem.model->Values(problem.full.data(), problem.x, fixedPart.data());
    ++problem.evaluations;
    for (std::size_t i = 0; i < n; ++i)
      rhs[i] -= fixedPart[i] / problem.scale;
  }
  // Columns: in the centred case u^j for j = 0..degree, else u^power of each free parameter.
  std::vector<int> columnPower(p);
  for (std::size_t k = 0; k < p; ++k)
    columnPower[k] =
        centred ? static_cast<int>(k) : powers[static_cast<std::size_t>(problem.free[k])];
  std::vector<double> a(n * p);
  for (std::size_t i = 0; i < n; ++i) {
    const double u = (problem.x[i] - c) / s;
    for (std::size_t k = 0; k < p; ++k)
      a[i * p + k] = std::pow(u, columnPower[k]);
  }
  LeastSquares ls;
  if (!SolveLeastSquares(a, n, p, rhs.data(), kRankToleranceExact, ls)) {
    out.status = FitStatus::kNotFinite;
    out.message = "the powers of x are not finite";
    return out;
  }
  // coefficient of x^q = Σ_j b_j·s^−j·C(j, q)·(−c)^(j−q) (centred), b_k·s^−power (scaled).
  std::vector<double> t(p * p, 0.0); // free parameter k from column j
  for (std::size_t k = 0; k < p; ++k) {
    const int q = powers[static_cast<std::size_t>(problem.free[k])];
    if (!centred) {
      t[k * p + k] = std::pow(s, -q);
      continue;
    }
    for (int j = q; j <= degree; ++j) {
      double binomial = 1;
      for (int i = 0; i < q; ++i)
        binomial = binomial * (j - i) / (i + 1);
      t[k * p + static_cast<std::size_t>(j)] = binomial * std::pow(-c, j - q) * std::pow(s, -j);
    }
  }
  out.values.assign(p, 0.0);
  std::vector<double> cov(p * p, 0.0);
  for (std::size_t k = 0; k < p; ++k)
    for (std::size_t j = 0; j < p; ++j)
      out.values[k] += t[k * p + j] * ls.coefficients[j] * problem.scale;
  for (std::size_t k = 0; k < p; ++k)
    for (std::size_t l = 0; l < p; ++l) {
      double sum = 0;
      for (std::size_t j = 0; j < p; ++j)
        for (std::size_t m = 0; m < p; ++m)
          sum += t[k * p + j] * ls.covariance[j * p + m] * t[l * p + m];
      cov[k * p + l] = sum;
    }
  out.residuals.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    double fitted = 0;
    for (std::size_t j = 0; j < p; ++j)
      fitted += a[i * p + j] * ls.coefficients[j];
    out.residuals[i] = fitted - rhs[i];
  }
  out.covariance = std::move(cov);
  out.status = FitStatus::kConverged;
  out.iterations = 1;
  out.message = "converged";
  // Undetermined columns make every parameter they feed undetermined.
  std::vector<bool> undetermined(p, false);
  for (std::size_t k = 0; k < p; ++k)
    for (std::size_t j = 0; j < p; ++j)
      if (t[k * p + j] != 0 && ls.undetermined[j])
        undetermined[k] = true;
  out.undetermined = std::move(undetermined);
  return out;
}

// The covariance of a nonlinear fit's parameters: from JᵀJ when well conditioned, else from an
// SVD of the Jacobian, worked out here when the fit kept only JᵀJ.
bool CovarianceOf(Problem& problem, Outcome& best, LeastSquares& ls) {
  const std::size_t n = problem.n(), p = problem.free.size();
  if (best.values.size() != p)
    return false;
  if (best.normal.size() == p * p && NormalCovariance(best.normal, p, ls))
    return true;
  if (best.jacobian.size() != n * p) {
    best.jacobian.resize(n * p);
    if (!problem.Jacobian(best.values.data(), best.jacobian.data(), p))
      return false;
  }
  if (best.normal.empty() && NormalCovariance(NormalMatrix(best.jacobian, n, p), p, ls))
    return true;
  return SolveLeastSquares(best.jacobian, n, p, nullptr,
                           problem.exact ? kRankToleranceExact : kRankToleranceDifferences, ls);
}

FitResult Failure(FitResult r, FitStatus status, std::string message) {
  r.status = status;
  r.message = std::move(message);
  return r;
}

} // namespace

FitResult Fit(const FitRequest& request, const FitOptions& options) {
  gsl_set_error_handler_off();
  const Clock::time_point deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(std::min(options.timeLimit, 1e6)));
  FitResult r;
  r.formula = FitFormula(request.model);
  if (request.x.size() != request.y.size())
    return Failure(r, FitStatus::kBadInput,
                   "x has " + std::to_string(request.x.size()) + " values and y " +
                       std::to_string(request.y.size()));
  std::string error;
  bool badExpression = false;
  std::unique_ptr<ModelFunction> model = fit::MakeModel(request.model, error, &badExpression);
  if (!model)
    return Failure(r, badExpression ? FitStatus::kBadExpression : FitStatus::kBadInput, error);
  const std::vector<std::string>& names = model->Names();
  const std::size_t all = names.size();
  r.parameters.resize(all);
  for (std::size_t k = 0; k < all; ++k)
    r.parameters[k].name = names[k];

  // Starting and fixed values by name.
  std::vector<std::optional<double>> given(all);
  std::vector<bool> fixed(all, false);
  auto place = [&](const FitValue& v, bool hold) -> bool {
    if (fit::IsAbscissaName(v.name) &&
        (request.model.model == FitModel::kExpression ||
         std::none_of(names.begin(), names.end(), [&](auto& n) { return SameName(n, v.name); }))) {
      error = "'" + v.name + "' is the abscissa, not a parameter";
      badExpression = request.model.model == FitModel::kExpression;
      return false;
    }
    for (std::size_t k = 0; k < all; ++k)
      if (SameName(names[k], v.name)) {
        if (!std::isfinite(v.value)) {
          error = "the value of " + v.name + " is not finite";
          return false;
        }
        given[k] = v.value;
        fixed[k] = fixed[k] || hold;
        return true;
      }
    std::string list;
    for (const std::string& n : names)
      list += (list.empty() ? "" : ", ") + n;
    error = "no parameter named '" + v.name + "'; the model has " + list;
    return false;
  };
  for (const FitValue& v : request.start)
    if (!place(v, false))
      return Failure(r, badExpression ? FitStatus::kBadExpression : FitStatus::kBadInput, error);
  for (const FitValue& v : request.fixed)
    if (!place(v, true))
      return Failure(r, badExpression ? FitStatus::kBadExpression : FitStatus::kBadInput, error);

  // The points.
  Problem problem;
  problem.model = model.get();
  problem.exact = request.model.model != FitModel::kExpression;
  problem.x.reserve(request.x.size());
  problem.y.reserve(request.y.size());
  for (std::size_t i = 0; i < request.x.size(); ++i) {
    const double x = request.x[i], y = request.y[i];
    if (!std::isfinite(x)) {
      ++r.leftOut;
      continue;
    }
    if (!(x >= request.from && x <= request.to))
      continue;
    if (!std::isfinite(y)) {
      ++r.leftOut;
      continue;
    }
    problem.x.push_back(x);
    problem.y.push_back(y);
  }
  const std::size_t n = problem.x.size();
  r.points = n;
  for (std::size_t k = 0; k < all; ++k)
    if (!fixed[k])
      problem.free.push_back(static_cast<int>(k));
  const std::size_t p = problem.free.size();
  if (n < std::max<std::size_t>(p, 1))
    return Failure(r, FitStatus::kTooFewPoints,
                   std::to_string(n) + (n == 1 ? " point for " : " points for ") +
                       std::to_string(p) + " parameters");
  double largest = 0;
  for (double y : problem.y)
    largest = std::max(largest, std::fabs(y));
  problem.scale = largest > 0 ? largest : 1.0;
  for (double& y : problem.y)
    y /= problem.scale;
  const double spread = Spread(problem.y);

  // The built-in nonlinear models are fitted to y / scale, with their parameters in y's unit
  // divided by it: A first and B last in every one (the power law has no B).
  const bool linear = !model->Powers().empty();
  const bool automatic = !linear && request.model.model != FitModel::kExpression;
  std::vector<double> unit(all, 1.0);
  if (automatic) {
    unit[0] = problem.scale;
    if (request.model.model != FitModel::kPower)
      unit[all - 1] = problem.scale;
  }
  problem.divide = automatic ? 1.0 : problem.scale;

  // Starting vectors: the values given over the automatic ones, or 1. The automatic ones come
  // with their sums of squares unless a value given changes them.
  const bool anyGiven =
      std::any_of(given.begin(), given.end(), [](auto& g) { return g.has_value(); });
  const bool allGiven = std::all_of(problem.free.begin(), problem.free.end(), [&](int k) {
    return given[static_cast<std::size_t>(k)].has_value();
  });
  std::vector<fit::StartCandidate> starts;
  if (automatic && !allGiven)
    starts = fit::StartCandidates(request.model.model, problem.x, problem.y);
  if (starts.empty())
    starts.push_back({std::vector<double>(all, 1.0), kNaN});
  for (fit::StartCandidate& s : starts) {
    s.values.resize(all, 1.0);
    for (std::size_t k = 0; k < all; ++k)
      if (given[k])
        s.values[k] = *given[k] / unit[k];
    if (anyGiven)
      s.cost = kNaN;
  }

  Outcome best;
  bool have = false;
  double bestCost = std::numeric_limits<double>::infinity();
  if (p == 0) {
    // Nothing to fit: the figures of the curve as given.
    problem.full = starts[0].values;
    best.residuals.resize(n);
    best.status = problem.Residuals(nullptr, best.residuals.data()) ? FitStatus::kConverged
                                                                    : FitStatus::kNotFinite;
    best.message = best.status == FitStatus::kConverged ? "converged" : "the model is not finite";
    have = true;
  } else if (linear) {
    problem.full.assign(all, 0.0);
    for (std::size_t k = 0; k < all; ++k)
      if (given[k])
        problem.full[k] = *given[k];
    best = LinearFit(problem);
    have = true;
  } else {
    auto freeOf = [&](const std::vector<double>& values) {
      std::vector<double> out(p);
      for (std::size_t k = 0; k < p; ++k)
        out[k] = values[static_cast<std::size_t>(problem.free[k])];
      return out;
    };
    // The built-in models by the normal equations, formulas by GSL.
    const bool normal = problem.exact && problem.divide == 1 && p <= fit::kMaxSumColumns;
    // The candidates by their sums of squares at the start, the finite ones only. A single one
    // is not evaluated for that when the normal equations' first pass will.
    std::vector<std::pair<double, std::size_t>> ranked;
    std::vector<double> residuals;
    for (std::size_t c = 0; c < starts.size(); ++c) {
      const std::vector<double>& v = starts[c].values;
      if (!std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); }))
        continue;
      if (std::isfinite(starts[c].cost) ||
          (normal && starts.size() == 1 && options.maxIterations > 0)) {
        ranked.emplace_back(starts[c].cost, c);
        continue;
      }
      problem.full = v;
      residuals.resize(n);
      if (problem.Residuals(freeOf(v).data(), residuals.data()))
        ranked.emplace_back(SumOfSquares(residuals), c);
    }
    std::sort(ranked.begin(), ranked.end());
    if (ranked.empty()) {
      r.evaluations = problem.evaluations;
      return Failure(r, FitStatus::kNotFinite, "the model is not finite at the starting values");
    }
    if (options.maxIterations <= 0) {
      // The starting values alone, as asked.
      problem.full = starts[ranked[0].second].values;
      best.values = freeOf(problem.full);
      best.residuals.resize(n);
      problem.Residuals(best.values.data(), best.residuals.data());
      best.status = FitStatus::kNotConverged;
      best.message = "starting values, no iteration asked";
      have = true;
    }
    // The best candidate first; the next ones when it fails or fits poorly (r² < 0.9). One
    // workspace serves them all.
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    params.trs = gsl_multifit_nlinear_trs_lm;
    params.scale = gsl_multifit_nlinear_scale_more;
    // QR for formulas, whose conditioning nobody knows.
    params.solver = gsl_multifit_nlinear_solver_qr;
    std::unique_ptr<gsl_multifit_nlinear_workspace, decltype(&gsl_multifit_nlinear_free)> w(
        have || normal ? nullptr
                       : gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, n, p),
        gsl_multifit_nlinear_free);
    constexpr std::size_t kTries = 3;
    for (std::size_t t = 0; (w || (normal && !have)) && t < std::min(kTries, ranked.size()); ++t) {
      problem.full = starts[ranked[t].second].values;
      Outcome o = w ? Iterate(problem, w.get(), freeOf(problem.full), options, deadline)
                    : IterateNormal(problem, freeOf(problem.full), options, deadline);
      const double cost =
          o.residuals.empty() ? std::numeric_limits<double>::infinity() : SumOfSquares(o.residuals);
      const bool better = !have || (o.status == FitStatus::kConverged &&
                                    (best.status != FitStatus::kConverged || cost < bestCost));
      if (better) {
        best = std::move(o);
        bestCost = cost;
        have = true;
      }
      if (best.status == FitStatus::kCancelled)
        break;
      if (best.status == FitStatus::kConverged && !(bestCost > 0.1 * spread))
        break;
      if (options.timeLimit > 0 && Clock::now() > deadline)
        break;
    }
  }
  r.evaluations = problem.evaluations;
  r.iterations = best.iterations;
  r.status = best.status;
  r.message = best.message;
  if (!have || best.residuals.empty())
    return r;

  // Values and errors.
  for (std::size_t k = 0; k < all; ++k) {
    r.parameters[k].fixed = fixed[k];
    r.parameters[k].value = problem.full.empty() ? 0.0 : problem.full[k] * unit[k];
    if (given[k] && fixed[k])
      r.parameters[k].value = *given[k];
  }
  for (std::size_t k = 0; k < p && k < best.values.size(); ++k) {
    const auto at = static_cast<std::size_t>(problem.free[k]);
    r.parameters[at].value = best.values[k] * unit[at];
  }
  const double chi2Scaled = SumOfSquares(best.residuals);
  r.chi2 = chi2Scaled * problem.scale * problem.scale;
  r.rms = std::sqrt(chi2Scaled / static_cast<double>(n)) * problem.scale;
  if (spread > 0)
    r.r2 = 1 - chi2Scaled / spread;

  if (p > 0 && n > p) {
    LeastSquares ls;
    std::vector<bool> undetermined(p, true);
    std::vector<double> variance(p, kNaN);
    if (linear) {
      for (std::size_t k = 0; k < p; ++k) {
        variance[k] = best.covariance[k * p + k];
        undetermined[k] = best.undetermined[k];
      }
    } else if (CovarianceOf(problem, best, ls)) {
      for (std::size_t k = 0; k < p; ++k) {
        variance[k] = ls.covariance[k * p + k];
        undetermined[k] = ls.undetermined[k];
      }
    }
    const double s2 = chi2Scaled / static_cast<double>(n - p);
    for (std::size_t k = 0; k < p; ++k) {
      // The Jacobian of the nonlinear fit is in the scaled residuals, as χ² is: the scale
      // cancels but for the parameters fitted in y / scale. The linear fit's design matrix is
      // not scaled.
      const auto at = static_cast<std::size_t>(problem.free[k]);
      const double e = std::sqrt(variance[k] * s2) * (linear ? problem.scale : unit[at]);
      if (!undetermined[k] && std::isfinite(e))
        r.parameters[at].error = e;
    }
  }
  for (const FitParameter& param : r.parameters)
    if (!std::isfinite(param.value) && r.status == FitStatus::kConverged) {
      r.status = FitStatus::kNotFinite;
      r.message = "the fitted values are not finite";
    }
  return r;
}

} // namespace qvt::analysis
