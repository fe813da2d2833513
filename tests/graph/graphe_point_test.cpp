// SPDX-License-Identifier: GPL-3.0-or-later
// The point-mode graph: which channels are marked against the abscissa, the five marker
// shapes, the live mark and cross, and the readouts of the current values.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "../units/separator_fixture.h"
#include "graphe_point.h"
#include "numbers.h"
#include "picture_fixture.h"

using namespace qvt;

namespace {

constexpr QRgb kBlack = 0x000000, kBlue = 0x0000FF, kRed = 0xFF0000, kMagenta = 0xFF00FF;

class PointTest : public PictureTest {
protected:
  // Channel 0 (0..5 V) as abscissa and channel 1 (-15..15 V) visible, three points.
  void SetUp() override {
    PictureTest::SetUp();
    g.Curves[0].Visible = true;
    g.Curves[0].Mini = 0;
    g.Curves[0].Maxi = 5;
    g.Curves[1].Visible = true;
    for (int k = 0; k < 3; ++k) {
      g.Curves[0].Value[k] = 1 + k;
      g.Curves[1].Value[k] = 5 + 2 * k;
    }
  }
  QPoint Mark(int channel, int k) {
    return {g.Curves[0].ToPixel(g.Curves[0].Value[k]),
            g.Curves[channel].ToPixel(g.Curves[channel].Value[k])};
  }

  TgraphePoint g{&canvas};
};

TEST_F(PointTest, OnlyChannelsOtherThanTheAbscissaAreMarked) {
  g.Paint(); // no points yet: axes only
  EXPECT_EQ(g.Curves[0].ToPixel(0), g.PlotRect.Left);
  EXPECT_EQ(g.Curves[0].ToPixel(5), g.PlotRect.Right);
  for (int k = 0; k < 3; ++k)
    EXPECT_FALSE(Is(Mark(1, k).x(), Mark(1, k).y(), kRed)) << k;

  g.PointCount = 3;
  g.MarksShown = true;
  g.Paint();
  EXPECT_FALSE(g.MarksShown);
  for (int k = 0; k < 3; ++k)
    EXPECT_TRUE(Is(Mark(1, k).x(), Mark(1, k).y(), kRed)) << k;
  EXPECT_EQ(Count(kBlue), 0);          // the abscissa gives the black horizontal axis only
  EXPECT_TRUE(Is(g.AxisX, 100, kRed)); // the vertical axis is channel 1's
  EXPECT_TRUE(Is(500, g.PlotRect.Bottom, kBlack));

  // Another visible channel is marked too, but gets no axis of its own.
  g.Curves[2].Visible = true;
  for (int k = 0; k < 3; ++k)
    g.Curves[2].Value[k] = -5 - 2 * k;
  g.Paint();
  for (int k = 0; k < 3; ++k)
    EXPECT_TRUE(Is(Mark(2, k).x(), Mark(2, k).y(), kMagenta)) << k;
  EXPECT_TRUE(Is(g.AxisX, 100, kRed));

  // Channel 1 as abscissa: channel 0 is now marked and gets the vertical axis.
  g.Abscissa = 1;
  g.Curves[2].Visible = false;
  g.Paint();
  EXPECT_GT(Count(kBlue), 0);
  EXPECT_TRUE(Is(g.AxisX, 100, kBlue));
  g.Abscissa = 4;
  EXPECT_THROW(g.Paint(), std::out_of_range);
}

TEST_F(PointTest, MarkerShapes) {
  using Pixels = std::set<std::pair<int, int>>;
  // Marks of half-size 3 at (50, 50); a line leaves out one of its end points.
  Pixels plus, diagonals, square;
  for (int i = -3; i < 3; ++i) {
    plus.insert({50 + i, 50});
    plus.insert({50, 50 + i});
    for (int j = -3; j < 3; ++j)
      square.insert({50 + i, 50 + j});
  }
  for (int i = -2; i < 3; ++i) {
    diagonals.insert({50 + i, 50 + i});
    diagonals.insert({50 - i, 50 + i});
  }
  const auto drawn = [&](int style) {
    Resize(100, 100);
    canvas.SetPenColour(Qt::black);
    canvas.SetBrushColour(Qt::black);
    g.DrawMarker(50, 50, static_cast<std::uint8_t>(style), 3);
    Pixels p;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x)
        if (Is(x, y, kBlack))
          p.insert({x, y});
    return p;
  };
  const auto within = [](const Pixels& p, int from, int to) {
    for (const auto& [x, y] : p)
      if (x < from || x > to || y < from || y > to)
        return false;
    return true;
  };
  EXPECT_EQ(drawn(TgraphePoint::kPlus), plus);
  EXPECT_EQ(drawn(TgraphePoint::kSquare), square);
  EXPECT_TRUE(drawn(7).empty());

