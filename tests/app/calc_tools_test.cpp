// SPDX-License-Identifier: GPL-3.0-or-later
// The tools bar between the range markers: the tangent to a sampled charge (τ read where it
// meets the final level), statistics of a known set, and in the window against the virtual
// interface (Y1 a 50 Hz sine of 2 V, triggered on its rise through 0 V) the tangent clicked at
// the zero crossing, the area over half a period and over whole periods between the markers
// dragged on the graph, copied with Ctrl+C.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cmath>
#include <numbers>

#include "calc_tools.h"
#include "courbe.h"
#include "mainform_fixture.h"
#include "range_markers.h"

namespace qvt {
namespace {

constexpr int k100ms = 12;

// `count` samples of y(t) every `step` seconds from 0 as a time curve and a curve of volts.
struct TFedCharge {
  TCourbe time{"t", 0, "s"};
  TCourbe u{"U", 0, "V"};
  int count = 0;
  template <class F> TFedCharge(int n, double step, F y) : count(n) {
    u.Visible = true;
    time.Mini = 0;
    time.Maxi = step * (n - 1);
    for (int i = 0; i < n; ++i) {
      time.Value[i] = step * i;
      u.Value[i] = y(step * i);
    }
  }
};

TEST(CalcToolsBar, TheTangentToASampledChargeHasItsSlopeAndMeetsTheFinalLevelOneTauLater) {
  TestApp();
  ForceDecimalSeparator(',');
  // u = E(1 - exp(-t/τ)), E = 5 V, τ = 12,5 ms, 1000 samples over 100 ms.
  constexpr double E = 5, tau = 0.0125;
  const TFedCharge charge(1000, 1e-4, [](double t) { return E * (1 - std::exp(-t / tau)); });
  TRangeMarkers markers;
  TCalcToolsBar bar(markers);
  bar.show();
  bar.SetTool(TCalcToolsBar::TTool::kTangent);
  const TCourbe* curves[] = {&charge.u};
  bar.Feed(charge.time, curves, charge.count);
  bar.LevelEdit->setText("5 V");
  bar.LevelEdit->editingFinished();
  // At the start (a one-sided fit there), on the rise and near the plateau.
  for (const double at : {0.0, 0.0100, 0.0300}) {
    SCOPED_TRACE(at);
    bar.SetCursorAbscissa(at);
    const TCalcToolsBar::TResults& r = bar.Results();
    ASSERT_TRUE(r.tangent.has_value());
    EXPECT_NEAR(r.tangent->x, at, 1e-9);
    const double slope = E / tau * std::exp(-at / tau);
    EXPECT_NEAR(r.tangent->slope, slope, 0.01 * slope);
    // The tangent to an exponential reaches its asymptote τ after the point it touches.
    ASSERT_TRUE(r.levelCrossing.has_value());
    EXPECT_NEAR(*r.levelCrossing, at + tau, 0.01 * tau);
    ASSERT_TRUE(r.axisCrossing.has_value());
    const double u = E * (1 - std::exp(-at / tau));
    EXPECT_NEAR(*r.axisCrossing, at - u / slope, 0.01 * tau);
  }
  bar.SetCursorAbscissa(0);
  // Read with plain blanks: within a result they do not break.
  const QString line = bar.ResultLabel->text().replace(QChar::Nbsp, QLatin1Char(' '));
  EXPECT_TRUE(
      QRegularExpression(QString::fromUtf8("^tangente en t = 0,000 s   pente = 399,\\d V/s"))
          .match(line)
          .hasMatch())
      << line.toStdString();
  EXPECT_TRUE(line.contains(QString::fromUtf8("niveau 5,000 V en t = 12,"))) << line.toStdString();
  ForceDecimalSeparator('\0');
}

TEST(CalcToolsBar, StatisticsOfAKnownSetBetweenTheMarkersAreCopiedAsText) {
  TestApp();
  ForceDecimalSeparator(',');
  // Points recorded out of order: read in the order of the abscissa.
  TCourbe x("x", 0, "s");
  TCourbe y("U", 1, "V");
  y.Visible = true;
  const double xs[] = {5, 0, 3, 1, 4, 2, 6};
  const double ys[] = {9, 1, 4, 7, 5, 2, 8};
  for (int i = 0; i < 7; ++i)
    x.Value[i] = xs[i], y.Value[i] = ys[i];
  x.Mini = 0, x.Maxi = 6;
  y.Value[7] = kNoValue; // past the count: never read
  TRangeMarkers markers;
  markers.Place(4.5, 0.5); // x from 1 to 4: y = 7, 2, 4, 5
  TCalcToolsBar bar(markers);
  bar.show();
  bar.SetTool(TCalcToolsBar::TTool::kStatistics);
  const TCourbe* curves[] = {&x, &y};
  bar.Feed(x, curves, 7, 0);
  EXPECT_EQ(bar.CurveCB->count(), 1) << "the abscissa is not offered";
  const auto& s = bar.Results().statistics;
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->count, 4u);
  EXPECT_DOUBLE_EQ(s->mean, 4.5);
  EXPECT_NEAR(s->standardDeviation, std::sqrt(13.0 / 3), 1e-12);
  EXPECT_EQ(s->min, 2);
  EXPECT_EQ(s->max, 7);
  QTest::keyClick(bar.ResultLabel, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            std::string("Outil\tStatistiques\tVoie 1\n"
                        "Grandeur\tValeur\tUnité\n"
                        "n\t4\t\n"
                        "moyenne\t4,500\tV\n"
                        "écart type\t2,082\tV\n"
                        "min\t2,000\tV\n"
                        "max\t7,000\tV\n"
                        "de x\t500,0\tms\n"
                        "à x\t4,500\ts\n"));
  ForceDecimalSeparator('\0');
}

class CalcToolsTest : public MainFormTest {
protected:
  // The 50 Hz sine of Y1, triggered on its rise through 0 V, one sweep of 100 ms; the tools
  // bar shown on it.
  void SweepTheSine() {
    Start("noise=0;gains=1,1,1,1");
    Activate(1);
    Trigger(2);
    form->SeuilEdit->setText("0");
    form->SeuilEditExit();
    TimeBase(k100ms);
    SingleShot(true);
    form->OutilsBtn->click();
    ASSERT_FALSE(form->CalcTools->isHidden());
    bar = form->CalcTools;
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    form->EnregistreBtn->click();
    ASSERT_TRUE(NextSweep());
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    bar->CurveCB->setCurrentIndex(bar->CurveCB->findText("Voie 1"));
    ASSERT_EQ(bar->CurveIndex(), 1);
    form->TempsPaintBox->Repaint();
  }
  int Row() const { return (OscGraph->PlotRect.Top + OscGraph->PlotRect.Bottom) / 2; }
  // Drags a marker on the graph from time `t0` to time `t1`.
  void DragMarker(double t0, double t1) {
    form->TempsPaintBox->Repaint();
    const int from = OscGraph->TimeCurve.ToPixel(t0);
    const int to = OscGraph->TimeCurve.ToPixel(t1);
    form->TempsPaintBoxMouseDown(At(from, Row(), Qt::LeftButton, Qt::LeftButton));
    form->TempsPaintBoxMouseMove(At(to, Row(), Qt::NoButton, Qt::LeftButton));
    form->TempsPaintBoxMouseUp(At(to, Row(), Qt::LeftButton));
  }

