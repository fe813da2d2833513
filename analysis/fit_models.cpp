// SPDX-License-Identifier: GPL-3.0-or-later
// The model functions of the fit, their names and formula texts.
//
// The built-in models compute their derivatives in the same pass as their values: one pass a
// Jacobian instead of one per parameter, which is most of the speed of a fit on a long sweep.
// A formula is compiled once by the evaluator; its parameters are the names it uses other than
// x and t, each given a cell of the parser's own.
#include "fit_models.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <numbers>

#include "parser.h"

namespace qvt::analysis {

namespace {

struct ModelEntry {
  FitModel model;
  std::string_view key;
  std::string_view caption;
  std::string_view formula; // empty for the polynomial and the expression
  std::array<std::string_view, 5> names;
};

constexpr ModelEntry kModels[] = {
    {FitModel::kProportional, "proportional", "Linéaire", "a*x", {"a"}},
    {FitModel::kAffine, "affine", "Affine", "a*x+b", {"a", "b"}},
    {FitModel::kParabola, "parabola", "Parabole", "a*x^2+b*x+c", {"a", "b", "c"}},
    {FitModel::kPolynomial, "polynomial", "Polynôme", "", {}},
    {FitModel::kExponential, "exponential", "Exponentielle", "A*exp(-x/tau)+B", {"A", "tau", "B"}},
    {FitModel::kCharge, "charge", "Charge", "A*(1-exp(-x/tau))+B", {"A", "tau", "B"}},
    {FitModel::kSine, "sine", "Sinus", "A*sin(2*pi*f*x+phi)+B", {"A", "f", "phi", "B"}},
    {FitModel::kDampedSine,
     "damped_sine",
     "Sinus amorti",
     "A*exp(-x/tau)*sin(2*pi*f*x+phi)+B",
     {"A", "tau", "f", "phi", "B"}},
    {FitModel::kPower, "power", "Puissance", "A*x^n", {"A", "n"}},
    {FitModel::kGaussian,
     "gaussian",
     "Gaussienne",
     "A*exp(-(x-mu)^2/(2*sigma^2))+B",
     {"A", "mu", "sigma", "B"}},
    {FitModel::kExpression, "expression", "Expression", "", {}},
};

const ModelEntry& EntryOf(FitModel model) {
  for (const ModelEntry& e : kModels)
    if (e.model == model)
      return e;
  return kModels[std::size(kModels) - 1];
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

constexpr double kTwoPi = 2 * std::numbers::pi;

// The built-in models. Each point's derivatives are worked out into a small array and copied
// into the columns asked for.
class BuiltinModel : public fit::ModelFunction {
public:
  BuiltinModel(FitModel model, int degree) : model_(model) {
    if (model == FitModel::kPolynomial) {
      for (int k = 0; k <= degree; ++k) {
        names_.push_back("a" + std::to_string(k));
        powers_.push_back(k);
      }
      return;
    }
    for (std::string_view name : EntryOf(model).names)
      if (!name.empty())
        names_.emplace_back(name);
    if (model == FitModel::kProportional)
      powers_ = {1};
    else if (model == FitModel::kAffine)
      powers_ = {1, 0};
    else if (model == FitModel::kParabola)
      powers_ = {2, 1, 0};
  }

  void Values(const double* p, std::span<const double> x, double* out) override {
    Dispatch([&]<FitModel M>() {
      std::array<double, 6> d;
      for (std::size_t i = 0; i < x.size(); ++i)
        out[i] = Point<M, false>(p, x[i], d);
    });
  }

  bool Derivatives(const double* p, std::span<const double> x, std::span<const int> columns,
                   double* jac, std::size_t stride) override {
    Dispatch([&]<FitModel M>() {
      std::array<double, 6> d{};
      for (std::size_t i = 0; i < x.size(); ++i) {
        Point<M, true>(p, x[i], d);
        double* row = jac + i * stride;
        for (std::size_t k = 0; k < columns.size(); ++k)
          row[k] = d[static_cast<std::size_t>(columns[k])];
      }
    });
    return true;
  }

  bool Sums(const double* p, std::span<const double> x, std::span<const double> y,
            std::span<const int> columns, double* r, fit::NormalSums& out) override {
    if (columns.empty() || columns.size() > fit::kMaxSumColumns)
      return false;
    Dispatch([&]<FitModel M>() {
      switch (columns.size()) {
      case 1:
        return SumsOf<M, 1>(p, x, y, columns, r, out);
      case 2:
        return SumsOf<M, 2>(p, x, y, columns, r, out);
      case 3:
        return SumsOf<M, 3>(p, x, y, columns, r, out);
      case 4:
        return SumsOf<M, 4>(p, x, y, columns, r, out);
      case 5:
        return SumsOf<M, 5>(p, x, y, columns, r, out);
      default:
        return SumsOf<M, 6>(p, x, y, columns, r, out);
      }
    });
    return true;
  }

private:
  // One pass for P columns known at compile time, so that the P·(P + 3)/2 + 1 sums stay in
  // registers rather than going through memory at every point.
  template <FitModel M, std::size_t P>
  void SumsOf(const double* p, std::span<const double> x, std::span<const double> y,
              std::span<const int> columns, double* r, fit::NormalSums& out) const {
    std::size_t at[P];
    for (std::size_t k = 0; k < P; ++k)
      at[k] = static_cast<std::size_t>(columns[k]);
    double g[P] = {}, a[P * (P + 1) / 2] = {};
    double chi2 = 0;
    std::array<double, 6> d{};
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double ri = Point<M, true>(p, x[i], d) - y[i];
      r[i] = ri;
      chi2 += ri * ri;
      double c[P];
#pragma GCC unroll 6
      for (std::size_t k = 0; k < P; ++k)
        c[k] = d[at[k]];
#pragma GCC unroll 6
      for (std::size_t k = 0; k < P; ++k) {
        g[k] += c[k] * ri;
#pragma GCC unroll 6
        for (std::size_t l = 0; l <= k; ++l)
          a[k * (k + 1) / 2 + l] += c[k] * c[l];
      }
    }
    out.chi2 = chi2;
    out.p = P;
    std::size_t cell = 0;
    for (std::size_t k = 0; k < P; ++k) {
      out.g[k] = g[k];
      for (std::size_t l = 0; l <= k; ++l)
        out.a[k * P + l] = a[cell++];
    }
  }

  // Calls body.template operator()<M>() with the model as a constant, so that the loops over
  // the points choose their formula once rather than at every point.
  template <class Body> void Dispatch(Body&& body) const {
    switch (model_) {
    case FitModel::kProportional:
    case FitModel::kAffine:
    case FitModel::kParabola:
    case FitModel::kPolynomial:
      return body.template operator()<FitModel::kPolynomial>();
    case FitModel::kExponential:
      return body.template operator()<FitModel::kExponential>();
    case FitModel::kCharge:
      return body.template operator()<FitModel::kCharge>();
    case FitModel::kSine:
      return body.template operator()<FitModel::kSine>();
    case FitModel::kDampedSine:
      return body.template operator()<FitModel::kDampedSine>();
    case FitModel::kPower:
      return body.template operator()<FitModel::kPower>();
    case FitModel::kGaussian:
      return body.template operator()<FitModel::kGaussian>();
    case FitModel::kExpression:
      return body.template operator()<FitModel::kExpression>();
    }
  }

  // The value at x and, with `deriv`, the derivatives into d. Two instances, so that the
  // values alone compute no cosine.
  template <FitModel M, bool deriv>
  double Point(const double* p, double x, std::array<double, 6>& d) const {
    switch (M) {
    case FitModel::kProportional:
    case FitModel::kAffine:
    case FitModel::kParabola:
    case FitModel::kPolynomial: {
      double value = 0;
      for (std::size_t k = 0; k < powers_.size(); ++k) {
        const double power = IntPower(x, powers_[k]);
        value += p[k] * power;
        if constexpr (deriv)
          d[k] = power;
      }
      return value;
    }
    case FitModel::kExponential:
    case FitModel::kCharge: {
      const double a = p[0], tau = p[1];
      const double e = std::exp(-x / tau);
      constexpr bool charge = M == FitModel::kCharge;
      if constexpr (deriv) {
        d[0] = charge ? 1 - e : e;
        d[1] = (charge ? -a : a) * e * x / (tau * tau);
        d[2] = 1;
      }
      return (charge ? a * (1 - e) : a * e) + p[2];
    }
    case FitModel::kSine: {
      const double a = p[0], theta = kTwoPi * p[1] * x + p[2];
      const double s = std::sin(theta);
      if constexpr (deriv) {
        const double c = a * std::cos(theta);
        d[0] = s;
        d[1] = c * kTwoPi * x;
        d[2] = c;
        d[3] = 1;
      }
      return a * s + p[3];
    }
    case FitModel::kDampedSine: {
      const double a = p[0], tau = p[1], theta = kTwoPi * p[2] * x + p[3];
      const double e = std::exp(-x / tau);
      const double s = std::sin(theta);
      if constexpr (deriv) {
        const double c = a * e * std::cos(theta);
        d[0] = e * s;
        d[1] = a * e * s * x / (tau * tau);
        d[2] = c * kTwoPi * x;
        d[3] = c;
        d[4] = 1;
      }
      return a * e * s + p[4];
    }
    case FitModel::kPower: {
      const double power = std::pow(x, p[1]);
      if constexpr (deriv) {
        d[0] = power;
        d[1] = x > 0    ? p[0] * power * std::log(x)
               : x == 0 ? 0.0
                        : std::numeric_limits<double>::quiet_NaN();
      }
      return p[0] * power;
    }
    case FitModel::kGaussian: {
      const double a = p[0], sigma = p[2];
      const double u = (x - p[1]) / sigma;
      const double g = std::exp(-0.5 * u * u);
      if constexpr (deriv) {
        d[0] = g;
        d[1] = a * g * u / sigma;
        d[2] = a * g * u * u / sigma;
        d[3] = 1;
      }
      return a * g + p[3];
    }
    case FitModel::kExpression:
      break;
    }
    return std::numeric_limits<double>::quiet_NaN();
  }

  static double IntPower(double x, int k) {
    double r = 1;
    for (int i = 0; i < k; ++i)
      r *= x;
    return r;
  }

  FitModel model_;
};

// The names a formula uses as variables, in the order they first appear: runs of letters,
// digits and "_" that start with a letter or "_", are not part of a number ("1E5") and are not
// followed by "(" (a function). DIV and MOD inside a run are operators ("tMOD1"), as the
// evaluator reads them; PI is the constant.
std::vector<std::string> NamesOf(std::string_view text) {
  std::vector<std::string> names;
  auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  auto add = [&](std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])) || SameText(name, "PI"))
      return;
    for (const std::string& known : names)
      if (SameText(known, name))
        return;
    names.emplace_back(name);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isName(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && isName(text[end]))
      ++end;
    const bool inNumber = i > 0 && (std::isdigit(static_cast<unsigned char>(text[i - 1])) ||
                                    text[i - 1] == '.' || text[i - 1] == ',');
    const bool function = end < text.size() && text[end] == '(';
    if (!inNumber && !std::isdigit(static_cast<unsigned char>(text[i]))) {
      std::string_view run = text.substr(i, end - i);
      // A function's name is the run's last piece; its earlier pieces are still names.
      std::size_t from = 0;
      for (std::size_t at = 1; at + 3 < run.size(); ++at) {
        const std::string_view op = run.substr(at, 3);
        if (SameText(op, "DIV") || SameText(op, "MOD")) {
          add(run.substr(from, at - from));
          from = at + 3;
          at += 2;
        }
      }
      if (!function)
        add(run.substr(from));
    }
    i = end;
  }
  return names;
}

