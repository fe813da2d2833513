// SPDX-License-Identifier: GPL-3.0-or-later
// TPaintBox: when the paint handler runs, direct drawing reaching the widget, mouse events.
#include "paintbox.h"

#include "qt_test_app.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include <vector>

namespace qvt {
namespace {

// Records the areas Qt asks the paint box to paint.
class RecordingPaintBox : public TPaintBox {
public:
  std::vector<QRect> painted;

protected:
  void paintEvent(QPaintEvent* event) override {
    painted.push_back(event->rect());
    TPaintBox::paintEvent(event);
  }
};

class PaintBoxTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void SetUp() override {
    box_.resize(160, 120);
    box_.SetPaintHandler([this](TCanvas& c) {
      ++paints_;
      sizes_.push_back(QSize(c.Width(), c.Height()));
      c.SetBrushColour(Qt::white);
      c.FillRect(0, 0, c.Width(), c.Height());
    });
    box_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_));
    Settle();
    paints_ = 0;
    sizes_.clear();
    box_.painted.clear();
  }

  static void Settle() {
    for (int i = 0; i < 3; ++i)
      QCoreApplication::processEvents();
  }

  RecordingPaintBox box_;
  int paints_ = 0;
  std::vector<QSize> sizes_;
};

TEST_F(PaintBoxTest, PaintHandlerRunsOnInvalidateAndResize) {
  box_.Invalidate();
  box_.Invalidate(); // two requests before the event loop runs make one picture
  Settle();
  EXPECT_EQ(paints_, 1);

  box_.resize(200, 90);
  Settle();
  EXPECT_EQ(paints_, 2);
  ASSERT_FALSE(sizes_.empty());
  EXPECT_EQ(sizes_.back(), QSize(200, 90));
  EXPECT_EQ(box_.Image().size(), QSize(200, 90));

  box_.Repaint(); // at once, without the event loop
  EXPECT_EQ(paints_, 3);
}

TEST_F(PaintBoxTest, ExposureWithoutInvalidateKeepsThePicture) {
  box_.update();
  Settle();
  EXPECT_FALSE(box_.painted.empty());
  EXPECT_EQ(paints_, 0);
}

TEST_F(PaintBoxTest, DirectDrawingReachesTheWidget) {
  TCanvas& c = box_.Canvas();
  c.SetPenColour(Qt::red);
  c.MoveTo(20, 30);
  c.LineTo(70, 30);
  Settle(); // no Flush: the paint box shows it by itself
  EXPECT_EQ(paints_, 0) << "direct drawing must not repaint the picture";
  ASSERT_FALSE(box_.painted.empty());
  EXPECT_TRUE(box_.painted.back().contains(QRect(QPoint(20, 30), QPoint(69, 30))));
  EXPECT_LT(box_.painted.back().width(), 160) << "only the drawn area is painted";
  EXPECT_EQ(box_.grab().toImage().pixel(40, 30), qRgb(255, 0, 0));

  box_.painted.clear();
  c.MoveTo(20, 80);
  c.LineTo(70, 80);
  box_.Flush(); // at once
  ASSERT_EQ(box_.painted.size(), 1u);
  EXPECT_TRUE(box_.painted.front().contains(QPoint(40, 80)));
  EXPECT_EQ(paints_, 0);
}

TEST_F(PaintBoxTest, MouseEventsReachTheHandlers) {
  std::vector<std::pair<char, TMouseInfo>> seen;
  box_.SetMouseDownHandler([&](const TMouseInfo& m) { seen.push_back({'d', m}); });
  box_.SetMouseMoveHandler([&](const TMouseInfo& m) { seen.push_back({'m', m}); });
  box_.SetMouseUpHandler([&](const TMouseInfo& m) { seen.push_back({'u', m}); });
  QTest::mousePress(&box_, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
  QTest::mouseMove(&box_, QPoint(30, 40));
  QTest::mouseRelease(&box_, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().first, 'd');
  EXPECT_EQ(seen.front().second.X, 10);
  EXPECT_EQ(seen.front().second.Y, 20);
  EXPECT_EQ(seen.front().second.Button, Qt::LeftButton);
  EXPECT_TRUE(seen.front().second.Modifiers & Qt::ShiftModifier);
  const auto move =
      std::find_if(seen.begin(), seen.end(), [](const auto& e) { return e.first == 'm'; });
  ASSERT_NE(move, seen.end());
  EXPECT_EQ(QPoint(move->second.X, move->second.Y), QPoint(30, 40));
  EXPECT_TRUE(move->second.Buttons & Qt::LeftButton) << "the button is held during the drag";
  EXPECT_EQ(seen.back().first, 'u');
  EXPECT_EQ(seen.back().second.Buttons, Qt::NoButton);
}

} // namespace
} // namespace qvt
