// SPDX-License-Identifier: GPL-3.0-or-later
// The computed quantities in the window against the virtual interface: computed at each
// sweep, drawn with the channels and read by the cursor, kept in the settings file.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <vector>

#include "computed_curves.h"
#include "mainform_fixture.h"

namespace qvt {
namespace {

using analysis::ComputedConstant;
using analysis::ComputedDefinition;
using analysis::ComputedKind;

ComputedDefinition Quantity(const char* name, ComputedKind kind, const char* what) {
  ComputedDefinition d;
  d.name = name;
  d.kind = kind;
  (kind == ComputedKind::kFormula ? d.formula : d.source) = what;
  return d;
}

// P = V0·V1/R with R = 100 Ω, the derivative of V1 and the integral of P.
std::vector<ComputedDefinition> PowerSet() {
  std::vector<ComputedDefinition> set = {Quantity("P", ComputedKind::kFormula, "V0*V1/R"),
                                         Quantity("dV1", ComputedKind::kDerivative, "V1"),
                                         Quantity("E", ComputedKind::kIntegral, "P")};
  set[0].unit = "W";
  return set;
}
std::vector<ComputedConstant> Resistor() {
  return {{"R", 100, "\x9D"}};
}

class CalculsTest : public MainFormFileTest {};

TEST_F(CalculsTest, QuantitiesFollowEachSweepAreDrawnAndRead) {
  // Y0 a 50 Hz sine of 2 V, Y1 a 50 Hz triangle of 3 V: its derivative is a square of
  // ±4·3·50 = ±600 V/s.
  Start("noise=0;y0=sine:50:2;y1=triangle:50:3");
  Activate(0);
  Activate(1);
  Trigger(1);
  TimeBase(k20ms);
  SingleShot(true);
  ASSERT_FALSE(
      form->ComputedQuantities().Define(form->ComputedChannels(), Resistor(), PowerSet(), {}));
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  form->EnregistreBtn->click();
  ASSERT_TRUE(NextSweep());
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));

  const std::vector<TCourbe>& curves = form->ComputedQuantities().Curves;
  ASSERT_EQ(curves.size(), 3u);
  const int n = OscGraph->FilledCount;
  ASSERT_GT(n, 1000);
  for (int i = 0; i < n; i += 97)
    ASSERT_DOUBLE_EQ(curves[0].Value[i],
                     OscGraph->Curves[0].Value[i] * OscGraph->Curves[1].Value[i] / 100)
        << "sample " << i;
  std::vector<double> slopes;
  for (int i = 0; i < n; ++i)
    slopes.push_back(std::abs(curves[1].Value[i]));
  std::nth_element(slopes.begin(), slopes.begin() + n / 2, slopes.end());
  EXPECT_NEAR(slopes[n / 2], 600, 6) << "the derivative of the triangle is a square";
  EXPECT_EQ(curves[2].Value[0], 0) << "the integral starts at the first sample";

  // P is drawn in its colour where its samples fall, and the cursor reads it there.
  form->TempsPaintBox->Repaint();
  const QImage image = form->TempsPaintBox->grab().toImage();
  const double ratio = image.devicePixelRatio();
  const int i = n / 3;
  const int x = OscGraph->TimeCurve.ToPixel(OscGraph->TimeCurve.Value[i]);
  const int y = curves[0].ToPixel(curves[0].Value[i]);
  bool drawn = false;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      drawn |= image.pixelColor(int((x + dx) * ratio), int((y + dy) * ratio)) ==
               ToQColor(curves[0].Colour);
  EXPECT_TRUE(drawn) << "P is drawn at its sample";
  form->ShowReadout(x, y);
  ASSERT_TRUE(form->LabelY->isVisible());
  EXPECT_TRUE(form->LabelY->text().startsWith("P=")) << form->LabelY->text().toStdString();

  // Saved with the sweep, opened again: the file's own set, computed anew from its channels.
  const std::vector<double> p(curves[0].Value.begin(), curves[0].Value.begin() + n);
  const QString path = dir.filePath("p.qvtm");
  ASSERT_TRUE(form->SaveMeasureFile(path));
  const std::string text = ReadFile(path.toStdString());
  EXPECT_NE(text.find("P (W)"), std::string::npos);
  EXPECT_NE(text.find("expr=V0*V1/R"), std::string::npos);
  ASSERT_FALSE(form->ComputedQuantities().Define(form->ComputedChannels(), {}, {}, {}));
  ASSERT_TRUE(form->OpenMeasureFile(path));
  const TComputedCurves& shown = form->ShownComputed();
  ASSERT_EQ(shown.Count(), 3u);
  ASSERT_EQ(shown.Curves.size(), 3u);
  for (int i = 0; i < n; i += 97)
    EXPECT_NEAR(shown.Curves[0].Value[i], p[i], 1e-12) << "sample " << i;
  EXPECT_EQ(&shown.Curves, OscGraph->Computed);
  form->EnregistreBtn->click(); // back to live data: the user's (now empty) set
  EXPECT_EQ(form->ShownComputed().Count(), 0u);
  EXPECT_EQ(&form->ComputedQuantities().Curves, OscGraph->Computed);
}

TEST_F(CalculsTest, SettingsKeepTheSet) {
  Start();
  ASSERT_EQ(ReadFile().find("[Calculs]"), std::string::npos);
  ASSERT_FALSE(form->ComputedQuantities().Define(form->ComputedChannels(), Resistor(), PowerSet(),
                                                 {TComputedDisplay{0x804000}}));
  Close();
  EXPECT_NE(ReadFile().find("[Calculs]"), std::string::npos);
  Start();
  const TComputedCurves& kept = form->ComputedQuantities();
  EXPECT_EQ(kept.Constants(), Resistor());
  EXPECT_EQ(kept.Definitions(), PowerSet());
  ASSERT_EQ(kept.Displays().size(), 3u);
  EXPECT_EQ(kept.Displays()[0].Colour, 0x804000u);
  EXPECT_FALSE(kept.Refused());
}

} // namespace
} // namespace qvt
