// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope graph: layout numbers, transforms and graduation marks, bands, decimation,
// the nearest sample, trigger alignment, the trigger marker and the traces' sample choice.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "graphe_osc.h"
#include "picture_fixture.h"

using namespace qvt;

namespace {

constexpr QRgb kBlack = 0x000000, kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00FF00;

class OscTest : public PictureTest {
protected:
  // Channel 0 visible on -15..15, time 0..20 ms, no samples, no trigger.
  void SetUp() override {
    PictureTest::SetUp();
    g.Curves[0].Visible = true;
    g.TimeCurve.Mini = 0;
    g.TimeCurve.Maxi = 0.02;
  }
  // Samples j at time (j - shift) * dt, every channel at value `v(j)`.
  template <class F> void Fill(int count, double dt, int shift, F v) {
    g.FilledCount = static_cast<std::uint16_t>(count);
    for (int j = 0; j < std::min(count, 16385); ++j) {
      g.TimeCurve.Value[j] = (j - shift) * dt;
      for (TCourbeOsc& c : g.Curves)
        c.Value[j] = v(j);
    }
  }

  TgrapheOsc g{&canvas};
};

TEST_F(OscTest, LabelSizesFollowThePictureHeight) {
  struct Case {
    int height, charHeight, charWidth, margin;
  };
  for (const Case& k : {Case{600, 13, 8, 4}, Case{300, 13, 8, 4}, Case{700, 16, 10, 5},
                        Case{900, 16, 10, 5}, Case{1000, 20, 13, 6}}) {
    Resize(1060, k.height);
    g.Paint();
    EXPECT_EQ(g.CharHeight, k.charHeight) << k.height;
    EXPECT_EQ(g.CharWidth, k.charWidth) << k.height;
    EXPECT_EQ(g.Margin, k.margin) << k.height;
    EXPECT_EQ(canvas.Font().pixelSize(), k.charHeight) << k.height;
  }
  int size = 17;
  g.SetLabelFont(size);
  EXPECT_EQ(size, 16);
}

TEST_F(OscTest, PlotRectangleAndRoom) {
  g.Paint();
  EXPECT_EQ(g.PaintRect, (TRect{0, 0, 1060, 600}));
  EXPECT_EQ(g.PlotRect, (TRect{44, 0, 1060, 583})); // 4 + 5 char widths; 13 + 4 for the labels
  EXPECT_EQ(g.AxisX, 44);
  EXPECT_TRUE(g.RoomX && g.RoomY && g.RoomXFine && g.RoomYFine);

  Resize(150, 60); // too narrow for the time labels, too low for the channel labels
  g.Paint();
  EXPECT_FALSE(g.RoomX || g.RoomY || g.RoomXFine || g.RoomYFine);
  EXPECT_EQ(g.PlotRect, (TRect{4, 0, 150, 60}));
}

TEST_F(OscTest, TransformsAndGraduationMarks) {
  g.TimeCurve.Mini = 0.02; // given the wrong way round
  g.TimeCurve.Maxi = 0;
  g.Paint();
  const TCourbe& t = g.TimeCurve;
  const TCourbe& v = g.Curves[0];
  EXPECT_EQ(t.Mini, 0);
  EXPECT_EQ(t.ToPixel(0), 44);
  EXPECT_EQ(t.ToPixel(0.01), 552);
  EXPECT_EQ(t.ToPixel(0.02), 1060);
  EXPECT_DOUBLE_EQ(t.GradStep, 0.005);
  EXPECT_EQ(t.GradScale, 0.001);
  EXPECT_EQ(v.ToPixel(15), 0);
  EXPECT_EQ(v.ToPixel(-15), 583);
  EXPECT_EQ(v.ToPixel(0), 292);
  EXPECT_EQ(v.GradStep, 5);
  EXPECT_EQ(v.GradFirst, -15);

  // Ticks: time graduation 5 ms across the axis, channel graduation 5 V across its axis.
  EXPECT_TRUE(Is(298, 580, kBlack));
  EXPECT_TRUE(Is(298, 586, kBlack));
  EXPECT_FALSE(Is(298, 300, kBlack));
  EXPECT_TRUE(Is(41, v.ToPixel(5), kBlue));
  EXPECT_TRUE(Is(46, v.ToPixel(5), kBlue));
  EXPECT_TRUE(Is(44, 100, kBlue));                   // the axis itself
  EXPECT_EQ(Count(kBlue, 44, 292, 1060, 293), 1016); // solid zero line of the axis channel

  ShowGrid = true; // dotted grey lines over the plot instead of ticks
  g.Paint();
  EXPECT_FALSE(Is(298, 586, kBlack));
  EXPECT_GT(Count(qRgb(128, 128, 128), 298, 0, 299, 583), 150);
  EXPECT_GT(Count(qRgb(128, 128, 128), 44, v.ToPixel(5), 1060, v.ToPixel(5) + 1), 300);
}

TEST_F(OscTest, ZeroLinesAndTimeOrigin) {
  g.TimeCurve.Mini = -0.01; // t = 0 at column 552
  g.TimeCurve.Maxi = 0.01;
  g.Curves[1].Visible = true;
  g.Curves[1].Mini = -5; // zero at row 437, dotted, no axis of its own
  g.Curves[1].Maxi = 15;
  g.Curves[3].Visible = true;
  g.Curves[3].Mini = 0; // zero on the band's edge: no line
  g.Curves[3].Maxi = 10;
  g.Paint();
  const int reds = Count(kRed, 44, 437, 1060, 438);
  EXPECT_GT(reds, 250);
  EXPECT_LT(reds, 500);
  EXPECT_FALSE(Is(44, 100, kRed));
  EXPECT_EQ(Count(kGreen), 0);
  const int blacks = Count(kBlack, 552, 0, 553, 583);
  EXPECT_GT(blacks, 200);
  EXPECT_LT(blacks, 583);
}

TEST_F(OscTest, ZeroWidthTimeRangeIsWidened) {
  g.TimeCurve.Mini = 0.5;
  g.TimeCurve.Maxi = 0.5;
  g.Paint();
  EXPECT_DOUBLE_EQ(g.TimeCurve.Maxi, 0.5 + 1e-6);
  EXPECT_NEAR(g.TimeCurve.A, 1016 / 1e-6, 1e3);
  EXPECT_EQ(g.TimeCurve.ToPixel(0.5), 44);
}

TEST_F(OscTest, SeparateGivesEveryVisibleChannelItsBandAndAxis) {
  g.Separate = true;
  g.Curves[1].Visible = true;
  g.Curves[3].Visible = true;
  g.Paint();
  EXPECT_EQ(g.VisibleCount, 3);
  const int expected[][2] = {{12, 202}, {202, 392}, {0, 0}, {392, 582}};
  const QRgb colours[] = {kBlue, kRed, 0, kGreen};
  for (int i : {0, 1, 3}) {
    const TCourbe& c = g.Curves[i];
    EXPECT_EQ(c.PixTop, expected[i][0]) << i;
    EXPECT_EQ(c.PixBottom, expected[i][1]) << i;
    EXPECT_EQ(c.ToPixel(c.Maxi), c.PixTop) << i;
    EXPECT_EQ(c.ToPixel(c.Mini), c.PixBottom) << i;
    EXPECT_TRUE(Is(g.AxisX, c.PixTop + 40, colours[i])) << i;
  }

  // One band ends on the time axis, not below it.
  g.Curves[1].Visible = false;
  g.Curves[3].Visible = false;
  g.Paint();
  EXPECT_EQ(g.Curves[0].PixBottom, g.PlotRect.Bottom);

  // Without a visible channel there are no bands to divide the plot into.
  g.Curves[0].Visible = false;
  EXPECT_NO_THROW(g.Paint());

  // Superposed, only the first visible channel gets an axis.
  g.Separate = false;
  g.Curves[1].Visible = true;
  g.Curves[3].Visible = true;
  g.Paint();
  EXPECT_EQ(g.Curves[3].PixTop, 0);
  EXPECT_TRUE(Is(g.AxisX, 100, kRed));
  EXPECT_EQ(Count(kGreen, 0, 0, 44), 0);
}

TEST_F(OscTest, MaxPointsAndStep) {
  struct Case {
    int samples, wanted, maxPoints, step;
  };
  for (const Case& k : {Case{2500, 10, 32, 78}, Case{2500, 5000, 2500, 1},
                        Case{2500, 1000, 1250, 2}, Case{20, 10, 20, 1}}) {
    TgrapheOsc h;
    h.SetSampleCount(k.samples);
    h.SetMaxPoints(k.wanted);
    EXPECT_EQ(h.MaxPoints, k.maxPoints) << k.samples << " " << k.wanted;
    EXPECT_EQ(h.Step, k.step) << k.samples << " " << k.wanted;
  }
  TgrapheOsc h;
  h.SetSampleCount(16);
  EXPECT_EQ(h.MaxPoints, 16);
  h.SetSampleCount(0); // held at one sample rather than dividing by zero
  EXPECT_EQ(h.SampleCount, 1);
  EXPECT_EQ(h.Step, 1);
}

TEST_F(OscTest, NearestPointWithinThirtyTwoPixelsCityBlock) {
  // Pixels equal values: x = t, y = v.
  g.TimeCurve.A = 1;
  g.TimeCurve.B = 0;
  for (TCourbeOsc& c : g.Curves) {
    c.A = 1;
    c.B = 0;
  }
  g.Curves[1].Visible = true;
  g.FilledCount = 2;
  g.TimeCurve.Value[0] = 100;
  g.TimeCurve.Value[1] = 120;
  g.Curves[0].Value[0] = g.Curves[0].Value[1] = 100;
  g.Curves[1].Value[0] = g.Curves[1].Value[1] = 120;
  g.Curves[2].Value[0] = 400; // invisible
  struct Case {
    int x, y, channel, foundX, foundY;
  };
  for (const Case& k : {
           Case{100, 69, 0, 100, 100},  // 31 away from channel 0's first sample
           Case{100, 68, 4, 100, 68},   // 32 away: too far
           Case{80, 80, 4, 80, 80},     // 40 city-block, though nearer as the crow flies
           Case{110, 100, 0, 100, 100}, // as near to both samples: the earlier one
           Case{110, 110, 0, 100, 100}, // as near to both channels: the earlier one
           Case{120, 125, 1, 120, 120}, // channel 1's second sample
           Case{100, 400, 4, 100, 400}, // the invisible channel is not picked
       }) {
    int x = k.x, y = k.y;
    EXPECT_EQ(g.NearestPoint(x, y), k.channel) << k.x << "," << k.y;
    EXPECT_EQ(x, k.foundX) << k.x << "," << k.y;
    EXPECT_EQ(y, k.foundY) << k.x << "," << k.y;
  }
  g.Curves[0].Visible = false;
  int x = 100, y = 100;
  EXPECT_EQ(g.NearestPoint(x, y), 1); // 20 away from channel 1
}

TEST_F(OscTest, AlignOnTriggerFindsTheCrossing) {
  struct Case {
    const char* name;
    bool rising;
    double (*signal)(int);
    int zero; // sample re-timed to t = 0, -1 when the times stay
    bool confirmed;
  };
  const Case cases[] = {
      {"rising step", true, [](int j) { return j < 300 ? -1.0 : 1.0; }, 299, true},
      {"falling step", false, [](int j) { return j < 200 ? 1.0 : -1.0; }, 199, true},
      {"starts above", true, [](int j) { return j < 50 || j >= 400 ? 1.0 : -1.0; }, 399, true},
      {"at once", true, [](int j) { return j == 0 ? -1.0 : 1.0; }, 0, true},
      // A spike against a falling ramp crosses upwards, but the signal runs downwards, at the
      // interface's trigger (sample 500) too: the other edge.
      {"unconfirmed", true, [](int j) { return j == 150 ? 0.5 : 1 - j * 0.01; }, 500, false},
      // The comparator's offset fired it before a slow edge reached the level: the crossing
      // follows the trigger, or lies beyond the sweep and the trigger itself is t = 0.
      {"crossing after the trigger", false, [](int j) { return (516 - j) * 0.005; }, 516, true},
      {"slow edge", true, [](int j) { return -0.5 + j * 1e-4; }, 500, true},
      {"slow edge the other way", true, [](int j) { return 0.5 - j * 1e-4; }, 500, false},
      // Nothing says that the interface triggered on the other edge.
      {"flat", true, [](int) { return -1.0; }, 500, true},
      {"edge beyond the level's band", true, [](int j) { return j < 600 ? -1.0 : 1.0; }, 500, true},
      // A square of period 100 rises at 100, 200, ... 500 and falls at 50, 150, ... 450:
      // the crossing nearest the interface's trigger (sample 500) wins, not the first one.
      {"periodic", true, [](int j) { return j % 100 < 50 ? 1.0 : -1.0; }, 499, true},
      {"periodic falling", false, [](int j) { return j % 100 < 50 ? 1.0 : -1.0; }, 449, true},
  };
  for (const Case& k : cases) {
    g.TriggerChannel = 2;
    g.TriggerLevel = 0;
    g.TriggerRising = k.rising;
    g.TriggerConfirmed = !k.confirmed;
    Fill(1000, 1e-3, 0, [](int) { return 0.0; });
    for (int j = 0; j < 1000; ++j)
      g.Curves[2].Value[j] = k.signal(j);
    g.AlignOnTrigger();
    EXPECT_EQ(g.TriggerConfirmed, k.confirmed) << k.name;
    const int zero = k.zero < 0 ? 0 : k.zero;
    EXPECT_DOUBLE_EQ(g.TimeCurve.Value[zero], 0) << k.name;
    EXPECT_DOUBLE_EQ(g.TimeCurve.Value[zero + 10], 10e-3) << k.name;
    EXPECT_DOUBLE_EQ(g.TimeCurve.Value[999], (999 - zero) * 1e-3) << k.name;
  }
  // A crossing 16 samples after the trigger: a time axis of 0.8 s from t = 0 would run past
  // the last sample and is moved back onto the samples.
  g.TriggerRising = false;
  Fill(1000, 1e-3, 0, [](int j) { return (516 - j) * 0.005; });
  g.AlignOnTrigger();
  g.TimeCurve.Mini = 0;
  g.TimeCurve.Maxi = 0.8;
  g.KeepTimeAxisOnSamples();
  EXPECT_NEAR(g.TimeCurve.Mini, -0.316, 1e-9);
  EXPECT_NEAR(g.TimeCurve.Maxi, 0.484, 1e-9);

  g.TriggerChannel = TgrapheOsc::kNoTrigger;
  g.TriggerConfirmed = false;
  g.AlignOnTrigger();
  EXPECT_TRUE(g.TriggerConfirmed);
  g.TriggerChannel = 5;
  EXPECT_THROW(g.AlignOnTrigger(), std::out_of_range);
}

TEST_F(OscTest, TriggerMarkerDrawnTwiceRestoresThePicture) {
  g.TriggerLevel = 5;
  g.Paint(); // no trigger channel: no marker
  const QImage without = Picture().copy();

  g.TriggerChannel = 0;
  g.Paint();
  EXPECT_EQ(g.TriggerPixel, g.Curves[0].ToPixel(5));
  EXPECT_NE(Picture(), without);
  EXPECT_GT(Count(kBlue, 500, g.TriggerPixel, 1060, g.TriggerPixel + 1), 250);
  const QImage rising = Picture().copy();
  g.DrawTriggerMarker(g.TriggerPixel);
  EXPECT_EQ(Picture(), without);
  EXPECT_EQ(canvas.PenMode(), TPenMode::Copy);

  g.TriggerRising = false; // the other edge sign
  g.DrawTriggerMarker(g.TriggerPixel);
  EXPECT_NE(Picture(), rising);
  g.DrawTriggerMarker(g.TriggerPixel);
  EXPECT_EQ(Picture(), without);

  g.TriggerChannel = 5;
  EXPECT_THROW(g.Paint(), std::out_of_range);
}

TEST_F(OscTest, TracesAndTheTriggerMarkerStayInsideThePlot) {
  // Channel 1 (red) on its 1 V range carries a 50 Hz sine of 5 V, drawn thick; its trigger
  // level lies below the range. Channel 0's axis is the one drawn, in blue.
  g.Curves[1].Visible = true;
  g.Curves[1].Mini = -1;
  g.Curves[1].Maxi = 1;
  Fill(2500, 8e-6, 0, [](int j) { return 5 * std::sin(2 * M_PI * 50 * j * 8e-6); });
  g.TriggerChannel = 1;
  g.TriggerLevel = -3;
  LineWidth = 3;
  g.Paint();
  g.DrawTracesFrom(1000);
  g.DrawTriggerMarker(g.TriggerPixel);
  g.DrawTriggerMarker(g.TriggerPixel);

  const TRect& plot = g.PlotRect;
  EXPECT_EQ(Count(kRed, 0, plot.Bottom + 1), 0) << "nothing over the time axis's labels";
  EXPECT_EQ(Count(kRed, 0, 0, g.AxisX, plot.Bottom + 1), 0) << "nothing left of the axis";
  // The sine is cut at both edges of the plot, not left out.
  EXPECT_GT(Count(kRed, g.AxisX, plot.Top, plot.Right, plot.Top + 2), 0);
  EXPECT_GT(Count(kRed, g.AxisX, plot.Bottom - 1, plot.Right, plot.Bottom + 1), 0);
  EXPECT_FALSE(canvas.HasClipRect()) << "the clip is given back";
}

TEST_F(OscTest, TheVerticalTitleStandsClearOfTheArrowHead) {
  // Inked pixels of the box (x1, y1)-(x2, y2): the title's glyphs are smoothed, so any
  // pixel off the white background counts.
  auto inked = [&](int x1, int y1, int x2, int y2) {
    return (x2 - x1) * (y2 - y1) - Count(0xFFFFFF, x1, y1, x2, y2);
  };
  // "V0/V" fits left of the axis; "V0/mV" does not and goes right of it.
  for (const double maxi : {15.0, 0.05}) {
    g.Curves[0].Mini = -maxi;
    g.Curves[0].Maxi = maxi;
    g.Paint();
    const int x = g.AxisX, top = g.Curves[0].PixTop, m = g.Margin;
    auto nearHead = [&] { return inked(x - 3 * m + 1, top, x + 3 * m, top + 3 * m + 1); };
    const int drawn = nearHead();
    const int title = maxi > 1 ? inked(0, top, x - 3 * m, top + g.CharHeight)
                               : inked(x + 3 * m + 1, top, 400, top + g.CharHeight);
    EXPECT_GT(title, 20) << maxi;

    // Within two margins of the head's wings lie its own pixels only.
    image.fill(Qt::white);
    canvas.SetPenColour(QColor(kBlue));
    canvas.SetPenStyle(TPenStyle::Solid);
    g.Line(x, top, x, g.PlotRect.Bottom);
    g.Line(x, top, x - m, top + 3 * m);
    g.Line(x, top, x + m, top + 3 * m);
    EXPECT_EQ(drawn, nearHead()) << maxi;
  }
}

TEST_F(OscTest, TracesVisitTheSamplesOfTheStride) {
  // 3000 samples 10 us apart, the first 100 before t = 0; 2000 of them span the plot.
  Fill(3000, 1e-5, 100, [](int j) { return (j % 7) - 3.0; });
  g.Curves[1].Visible = true;
  g.SetSampleCount(2500);
  g.Paint();
  int first = 0, last = 0;
  const std::vector<QPoint> path = g.TracePath(g.Curves[1], 0, first, last);
  // Sample 100 first (the earlier ones lie left of the axis), then every second sample
  // (3000 samples on 1060 columns) until one reaches the right edge.
  std::vector<int> visited = {100};
  for (int j = 101; j <= 2101; j += 2)
    visited.push_back(j);
  ASSERT_EQ(path.size(), visited.size());
  for (std::size_t k = 0; k < path.size(); ++k) {
    const int j = visited[k];
    ASSERT_EQ(path[k], QPoint(g.TimeCurve.ToPixel(g.TimeCurve.Value[j]),
                              g.Curves[1].ToPixel(g.Curves[1].Value[j])))
        << k;
  }
  EXPECT_EQ(first, 99);
  EXPECT_EQ(last, 2102);
  EXPECT_EQ(g.FirstDrawn, 99);
  EXPECT_EQ(g.LastDrawn, 2102);
  EXPECT_TRUE(Is(path[10].x(), path[10].y(), kRed)); // channel 1 is drawn over channel 0

  // Fewer points wanted: the step set by MaxPoints wins over the columns.
  g.SetMaxPoints(32);
  const std::vector<QPoint> sparse = g.TracePath(g.Curves[1], 0, first, last);
  EXPECT_EQ(g.Step, 3000 / 32);
  EXPECT_EQ(sparse[2].x(), g.TimeCurve.ToPixel(g.TimeCurve.Value[101 + 93]));

  // Drawing from a later sample starts one before it and keeps the drawn range.
  const std::vector<QPoint> tail = g.TracePath(g.Curves[1], 1500, first, last);
  EXPECT_EQ(first, 1498);
  EXPECT_EQ(tail.front().x(), g.TimeCurve.ToPixel(g.TimeCurve.Value[1499]));
  g.FirstDrawn = g.LastDrawn = -7;
  LineWidth = 3;
  g.DrawTracesFrom(2500);
  EXPECT_EQ(g.FirstDrawn, -7);
  EXPECT_EQ(g.LastDrawn, -7);
  EXPECT_EQ(canvas.PenWidth(), 1);
}

TEST_F(OscTest, TracesStayWithinTheHeldSamples) {
  g.Curves[1].Visible = true;
  int first = 0, last = 0;
  Fill(1, 1e-5, 0, [](int) { return 1.0; }); // one sample: a point, no line
  g.Paint();
  EXPECT_EQ(g.TracePath(g.Curves[0], 0, first, last).size(), 1u);
  EXPECT_EQ(last, 0);

  g.TimeCurve.Mini = 1; // every sample left of the plot
  g.TimeCurve.Maxi = 2;
  Fill(16384, 1e-5, 0, [](int) { return 1.0; });
  EXPECT_NO_THROW(g.Paint());
  EXPECT_TRUE(g.TracePath(g.Curves[0], 0, first, last).empty());

  g.FilledCount = 20000; // more than the curves hold
  g.TimeCurve.Mini = 0;
  EXPECT_NO_THROW(g.Paint());
  EXPECT_NO_THROW(g.DrawTracesFrom(18000));
  int x = 0, y = 0;
  EXPECT_NO_THROW(g.NearestPoint(x, y));
  g.TriggerChannel = 0;
  EXPECT_NO_THROW(g.AlignOnTrigger());
}

} // namespace

