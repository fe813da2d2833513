// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheBase: the layout, transforms and axis drawing that both graphs use.
#include "graphe_base.h"

#include "canvas.h"
#include "graph_settings.h"
#include "labelfont.h"

#include <cstdlib>
#include <string>

namespace qvt {
namespace {

const QColor kGridColour(128, 128, 128);

} // namespace

QColor ToQColor(TColour colour) {
  return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

TGrapheBase::TClip::TClip(TCanvas* canvas, const QRect& rect)
    : canvas_(canvas), had_(canvas != nullptr && canvas->HasClipRect()),
      old_(canvas != nullptr ? canvas->ClipRect() : QRect()) {
  if (canvas_)
    canvas_->SetClipRect(rect);
}

TGrapheBase::TClip::~TClip() {
  if (!canvas_)
    return;
  if (had_)
    canvas_->SetClipRect(old_);
  else
    canvas_->ClearClipRect();
}

QRect TGrapheBase::PlotClip() const {
  return QRect(QPoint(PlotRect.Left, PlotRect.Top), QPoint(PlotRect.Right - 1, PlotRect.Bottom));
}

void TGrapheBase::SetLabelFont(std::int32_t& size) {
  size = LabelFontHeight(size);
  if (Canvas)
    Canvas->SetFont(LabelFont(size));
}

void TGrapheBase::Line(int x1, int y1, int x2, int y2) {
  Canvas->MoveTo(x1, y1);
  Canvas->LineTo(x2, y2);
}

bool TGrapheBase::BeginPaint() {
  if (!Canvas)
    return false;
  PaintRect = TRect{0, 0, Canvas->Width(), Canvas->Height()};
  CharHeight = PaintRect.Bottom / 50;
  SetLabelFont(CharHeight);
  CharWidth = CharHeight * 2 / 3;
  Margin = CharHeight / 3;

  Canvas->SetBrushColour(SystemWindowColour());
  Canvas->SetBrushStyle(TBrushStyle::Solid);
  Canvas->FillRect(PaintRect.Left, PaintRect.Top, PaintRect.Right, PaintRect.Bottom);
  Canvas->SetPenMode(TPenMode::Copy);
  Canvas->SetPenColour(Qt::black);
  Canvas->SetPenWidth(1);
  Canvas->SetPenStyle(TPenStyle::Solid);
  Canvas->SetFontColour(Qt::black);
  Canvas->SetTextTransparent(true);
  return true;
}

void TGrapheBase::LayOut(int bands, bool rightAxis) {
  const int h = PaintRect.Bottom - PaintRect.Top;
  const int w = PaintRect.Right - PaintRect.Left;
  RoomY = h / 5 > (CharHeight * 5 * bands) / 4;
  RoomX = w > CharWidth * 20;
  RoomYFine = h / 5 > (CharHeight * 10 * bands) / 4;
  RoomXFine = w > CharWidth * 40;

  PlotRect = PaintRect;
  PlotRect.Left += Margin;
  if (RoomY)
    PlotRect.Left += CharWidth * 5;
  if (RoomX)
    PlotRect.Bottom -= CharHeight + Margin;
  if (rightAxis) {
    PlotRect.Right -= Margin;
    if (RoomY)
      PlotRect.Right -= CharWidth * 5;
  }
  AxisX = PlotRect.Left;
}

void TGrapheBase::SetHorizontalTransform(TCourbe& curve) {
  curve.A = (PlotRect.Right - PlotRect.Left) / (curve.Maxi - curve.Mini);
  curve.B = PlotRect.Left - curve.Mini * curve.A;
  curve.ComputeGraduation(RoomXFine);
}

void TGrapheBase::SetVerticalTransform(TCourbe& curve) {
  curve.ComputeDisplayScale();
  curve.A = (curve.PixTop - curve.PixBottom) / (curve.Maxi - curve.Mini);
  curve.B = curve.PixBottom - curve.Mini * curve.A;
  curve.ComputeGraduation(RoomYFine);
}

bool TGrapheBase::ZeroInBand(const TCourbe& curve, int& row) const {
  row = curve.ToPixel(0);
  return curve.PixTop < row && row < curve.PixBottom;
}

void TGrapheBase::DrawHorizontalAxis(TCourbe& curve) {
  const int row = PlotRect.Bottom;
  const int right = PaintRect.Right;
  Canvas->SetFontColour(Qt::black);
  Canvas->SetPenColour(Qt::black);
  Canvas->SetPenStyle(TPenStyle::Solid);
  Line(PaintRect.Left, row, right, row);
  // The strokes start at the tip so that the tip pixel itself is drawn (a line leaves out
  // its end point).
  Line(right, row, right - 3 * Margin, row - Margin);
  Line(right, row, right - 3 * Margin, row + Margin);

  // Labels end before the title at the right end of the axis, with a margin between them.
  const std::string title = curve.AxisLabel(curve.GradScale);
  const int titleLeft = PaintRect.Right - Margin - Canvas->TextWidth(title);
  const int labelsEnd = PaintRect.Right - (5 * CharWidth) / 2;
  for (int k = 0; k < kMaxGraduations; ++k) {
    // From the first graduation by multiples of the step, which keeps rounding from adding
    // up along the axis.
    const double x = curve.GradFirst + k * curve.GradStep;
    if (!(x < curve.Maxi))
      break;
    const int p = curve.ToPixel(x);
    if (!(PlotRect.Left < p && p < PlotRect.Right))
      continue;
    if (ShowGrid) {
      Canvas->SetPenColour(kGridColour);
      Canvas->SetPenStyle(TPenStyle::Dot);
      Line(p, PlotRect.Top, p, PlotRect.Bottom);
      Canvas->SetPenColour(Qt::black);
      Canvas->SetPenStyle(TPenStyle::Solid);
    } else {
      Line(p, row - Margin, p, row + Margin);
    }
    if (p > PlotRect.Left + Margin && p < labelsEnd) {
      const std::string label = curve.GradLabel(x / curve.GradScale);
      if (p + (Canvas->TextWidth(label) + 1) / 2 < titleLeft - Margin)
        Canvas->TextOut(p, row + Margin, label, TTextAnchor::TopCentre);
    }
  }
  Canvas->TextOut(PaintRect.Right - Margin, row + Margin, title, TTextAnchor::TopRight);

  const int zero = curve.ToPixel(0);
  if (PlotRect.Left < zero && zero < PlotRect.Right) {
    Canvas->SetPenStyle(TPenStyle::Dash);
    Line(zero, PlotRect.Top, zero, PlotRect.Bottom);
    Canvas->SetPenStyle(TPenStyle::Dot);
    Line(zero, PlotRect.Top, zero, PlotRect.Bottom);
    Canvas->SetPenStyle(TPenStyle::Solid);
  }
}

void TGrapheBase::DrawVerticalAxis(TCourbe& curve, bool right) {
  const QColor colour = ToQColor(curve.Colour);
  const int top = curve.PixTop;
  const int x = right ? PlotRect.Right : AxisX;
  Canvas->SetPenColour(colour);
  Canvas->SetFontColour(colour);
  Canvas->SetPenStyle(TPenStyle::Solid);
  Line(x, top, x, PlotRect.Bottom);
  Line(x, top, x - Margin, top + 3 * Margin);
  Line(x, top, x + Margin, top + 3 * Margin);
  int zero = 0;
  if (ZeroInBand(curve, zero))
    Line(PlotRect.Left, zero, PlotRect.Right, zero);

  for (int k = 0; k < kMaxGraduations; ++k) {
    const double y = curve.GradFirst + k * curve.GradStep;
    if (!(y < curve.Maxi))
      break;
    const int p = curve.ToPixel(y);
    if (top + CharHeight < p && p < curve.PixBottom - CharHeight) {
      // The grid is the left axis's: a second one from the right would cross it.
      if (ShowGrid && !right) {
        Canvas->SetPenColour(kGridColour);
        Canvas->SetPenStyle(TPenStyle::Dot);
        Line(PlotRect.Left, p, PlotRect.Right, p);
        Canvas->SetPenColour(colour);
        Canvas->SetPenStyle(TPenStyle::Solid);
      } else {
        Line(x - Margin, p, x + Margin, p);
      }
    }
    if (top + 2 * CharHeight < p && p < curve.PixBottom - Margin &&
        std::abs(p - PlotRect.Bottom) > Margin) {
      // A label wider than the room beside the axis ends (or starts) at the picture's edge
      // instead of being cut.
      const std::string label = curve.GradLabel(y / curve.GradScale);
      const int width = Canvas->TextWidth(label);
      if (right) {
        if (x + 2 * Margin + width <= PaintRect.Right)
          Canvas->TextOut(x + 2 * Margin, p + Margin, label, TTextAnchor::BottomLeft);
        else
          Canvas->TextOut(PaintRect.Right, p + Margin, label, TTextAnchor::BottomRight);
      } else if (x - 2 * Margin - width >= PaintRect.Left) {
        Canvas->TextOut(x - 2 * Margin, p + Margin, label, TTextAnchor::BottomRight);
      } else {
        Canvas->TextOut(PaintRect.Left, p + Margin, label, TTextAnchor::BottomLeft);
      }
    }
  }
  // The title stands beside the arrow head, level with its tip, two margins clear of its
  // wings (which reach a margin either side of the axis): nearer, its last letter and the
  // head run together and read as one. A title wider than the room outside the axis goes
  // on the plot's side of the head.
  const std::string title = curve.AxisLabel(curve.GradScale);
  const int clearance = Margin + 2 * Margin;
  const int width = Canvas->TextWidth(title);
  const bool outside =
      right ? x + clearance + width <= PaintRect.Right : x - clearance - width >= PaintRect.Left;
  if (outside != right)
    Canvas->TextOut(x - clearance, top, title, TTextAnchor::TopRight);
  else
    Canvas->TextOut(x + clearance, top, title, TTextAnchor::TopLeft);
}

void TGrapheBase::DrawZeroLine(const TCourbe& curve) {
  int zero = 0;
  if (!ZeroInBand(curve, zero))
    return;
  Canvas->SetPenColour(ToQColor(curve.Colour));
  Canvas->SetPenStyle(TPenStyle::Dot);
  Line(PlotRect.Left, zero, PlotRect.Right, zero);
  Canvas->SetPenStyle(TPenStyle::Solid);
}

} // namespace qvt
