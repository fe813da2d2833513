// SPDX-License-Identifier: GPL-3.0-or-later
// The model functions of the fit, their names and formula texts.
//
// The built-in models compute their derivatives in the same pass as their values, and the
// normal sums of the fit in that pass too: one pass a trial point instead of one per parameter
// and more over a stored Jacobian, which is most of the speed of a fit on a long sweep.
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
#include "translate.h"

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
    {FitModel::kProportional, "proportional", QT_TRANSLATE_NOOP("Models", "Linéaire"), "a*x", {"a"}},
    {FitModel::kAffine, "affine", QT_TRANSLATE_NOOP("Models", "Affine"), "a*x+b", {"a", "b"}},
    {FitModel::kParabola, "parabola", QT_TRANSLATE_NOOP("Models", "Parabole"), "a*x^2+b*x+c", {"a", "b", "c"}},
    {FitModel::kPolynomial, "polynomial", QT_TRANSLATE_NOOP("Models", "Polynôme"), "", {}},
    {FitModel::kExponential, "exponential", QT_TRANSLATE_NOOP("Models", "Exponentielle"), "A*exp(-x/tau)+B", {"A", "tau", "B"}},
    {FitModel::kCharge, "charge", QT_TRANSLATE_NOOP("Models", "Charge"), "A*(1-exp(-x/tau))+B", {"A", "tau", "B"}},
    {FitModel::kSine, "sine", QT_TRANSLATE_NOOP("Models", "Sinus"), "A*sin(2*pi*f*x+phi)+B", {"A", "f", "phi", "B"}},
    {FitModel::kDampedSine,
     "damped_sine",
     QT_TRANSLATE_NOOP("Models", "Sinus amorti"),
     "A*exp(-x/tau)*sin(2*pi*f*x+phi)+B",
     {"A", "tau", "f", "phi", "B"}},
    {FitModel::kPower, "power", QT_TRANSLATE_NOOP("Models", "Puissance"), "A*x^n", {"A", "n"}},
    {FitModel::kGaussian,
     "gaussian",
     QT_TRANSLATE_NOOP("Models", "Gaussienne"),
     "A*exp(-(x-mu)^2/(2*sigma^2))+B",
     {"A", "mu", "sigma", "B"}},
    {FitModel::kExpression, "expression", QT_TRANSLATE_NOOP("Models", "Expression"), "", {}},
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

// The exponentials, sines and cosines of the built-in models, a block of points at a time.
// Where the C library has vector versions of them (glibc's libmvec on x86-64, reached through
// GCC's simd clones, chosen at load time for the processor: AVX-512, AVX2 or SSE2), a block
// costs a few times less than the same calls one by one, and these calls are most of a fit's
// time on a long sweep. Their results are within a few units in the last place of the scalar
// functions'. Elsewhere, and under the sanitizers, the loops stay scalar.
constexpr std::size_t kBlock = 64;

// Not under the sanitizers: the processor's variant is chosen by an indirect function that the
// loader resolves before ThreadSanitizer's run time is set up, which crashes at start.
#if defined(__x86_64__) && defined(__GLIBC__) && defined(__GNUC__) && !defined(__clang__) &&       \
    !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
} // namespace
} // namespace qvt::analysis
extern "C" {
double exp(double) noexcept __attribute__((simd("notinbranch"), const));
double sin(double) noexcept __attribute__((simd("notinbranch")));
double cos(double) noexcept __attribute__((simd("notinbranch")));
double log(double) noexcept __attribute__((simd("notinbranch"), const));
double pow(double, double) noexcept __attribute__((simd("notinbranch"), const));
}
namespace qvt::analysis {
namespace {
#define QVT_FIT_VECTOR_MATH                                                                        \
  __attribute__((target_clones("avx512f", "avx2", "default"), optimize("O3", "no-math-errno")))
#else
#define QVT_FIT_VECTOR_MATH
#endif

// exp(−x/τ) for a block of count points (count <= kBlock).
QVT_FIT_VECTOR_MATH void DecayBlock(const double* x, std::size_t count, double tau, double* e) {
  double in[kBlock] = {};
  std::copy(x, x + count, in);
  for (std::size_t i = 0; i < kBlock; ++i)
    e[i] = std::exp(-in[i] / tau);
}

// exp(−u²/2) with u = (x − μ)/σ.
QVT_FIT_VECTOR_MATH void BellBlock(const double* x, std::size_t count, double mu, double sigma,
                                   double* e) {
  double in[kBlock] = {};
  std::copy(x, x + count, in);
  for (std::size_t i = 0; i < kBlock; ++i) {
    const double u = (in[i] - mu) / sigma;
    e[i] = std::exp(-0.5 * u * u);
  }
}

// sin θ and, when c is given, cos θ with θ = 2π·f·x + φ. The sines and cosines in loops of
// their own, which the compiler would otherwise merge into scalar sincos calls.
QVT_FIT_VECTOR_MATH void PhaseBlock(const double* x, std::size_t count, double f, double phi,
                                    double* s, double* c) {
  double theta[kBlock] = {};
  std::copy(x, x + count, theta);
  for (std::size_t i = 0; i < kBlock; ++i)
    theta[i] = kTwoPi * f * theta[i] + phi;
  for (std::size_t i = 0; i < kBlock; ++i)
    s[i] = std::sin(theta[i]);
  if (c)
    for (std::size_t i = 0; i < kBlock; ++i)
      c[i] = std::cos(theta[i]);
}

// x^n and, when l is given, ln x.
QVT_FIT_VECTOR_MATH void PowerBlock(const double* x, std::size_t count, double n, double* e,
                                    double* l) {
  double in[kBlock];
  std::fill(in + count, in + kBlock, 1.0);
  std::copy(x, x + count, in);
  for (std::size_t i = 0; i < kBlock; ++i)
    e[i] = std::pow(in[i], n);
  if (l)
    for (std::size_t i = 0; i < kBlock; ++i)
      l[i] = std::log(in[i]);
}

// The transcendental terms of a block of points: exp(−x/τ), the Gaussian's exp(−u²/2) or the
// power x^n in e, sin θ and cos θ of the sines in s and c, ln x of the power law in l.
struct Terms {
  double e[kBlock], s[kBlock], c[kBlock], l[kBlock];
};

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

