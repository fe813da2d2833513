// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a model to points: the built-in models and formulas of the evaluator, least squares
// (linear for the polynomials, Levenberg-Marquardt for the others: GSL's for formulas), the
// values with their standard errors, and the figures of the fit.
#pragma once

#include <atomic>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "translate.h"

namespace qvt::analysis {

enum class FitModel {
  kProportional, // y = a·x
  kAffine,       // y = a·x + b
  kParabola,     // y = a·x² + b·x + c
  kPolynomial,   // y = a0 + a1·x + ... + an·x^n, n = degree (3 to 5)
  kExponential,  // y = A·exp(−x/τ) + B
  kCharge,       // y = A·(1 − exp(−x/τ)) + B
  kSine,         // y = A·sin(2π·f·x + φ) + B
  kDampedSine,   // y = A·exp(−x/τ)·sin(2π·f·x + φ) + B
  kPower,        // y = A·x^n
  kGaussian,     // y = A·exp(−(x − μ)²/(2σ²)) + B
  kExpression,   // a formula of the evaluator in x (or t) and named parameters
};

// What to fit. `degree` is read for kPolynomial only (3 to 5), `expression` for kExpression.
struct FitModelSpec {
  FitModel model = FitModel::kAffine;
  int degree = 3;
  std::string expression;
};

// A parameter's value by name; names are compared without regard to case.
struct FitValue {
  std::string name;
  double value = 0;
};

struct FitRequest {
  std::span<const double> x; // abscissae, in any order
  std::span<const double> y; // as long as x
  FitModelSpec model;
  // Only the points with from <= x <= to are fitted (the whole set by default).
  double from = -std::numeric_limits<double>::infinity();
  double to = std::numeric_limits<double>::infinity();
  // Starting values of some parameters. The others start from values worked out from the
  // data (built-in models) or at 1 (expressions).
  std::vector<FitValue> start;
  // Parameters held at the value given; they are not fitted and have no error.
  std::vector<FitValue> fixed;
};

// Limits of one fit. `cancel`, when given, is read between iterations: setting it from
// another thread ends the fit soon with kCancelled. The time limit (seconds of the calling
// thread's wall clock, 0 for none) ends it with kNotConverged. With maxIterations = 0 a
// nonlinear model is not iterated: the result (kNotConverged) holds the starting values, the
// automatic ones where none are given, to show or to edit.
struct FitOptions {
  int maxIterations = 500;
  double timeLimit = 10.0;
  const std::atomic<bool>* cancel = nullptr;
};

enum class FitStatus {
  kConverged,
  kNotConverged,  // iteration or time limit reached, or no further progress far from a minimum
  kNotFinite,     // the model gives an infinite or undefined value at the start or on the way
  kTooFewPoints,  // fewer finite points in the range than free parameters
  kBadExpression, // the formula does not compile, has no parameter or misnames one
  kBadInput,      // x and y of different lengths, a starting value for an unknown name...
  kCancelled,
};

struct FitParameter {
  std::string name;
  double value = 0;
  // The standard error; empty when the data cannot determine the parameter (or n = p).
  std::optional<double> error;
  bool fixed = false;
};

struct FitResult {
  FitStatus status = FitStatus::kBadInput;
  std::string message; // English, for logs, Python and qvt2ctl; FitStatusText gives French
  std::vector<FitParameter> parameters;
  std::string formula;      // the model as text, e.g. "A*(1-exp(-x/tau))+B"
  double chi2 = 0;          // sum of squared residuals
  std::optional<double> r2; // 1 − χ²/Σ(y − ȳ)²; empty for constant y
  double rms = 0;           // sqrt(χ²/n)
  int iterations = 0;
  int evaluations = 0;     // passes of the model over the points, Jacobians included
  std::size_t points = 0;  // finite points in the range, fitted
  std::size_t leftOut = 0; // points in the range left out because x or y is not finite
  bool Ok() const { return status == FitStatus::kConverged; }
  bool Undetermined() const; // a free parameter has no error
};

// Fits and returns the result; never throws for bad data (std::bad_alloc aside). Safe to call
// from several threads at once: all its state is its own.
FitResult Fit(const FitRequest& request, const FitOptions& options = {});

// The model's values at `x` for parameter values in the order of FitParameterNames (or of a
// result's parameters) into `out` (as long as x); NaN where it cannot be computed. False, with
// the reason in `error`, for a formula that does not compile or a wrong number of values.
bool FitModelValues(const FitModelSpec& model, std::span<const double> parameters,
                    std::span<const double> x, std::span<double> out, std::string* error = nullptr);

// The parameter names in order: "A", "tau", "B" for kCharge; those of an expression in the
// order they first appear. Empty, with the reason in `error`, for a bad formula or degree.
std::vector<std::string> FitParameterNames(const FitModelSpec& model, std::string* error = nullptr);

// Built-in models by name: the English key ("charge", "damped_sine"), the caption in the
// interface language (French: "Charge", "Sinus amorti"). FitModelByName accepts either key or
// French caption, any case, whatever the interface language.
std::string_view FitModelKey(FitModel model);
std::string_view FitModelCaption(FitModel model); // UTF-8
std::optional<FitModel> FitModelByName(std::string_view name);
// The formula text of a model ("A*(1-exp(-x/tau))+B", "a0+a1*x+a2*x^2+a3*x^3").
std::string FitFormula(const FitModelSpec& model);

// The status line of the window in the interface language (UTF-8); in French: "Ajustement
// réussi en 9 itérations", "Pas de convergence : changez les valeurs de départ", ...
std::string FitStatusText(const FitResult& result);
// The line for an expression the fit refuses (`message` as FitResult or FitParameterNames give
// it): "Expression incorrecte : " and the evaluator's message, or a sentence of its own for an
// empty expression and one without a parameter; in the interface language.
std::string FitExpressionErrorText(std::string_view message);
// The messages (English) of an expression refused as empty or without a parameter.
inline constexpr std::string_view kFitEmptyExpression = "the expression is empty";
inline constexpr std::string_view kFitNoParameter =
    "the expression has no parameter to fit (every name but x and t is one)";
// What the window shows instead of an undetermined error; shown through the "Fit" context.
inline constexpr std::string_view kFitUndeterminedText =
    QT_TRANSLATE_NOOP("Fit", "Incertitude non déterminée");

} // namespace qvt::analysis
