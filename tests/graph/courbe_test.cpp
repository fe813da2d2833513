// SPDX-License-Identifier: GPL-3.0-or-later
// The curve store: creation defaults, display scale, graduations and labels, the screen
// transform and the sample array's bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "../units/separator_fixture.h"
#include "courbe.h"
#include "numbers.h"

using namespace qvt;

namespace {

TEST(Courbe, CreationDefaults) {
  TCourbe c("V1", 1, "V");
  EXPECT_EQ(c.QuantityName, "V1");
  EXPECT_EQ(c.Text, "V");
  EXPECT_TRUE(c.Valid);
  EXPECT_EQ(c.Index, 1);
  EXPECT_EQ(c.Colour, MakeColour(255, 0, 0));
  EXPECT_EQ(c.A, 1);
  EXPECT_EQ(c.B, 0);
  EXPECT_EQ(c.Mini, -15);
  EXPECT_EQ(c.Maxi, 15);
  EXPECT_FALSE(c.Visible);
  EXPECT_EQ(c.DisplayScale, 1);
  EXPECT_EQ(c.DisplayDigits, 0);
  c.ComputeDisplayScale();
  EXPECT_EQ(c.DisplayScale, 1);
  EXPECT_EQ(c.DisplayDigits, 3);

  EXPECT_EQ(TCourbe("t", 0, "s").Colour, MakeColour(0, 0, 255));
  EXPECT_EQ(TCourbe("V2", 2, "V").Colour, MakeColour(255, 0, 255));
  EXPECT_EQ(TCourbe("V3", 3, "V").Colour, MakeColour(0, 255, 0));
  EXPECT_EQ(TCourbe(std::string(40, 'q'), 0, "V").QuantityName.size(), 35u);

  TCourbePoint point("V0", 0, "V");
  EXPECT_EQ(point.Current, kNoValue);
  EXPECT_EQ(point.MarkerStyle, 0);
  EXPECT_EQ(TCourbeOsc("V0", 0, "V").ChannelControls, nullptr);
}

TEST(Courbe, DisplayScale) {
  struct Case {
    double mini, maxi;
    double scale;
    int digits;
  };
  for (const Case& k : {
           Case{5, -5, 1, 2},         // swapped first
           Case{0, 0.02, 0.001, 3},   // 20 thousandths
           Case{-0.5, 0.5, 0.001, 4}, // n = -1 gives k = -1
           Case{0, 5000, 1000, 2},
           Case{-2e-7, 0, 1e-9, 4},
       }) {
    TCourbe c("x", 0, "V");
    c.Mini = k.mini;
    c.Maxi = k.maxi;
    c.ComputeDisplayScale();
    EXPECT_LE(c.Mini, c.Maxi);
    EXPECT_DOUBLE_EQ(c.DisplayScale, k.scale) << k.mini << ".." << k.maxi;
    EXPECT_EQ(c.DisplayDigits, k.digits) << k.mini << ".." << k.maxi;
  }
}

TEST(Courbe, Graduation) {
  struct Case {
    double mini, maxi;
    bool fine;
    double step, first, scale;
    int digits;
  };
  for (const Case& k : {
           Case{0, 10, false, 5, 0, 1, 3},
           Case{0, 10, true, 2, 0, 1, 3},
           Case{-15, 15, false, 10, -10, 1, 3},
           Case{-15, 15, true, 5, -15, 1, 3},
           Case{0, 0.02, false, 0.005, 0, 0.001, 3},
           Case{0, 5000, true, 1000, 0, 1000, 3},
           Case{-3.3, 12.5, false, 5, 0, 1, 3},
           Case{0, 0.5, false, 0.2, 0, 0.001, 3},
       }) {
    TCourbe c("x", 0, "V");
    c.Mini = k.mini;
    c.Maxi = k.maxi;
    c.ComputeGraduation(k.fine);
    EXPECT_DOUBLE_EQ(c.GradStep, k.step) << k.mini << ".." << k.maxi << " " << k.fine;
    EXPECT_DOUBLE_EQ(c.GradFirst, k.first) << k.mini << ".." << k.maxi;
    EXPECT_DOUBLE_EQ(c.GradScale, k.scale) << k.mini << ".." << k.maxi;
    EXPECT_EQ(c.GradDigits, k.digits) << k.mini << ".." << k.maxi;
  }
}

TEST(Courbe, EmptyRangeKeepsScalesFinite) {
  TCourbe c("x", 0, "V");
  c.Mini = 0;
  c.Maxi = 0;
  c.ComputeDisplayScale();
  c.ComputeGraduation(false);
  EXPECT_EQ(c.DisplayScale, 1);
  EXPECT_TRUE(std::isfinite(c.GradStep) && c.GradStep > 0);
  EXPECT_GE(c.GradDigits, 3);
}

class GradLabelTest : public SeparatorTest {};
QVT_BOTH_SEPARATORS(GradLabelTest);

TEST_P(GradLabelTest, LabelsInThousandthsAndNearZero) {
  TCourbe t("t", 0, "s");
  t.Mini = 0;
  t.Maxi = 0.02;
  t.ComputeGraduation(false);
  const char* expected[] = {"0", "5", "10", "15"};
  for (int i = 0; i < 4; ++i) {
    const double x = t.GradFirst + i * t.GradStep;
    EXPECT_EQ(t.GradLabel(x / t.GradScale), expected[i]) << x;
  }
  EXPECT_EQ(t.AxisLabel(t.GradScale), "t/ms");

  TCourbe c("P", 0, "W");
  c.Mini = 0;
  c.Maxi = 5000;
  c.ComputeGraduation(true);
  EXPECT_EQ(c.GradLabel(1), "1");
  EXPECT_EQ(c.GradLabel(0.0049), "0"); // within 5 of zero
  EXPECT_EQ(c.GradLabel(-0.0049), "0");
  EXPECT_EQ(c.GradLabel(0.006), Local("0.006"));
  EXPECT_EQ(c.GradLabel(2.5), Local("2.5"));
}

TEST(Courbe, ScreenTransform) {
  TCourbe c("x", 0, "V");
  c.A = 2;
  c.B = 0.5;
  EXPECT_EQ(c.ToPixel(1), 2);   // 2.5 goes to the even neighbour
  EXPECT_EQ(c.ToPixel(1.5), 4); // 3.5 as well
  EXPECT_EQ(c.ToPixel(-1), -2);
  EXPECT_EQ(c.ToPixel(kNoValue), -1);
  EXPECT_EQ(c.ToPixel(1e300), -1);
  EXPECT_EQ(c.ToPixel(-1e10), -1);
  EXPECT_EQ(c.ToPixel(std::nan("")), -1);
  EXPECT_EQ(c.ToPixel(1073741823.25), 2147483647);
  EXPECT_EQ(c.ToPixel(1073741824), -1);
  EXPECT_DOUBLE_EQ(c.FromPixel(c.ToPixel(10)), 9.75);
}

TEST(Courbe, SampleIndexIsChecked) {
  TCourbe c("x", 0, "V");
  c.Value[16384] = 7;
  EXPECT_EQ(c.Value.at(16384), 7);
  EXPECT_EQ(c.Value[0], 0);
  EXPECT_THROW(c.Value[16385] = 1, std::out_of_range);
  EXPECT_THROW(c.Value.at(-1), std::out_of_range);
  EXPECT_EQ(c.Value.size(), 16385u);
}

} // namespace
