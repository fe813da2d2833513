// SPDX-License-Identifier: GPL-3.0-or-later
// The fit on bad input: each case ends with a clear status and finite figures, never a crash,
// a hang or a number where the data say nothing; and a fit cancelled from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "fit.h"

namespace qvt::analysis {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<double> Ramp(int n, double from = 0, double to = 1) {
  std::vector<double> x(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<std::size_t>(i)] = from + (to - from) * i / (n - 1);
  return x;
}

template <class F> std::vector<double> Apply(const std::vector<double>& x, F f) {
  std::vector<double> y;
  for (double v : x)
    y.push_back(f(v));
  return y;
}

FitModelSpec Expression(std::string text) {
  return {FitModel::kExpression, 3, std::move(text)};
}

FitModelSpec Builtin(FitModel model, int degree = 3) {
  return {model, degree, {}};
}

TEST(Fit, BadInputEndsWithAClearStatus) {
  const std::vector<double> x = Ramp(40);
  const std::vector<double> line = Apply(x, [](double v) { return 2 * v + 1; });
  std::vector<double> holed = line;
  holed[3] = kNaN;
  holed[8] = kInf;
  const std::vector<double> flat(x.size(), 1.5), same(x.size(), 0.25);
  const std::vector<double> huge = Apply(x, [](double v) { return 1e308 * (0.5 + 0.3 * v); });
  const std::vector<double> hugeCharge =
      Apply(x, [](double v) { return 1.7e308 * (1 - std::exp(-v / 0.2)); });
  const std::vector<double> big = Apply(x, [](double v) { return 1e300 * (1 + v); });
  struct Case {
    const char* what;
    std::vector<double> x, y;
    FitModelSpec model;
    std::vector<FitValue> start;
    double from, to;
    FitStatus status;
    const char* message; // a part of the English message, or nullptr
    bool undetermined;   // a free parameter has no error (converged cases)
  };
  const Case cases[] = {
      {"fewer points than parameters",
       {0, 1, 2},
       {1, 0, 1},
       Builtin(FitModel::kSine),
       {},
       -kInf,
       kInf,
       FitStatus::kTooFewPoints,
       "3 points for 4 parameters",
       false},
      {"no point at all",
       {},
       {},
       Builtin(FitModel::kAffine),
       {},
       -kInf,
       kInf,
       FitStatus::kTooFewPoints,
       nullptr,
       false},
      {"range of zero width",
       x,
       line,
       Builtin(FitModel::kAffine),
       {},
       0.5,
       0.5,
       FitStatus::kTooFewPoints,
       nullptr,
       false},
      {"equal x, line",
       same,
       line,
       Builtin(FitModel::kAffine),
       {},
       -kInf,
       kInf,
       FitStatus::kConverged,
       nullptr,
       true},
      {"constant y, charge",
       x,
       flat,
       Builtin(FitModel::kCharge),
       {},
       -kInf,
       kInf,
       FitStatus::kConverged,
       nullptr,
       true},
      {"non-finite samples left out",
       x,
       holed,
       Builtin(FitModel::kAffine),
       {},
       -kInf,
       kInf,
       FitStatus::kConverged,
       nullptr,
       false},
      {"exp(1000) at the start",
       x,
       line,
       Expression("a*EXP(1000*x)"),
       {},
       -kInf,
       kInf,
       FitStatus::kNotFinite,
       "not finite",
       false},
      {"overflow on the way",
       x,
       big,
       Expression("EXP(a*x)"),
       {{"a", 1}},
       -kInf,
       kInf,
       FitStatus::kNotConverged,
       nullptr,
       false},
      {"formula that does not compile",
       x,
       line,
       Expression("a*(x+"),
       {},
       -kInf,
       kInf,
       FitStatus::kBadExpression,
       "Missing brackets",
       false},
      {"formula without parameter",
       x,
       line,
       Expression("2*x+1"),
       {},
       -kInf,
       kInf,
       FitStatus::kBadExpression,
       "no parameter",
       false},
      {"parameter named like the abscissa",
       x,
       line,
       Expression("a*t+b"),
       {{"T", 2}},
       -kInf,
       kInf,
       FitStatus::kBadExpression,
       "abscissa",
       false},
      {"unknown parameter",
       x,
       line,
       Builtin(FitModel::kAffine),
       {{"tau", 2}},
       -kInf,
       kInf,
       FitStatus::kBadInput,
       "no parameter named 'tau'",
       false},
      {"polynomial of degree 7",
       x,
       line,
       Builtin(FitModel::kPolynomial, 7),
       {},
       -kInf,
       kInf,
       FitStatus::kBadInput,
       "3, 4, 5",
       false},
      {"x and y of different lengths",
       x,
       {1, 2},
       Builtin(FitModel::kAffine),
       {},
       -kInf,
       kInf,
       FitStatus::kBadInput,
       nullptr,
       false},
      {"values near 1e308, line",
       x,
       huge,
       Builtin(FitModel::kAffine),
       {},
       -kInf,
       kInf,
       FitStatus::kConverged,
       nullptr,
       false},
      {"values near 1e308, charge",
       x,
       hugeCharge,
       Builtin(FitModel::kCharge),
       {},
       -kInf,
       kInf,
       FitStatus::kConverged,
       nullptr,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FitRequest request;
    request.x = c.x;
    request.y = c.y;
    request.model = c.model;
    request.start = c.start;
    request.from = c.from;
    request.to = c.to;
    FitOptions options;
    options.timeLimit = 2;
    const auto began = std::chrono::steady_clock::now();
    const FitResult r = Fit(request, options);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
    EXPECT_EQ(r.status, c.status) << r.message;
    if (c.message) {
      EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
    }
    EXPECT_FALSE(FitStatusText(r).empty());
    if (r.status != FitStatus::kConverged)
      continue;
    EXPECT_EQ(r.Undetermined(), c.undetermined);
    EXPECT_TRUE(std::isfinite(r.rms));
    for (const FitParameter& p : r.parameters) {
      EXPECT_TRUE(std::isfinite(p.value)) << p.name;
      if (p.error) {
        EXPECT_TRUE(std::isfinite(*p.error) && *p.error >= 0) << p.name;
      }
    }
  }
}

TEST(Fit, FiguresAndFrenchStatus) {
  const std::vector<double> x = Ramp(40);
  std::vector<double> y = Apply(x, [](double v) { return 3 * v - 1; });
  y[0] = kNaN;
  FitRequest request;
  request.x = x;
  request.y = y;
  request.model = Builtin(FitModel::kAffine);
  request.fixed = {{"B", -1}};
  FitResult r = Fit(request);
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_EQ(r.leftOut, 1u);
  EXPECT_EQ(r.points, 39u);
  EXPECT_NEAR(r.parameters[0].value, 3, 1e-12);
  EXPECT_TRUE(r.parameters[1].fixed && !r.parameters[1].error);
  EXPECT_EQ(FitStatusText(r), "Ajustement réussi en 1 itération");
  EXPECT_EQ(r.formula, "a*x+b");

  r.status = FitStatus::kNotConverged;
  EXPECT_EQ(FitStatusText(r), "Pas de convergence : changez les valeurs de départ");
  r.status = FitStatus::kConverged;
  r.iterations = 9;
  r.parameters[0].error.reset();
  EXPECT_EQ(FitStatusText(r), "Ajustement réussi en 9 itérations ; incertitude non déterminée");
  EXPECT_EQ(kFitUndeterminedText, "Incertitude non déterminée");
}

TEST(Fit, CancelFromAnotherThreadEndsALongFit) {
  // A formula on many points, from a poor start, with no limit but the flag.
  const std::vector<double> x = Ramp(200000, 0, 1);
  const std::vector<double> y = Apply(x, [](double v) { return std::sin(40 * v) * v; });
  FitRequest request;
  request.x = x;
  request.y = y;
  request.model = Expression("a*SIN(b*x+c)*x^d+e*COS(f*x)");
  std::atomic<bool> cancel{false};
  FitOptions options;
  options.timeLimit = 0;
  options.maxIterations = 1000000;
  options.cancel = &cancel;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel = true;
  });
  const auto began = std::chrono::steady_clock::now();
  const FitResult r = Fit(request, options);
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
  EXPECT_EQ(r.status, FitStatus::kCancelled) << r.message;
}

} // namespace
} // namespace qvt::analysis
