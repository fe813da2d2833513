// SPDX-License-Identifier: GPL-3.0-or-later
// TLCD99: the text rules, the cell splitting, the segment table and the drawing of the cells.
#include "lcd99.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace qvt {
namespace {

constexpr std::uint8_t T = TLCD99::SegTop;
constexpr std::uint8_t UL = TLCD99::SegUpperLeft;
constexpr std::uint8_t UR = TLCD99::SegUpperRight;
constexpr std::uint8_t M = TLCD99::SegMiddle;
constexpr std::uint8_t LL = TLCD99::SegLowerLeft;
constexpr std::uint8_t LR = TLCD99::SegLowerRight;
constexpr std::uint8_t B = TLCD99::SegBottom;
constexpr std::uint8_t D = TLCD99::SegColon;

struct SegmentRow {
  std::string_view chars;
  std::uint8_t segments;
};

// The characters sharing a row look the same: seven segments cannot tell 5 from S.
constexpr std::array<SegmentRow, 29> kSegmentTable = {{
    {"0", T | UL | UR | LL | LR | B},
    {"1I", UR | LR},
    {"2Z", T | UR | M | LL | B},
    {"3", T | UR | M | LR | B},
    {"4Y", UL | UR | M | LR},
    {"5S", T | UL | M | LR | B},
    {"6G", T | UL | M | LL | LR | B},
    {"7", T | UR | LR},
    {"8", T | UL | UR | M | LL | LR | B},
    {"9", T | UL | UR | M | LR | B},
    {"-", M},
    {":", D},
    {"A", T | UL | UR | M | LL | LR},
    {"B", UL | M | LL | LR | B},
    {"C", T | UL | LL | B},
    {"D", UR | M | LL | LR | B},
    {"E", T | UL | M | LL | B},
    {"F", T | UL | M | LL},
    {"H", UL | M | LL | LR},
    {"J", UR | LR | B},
    {"KX", UL | UR | M | LL | LR},
    {"L", UL | LL | B},
    {"MN", M | LL | LR},
    {"O", M | LL | LR | B},
    {"P", T | UL | UR | M | LL},
    {"Q", T | UL | UR | M | LR},
    {"R", M | LL},
    {"T", UL | M | LL},
    {"UVW", UL | UR | LL | LR | B},
}};

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Accepted(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '-' || c == ' ' || c == '.' ||
         c == ':';
}

} // namespace

TLCD99::TLCD99(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(92, 34);
}

bool TLCD99::IsValidValue(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return Accepted(Upper(c)); });
}

void TLCD99::SetValue(std::string_view text) {
  if (text == value_)
    return;
  if (!IsValidValue(text)) {
    throw ELcdValueError("Texte non affichable : \"" + std::string(text) + "\"");
  }
  std::string shown(text);
  std::transform(shown.begin(), shown.end(), shown.begin(), Upper);
  if (shown.back() == '.')
    shown.pop_back();
  if (shown == value_)
    return;
  value_ = std::move(shown);
  // Screen readers cannot read segments: they get the text as the description.
  setAccessibleDescription(QString::fromLatin1(value_).trimmed());
  update();
}

std::vector<TLCD99::TCell> TLCD99::SplitCells(std::string_view text, int digitNum) {
  std::vector<TCell> cells;
  bool pendingPoint = false;
  for (char c : text) {
    if (c != '.') {
      cells.push_back({c, pendingPoint});
      pendingPoint = false;
    } else if (pendingPoint) {
      cells.push_back({' ', true}); // the earlier point gets a blank cell of its own
    } else {
      pendingPoint = true;
    }
  }
  const auto wanted = static_cast<std::size_t>(std::max(digitNum, 1));
  if (cells.size() < wanted)
    cells.insert(cells.begin(), wanted - cells.size(), TCell{});
  return cells;
}

std::uint8_t TLCD99::Segments(char ch) {
  for (const SegmentRow& row : kSegmentTable) {
    if (row.chars.find(ch) != std::string_view::npos)
      return row.segments;
  }
  return 0;
}

int TLCD99::CellWidth(int n) const {
  return (width() - n * (digitSpacing_ + 1)) / n;
}

QRect TLCD99::FigureRect(int i, int n) const {
  const int w = CellWidth(n);
  if (n < 1 || w <= 0)
    return QRect();
  const int slot = i * (w + digitSpacing_ + 1);
  return QRect(slot + digitSpacing_ + 1, 0, w, height());
}

