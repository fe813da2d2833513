// SPDX-License-Identifier: GPL-3.0-or-later
// The computed quantities as curves: a refused set leaves the one before, the curves of a
// sweep with their gaps and ranges, a rename that stops the computing without losing the set,
// a set kept unchecked from the settings, and the recorded points against their abscissa.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "computed_curves.h"
#include "numbers.h"

using namespace qvt;
using analysis::ComputedChannel;
using analysis::ComputedConstant;
using analysis::ComputedDefinition;
using analysis::ComputedKind;

namespace {

const std::array<ComputedChannel, 4> kChannels = {
    ComputedChannel{"U", "V"}, ComputedChannel{"I", "A"}, ComputedChannel{}, ComputedChannel{}};

ComputedDefinition Formula(std::string name, std::string formula, std::string unit = "") {
  ComputedDefinition d;
  d.name = std::move(name);
  d.formula = std::move(formula);
  d.unit = std::move(unit);
  return d;
}

TComputedDisplay Typed(double mini, double maxi) {
  TComputedDisplay d;
  d.AutoScale = false;
  d.Mini = mini;
  d.Maxi = maxi;
  return d;
}

class ComputedCurvesTest : public ::testing::Test {
protected:
  // 100 samples 1 ms apart: V0 = 0.01 i, V1 = 2, V2 hidden.
  void SetUp() override {
    for (int i = 0; i < 100; ++i) {
      time.Value[i] = i * 1e-3;
      sweep[0].Value[i] = 0.01 * i;
      sweep[1].Value[i] = 2;
      sweep[2].Value[i] = 5;
    }
    sweep[0].Visible = sweep[1].Visible = true;
  }

  std::array<TCourbeOsc, 4> sweep{TCourbeOsc("V0", 0, "V"), TCourbeOsc("V1", 1, "V"),
                                  TCourbeOsc("V2", 2, "V"), TCourbeOsc("V3", 3, "V")};
  TCourbe time{"t", 0, "s"};
  TComputedCurves set;
};

TEST_F(ComputedCurvesTest, RefusedSetKeepsTheOneBefore) {
  ASSERT_FALSE(set.Define(kChannels, {}, {Formula("P", "U*I")}, {}));
  const auto error = set.Define(kChannels, {}, {Formula("a", "b+1"), Formula("b", "2*a")}, {});
  ASSERT_TRUE(error);
  EXPECT_FALSE(error->message.empty());
  ASSERT_EQ(set.Count(), 1u);
  EXPECT_EQ(set.Definitions()[0].name, "P");
  EXPECT_EQ(set.Unit(0), "W"); // V times A
  EXPECT_FALSE(set.Refused());
  EXPECT_FALSE(set.ComputeSweep(sweep, time, 100));
  EXPECT_EQ(set.Curves.size(), 1u);
}

TEST_F(ComputedCurvesTest, SweepCurvesWithGapsAndRanges) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* formula;
    TComputedDisplay display;
    double at10;       // sample 10, kNoValue for a gap
    double mini, maxi; // the range shown
  };
  const Case cases[] = {
      {"V0*V1", {}, 0.2, -0.099, 2.079},    // 0 .. 1.98 widened by 5 %
      {"V2*V1", {}, kNoValue, -1, 1},       // a hidden channel: all gaps
      {"1/(V0-0.1)", {}, kNoValue, 0, 0},   // a division by zero at sample 10
      {"3", {}, 3, 2.97, 3.03},             // flat: 1 % of its value
      {"0*V0", {}, 0, -1, 1},               // flat at 0
      {"V0", Typed(5, -5), 0.1, -5, 5},     // typed the wrong way round
      {"V0", Typed(2, 2), 0.1, 1.98, 2.02}, // a typed range of no height
      {"V0", Typed(nan, 1), 0.1, -1, 1},    // nor a number
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.formula);
    ASSERT_FALSE(set.Define(kChannels, {}, {Formula("Q", k.formula)}, {k.display}));
    EXPECT_FALSE(set.ComputeSweep(sweep, time, 100));
    ASSERT_EQ(set.Curves.size(), 1u);
    const TCourbe& c = set.Curves[0];
    if (k.at10 == kNoValue)
      EXPECT_EQ(c.Value[10], kNoValue);
    else
      EXPECT_NEAR(c.Value[10], k.at10, 1e-12);
    EXPECT_EQ(c.Value[100], kNoValue); // nothing beyond the sweep
    if (k.mini != k.maxi) {
      EXPECT_NEAR(c.Mini, k.mini, 1e-12);
      EXPECT_NEAR(c.Maxi, k.maxi, 1e-12);
    }
    EXPECT_LT(c.Mini, c.Maxi);
  }

  // What a curve carries besides its values.
  TComputedDisplay hidden;
  hidden.Visible = false;
  hidden.Colour = MakeColour(1, 2, 3);
  ASSERT_FALSE(set.Define(kChannels, {ComputedConstant{"R", 100, "\x9D"}},
                          {Formula("P", "U*U/R"), Formula("Q", "P*2", "mW")}, {hidden}));
  set.ComputeSweep(sweep, time, 100);
  ASSERT_EQ(set.Curves.size(), 2u);
  EXPECT_EQ(set.Curves[0].QuantityName, "P");
  EXPECT_EQ(set.Curves[0].Text, "W");
  EXPECT_EQ(set.Curves[0].Index, 4);
  EXPECT_EQ(set.Curves[0].Colour, MakeColour(1, 2, 3));
  EXPECT_FALSE(set.Curves[0].Visible);
  EXPECT_NEAR(set.Curves[0].Value[50], 0.25 / 100, 1e-15);
  EXPECT_EQ(set.Curves[1].Index, 5);
  EXPECT_EQ(set.Curves[1].Text, "mW");
  // Its values are SI: 2·0.25/100 W reads 5 mW, not 5 µW.
  EXPECT_EQ(set.Curves[1].Describe(set.Curves[1].Value[50]), "Q=5.00 mW");
  EXPECT_EQ(set.Curves[1].Colour, ComputedColour(1));
  EXPECT_TRUE(set.Curves[1].Visible);
  EXPECT_NE(ComputedColour(0), ComputedColour(1));
}