  // Each pass copies the parameters into an array of its own, which the compiler knows no
  // output overwrites: their products and reciprocals are then worked out once per pass.
  void Values(const double* given, std::span<const double> x, double* out) override {
    double p[6] = {};
    std::copy(given, given + names_.size(), p);
    Dispatch([&]<FitModel M>() {
      ForBlocks<M, false>(p, x, [&](std::size_t from, std::size_t count, const Terms& t) {
        double d[6];
        for (std::size_t j = 0; j < count; ++j)
          out[from + j] = Point<M, false>(p, x[from + j], t, j, d);
      });
    });
  }

  bool Derivatives(const double* given, std::span<const double> x, std::span<const int> columns,
                   double* jac, std::size_t stride) override {
    double p[6] = {};
    std::copy(given, given + names_.size(), p);
    Dispatch([&]<FitModel M>() {
      ForBlocks<M, true>(p, x, [&](std::size_t from, std::size_t count, const Terms& t) {
        double d[6] = {};
        for (std::size_t j = 0; j < count; ++j) {
          Point<M, true>(p, x[from + j], t, j, d);
          double* row = jac + (from + j) * stride;
          for (std::size_t k = 0; k < columns.size(); ++k)
            row[k] = d[static_cast<std::size_t>(columns[k])];
        }
      });
    });
    return true;
  }

