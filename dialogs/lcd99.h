// SPDX-License-Identifier: GPL-3.0-or-later
// TLCD99: a seven-segment LCD imitation, the generator panel's frequency display.
//
// The display shows Value right-aligned in DigitNum cells. Each cell is a slot
// w + DigitSpacing + 1 pixels wide, where w = (width - DigitNum * (DigitSpacing + 1)) div
// DigitNum: the first DigitSpacing + 1 pixels hold the cell's decimal point (a square of
// side DigitSpacing - 2 at the bottom, 2 pixels from the slot's left edge), so that the
// point stands between the figure before it and the cell's own figure; the figure fills
// the remaining w pixels, its segments inset by GapX and GapY.
//
// Value is also the only store of the number the panel shows, so it is read back as is.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qvt {

// A text the display cannot show.
class ELcdValueError : public std::invalid_argument {
public:
  using std::invalid_argument::invalid_argument;
};

class TLCD99 : public QWidget {
  Q_OBJECT

public:
  // The segments a character lights, as bits.
  enum TSegment : std::uint8_t {
    SegTop = 1 << 0,
    SegUpperLeft = 1 << 1,
    SegUpperRight = 1 << 2,
    SegMiddle = 1 << 3,
    SegLowerLeft = 1 << 4,
    SegLowerRight = 1 << 5,
    SegBottom = 1 << 6,
    SegColon = 1 << 7, // the two dots at one and two thirds of the height
  };

  // One displayed cell: its character (blank for an empty cell) and its decimal point.
  struct TCell {
    char Ch = ' ';
    bool Point = false;
    bool operator==(const TCell&) const = default;
  };

  explicit TLCD99(QWidget* parent = nullptr); // 92 x 34 pixels, black

  // The text shown. SetValue upper-cases letters, accepts only "0"-"9", "A"-"Z", "-",
  // blank, "." and ":", and drops one trailing "."; an empty text or any other character
  // throws ELcdValueError and leaves Value as it was. A text equal to Value (as given or
  // once upper-cased and trimmed) changes nothing; any other repaints once and becomes the
  // widget's accessible description (without its blanks), what screen readers read.
  const std::string& Value() const { return value_; }
  void SetValue(std::string_view text);
  // Whether SetValue would accept text.
  static bool IsValidValue(std::string_view text);

  // The cells of text, left-padded with blank cells to at least digitNum cells: every
  // character but "." takes a cell; a "." lights the point of the next cell, and a second
  // "." in a row first puts in a blank cell that carries the pending point. A point with
  // no cell after it is not shown. A text of more cells than digitNum gets them all.
  static std::vector<TCell> SplitCells(std::string_view text, int digitNum);
  // The segments that character lights (0 for a blank or an unknown character).
  static std::uint8_t Segments(char ch);

  // Where cell i of n cells draws, for the widget's present size: its figure area (the
  // segments lie inside it, inset by GapX and GapY) and its decimal point. Empty when
  // the widget is too narrow for n cells.
  QRect FigureRect(int i, int n) const;
  QRect PointRect(int i, int n) const;

  // Properties: each setter does nothing for the value already held, and otherwise stores
  // it and repaints; Animation and AnimationDelay only store.
  int DigitNum() const { return digitNum_; }
  void SetDigitNum(int n); // at least 1
  int DigitSpacing() const { return digitSpacing_; }
  void SetDigitSpacing(int pixels); // at least 0
  int GapX() const { return gapX_; }
  void SetGapX(int pixels); // at least 0
  int GapY() const { return gapY_; }
  void SetGapY(int pixels); // at least 0
  int SegmentSize() const { return segmentSize_; }
  void SetSegmentSize(int pixels); // at least 1
  QColor OnColor() const { return onColor_; }
  void SetOnColor(const QColor& colour);
  QColor OffColor() const { return offColor_; }
  void SetOffColor(const QColor& colour);
  QColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(const QColor& colour);
  // The transition style, 0 (none) to 6 (larger values are stored as 6). Changes of
  // Value are shown at once whatever the style.
  std::uint8_t Animation() const { return animation_; }
  void SetAnimation(std::uint8_t style);
  int AnimationDelay() const { return animationDelay_; }
  void SetAnimationDelay(int delay);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  template <typename V> void Change(V& field, const V& value);
  int CellWidth(int n) const;

  std::string value_;
  int digitNum_ = 4;
  int digitSpacing_ = 5;
  int gapX_ = 2;
  int gapY_ = 2;
  int segmentSize_ = 2;
  QColor onColor_{0, 255, 0};
  QColor offColor_{Qt::black};
  QColor backgroundColor_{Qt::black};
  std::uint8_t animation_ = 0;
  int animationDelay_ = 0;
};

} // namespace qvt