class ExpressionModel : public fit::ModelFunction {
public:
  bool Compile(const std::string& text, std::string& error) {
    const std::vector<std::string> used = NamesOf(text);
    for (const std::string& name : used) {
      if (fit::IsAbscissaName(name)) {
        parser_.DefineVariable(name);
        continue;
      }
      names_.push_back(name);
      cells_.push_back(&parser_.DefineVariable(name));
    }
    try {
      parser_.SetExpression(text);
    } catch (const EMathParserError& e) {
      error = e.what();
      std::replace(error.begin(), error.end(), '\r', ' ');
      return false;
    }
    if (text.find_first_not_of(' ') == std::string::npos) {
      error = "the expression is empty";
      return false;
    }
    if (names_.empty()) {
      error = "the expression has no parameter to fit (every name but x and t is one)";
      return false;
    }
    return true;
  }

  void Values(const double* p, std::span<const double> x, double* out) override {
    for (std::size_t k = 0; k < cells_.size(); ++k)
      *cells_[k] = p[k];
    for (std::size_t i = 0; i < x.size(); ++i) {
      parser_.X = parser_.T = x[i];
      try {
        const double v = parser_.Value();
        out[i] = v;
      } catch (const EEvaluationError&) {
        out[i] = std::numeric_limits<double>::quiet_NaN();
      }
    }
  }

private:
  TParser parser_;
  std::vector<double*> cells_;
};

} // namespace