  bool Sums(const double* given, std::span<const double> x, std::span<const double> y,
            std::span<const int> columns, double* r, fit::NormalSums& out) override {
    if (columns.empty() || columns.size() > fit::kMaxSumColumns)
      return false;
    double p[6] = {};
    std::copy(given, given + names_.size(), p);
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
  // Calls body(from, count, terms) for each block of points, with the block's terms.
  template <FitModel M, bool deriv, class Body>
  void ForBlocks(const double* p, std::span<const double> x, Body&& body) const {
    Terms t;
    for (std::size_t from = 0; from < x.size(); from += kBlock) {
      const std::size_t count = std::min(kBlock, x.size() - from);
      const double* xs = x.data() + from;
      if constexpr (M == FitModel::kExponential || M == FitModel::kCharge ||
                    M == FitModel::kDampedSine)
        DecayBlock(xs, count, p[1], t.e);
      else if constexpr (M == FitModel::kGaussian)
        BellBlock(xs, count, p[1], p[2], t.e);
      else if constexpr (M == FitModel::kPower)
        PowerBlock(xs, count, p[1], t.e, deriv ? t.l : nullptr);
      if constexpr (M == FitModel::kSine || M == FitModel::kDampedSine) {
        constexpr std::size_t f = M == FitModel::kSine ? 1 : 2;
        PhaseBlock(xs, count, p[f], p[f + 1], t.s, deriv ? t.c : nullptr);
      }
      body(from, count, t);
    }
  }

  // One pass for P columns known at compile time, so that the P·(P + 3)/2 + 1 sums stay in
  // registers rather than going through memory at every point; each block's sums are added
  // to the totals at its end.
  template <FitModel M, std::size_t P>
  void SumsOf(const double* p, std::span<const double> x, std::span<const double> y,
              std::span<const int> columns, double* r, fit::NormalSums& out) const {
    constexpr std::size_t kCells = P * (P + 1) / 2;
    std::size_t at[P];
    for (std::size_t k = 0; k < P; ++k)
      at[k] = static_cast<std::size_t>(columns[k]);
    double g[P] = {}, a[kCells] = {};
    double chi2 = 0;
    ForBlocks<M, true>(p, x, [&](std::size_t from, std::size_t count, const Terms& t) {
      double bg[P] = {}, ba[kCells] = {};
      double bchi2 = 0;
      double d[6] = {};
      for (std::size_t j = 0; j < count; ++j) {
        const double ri = Point<M, true>(p, x[from + j], t, j, d) - y[from + j];
        r[from + j] = ri;
        bchi2 += ri * ri;
        double c[P];
#pragma GCC unroll 6
        for (std::size_t k = 0; k < P; ++k)
          c[k] = d[at[k]];
#pragma GCC unroll 6
        for (std::size_t k = 0; k < P; ++k) {
          bg[k] += c[k] * ri;
#pragma GCC unroll 6
          for (std::size_t l = 0; l <= k; ++l)
            ba[k * (k + 1) / 2 + l] += c[k] * c[l];
        }
      }
      chi2 += bchi2;
      for (std::size_t k = 0; k < P; ++k)
        g[k] += bg[k];
      for (std::size_t k = 0; k < kCells; ++k)
        a[k] += ba[k];
    });
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

  // The value at x, the block's j-th point, and, with `deriv`, the derivatives into d. Two
  // instances, so that the values alone compute no cosine.
  template <FitModel M, bool deriv>
  double Point(const double* p, double x, const Terms& t, std::size_t j, double* d) const {
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
      const double e = t.e[j];
      constexpr bool charge = M == FitModel::kCharge;
      if constexpr (deriv) {
        d[0] = charge ? 1 - e : e;
        d[1] = (charge ? -a : a) * e * x * (1 / (tau * tau));
        d[2] = 1;
      }
      return (charge ? a * (1 - e) : a * e) + p[2];
    }
    case FitModel::kSine: {
      const double a = p[0];
      const double s = t.s[j];
      if constexpr (deriv) {
        const double c = a * t.c[j];
        d[0] = s;
        d[1] = c * kTwoPi * x;
        d[2] = c;
        d[3] = 1;
      }
      return a * s + p[3];
    }
    case FitModel::kDampedSine: {
      const double a = p[0], tau = p[1];
      const double e = t.e[j];
      const double s = t.s[j];
      if constexpr (deriv) {
        const double c = a * e * t.c[j];
        d[0] = e * s;
        d[1] = a * e * s * x * (1 / (tau * tau));
        d[2] = c * kTwoPi * x;
        d[3] = c;
        d[4] = 1;
      }
      return a * e * s + p[4];
    }
    case FitModel::kPower: {
      const double power = t.e[j];
      if constexpr (deriv) {
        d[0] = power;
        d[1] = x > 0    ? p[0] * power * t.l[j]
               : x == 0 ? 0.0
                        : std::numeric_limits<double>::quiet_NaN();
      }
      return p[0] * power;
    }
    case FitModel::kGaussian: {
      const double a = p[0], sigma = p[2];
      const double g = t.e[j];
      if constexpr (deriv) {
        const double inverse = 1 / sigma, u = (x - p[1]) * inverse;
        d[0] = g;
        d[1] = a * g * u * inverse;
        d[2] = a * g * u * u * inverse;
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
      error = kFitEmptyExpression;
      return false;
    }
    if (names_.empty()) {
      error = kFitNoParameter;
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

void DecayTerms(std::span<const double> x, double tau, double* e) {
  double block[kBlock];
  for (std::size_t from = 0; from < x.size(); from += kBlock) {
    const std::size_t count = std::min(kBlock, x.size() - from);
    DecayBlock(x.data() + from, count, tau, block);
    std::copy(block, block + count, e + from);
  }
}

void PhaseTerms(std::span<const double> x, double f, double phi, double* s, double* c) {
  double sines[kBlock], cosines[kBlock];
  for (std::size_t from = 0; from < x.size(); from += kBlock) {
    const std::size_t count = std::min(kBlock, x.size() - from);
    PhaseBlock(x.data() + from, count, f, phi, sines, c ? cosines : nullptr);
    std::copy(sines, sines + count, s + from);
    if (c)
      std::copy(cosines, cosines + count, c + from);
  }
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
  return TrView("Models", EntryOf(model).caption.data());
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