  // Both diagonals through the point, with one end pixel each.
  const Pixels cross = drawn(TgraphePoint::kDiagonalCross);
  EXPECT_TRUE(std::includes(cross.begin(), cross.end(), diagonals.begin(), diagonals.end()));
  EXPECT_EQ(cross.size(), diagonals.size() + 2);
  EXPECT_TRUE(within(cross, 47, 53));
  EXPECT_FALSE(cross.count({50, 47}) || cross.count({47, 50}));

  // The filled marks: 7 pixels across, the corners of the box left out; the diamond
  // symmetric about the point, the circle also filling the corners' diagonal neighbours.
  for (const int style : {TgraphePoint::kCircle, TgraphePoint::kDiamond}) {
    const Pixels p = drawn(style);
    EXPECT_TRUE(within(p, 47, 53)) << style;
    EXPECT_TRUE(p.count({50, 50}) && p.count({47, 50}) && p.count({53, 50})) << style;
    EXPECT_FALSE(p.count({47, 47}) || p.count({53, 53})) << style;
  }
  const Pixels diamond = drawn(TgraphePoint::kDiamond);
  for (const auto& [x, y] : diamond)
    EXPECT_TRUE(diamond.count({100 - x, y}) && diamond.count({x, 100 - y})) << x << "," << y;
  EXPECT_FALSE(diamond.count({48, 48}));
  EXPECT_EQ(diamond.size(), 25u);
  EXPECT_TRUE(drawn(TgraphePoint::kCircle).count({48, 48}));
}

TEST_F(PointTest, LiveMarkAndCross) {
  g.Paint();
  const QImage before = Picture().copy();
  g.Curves[0].Current = 2.5;
  g.Curves[1].Current = 7.5;
  const QPoint at(g.Curves[0].ToPixel(2.5), g.Curves[1].ToPixel(7.5));

  LineWidth = 2;
  canvas.SetPenMode(TPenMode::NotXor);
  g.DrawCurrentCross(1);
  EXPECT_EQ(canvas.PenWidth(), 2);
  EXPECT_TRUE(Is(at.x() - 8, at.y(), kRed));
  EXPECT_TRUE(Is(at.x(), at.y() + 8, kRed));
  g.DrawCurrentCross(1);
  EXPECT_EQ(Picture(), before);
  g.DrawCurrentCross(0); // the abscissa has no cross
  EXPECT_EQ(Picture(), before);
  canvas.SetPenMode(TPenMode::Copy);

  g.Curves[1].MarkerStyle = TgraphePoint::kSquare;
  g.DrawCurrentMark(0);
  EXPECT_EQ(Picture(), before);
  g.DrawCurrentMark(1);
  EXPECT_TRUE(Is(at.x(), at.y(), kRed));
  EXPECT_EQ(canvas.PenWidth(), 1);
  EXPECT_THROW(g.DrawCurrentMark(4), std::out_of_range);
}

TEST_F(PointTest, MarksBeyondTheRangeStayInsideThePlot) {
  // Channel 2 (magenta) far above and below its range, and left of the abscissa's range;
  // channel 1 gives the drawn vertical axis.
  g.Curves[2].Visible = true;
  g.Curves[2].Mini = -1;
  g.Curves[2].Maxi = 1;
  g.Curves[2].MarkerStyle = TgraphePoint::kSquare;
  const double values[][2] = {{2, -1.01}, {3, 1.02}, {-0.01, 0.5}, {2.5, -50}};
  g.PointCount = 4;
  for (int k = 0; k < 4; ++k) {
    g.Curves[0].Value[k] = values[k][0];
    g.Curves[2].Value[k] = values[k][1];
  }
  PointSize = 6;
  LineWidth = 3;
  g.Paint();
  g.Curves[0].Current = 4;
  g.Curves[2].Current = -1.01;
  g.DrawCurrentMark(2);
  g.DrawCurrentCross(2);

  const TRect& plot = g.PlotRect;
  EXPECT_EQ(Count(kMagenta, 0, plot.Bottom + 1), 0) << "nothing over the labels";
  EXPECT_EQ(Count(kMagenta, 0, 0, g.AxisX, plot.Bottom + 1), 0);
  EXPECT_TRUE(Is(Mark(2, 0).x(), plot.Bottom, kMagenta)) << "cut, not left out";
  EXPECT_FALSE(canvas.HasClipRect());
}

