// SPDX-License-Identifier: GPL-3.0-or-later
// Computed quantities: the definitions refused with their message, the units the algebra
// gives, values with gaps, the text form read back; the Savitzky-Golay filter against scipy's
// values, and the tools between the markers on an exponential and a sine.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "calculus.h"
#include "computed.h"
#include "numbers.h"
#include "savgol.h"

namespace qvt::analysis {
namespace {

const std::array<ComputedChannel, 4> kChannels{{{"U", "V"}, {"I", "A"}, {"", "V"}, {"", "V"}}};
const std::array<ComputedConstant, 1> kConstants{{{"R", 100, "\x9D"}}};

ComputedDefinition Formula(std::string name, std::string formula, std::string unit = "") {
  ComputedDefinition d;
  d.name = std::move(name);
  d.formula = std::move(formula);
  d.unit = std::move(unit);
  return d;
}

ComputedDefinition Of(ComputedKind kind, std::string name, std::string source, int points = 9) {
  ComputedDefinition d;
  d.kind = kind;
  d.name = std::move(name);
  d.source = std::move(source);
  d.points = points;
  return d;
}

ComputedInput Input(std::size_t samples, std::span<const std::span<const double>> channels) {
  ComputedInput input;
  input.samples = samples;
  input.channels = channels;
  return input;
}

TEST(ComputedModel, RefusesBadDefinitionsWithAMessageAndKeepsTheSetItHad) {
  struct Case {
    const char* what;
    std::vector<ComputedDefinition> definitions;
    int where;
    const char* message; // a part of the message
  };
  const std::vector<Case> cases{
      {"cycle", {Formula("A1", "B1+1"), Formula("B1", "A1*2")}, 0, "circulaire"},
      {"itself", {Formula("P", "P*2")}, 0, "elle-m\xC3\xAAme"},
      {"unknown name", {Formula("P", "U*Z")}, 0, "nom inconnu \xC2\xAB Z \xC2\xBB"},
      {"unknown function", {Formula("P", "FOO(U)")}, 0, "fonction inconnue"},
      {"channel clash", {Formula("u", "V0")}, 0, "voie"},
      {"constant clash", {Formula("R", "V0")}, 0, "constante"},
      {"function clash", {Formula("SIN", "V0")}, 0, "fonction"},
      {"twice", {Formula("P", "U"), Formula("p", "I")}, 1, "autre grandeur"},
      {"too long", {Formula("ABCDEFGHI", "U")}, 0, "trop long"},
      {"bad unit", {Formula("P", "U*I", "kg/?")}, 0, "unit\xC3\xA9"},
      {"bad formula", {Formula("P", "U*(I")}, 0, "Missing brackets"},
      {"bad source", {Of(ComputedKind::kDerivative, "dP", "R")}, 0, "ni une voie"},
      {"even points", {Of(ComputedKind::kDerivative, "dU", "U", 8)}, 0, "impair"},
  };
  for (const Case& c : cases) {
    ComputedModel model;
    ASSERT_FALSE(model.Define(kChannels, kConstants, {{Formula("Q", "U")}}));
    const auto error = model.Define(kChannels, kConstants, c.definitions);
    ASSERT_TRUE(error) << c.what;
    EXPECT_EQ(error->where, c.where) << c.what;
    EXPECT_NE(error->message.find(c.message), std::string::npos)
        << c.what << ": " << error->message;
    ASSERT_EQ(model.Count(), 1u) << c.what;
    EXPECT_EQ(model.Definition(0).name, "Q") << c.what;
  }
  // More points than the range holds: refused at computing, the quantity left blank.
  ComputedModel model;
  ASSERT_FALSE(
      model.Define(kChannels, kConstants, {{Of(ComputedKind::kDerivative, "dU", "U", 51)}}));
  const std::vector<double> u(20, 1.0);
  const std::array<std::span<const double>, 1> in{u};
  const auto error = model.Compute(Input(20, in));
  ASSERT_TRUE(error);
  EXPECT_NE(error->message.find("51 points"), std::string::npos) << error->message;
  EXPECT_EQ(model.Values(0)[10], kNoValue);
}

TEST(ComputedModel, UnitsFollowTheAlgebraUnlessTyped) {
  ComputedModel model;
  const std::vector<ComputedDefinition> definitions{Formula("P", "U*U/R"),
                                                    Formula("Pa", "U*I"),
                                                    Of(ComputedKind::kDerivative, "dU", "U"),
                                                    Of(ComputedKind::kIntegral, "Q", "I"),
                                                    Formula("X", "U+I"),
                                                    Formula("Y", "U*I", "mW"),
                                                    Formula("Z", "SQR(U)/P"),
                                                    Of(ComputedKind::kSmoothing, "Ul", "U")};
  const auto error = model.Define(kChannels, kConstants, definitions);
  ASSERT_FALSE(error) << error->message;
  EXPECT_EQ(model.Unit(0), "W");
  EXPECT_EQ(model.Unit(1), "W");
  EXPECT_EQ(model.Unit(2), "V/s");
  EXPECT_EQ(model.Unit(3), "C");
  EXPECT_EQ(model.Unit(4), ""); // V + A: no unit
  EXPECT_EQ(model.Unit(5), "mW");
  EXPECT_EQ(model.Unit(6), "\x9D");
  EXPECT_EQ(model.Unit(7), "V");
}

TEST(ComputedModel, ComputesSampleBySampleAndLeavesGapsWhereTheFormulaCannot) {
  ComputedModel model;
  ASSERT_FALSE(
      model.Define(kChannels, kConstants,
                   {{Formula("G", "P/U"), Formula("P", "V0*V1/R+t"), Formula("L", "LN(U)")}}));
  const std::vector<double> u{2, 0, -1, kNoValue};
  const std::vector<double> i{3, 3, 3, 3};
  const std::array<std::span<const double>, 2> in{u, i};
  ComputedInput input = Input(4, in);
  input.t0 = 1;
  input.dt = 0.5;
  ASSERT_FALSE(model.Compute(input));
  const std::vector<double> expectedP{2 * 3 / 100.0 + 1, 1.5, -3 / 100.0 + 2, kNoValue};
  for (std::size_t k = 0; k < 4; ++k)
    EXPECT_DOUBLE_EQ(model.Values(1)[k], expectedP[k]) << k;
  EXPECT_DOUBLE_EQ(model.Values(0)[0], expectedP[0] / 2);
  EXPECT_EQ(model.Values(0)[1], kNoValue); // division by zero
  EXPECT_DOUBLE_EQ(model.Values(2)[0], std::log(2.0));
  EXPECT_EQ(model.Values(2)[2], kNoValue); // logarithm of a negative number

  // Runs of equal inputs reuse the result before, faults and gaps included; draws do not.
  ASSERT_FALSE(
      model.Define(kChannels, kConstants, {{Formula("G", "1/U"), Formula("N", "U+RND(1)")}}));
  const std::vector<double> flat{0, 0, 0, 2, 2, kNoValue, 2, 2};
  const std::array<std::span<const double>, 1> one{flat};
  ASSERT_FALSE(model.Compute(Input(flat.size(), one)));
  const std::vector<double> expectedG{kNoValue, kNoValue, kNoValue, 0.5, 0.5, kNoValue, 0.5, 0.5};
  for (std::size_t k = 0; k < flat.size(); ++k)
    EXPECT_EQ(model.Values(0)[k], expectedG[k]) << k;
  EXPECT_NE(model.Values(1)[1], model.Values(1)[2]);
}

TEST(ComputedText, DefinitionsReadBackAndNewerOrBrokenLinesAreRefused) {
  ComputedDefinition smooth = Of(ComputedKind::kSmoothing, "Ul", "U", 15);
  smooth.method = SmoothingMethod::kMovingAverage;
  for (const ComputedDefinition& d :
       {Formula("P", "V0*V1/R", "W"), Of(ComputedKind::kDerivative, "dU", "U", 7),
        Of(ComputedKind::kIntegral, "Q", "I"), smooth}) {
    const ComputedLine line = ParseComputedText(ComputedText(d));
    ASSERT_TRUE(line.definition) << ComputedText(d) << ": " << line.error;
    EXPECT_EQ(*line.definition, d);
  }
  const ComputedConstant r{"R", 4.7e3, "\x9D"};
  EXPECT_EQ(ParseComputedText(ComputedText(r)).constant, r);

  struct Bad {
    const char* line;
    const char* message;
  };
  for (const Bad& b :
       {Bad{"v=2;type=formule;nom=P;unite=;expr=U;couleur=3", "plus r\xC3\xA9"},
        Bad{"v=1;type=spline;nom=P;unite=;source=U", "plus r\xC3\xA9"},
        Bad{"type=formule;nom=P;unite=;expr=U", "version"},
        Bad{"v=1;type=formule;nom=P;unite=", "expr"},
        Bad{"v=1;type=derivee;nom=P;unite=;source=U;points=x", "points"},
        Bad{"v=1;type=formule;nom=P;nom=Q;unite=;expr=U", "r\xC3\xA9p\xC3\xA9t"},
        Bad{"v=1;type=formule;nom=P;unite=;expr=U;z=1", "inconnue"}, Bad{"garbage", "illisible"}}) {
    const ComputedLine line = ParseComputedText(b.line);
    EXPECT_FALSE(line.definition || line.constant) << b.line;
    EXPECT_NE(line.error.find(b.message), std::string::npos) << b.line << ": " << line.error;
  }
}

TEST(Savgol, EqualsScipySavgolFilterInsideAndAtTheEnds) {
  // scipy.signal.savgol_filter(y, points, order, deriv, delta) of the same 40 samples, mode
  // "interp", read at the samples listed (both ends and the inside).
  struct Case {
    int points, order, deriv;
    double delta;
    std::array<std::size_t, 6> at;
    std::array<double, 6> want;
  };
  const Case cases[] = {
      {9,
       2,
       0,
       1,
       {0, 2, 4, 20, 35, 39},
       {0.1548979070876498, 0.9536188392834778, 1.3229146743289772, -0.19334676238938928,
        -0.4972742515884809, -0.5412140945762788}},
      {7,
       3,
       1,
       0.5,
       {0, 2, 3, 20, 37, 39},
       {1.6443391260031257, 0.5141694594039068, 0.1763227452859421, 0.3791258880369227,
        -0.18251409561743664, 0.6571977370070925}},
  };
  std::vector<double> y(40), out(40);
  for (std::size_t i = 0; i < y.size(); ++i)
    y[i] = std::sin(0.3 * static_cast<double>(i)) + 0.05 * static_cast<double>((i * 7919) % 11);
  for (const Case& c : cases) {
    SavgolFilter(y, c.points, c.order, c.deriv, c.delta, out);
    for (std::size_t k = 0; k < c.at.size(); ++k)
      EXPECT_NEAR(out[c.at[k]], c.want[k], 1e-9 * std::fabs(c.want[k])) << c.points << " " << k;
  }
  // A gap blanks the outputs whose window holds it, and only those.
  y[20] = kNoValue;
  SavgolFilter(y, 9, 2, 0, 1, out);
  EXPECT_EQ(out[16], kNoValue);
  EXPECT_EQ(out[24], kNoValue);
  EXPECT_NE(out[15], kNoValue);
  EXPECT_NE(out[25], kNoValue);
}

TEST(Calculus, AreaChordAndStatisticsOfASine) {
  constexpr double kA = 2, kT = 0.02;
  std::vector<double> t(2001), u(2001);
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i] = kT * 2 * static_cast<double>(i) / 2000; // two periods
    u[i] = kA * std::sin(2 * std::numbers::pi * t[i] / kT);
  }
  EXPECT_NEAR(*Area(t, u, 0, 2 * kT), 0, 1e-3 * kA * kT);
  EXPECT_NEAR(*Area(t, u, 0, kT / 2), kA * kT / std::numbers::pi, 1e-3 * kA * kT);
  EXPECT_NEAR(*Area(t, u, kT / 2, 0), -kA * kT / std::numbers::pi, 1e-3 * kA * kT);
  EXPECT_FALSE(Area(t, u, -1, kT));
  EXPECT_NEAR(*ChordSlope(t, u, 0, kT / 4), kA / (kT / 4), 1e-6);
  const auto s = StatisticsBetween(t, u, 0, kT);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->count, 1001u);
  EXPECT_NEAR(s->mean, 0, 1e-9);
  EXPECT_NEAR(s->standardDeviation, kA / std::sqrt(2.0), 1e-3);
  EXPECT_NEAR(s->max, kA, 1e-9);
  EXPECT_NEAR(s->min, -kA, 1e-9);
}

TEST(Calculus, TangentOfASampledExponentialHasItsSlopeAndCrossesAtTau) {
  // The charge of a capacitor: u = E (1 - exp(-t / tau)); the tangent at 0 crosses E at tau.
  constexpr double kE = 5, kTau = 1e-3, kDt = 1e-5;
  std::vector<double> t(1000), u(1000);
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i] = kDt * static_cast<double>(i);
    u[i] = kE * (1 - std::exp(-t[i] / kTau));
  }
  for (double at : {0.0, 2e-3}) {
    const auto tangent = TangentAt(t, u, at);
    ASSERT_TRUE(tangent);
    const double exact = kE / kTau * std::exp(-at / kTau);
    EXPECT_NEAR(tangent->slope, exact, 0.01 * exact) << at;
  }
  const auto start = TangentAt(t, u, 0);
  EXPECT_NEAR(*start->Crossing(kE), kTau, 0.01 * kTau);
  EXPECT_NEAR(*start->Crossing(0), 0, 0.01 * kTau);
}

} // namespace
} // namespace qvt::analysis
