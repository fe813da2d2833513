// SPDX-License-Identifier: GPL-3.0-or-later
// TCanvas: pen modes, dash styles, shape coverage, clipping, text anchoring and extent.
#include "canvas.h"

#include "ansi.h"
#include "labelfont.h"
#include "qt_test_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <functional>
#include <vector>

namespace qvt {
namespace {

// The box of the pixels that differ from the background colour.
QRect DrawnBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background)
        box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The lengths of the runs of drawn pixels along row y.
std::vector<int> Runs(const QImage& image, int y, QRgb background) {
  std::vector<int> runs;
  int run = 0;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, y) != background) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  if (run > 0)
    runs.push_back(run);
  return runs;
}

class CanvasTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void SetUp() override {
    image_ = QImage(200, 100, QImage::Format_RGB32);
    image_.fill(kWhite);
  }

  // A picture in which every pixel differs from its neighbours, so that a drawing that
  // leaves any pixel changed is seen.
  void FillPattern() {
    for (int y = 0; y < image_.height(); ++y) {
      for (int x = 0; x < image_.width(); ++x) {
        image_.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y + 50) % 256));
      }
    }
  }

  QImage& Drawn() {
    canvas_.End();
    return image_;
  }

  static constexpr QRgb kWhite = 0xFFFFFFFF;
  QImage image_;
  TCanvas canvas_{&image_};
};

struct Drawing {
  const char* name;
  std::function<void(TCanvas&)> draw;
};

const std::vector<Drawing>& Drawings() {
  static const std::vector<Drawing> drawings = {
      {"dash-dot line across",
       [](TCanvas& c) {
         c.SetPenStyle(TPenStyle::DashDot);
         c.MoveTo(0, 40);
         c.LineTo(199, 40);
       }},
      {"chain of thin lines",
       [](TCanvas& c) {
         c.MoveTo(10, 10);
         c.LineTo(90, 70);
         c.LineTo(150, 20);
         c.LineTo(10, 10);
       }},
      {"thick polyline",
       [](TCanvas& c) {
         c.SetPenWidth(3);
         const QPoint points[] = {{5, 90}, {60, 5}, {120, 90}, {190, 5}};
         c.Polyline(points);
       }},
      {"filled rectangle", [](TCanvas& c) { c.Rectangle(20, 20, 80, 60); }},
      {"bold text with the edge signs",
       [](TCanvas& c) {
         c.SetFont(LabelFont(kLabelFontLarge, true));
         c.SetFontColour(Qt::blue);
         c.TextOut(15, 30,
                   std::string("Seuil ") + kAnsiRisingEdge + kAnsiFallingEdge + " 5 k" + kAnsiOhm);
       }},
  };
  return drawings;
}

TEST_F(CanvasTest, NotXorTwiceRestoresEveryPixel) {
  for (const Drawing& d : Drawings()) {
    SCOPED_TRACE(d.name);
    FillPattern();
    const QImage before = image_.copy();
    canvas_.SetPenMode(TPenMode::NotXor);
    canvas_.SetPenColour(QColor(200, 30, 90));
    canvas_.SetBrushColour(QColor(20, 160, 220));
    d.draw(canvas_);
    EXPECT_NE(Drawn(), before) << "drawn once, the picture must change";
    d.draw(canvas_);
    EXPECT_EQ(Drawn(), before) << "drawn twice, every pixel must be back";
    canvas_.SetPenWidth(1);
    canvas_.SetPenStyle(TPenStyle::Solid);
  }
}

TEST_F(CanvasTest, CopyOverwritesAndStays) {
  FillPattern();
  canvas_.SetPenColour(Qt::red);
  for (int pass = 0; pass < 2; ++pass) {
    canvas_.MoveTo(10, 50);
    canvas_.LineTo(110, 50);
  }
  for (int x = 10; x < 110; ++x)
    EXPECT_EQ(Drawn().pixel(x, 50), qRgb(255, 0, 0)) << x;
}

TEST_F(CanvasTest, ThinLineChainSetsEachPixelOnce) {
  canvas_.SetPenMode(TPenMode::NotXor);
  canvas_.SetPenColour(Qt::black); // not-xor of black on white gives black
  canvas_.MoveTo(10, 10);
  canvas_.LineTo(30, 10);
  canvas_.LineTo(30, 30);
  const QImage& img = Drawn();
  EXPECT_EQ(img.pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(30, 10), qRgb(0, 0, 0)) << "the joint is drawn once, not twice";
  EXPECT_EQ(img.pixel(30, 29), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(30, 30), kWhite) << "the end point is left for the next segment";
  EXPECT_EQ(canvas_.PenPos(), QPoint(30, 30));
}