namespace fit {

bool NormalSums::Finite() const {
  bool finite = std::isfinite(chi2);
  for (std::size_t k = 0; k < p; ++k) {
    finite = finite && std::isfinite(g[k]);
    for (std::size_t l = 0; l <= k; ++l)
      finite = finite && std::isfinite(a[k * p + l]);
  }
  return finite;
}

bool IsAbscissaName(std::string_view name) {
  return SameText(name, "x") || SameText(name, "t");
}

std::unique_ptr<ModelFunction> MakeModel(const FitModelSpec& wanted, std::string& error,
                                         bool* badExpression) {
  if (badExpression)
    *badExpression = false;
  if (wanted.model == FitModel::kExpression) {
    auto model = std::make_unique<ExpressionModel>();
    if (!model->Compile(wanted.expression, error)) {
      if (badExpression)
        *badExpression = true;
      return nullptr;
    }
    return model;
  }
  if (wanted.model == FitModel::kPolynomial && (wanted.degree < 3 || wanted.degree > 5)) {
    error = "polynomial degree " + std::to_string(wanted.degree) + "; accepted: 3, 4, 5";
    return nullptr;
  }
  return std::make_unique<BuiltinModel>(wanted.model, wanted.degree);
}

} // namespace fit

std::string_view FitModelKey(FitModel model) {
  return EntryOf(model).key;
}