  TCalcToolsBar* bar = nullptr;
  static constexpr double kAmplitude = 2, kPeriod = 0.02;
};

TEST_F(CalcToolsTest, TheTangentClickedAtTheSinesZeroCrossingHasItsSlopeAndCrossesThere) {
  SweepTheSine();
  bar->SetTool(TCalcToolsBar::TTool::kTangent);
  const int x = OscGraph->TimeCurve.ToPixel(0.04); // the third rise through 0 V
  form->TempsPaintBoxMouseDown(At(x, Row() - 40, Qt::LeftButton, Qt::LeftButton));
  form->TempsPaintBoxMouseUp(At(x, Row() - 40, Qt::LeftButton));
  const auto& t = bar->Results().tangent;
  ASSERT_TRUE(t.has_value());
  EXPECT_NEAR(t->x, 0.04, 2 * std::fabs(1 / OscGraph->TimeCurve.A)) << "within a pixel or two";
  const double slope =
      kAmplitude * 2 * std::numbers::pi / kPeriod * std::cos(2 * std::numbers::pi * t->x / kPeriod);
  EXPECT_NEAR(t->slope, slope, 0.01 * std::fabs(slope));
  ASSERT_TRUE(bar->Results().axisCrossing.has_value());
  EXPECT_NEAR(*bar->Results().axisCrossing, 0.04, 5e-5);
}

TEST_F(CalcToolsTest, TheAreaOfTheSineBetweenTheMarkersIsNilOverWholePeriodsAndCopied) {
  ForceDecimalSeparator(',');
  SweepTheSine();
  bar->SetTool(TCalcToolsBar::TTool::kArea);
  const double first = std::max(OscGraph->TimeCurve.Value[0], OscGraph->TimeCurve.Mini);
  const double last =
      std::min(OscGraph->TimeCurve.Value[OscGraph->FilledCount - 1], OscGraph->TimeCurve.Maxi);
  // Within 1e-3 of the amplitude times the period: the markers land on pixels, so they are
  // set to their exact places after the drag has shown they move.
  DragMarker(first, 0.02);
  DragMarker(last, 0.03);
  ASSERT_TRUE(form->Markers.Placed());
  EXPECT_NEAR(form->Markers.From(), 0.02, 2 * std::fabs(1 / OscGraph->TimeCurve.A));
  EXPECT_NEAR(form->Markers.To(), 0.03, 2 * std::fabs(1 / OscGraph->TimeCurve.A));
  const double tolerance = 1e-3 * kAmplitude * kPeriod;
  struct {
    double from, to, area;
  } const cases[] = {
      {0.02, 0.03, 2 * kAmplitude * kPeriod / (2 * std::numbers::pi)}, // the positive half
      {0.03, 0.04, -2 * kAmplitude * kPeriod / (2 * std::numbers::pi)},
      {0.01, 0.05, 0},
      {0.005, 0.085, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    form->Markers.Place(c.from, c.to);
    bar->MarkersMoved();
    ASSERT_TRUE(bar->Results().area.has_value());
    EXPECT_NEAR(*bar->Results().area, c.area, tolerance);
  }
  form->Markers.Place(0.02, 0.03);
  bar->MarkersMoved();
  EXPECT_TRUE(bar->ResultLabel->text()
                  .replace(QChar::Nbsp, QLatin1Char(' '))
                  .startsWith(QString::fromUtf8("aire = 12,7")))
      << bar->ResultLabel->text().toStdString();
  QTest::keyClick(bar->ResultLabel, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[0], QString::fromUtf8("Outil\tAire\tVoie 1"));
  EXPECT_EQ(lines[1], QString::fromUtf8("Grandeur\tValeur\tUnité"));
  EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("aire\t12,7"))) << lines[2].toStdString();
  EXPECT_TRUE(lines[2].endsWith(QString::fromUtf8("\tmV·s"))) << lines[2].toStdString();
  EXPECT_EQ(lines[3], QString::fromUtf8("de t\t20,00\tms"));

  // The markers moved without a word to the bar: the next sweep is read between them (a
  // whole period, between rises through 0 V where a trigger's jitter does not count).
  form->Markers.Place(0.02, 0.04);
  form->EnregistreBtn->click();
  ASSERT_TRUE(NextSweep());
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  ASSERT_TRUE(bar->Results().area.has_value());
  EXPECT_NEAR(*bar->Results().area, 0, tolerance);
  ForceDecimalSeparator('\0');
}

} // namespace
} // namespace qvt