TEST_F(CanvasTest, DashStylesAreToldApart) {
  const int y = 50;
  struct {
    TPenStyle style;
    const char* name;
  } styles[] = {{TPenStyle::Solid, "solid"},
                {TPenStyle::Dash, "dash"},
                {TPenStyle::Dot, "dot"},
                {TPenStyle::DashDot, "dash-dot"},
                {TPenStyle::Clear, "clear"}};
  for (const auto& s : styles) {
    SCOPED_TRACE(s.name);
    image_.fill(kWhite);
    canvas_.SetPenStyle(s.style);
    canvas_.MoveTo(0, y);
    canvas_.LineTo(120, y);
    const std::vector<int> runs = Runs(Drawn(), y, kWhite);
    const auto shortest = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
    const auto longest = runs.empty() ? 0 : *std::max_element(runs.begin(), runs.end());
    switch (s.style) {
    case TPenStyle::Solid:
      EXPECT_EQ(runs, std::vector<int>{120});
      break;
    case TPenStyle::Dash:
      EXPECT_GT(runs.size(), 5u);
      EXPECT_EQ(shortest, longest);
      EXPECT_GT(shortest, 2);
      break;
    case TPenStyle::Dot:
      EXPECT_GT(runs.size(), 20u);
      EXPECT_EQ(longest, 1);
      break;
    case TPenStyle::DashDot:
      EXPECT_EQ(shortest, 1);
      EXPECT_GT(longest, 2);
      break;
    case TPenStyle::Clear:
      EXPECT_TRUE(runs.empty());
      break;
    }
  }
}

TEST_F(CanvasTest, ShapesCoverTheirCornersBox) {
  struct {
    const char* name;
    std::function<void(TCanvas&)> draw;
    QRect box;
    bool exact = true; // curves may stop a pixel short of their box
  } cases[] = {
      {"rectangle", [](TCanvas& c) { c.Rectangle(20, 10, 60, 40); }, QRect(20, 10, 40, 30)},
      {"rectangle, corners swapped", [](TCanvas& c) { c.Rectangle(60, 40, 20, 10); },
       QRect(20, 10, 40, 30)},
      {"thick rectangle",
       [](TCanvas& c) {
         c.SetPenWidth(4);
         c.Rectangle(20, 10, 60, 40);
       },
       QRect(20, 10, 40, 30)},
      {"ellipse", [](TCanvas& c) { c.Ellipse(30, 20, 51, 41); }, QRect(30, 20, 21, 21), false},
      {"ellipse without pen",
       [](TCanvas& c) {
         c.SetPenStyle(TPenStyle::Clear);
         c.Ellipse(30, 20, 51, 41);
       },
       QRect(30, 20, 21, 21), false},
      {"fill", [](TCanvas& c) { c.FillRect(5, 5, 6, 95); }, QRect(5, 5, 1, 90)},
      {"diamond",
       [](TCanvas& c) {
         const QPoint p[] = {{40, 50}, {50, 40}, {60, 50}, {50, 60}};
         c.Polygon(p);
       },
       QRect(40, 40, 21, 21)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    image_.fill(kWhite);
    canvas_.SetPenWidth(1);
    canvas_.SetPenStyle(TPenStyle::Solid);
    canvas_.SetBrushColour(Qt::green);
    c.draw(canvas_);
    const QRect ink = DrawnBox(Drawn(), kWhite);
    if (c.exact) {
      EXPECT_EQ(ink, c.box);
    } else {
      EXPECT_TRUE(c.box.contains(ink));
      EXPECT_TRUE(ink.adjusted(-1, -1, 1, 1).contains(c.box));
    }
  }
  // The rectangle's outline is in the pen colour and its inside in the brush colour.
  image_.fill(kWhite);
  canvas_.Rectangle(20, 10, 60, 40);
  EXPECT_EQ(Drawn().pixel(59, 39), qRgb(0, 0, 0));
  EXPECT_EQ(Drawn().pixel(40, 25), qRgb(0, 255, 0));
  // On white, not-xor gives the colours themselves, and the outline only the pen's.
  image_.fill(kWhite);
  canvas_.SetPenMode(TPenMode::NotXor);
  canvas_.SetPenColour(Qt::red);
  canvas_.Rectangle(20, 10, 60, 40);
  EXPECT_EQ(Drawn().pixel(20, 10), qRgb(255, 0, 0));
  EXPECT_EQ(Drawn().pixel(40, 39), qRgb(255, 0, 0));
  EXPECT_EQ(Drawn().pixel(40, 25), qRgb(0, 255, 0));
}

TEST_F(CanvasTest, ClipRectangleHolds) {
  const QRect clip(50, 20, 60, 40);
  canvas_.SetClipRect(clip);
  EXPECT_EQ(canvas_.ClipRect(), clip);
  canvas_.SetBrushColour(Qt::green);
  canvas_.FillRect(0, 0, 200, 100);
  canvas_.MoveTo(0, 0);
  canvas_.LineTo(199, 99);
  canvas_.TextOut(40, 15, "Tension");
  EXPECT_EQ(DrawnBox(Drawn(), kWhite), clip);
  EXPECT_EQ(canvas_.DirtyRect(), clip);

  canvas_.ClearClipRect();
  EXPECT_EQ(canvas_.ClipRect(), QRect(0, 0, 200, 100));
  canvas_.FillRect(0, 0, 200, 100);
  EXPECT_EQ(DrawnBox(Drawn(), kWhite), QRect(0, 0, 200, 100));
}

// The ink of a text lies inside the box its anchor puts at (x, y), and reaches that box's
// anchored side.
TEST_F(CanvasTest, TextAnchorsPlaceTheText) {
  const int x = 100, y = 50;
  const std::string text = "t (ms)";
  const struct {
    TTextAnchor anchor;
    const char* name;
    bool right, centre, bottom;
  } cases[] = {
      {TTextAnchor::TopLeft, "top-left", false, false, false},
      {TTextAnchor::TopCentre, "centred below", false, true, false},
      {TTextAnchor::TopRight, "top-right", true, false, false},
      {TTextAnchor::BottomLeft, "bottom-left", false, false, true},
      {TTextAnchor::BottomCentre, "centred above", false, true, true},
      {TTextAnchor::BottomRight, "bottom-right", true, false, true},
  };
  for (int size : {kLabelFontSmall, kLabelFontLarge}) {
    canvas_.SetFontPixelSize(size);
    const QSize extent = canvas_.TextExtent(text);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size) + " px");
      image_.fill(kWhite);
      canvas_.TextOut(x, y, text, c.anchor);
      const QRect ink = DrawnBox(Drawn(), kWhite);
      ASSERT_FALSE(ink.isEmpty());
      const int left = c.right ? x - extent.width() : c.centre ? x - extent.width() / 2 : x;
      const int top = c.bottom ? y - extent.height() : y;
      const QRect box(QPoint(left, top), extent);
      EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(ink)) << "ink outside the text box";
      EXPECT_TRUE(canvas_.DirtyRect().contains(ink));
      canvas_.ClearDirty();
      if (c.right) {
        EXPECT_GE(ink.right(), x - 3);
      } else if (c.centre) {
        EXPECT_LE(std::abs(ink.center().x() - x), 2);
      } else {
        EXPECT_LE(ink.left(), x + 2);
      }
      // The ink of "t (ms)" spans most of the line height: brackets reach from above the
      // letters to below the baseline.
      if (c.bottom) {
        EXPECT_GE(ink.bottom(), y - extent.height() / 3);
      } else {
        EXPECT_LE(ink.top(), y + extent.height() / 3);
      }
    }
  }
}