QRect TLCD99::PointRect(int i, int n) const {
  const int side = digitSpacing_ - 2;
  const int w = CellWidth(n);
  if (n < 1 || w <= 0 || side <= 0)
    return QRect();
  const int slot = i * (w + digitSpacing_ + 1);
  return QRect(slot + 2, height() - gapY_ - side, side, side);
}

void TLCD99::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), backgroundColor_);
  const std::vector<TCell> cells = SplitCells(value_, digitNum_);
  const int n = static_cast<int>(cells.size());
  const int s = segmentSize_;
  for (int i = 0; i < n; ++i) {
    const QRect figure = FigureRect(i, n);
    if (figure.isEmpty())
      return;
    const std::uint8_t lit = Segments(cells[static_cast<std::size_t>(i)].Ch);
    const auto colour = [&](std::uint8_t seg) { return (lit & seg) ? onColor_ : offColor_; };

    // Plain bars; the vertical ones stop a pixel short of the horizontal ones so that
    // the segments stay apart as on a real display.
    const int left = figure.left() + gapX_;
    const int right = figure.right() + 1 - gapX_;
    const int top = gapY_;
    const int bottom = height() - gapY_;
    const int midTop = (top + bottom) / 2 - s / 2;
    const int barLeft = left + 1, barWidth = right - left - 2;
    const int upperTop = top + s + 1, upperHeight = midTop - 1 - upperTop;
    const int lowerTop = midTop + s + 1, lowerHeight = bottom - s - 1 - lowerTop;
    if (barWidth > 0) {
      p.fillRect(QRect(barLeft, top, barWidth, s), colour(SegTop));
      p.fillRect(QRect(barLeft, midTop, barWidth, s), colour(SegMiddle));
      p.fillRect(QRect(barLeft, bottom - s, barWidth, s), colour(SegBottom));
    }
    if (upperHeight > 0) {
      p.fillRect(QRect(left, upperTop, s, upperHeight), colour(SegUpperLeft));
      p.fillRect(QRect(right - s, upperTop, s, upperHeight), colour(SegUpperRight));
    }
    if (lowerHeight > 0) {
      p.fillRect(QRect(left, lowerTop, s, lowerHeight), colour(SegLowerLeft));
      p.fillRect(QRect(right - s, lowerTop, s, lowerHeight), colour(SegLowerRight));
    }
    // The colon's dots are drawn only when lit: an unlit colon is no segment of a figure.
    if (lit & SegColon) {
      const int dot = std::max(s, digitSpacing_ - 2);
      const int cx = figure.left() + figure.width() / 2 - dot / 2;
      p.fillRect(QRect(cx, height() / 3 - dot / 2, dot, dot), onColor_);
      p.fillRect(QRect(cx, 2 * height() / 3 - dot / 2, dot, dot), onColor_);
    }
    const QRect point = PointRect(i, n);
    if (!point.isEmpty()) {
      p.fillRect(point, cells[static_cast<std::size_t>(i)].Point ? onColor_ : offColor_);
    }
  }
}

template <typename V> void TLCD99::Change(V& field, const V& value) {
  if (field == value)
    return;
  field = value;
  update();
}

void TLCD99::SetDigitNum(int n) {
  Change(digitNum_, std::max(n, 1));
}
void TLCD99::SetDigitSpacing(int pixels) {
  Change(digitSpacing_, std::max(pixels, 0));
}
void TLCD99::SetGapX(int pixels) {
  Change(gapX_, std::max(pixels, 0));
}
void TLCD99::SetGapY(int pixels) {
  Change(gapY_, std::max(pixels, 0));
}
void TLCD99::SetSegmentSize(int pixels) {
  Change(segmentSize_, std::max(pixels, 1));
}
void TLCD99::SetOnColor(const QColor& colour) {
  Change(onColor_, colour);
}
void TLCD99::SetOffColor(const QColor& colour) {
  Change(offColor_, colour);
}
void TLCD99::SetBackgroundColor(const QColor& colour) {
  Change(backgroundColor_, colour);
}
void TLCD99::SetAnimation(std::uint8_t style) {
  animation_ = std::min<std::uint8_t>(style, 6);
}
void TLCD99::SetAnimationDelay(int delay) {
  animationDelay_ = delay;
}

} // namespace qvt