TEST_F(OscTest, ComputedCurveOnItsOwnAxisBrokenAtItsGaps) {
  // 2000 samples over the 20 ms; channel 0 at 10 V.
  Fill(2000, 1e-5, 0, [](int) { return 10.0; });
  g.Paint();
  const QImage without = Picture().copy();
  std::vector<TCourbe> computed;
  g.Computed = &computed;
  g.Paint();
  EXPECT_EQ(Picture(), without); // none held
  computed.emplace_back("P", 4, "W");
  TCourbe& p = computed[0];
  g.Paint();
  EXPECT_EQ(Picture(), without); // one held, not visible

  // P = 1 on 0..2 W, with gaps (the no-value marker, then non-numbers) from 8 to 12 ms.
  const QRgb teal = 0x008080;
  p.Colour = teal;
  p.Visible = true;
  p.Mini = 0;
  p.Maxi = 2;
  for (int j = 0; j < 2000; ++j)
    p.Value[j] = j >= 800 && j < 1200 ? (j < 1000 ? kNoValue : std::nan("")) : 1.0;
  g.Paint();
  EXPECT_LT(g.PlotRect.Right, 1060 - 40); // room for the axis on the right
  const int row = p.ToPixel(1);
  EXPECT_TRUE(Is(g.TimeCurve.ToPixel(0.005), row, teal));
  EXPECT_TRUE(Is(g.TimeCurve.ToPixel(0.015), row, teal));
  EXPECT_EQ(Count(teal, g.TimeCurve.ToPixel(0.0081), g.PlotRect.Top, g.TimeCurve.ToPixel(0.0119),
                  g.PlotRect.Bottom),
            0);
  EXPECT_TRUE(Is(g.PlotRect.Right, row + 50, teal)); // its axis, graduated and labelled
  EXPECT_GT(Count(teal, g.PlotRect.Right + 2, 0, 1060, g.PlotRect.Bottom), 20);
  EXPECT_EQ(Count(teal, 0, 0, g.AxisX, 600), 0);
  EXPECT_TRUE(Is(g.AxisX, 300, kBlue)); // the channel keeps the left one

  // The nearest curve: the computed one where it is drawn, nothing in its gap.
  int x = g.TimeCurve.ToPixel(0.005), y = row + 3;
  EXPECT_EQ(g.NearestCurve(x, y), 4);
  EXPECT_EQ(y, row);
  x = g.TimeCurve.ToPixel(0.01);
  y = row;
  EXPECT_EQ(g.NearestCurve(x, y), -1);
  y = g.Curves[0].ToPixel(10);
  EXPECT_EQ(g.NearestCurve(x, y), 0);
  EXPECT_EQ(g.NearestPoint(x, y), 0);

  // Separate: a band of its own below the channel's.
  g.Separate = true;
  g.Paint();
  EXPECT_EQ(p.PixTop, g.Curves[0].PixBottom);
  EXPECT_EQ(p.PixBottom, g.PlotRect.Bottom - 1);
}