TEST_F(CanvasTest, TextExtentFollowsTheFont) {
  int previous = 0;
  for (int size : {kLabelFontSmall, kLabelFontMedium, kLabelFontLarge}) {
    canvas_.SetFont(LabelFont(size));
    EXPECT_GT(canvas_.TextHeight("V"), previous);
    previous = canvas_.TextHeight("V");
    EXPECT_GE(previous, size);
  }
  EXPECT_GT(canvas_.TextWidth("10 ms"), canvas_.TextWidth("1 ms"));
  EXPECT_EQ(canvas_.TextWidth(""), 0);
  const int normal = canvas_.TextWidth("Tension");
  canvas_.SetFontBold(true);
  EXPECT_GT(canvas_.TextWidth("Tension"), normal);
}

TEST(CanvasWithoutImage, DrawingDoesNothing) {
  TestApp();
  TCanvas canvas;
  canvas.MoveTo(0, 0);
  canvas.LineTo(10, 10);
  canvas.Rectangle(0, 0, 5, 5);
  canvas.TextOut(0, 0, "x");
  EXPECT_TRUE(canvas.DirtyRect().isEmpty());
  EXPECT_EQ(canvas.ClipRect(), QRect());
  EXPECT_GT(canvas.TextWidth("x"), 0);
}

TEST(LabelFont, HeightRounding) {
  const struct {
    int requested, height;
  } cases[] = {{0, 13}, {12, 13}, {13, 13}, {14, 16}, {18, 16}, {19, 20}, {60, 20}};
  for (const auto& c : cases)
    EXPECT_EQ(LabelFontHeight(c.requested), c.height) << c.requested;
}

} // namespace
} // namespace qvt

namespace qvt {
namespace {

// The same drawing on another paint device (here a recorded picture, as the printed page
// uses): the canvas takes the device's size and the picture replays the lines.
TEST(CanvasOnDevice, DrawsOnAnyPaintDeviceWithItsSize) {
  TestApp();
  QPicture picture;
  picture.setBoundingRect(QRect(0, 0, 40, 30));
  TCanvas canvas;
  canvas.SetDevice(&picture);
  EXPECT_EQ(canvas.Width(), 40);
  EXPECT_EQ(canvas.Height(), 30);
  canvas.SetPenColour(Qt::red);
  canvas.MoveTo(0, 10);
  canvas.LineTo(40, 10);
  canvas.End();
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawPicture(0, 0, picture);
  painter.end();
  EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::red));
  canvas.SetImage(&image);
  EXPECT_EQ(canvas.Width(), 40) << "back on an image";
}

} // namespace
} // namespace qvt