TEST_F(ComputedCurvesTest, RenamedChannelStopsTheComputingButKeepsTheSet) {
  ASSERT_FALSE(set.Define(kChannels, {}, {Formula("P", "U*I")}, {}));
  set.ComputeSweep(sweep, time, 100);
  auto renamed = kChannels;
  renamed[0].name = "E";
  EXPECT_TRUE(set.Recheck(renamed));
  EXPECT_TRUE(set.Refused());
  EXPECT_EQ(set.Count(), 1u); // still in the dialog and the settings
  EXPECT_TRUE(set.Curves.empty());
  EXPECT_FALSE(set.ComputeSweep(sweep, time, 100));
  EXPECT_TRUE(set.Curves.empty());

  EXPECT_FALSE(set.Recheck(kChannels)); // named back
  EXPECT_FALSE(set.Refused());
  set.ComputeSweep(sweep, time, 100);
  ASSERT_EQ(set.Curves.size(), 1u);
  EXPECT_NEAR(set.Curves[0].Value[10], 0.2, 1e-12);

  // A set read from the settings is kept as it is, and computed once checked.
  set.Keep({}, {Formula("Q", "E*2", "V"), Formula("R", "Q")}, {});
  EXPECT_TRUE(set.Refused());
  EXPECT_EQ(set.Unit(1), "");
  EXPECT_FALSE(set.ComputeSweep(sweep, time, 100));
  EXPECT_TRUE(set.Curves.empty());
  EXPECT_TRUE(set.Recheck(kChannels));
  EXPECT_EQ(set.Count(), 2u);
  EXPECT_FALSE(set.Recheck(renamed));
  EXPECT_EQ(set.Unit(1), "V");
  set.ComputeSweep(sweep, time, 100);
  ASSERT_EQ(set.Curves.size(), 2u);
  EXPECT_NEAR(set.Curves[1].Value[10], 0.2, 1e-12);
}

TEST_F(ComputedCurvesTest, PointsAgainstTheirAbscissa) {
  // Channel 1 against channel 0 on uneven abscissae: V1 = 3 V0 + 1.
  std::array<TCourbePoint, 4> points{TCourbePoint("V0", 0, "V"), TCourbePoint("V1", 1, "V"),
                                     TCourbePoint("V2", 2, "V"), TCourbePoint("V3", 3, "V")};
  points[0].Visible = points[1].Visible = true;
  for (int i = 0; i < 12; ++i) {
    points[0].Value[i] = 0.1 * (i + 1) * (i + 1);
    points[1].Value[i] = 3 * points[0].Value[i] + 1;
  }
  ComputedDefinition slope;
  slope.name = "d";
  slope.kind = ComputedKind::kDerivative;
  slope.source = "I";
  slope.points = 5;
  ASSERT_FALSE(set.Define(kChannels, {}, {slope, Formula("n", "t")}, {}, "V"));
  EXPECT_FALSE(set.ComputePoints(points, 0, 12));
  ASSERT_EQ(set.Curves.size(), 2u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_NEAR(set.Curves[0].Value[i], 3, 1e-9) << i;
    EXPECT_EQ(set.Curves[1].Value[i], i); // t: the point's number
  }
  EXPECT_EQ(set.Curves[0].Value[12], kNoValue);
  EXPECT_TRUE(set.ComputePoints(points, 0, 4)); // 5 points asked, 4 recorded
  EXPECT_EQ(set.Curves[0].Value[0], kNoValue);
}

} // namespace