std::string_view FitModelCaption(FitModel model) {
  return EntryOf(model).caption;
}

std::optional<FitModel> FitModelByName(std::string_view name) {
  for (const ModelEntry& e : kModels)
    if (SameText(name, e.key) || SameText(name, e.caption))
      return e.model;
  // The caption's accented letters in another case are not compared above.
  if (SameText(name, "POLYNÔME") || SameText(name, "polynome"))
    return FitModel::kPolynomial;
  if (SameText(name, "lineaire") || SameText(name, "LINÉAIRE"))
    return FitModel::kProportional;
  return std::nullopt;
}

std::string FitFormula(const FitModelSpec& model) {
  if (model.model == FitModel::kExpression)
    return model.expression;
  if (model.model == FitModel::kPolynomial) {
    std::string text = "a0";
    for (int k = 1; k <= model.degree; ++k)
      text += "+a" + std::to_string(k) + "*x" + (k > 1 ? "^" + std::to_string(k) : "");
    return text;
  }
  return std::string(EntryOf(model.model).formula);
}

std::vector<std::string> FitParameterNames(const FitModelSpec& model, std::string* error) {
  std::string reason;
  auto function = fit::MakeModel(model, reason);
  if (!function) {
    if (error)
      *error = reason;
    return {};
  }
  return function->Names();
}

bool FitModelValues(const FitModelSpec& model, std::span<const double> parameters,
                    std::span<const double> x, std::span<double> out, std::string* error) {
  std::string reason;
  auto function = fit::MakeModel(model, reason);
  if (function && function->Size() != parameters.size())
    reason = std::to_string(parameters.size()) + " values for " + std::to_string(function->Size()) +
             " parameters";
  if (!function || function->Size() != parameters.size() || out.size() < x.size()) {
    if (error)
      *error = reason.empty() ? "output shorter than x" : reason;
    return false;
  }
  function->Values(parameters.data(), x, out.data());
  return true;
}

} // namespace qvt::analysis
