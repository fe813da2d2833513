// SPDX-License-Identifier: GPL-3.0-or-later
// The models of the fit as functions of x and of their parameters: the built-in ones with their
// derivatives, and formulas of the evaluator. Internal to qvt_analysis.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fit.h"

namespace qvt::analysis::fit {

// What one pass of a model over the points gives the normal equations: with r = value − y and
// J the derivatives by the listed parameters, χ² = rᵀr, g = Jᵀr and JᵀJ (its lower triangle,
// row-major p × p).
inline constexpr std::size_t kMaxSumColumns = 6;
struct NormalSums {
  double chi2 = 0;
  std::size_t p = 0;
  double g[kMaxSumColumns] = {};
  double a[kMaxSumColumns * kMaxSumColumns] = {};
  bool Finite() const;
};

class ModelFunction {
public:
  virtual ~ModelFunction() = default;
  // Parameter names in order; a parameter vector is this long.
  const std::vector<std::string>& Names() const { return names_; }
  std::size_t Size() const { return names_.size(); }
  // For the polynomials: the power of x that each parameter multiplies; empty otherwise.
  const std::vector<int>& Powers() const { return powers_; }
  // The values at each x into out; NaN where the model cannot be computed there.
  virtual void Values(const double* p, std::span<const double> x, double* out) = 0;
  // The derivatives by the parameters listed in `columns` (indices into p), row by point: the
  // derivative at x[i] by columns[k] into jac[i * stride + k]. False when the model has none of
  // its own (formulas).
  virtual bool Derivatives(const double* /*p*/, std::span<const double> /*x*/,
                           std::span<const int> /*columns*/, double* /*jac*/,
                           std::size_t /*stride*/) {
    return false;
  }
  // The values, their residuals against y (into r) and the normal sums for the parameters in
  // `columns` (at most kMaxSumColumns) in one pass. False when the model has no derivatives of
  // its own.
  virtual bool Sums(const double* /*p*/, std::span<const double> /*x*/,
                    std::span<const double> /*y*/, std::span<const int> /*columns*/, double* /*r*/,
                    NormalSums& /*out*/) {
    return false;
  }

protected:
  std::vector<std::string> names_;
  std::vector<int> powers_;
};

// The model, or nullptr with the reason in `error` (a formula that does not compile, one
// without parameter, a polynomial degree outside 3..5). For kBadExpression-type failures
// `badExpression` is set.
std::unique_ptr<ModelFunction> MakeModel(const FitModelSpec& wanted, std::string& error,
                                         bool* badExpression = nullptr);

// exp(−x/τ) at every x into e; sin(2π·f·x + φ) into s and, when c is given, the cosines into
// c: the built-in models' terms, for the starting values.
void DecayTerms(std::span<const double> x, double tau, double* e);
void PhaseTerms(std::span<const double> x, double f, double phi, double* s, double* c);

// Whether `name` names the abscissa of formulas ("x" or "t", any case).
bool IsAbscissaName(std::string_view name);

} // namespace qvt::analysis::fit