TEST_F(PointTest, ComputedCurvesMarkedAndOnTheAbscissa) {
  // P (teal, 0..20 W) at 2, 4 and a gap; X (not shown) at 1, 2, 3 on 0..5 V.
  const QRgb teal = 0x008080;
  g.PointCount = 3;
  g.Paint();
  const QImage without = Picture().copy();
  std::vector<TCourbe> computed{TCourbe("P", 4, "W"), TCourbe("X", 5, "V")};
  TCourbe& p = computed[0];
  TCourbe& x = computed[1];
  x.Mini = 0;
  x.Maxi = 5;
  for (int k = 0; k < 3; ++k) {
    p.Value[k] = k < 2 ? 2.0 + 2 * k : kNoValue;
    x.Value[k] = 1 + k;
  }
  g.Computed = &computed;
  g.Paint();
  EXPECT_EQ(Picture(), without); // none visible

  p.Visible = true;
  p.Colour = teal;
  p.Mini = 0;
  p.Maxi = 20;
  g.Paint();
  const QPoint at(g.Curves[0].ToPixel(1), p.ToPixel(2));
  EXPECT_TRUE(Is(at.x(), at.y(), teal));
  EXPECT_TRUE(Is(g.PlotRect.Right, 100, teal)); // its axis right of the plot
  EXPECT_TRUE(Is(g.AxisX, 100, kRed));          // channel 1 keeps the left one
  const int gap = g.Curves[0].ToPixel(3);
  EXPECT_EQ(Count(teal, gap - 5, 0, gap + 6, g.PlotRect.Bottom), 0);
  int px = at.x() + 2, py = at.y(), point = -1;
  EXPECT_EQ(g.NearestMarkCurve(px, py, point), 4);
  EXPECT_EQ(QPoint(px, py), at);
  EXPECT_EQ(point, 0);
  EXPECT_EQ(g.NearestMark(px, py, point), 4); // channels only: none near

  // X on the horizontal axis: every visible channel is marked against it, and no live mark
  // has a place.
  g.ComputedAbscissa = 1;
  g.Curves[0].MarkerStyle = TgraphePoint::kSquare;
  g.Paint();
  EXPECT_EQ(x.ToPixel(0), g.PlotRect.Left);
  EXPECT_TRUE(Is(x.ToPixel(2), g.Curves[0].ToPixel(2), kBlue));
  EXPECT_TRUE(Is(x.ToPixel(2), p.ToPixel(4), teal));
  const QImage marked = Picture().copy();
  g.Curves[1].Current = 7;
  g.DrawCurrentMark(1);
  EXPECT_EQ(Picture(), marked);
}

class CurrentTextTest : public SeparatorTest {
protected:
  TgraphePoint g;
};

TEST_P(CurrentTextTest, ReadoutsLineUpTheirDecimalMarks) {
  struct Case {
    const char* unit;
    double mini, maxi, current;
    const char* text;
  };
  for (const Case& k : {
           Case{"V", -15, 15, kNoValue, "  Erreur"}, Case{"V", -15, 15, 15.5, "  ??"},
           Case{"V", -15, 15, -16, "  ??"}, Case{"V", -15, 15, 2.6, "  2.60 V"},
           Case{"V", -15, 15, -2.6, " -2.60 V"}, Case{"V", -15, 15, 12.5, " 12.50 V"},
           Case{"V", -15, 15, -12.5, "-12.50 V"}, Case{"V", 0, 5, 2.6, " 2.600 V"},
           Case{"V", -0.2, 0.2, 0.05, "  50.0 mV"}, Case{"V", -0.2, 0.2, -0.15, "-150.0 mV"},
           Case{"\x9D", 0, 2000, 1234, " 1.230 k\x9D"}, // three significant digits
           Case{"m/s2", -15, 15, 2.6, "  2.60"},        // a long unit is left out
       }) {
    TCourbePoint& c = g.Curves[2];
    c.SetText(k.unit);
    c.Mini = k.mini;
    c.Maxi = k.maxi;
    c.ComputeDisplayScale();
    c.Current = k.current;
    EXPECT_EQ(g.CurrentText(2), Local(k.text)) << k.unit << " " << k.current;
  }
  EXPECT_THROW(g.CurrentText(-1), std::out_of_range);
}

QVT_BOTH_SEPARATORS(CurrentTextTest);

} // namespace
