// SPDX-License-Identifier: GPL-3.0-or-later
// TLCD99: the text rules, the cells, what the cells light, one repaint per change.
#include "lcd99.h"

#include "../platform/qt_test_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <functional>

namespace qvt {
namespace {

using Cells = std::vector<TLCD99::TCell>;

TEST(Lcd99Cells, SplittingAndPadding) {
  const TLCD99::TCell blank{};
  const struct {
    const char* text;
    Cells cells;
  } cases[] = {
      {"1000", {{'1'}, {'0'}, {'0'}, {'0'}}},
      {"50", {blank, blank, {'5'}, {'0'}}},
      {"12.5", {blank, {'1'}, {'2'}, {'5', true}}},
      {".5", {blank, blank, blank, {'5', true}}},
      {"1..5",
       {
           {'1'},
           {' ', true},
           {'5', true},
       }},
      {"12:3", {{'1'}, {'2'}, {':'}, {'3'}}},
      {"7.", {blank, blank, blank, {'7'}}}, // a point with no cell after it shows nowhere
      {"12345", {{'1'}, {'2'}, {'3'}, {'4'}, {'5'}}},
      {"", {blank, blank, blank, blank}},
  };
  for (const auto& c : cases) {
    Cells expected = c.cells;
    if (expected.size() < 4)
      expected.insert(expected.begin(), 4 - expected.size(), blank);
    EXPECT_EQ(TLCD99::SplitCells(c.text, 4), expected) << c.text;
  }
}

class Lcd99Test : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  // The widget as drawn.
  QImage Picture() {
    QImage image(lcd_.size(), QImage::Format_RGB32);
    lcd_.render(&image);
    return image;
  }

  static int LitPixels(const QImage& image, const QRect& area) {
    int lit = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x)
        lit += image.pixel(x, y) == qRgb(0, 255, 0);
    }
    return lit;
  }

  TLCD99 lcd_;
};

TEST_F(Lcd99Test, ValueRules) {
  const struct {
    const char* text;
    const char* stored; // nullptr: refused
  } cases[] = {
      {"1000", "1000"}, {"12.5", "12.5"}, {"7.", "7"},      {"abc", "ABC"},    {"-1 :2", "-1 :2"},
      {"+5", nullptr},  {"", nullptr},    {"1,5", nullptr}, {"\xE9", nullptr}, {"5\n", nullptr},
  };
  for (const auto& c : cases) {
    lcd_.SetValue("88");
    if (c.stored) {
      EXPECT_TRUE(TLCD99::IsValidValue(c.text)) << c.text;
      lcd_.SetValue(c.text);
      EXPECT_EQ(lcd_.Value(), c.stored) << c.text;
    } else {
      EXPECT_FALSE(TLCD99::IsValidValue(c.text)) << c.text;
      EXPECT_THROW(lcd_.SetValue(c.text), ELcdValueError) << c.text;
      EXPECT_EQ(lcd_.Value(), "88") << "a refused text keeps the previous one";
    }
  }
}

TEST_F(Lcd99Test, CellsLightTheirSegmentsAndPoints) {
  lcd_.SetValue("12.5");
  const QImage image = Picture();
  for (int i = 0; i < 4; ++i) {
    const QRect point = lcd_.PointRect(i, 4);
    ASSERT_FALSE(point.isEmpty());
    EXPECT_EQ(LitPixels(image, point), i == 3 ? point.width() * point.height() : 0)
        << "point " << i;
  }
  // The point of the 5 stands between the 2 and the 5.
  EXPECT_GT(lcd_.PointRect(3, 4).left(), lcd_.FigureRect(2, 4).right());
  EXPECT_LT(lcd_.PointRect(3, 4).right(), lcd_.FigureRect(3, 4).left());

  const QRect blank = lcd_.FigureRect(0, 4);
  EXPECT_EQ(LitPixels(image, blank), 0);
  // "1" lights the two right-hand segments only.
  QRect one = lcd_.FigureRect(1, 4);
  const QRect leftHalf(one.left(), 0, one.width() / 2, one.height());
  const QRect rightHalf(one.left() + one.width() / 2, 0, one.width() - one.width() / 2,
                        one.height());
  EXPECT_EQ(LitPixels(image, leftHalf), 0);
  EXPECT_GT(LitPixels(image, rightHalf), 0);

  // "8" lights more than "1", and every segment of "8" is lit where "1" is.
  lcd_.SetValue("8881");
  const QImage eights = Picture();
  EXPECT_GT(LitPixels(eights, lcd_.FigureRect(0, 4)), 3 * LitPixels(eights, lcd_.FigureRect(3, 4)));
}

// Counts the paints Qt makes.
class CountingLcd : public TLCD99 {
public:
  int paints = 0;

protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    TLCD99::paintEvent(event);
  }
};

TEST(Lcd99Repaint, OnePaintPerChange) {
  TestApp();
  CountingLcd lcd;
  lcd.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lcd));
  const auto paintsAfter = [&](const std::function<void()>& change) {
    QCoreApplication::processEvents();
    lcd.paints = 0;
    change();
    QCoreApplication::processEvents();
    return lcd.paints;
  };
  EXPECT_EQ(paintsAfter([&] { lcd.SetValue("50"); }), 1);
  EXPECT_EQ(paintsAfter([&] { lcd.SetValue("50"); }), 0);
  EXPECT_EQ(paintsAfter([&] { lcd.SetValue("50."); }), 0) << "the same text once trimmed";
  EXPECT_EQ(paintsAfter([&] { EXPECT_THROW(lcd.SetValue("+"), ELcdValueError); }), 0);
  EXPECT_EQ(paintsAfter([&] { lcd.SetOnColor(Qt::red); }), 1);
  EXPECT_EQ(paintsAfter([&] { lcd.SetOnColor(Qt::red); }), 0);
  EXPECT_EQ(paintsAfter([&] { lcd.SetDigitSpacing(8); }), 1);
  EXPECT_EQ(paintsAfter([&] {
              lcd.SetAnimation(3);
              lcd.SetAnimationDelay(40);
            }),
            0);
  EXPECT_EQ(lcd.Animation(), 3);
}

TEST(Lcd99Layout, TooManyCellsOrTooNarrowStaysInside) {
  TestApp();
  TLCD99 lcd;
  lcd.SetDigitNum(0);
  EXPECT_EQ(lcd.DigitNum(), 1);
  lcd.SetValue("12345");
  const int n = static_cast<int>(TLCD99::SplitCells(lcd.Value(), lcd.DigitNum()).size());
  EXPECT_LE(lcd.FigureRect(n - 1, n).right(), lcd.width() - 1);
  lcd.resize(10, 34);
  EXPECT_TRUE(lcd.FigureRect(0, n).isEmpty());
  QImage image(lcd.size(), QImage::Format_RGB32);
  lcd.render(&image); // draws the background only
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
}

} // namespace
} // namespace qvt
