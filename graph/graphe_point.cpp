// SPDX-License-Identifier: GPL-3.0-or-later
// TgraphePoint: layout and drawing of the point-by-point display, its marks and readouts.
#include "graphe_point.h"

#include "ansi.h"
#include "canvas.h"
#include "graph_settings.h"
#include "numbers.h"
#include "numtext.h"
#include "text8.h"

#include <QCoreApplication>
#include <QPoint>

#include <algorithm>
#include <cmath>
#include <utility>

namespace qvt {

namespace {

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

} // namespace

TgraphePoint::TgraphePoint(TCanvas* canvas, TPaintBox* paintBox)
    : TGrapheBase(canvas, paintBox), Curves{TCourbePoint("V0", 0, "V"), TCourbePoint("V1", 1, "V"),
                                            TCourbePoint("V2", 2, "V"), TCourbePoint("V3", 3, "V")},
      TimeCurve("t", 0, "s") {
  for (std::size_t i = 0; i < Curves.size(); ++i)
    Curves[i].Channel = static_cast<std::uint8_t>(i);
}

TCourbePoint& TgraphePoint::Channel(int channel) {
  return Curves.at(static_cast<std::size_t>(channel));
}

TCourbePoint& TgraphePoint::AbscissaCurve() {
  return Curves.at(Abscissa);
}

std::uint8_t TgraphePoint::ComputedMarker(int k) {
  return k % 2 == 0 ? kTriangleUp : kTriangleDown;
}

const TCourbe* TgraphePoint::ComputedOnAxis() const {
  if (!Computed || ComputedAbscissa < 0 || ComputedAbscissa >= static_cast<int>(Computed->size()))
    return nullptr;
  return &(*Computed)[static_cast<std::size_t>(ComputedAbscissa)];
}

const TCourbe& TgraphePoint::Horizontal() const {
  const TCourbe* computed = ComputedOnAxis();
  return computed ? *computed : Curves.at(Abscissa);
}

TCourbe& TgraphePoint::Horizontal() {
  return const_cast<TCourbe&>(std::as_const(*this).Horizontal());
}

bool TgraphePoint::Marked(const TCourbePoint& c) const {
  return c.Visible && (c.Channel != Abscissa || ComputedOnAxis() != nullptr);
}

bool TgraphePoint::MarkedComputed(std::size_t k) const {
  return Computed && k < Computed->size() && (*Computed)[k].Visible &&
         static_cast<int>(k) != ComputedAbscissa;
}

void TgraphePoint::Paint() {
  AbscissaCurve(); // an Abscissa outside 0..3 is refused before anything is drawn
  if (!BeginPaint())
    return;
  Layout();
  DrawAxes();
  if (PointCount > 0)
    DrawMarks();
  MarksShown = false;
  Canvas->SetPenStyle(TPenStyle::Solid);
}

void TgraphePoint::Layout() {
  const bool channelMarked = std::any_of(Curves.begin(), Curves.end(),
                                         [this](const TCourbePoint& c) { return Marked(c); });
  bool computedMarked = false;
  if (Computed)
    for (std::size_t k = 0; k < Computed->size(); ++k)
      computedMarked = computedMarked || MarkedComputed(k);
  LayOut(1, channelMarked && computedMarked);
  for (TCourbePoint& c : Curves) {
    c.PixTop = PlotRect.Top;
    c.PixBottom = PlotRect.Bottom;
  }
  if (Computed)
    for (TCourbe& c : *Computed) {
      c.PixTop = PlotRect.Top;
      c.PixBottom = PlotRect.Bottom;
    }
  TCourbe& horizontal = Horizontal();
  horizontal.ComputeDisplayScale();
  SetHorizontalTransform(horizontal);
  for (TCourbePoint& c : Curves)
    if (Marked(c))
      SetVerticalTransform(c);
  if (Computed)
    for (std::size_t k = 0; k < Computed->size(); ++k)
      if (MarkedComputed(k))
        SetVerticalTransform((*Computed)[k]);
}

void TgraphePoint::DrawAxes() {
  AxisX = PlotRect.Left;
  if (RoomX)
    DrawHorizontalAxis(Horizontal());
  bool left = false;
  if (RoomY) {
    const auto first = std::find_if(Curves.begin(), Curves.end(),
                                    [this](const TCourbePoint& c) { return Marked(c); });
    if (first != Curves.end()) {
      DrawVerticalAxis(*first);
      left = true;
    }
    // The first computed curve's axis goes right of the plot, or on the left when no channel
    // has taken it.
    if (Computed)
      for (std::size_t k = 0; k < Computed->size(); ++k)
        if (MarkedComputed(k)) {
          DrawVerticalAxis((*Computed)[k], left);
          break;
        }
  }
  for (const TCourbePoint& c : Curves)
    if (Marked(c))
      DrawZeroLine(c);
  if (Computed)
    for (std::size_t k = 0; k < Computed->size(); ++k)
      if (MarkedComputed(k))
        DrawZeroLine((*Computed)[k]);
}

void TgraphePoint::DrawMarks() {
  const TCourbe& horizontal = Horizontal();
  const int n = std::min<int>(PointCount, static_cast<int>(TSamples::kCount));
  // Points beyond a channel's range are cut at the plot's edges, off the axes' labels.
  const TClip clip(Canvas, PlotClip());
  Canvas->SetPenWidth(LineWidth);
  Canvas->SetBrushStyle(TBrushStyle::Solid);
  auto marks = [&](const TCourbe& c, std::uint8_t style) {
    const QColor colour = ToQColor(c.Colour);
    Canvas->SetPenColour(colour);
    Canvas->SetBrushColour(colour);
    for (int k = 0; k < n; ++k) {
      // A point without a value on either axis has no place: ToPixel's -1 would put it on
      // the plot's edge.
      if (IsGap(horizontal.Value[k]) || IsGap(c.Value[k]))
        continue;
      DrawMarker(horizontal.ToPixel(horizontal.Value[k]), c.ToPixel(c.Value[k]), style, PointSize);
    }
  };
  for (const TCourbePoint& c : Curves)
    if (Marked(c))
      marks(c, c.MarkerStyle);
  if (Computed)
    for (std::size_t k = 0; k < Computed->size(); ++k)
      if (MarkedComputed(k))
        marks((*Computed)[k], ComputedMarker(static_cast<int>(k)));
  Canvas->SetPenWidth(1);
}

void TgraphePoint::DrawMarker(int x, int y, std::uint8_t style, int d) {
  switch (style) {
  case kPlus:
    Line(x - d, y, x + d, y);
    Line(x, y - d, x, y + d);
    break;
  case kDiagonalCross:
    Line(x - d, y - d, x + d, y + d);
    Line(x + d, y - d, x - d, y + d);
    break;
  case kCircle:
    Canvas->Ellipse(x - d, y - d, x + d + 1, y + d + 1);
    break;
  case kSquare:
    Canvas->Rectangle(x - d, y - d, x + d, y + d);
    break;
  case kDiamond: {
    const QPoint corners[] = {{x - d, y}, {x, y - d}, {x + d, y}, {x, y + d}};
    Canvas->Polygon(corners);
    break;
  }
  case kTriangleUp: {
    const QPoint corners[] = {{x - d, y + d}, {x, y - d}, {x + d, y + d}};
    Canvas->Polygon(corners);
    break;
  }
  case kTriangleDown: {
    const QPoint corners[] = {{x - d, y - d}, {x + d, y - d}, {x, y + d}};
    Canvas->Polygon(corners);
    break;
  }
  default:
    break;
  }
}

int TgraphePoint::Nearest(int& x, int& y, int& point, bool computed) const {
  const TCourbe& horizontal = Horizontal();
  const int n = std::min<int>(PointCount, static_cast<int>(TSamples::kCount));
  TPick pick(x, y);
  int found = -1;
  auto offer = [&](const TCourbe& c, int curve) {
    for (int k = 0; k < n; ++k) {
      if (IsGap(horizontal.Value[k]) || IsGap(c.Value[k]))
        continue;
      if (pick.Offer(horizontal.ToPixel(horizontal.Value[k]), c.ToPixel(c.Value[k]))) {
        found = curve;
        point = k;
      }
    }
  };
  for (const TCourbePoint& c : Curves)
    if (Marked(c))
      offer(c, c.Channel);
  if (computed && Computed)
    for (std::size_t k = 0; k < Computed->size(); ++k)
      if (MarkedComputed(k))
        offer((*Computed)[k], 4 + static_cast<int>(k));
  x = pick.FoundX;
  y = pick.FoundY;
  return found;
}

std::uint8_t TgraphePoint::NearestMark(int& x, int& y, int& point) const {
  const int found = Nearest(x, y, point, false);
  return found < 0 ? 4 : static_cast<std::uint8_t>(found);
}

int TgraphePoint::NearestMarkCurve(int& x, int& y, int& point) const {
  return Nearest(x, y, point, true);
}

bool TgraphePoint::CurrentPixel(int channel, int& x, int& y) {
  TCourbePoint& c = Channel(channel);
  // A computed curve has no current value to place the mark against.
  if (c.Channel == Abscissa || ComputedOnAxis() != nullptr)
    return false;
  const TCourbePoint& abscissa = AbscissaCurve();
  x = abscissa.ToPixel(abscissa.Current);
  y = c.ToPixel(c.Current);
  return true;
}

bool TgraphePoint::PrepareCurrent(int channel, int& x, int& y) {
  if (!CurrentPixel(channel, x, y) || !Canvas)
    return false;
  const QColor colour = ToQColor(Curves[static_cast<std::size_t>(channel)].Colour);
  Canvas->SetPenColour(colour);
  Canvas->SetBrushColour(colour);
  Canvas->SetPenWidth(LineWidth);
  return true;
}

void TgraphePoint::DrawCurrentMark(int channel) {
  int x = 0, y = 0;
  if (!PrepareCurrent(channel, x, y))
    return;
  const TClip clip(Canvas, PlotClip());
  Canvas->SetBrushStyle(TBrushStyle::Solid);
  DrawMarker(x, y, Curves[static_cast<std::size_t>(channel)].MarkerStyle, PointSize);
  Canvas->SetPenWidth(1);
}

void TgraphePoint::DrawCurrentCross(int channel) {
  int x = 0, y = 0;
  if (!PrepareCurrent(channel, x, y))
    return;
  const TClip clip(Canvas, PlotClip());
  Line(x - 10, y, x + 10, y);
  Line(x, y - 10, x, y + 10);
}

std::string TgraphePoint::CurrentText(int channel) {
  TCourbePoint& c = Channel(channel);
  if (c.Current == kNoValue)
    return "  " + AnsiFromQString(QCoreApplication::translate("TgraphePoint", "Erreur"));
  if (c.Current < c.Mini || c.Current > c.Maxi)
    return "  ??";
  std::string text = c.Text.size() <= 3
                         ? c.FormatScaled(c.Current, c.DisplayScale, c.DisplayDigits)
                         : FormatFixed(c.Current / c.DisplayScale, 3, 5 - c.DisplayDigits);
  // The blanks line the decimal marks up: DisplayDigits is one more than the number of
  // digits before the mark of the range's largest value. The mark is the system's, the
  // one the number was written with.
  const std::size_t mark = text.find(DecimalSeparator());
  const int p = mark == std::string::npos ? 0 : static_cast<int>(mark) + 1;
  if (c.DisplayDigits - p >= 0)
    text.insert(0, std::min<std::size_t>(c.DisplayDigits - p + 1, kShortText), ' ');
  return ShortString(text);
}

} // namespace qvt
