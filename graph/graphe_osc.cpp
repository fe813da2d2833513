// SPDX-License-Identifier: GPL-3.0-or-later
// TgrapheOsc: layout and drawing of the oscilloscope display, trace decimation, trigger
// alignment and the nearest-sample search.
#include "graphe_osc.h"

#include "ansi.h"
#include "canvas.h"
#include "graph_settings.h"
#include "trigger_crossing.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace qvt {
namespace {

Tunite ParsedUnit(std::string_view text) {
  Tunite unit;
  unit.SetText(text);
  return unit;
}

} // namespace

Tunite& VoltUnit() {
  static Tunite unit = ParsedUnit("V");
  return unit;
}
Tunite& HertzUnit() {
  static Tunite unit = ParsedUnit("Hz");
  return unit;
}
Tunite& SecondUnit() {
  static Tunite unit = ParsedUnit("s");
  return unit;
}

TgrapheOsc::TgrapheOsc(TCanvas* canvas, TPaintBox* paintBox)
    : TGrapheBase(canvas, paintBox), Curves{TCourbeOsc("V0", 0, "V"), TCourbeOsc("V1", 1, "V"),
                                            TCourbeOsc("V2", 2, "V"), TCourbeOsc("V3", 3, "V")},
      TimeCurve("t", 0, "s") {
  VoltUnit();
  HertzUnit();
  SecondUnit();
  for (std::size_t i = 0; i < Curves.size(); ++i)
    Curves[i].Channel = static_cast<std::uint8_t>(i);
}

TCourbe& TgrapheOsc::TriggerCurve() {
  if (TriggerChannel >= Curves.size())
    throw std::out_of_range("trigger channel " + std::to_string(TriggerChannel) + " outside 0..3");
  return Curves[TriggerChannel];
}

int TgrapheOsc::HeldCount() const {
  return std::min<int>(FilledCount, static_cast<int>(TSamples::kCount));
}

void TgrapheOsc::SetMaxPoints(std::int32_t n) {
  MaxPoints = std::min(std::max(n, 32), SampleCount);
  SetSampleCount(SampleCount);
}

void TgrapheOsc::SetSampleCount(std::int32_t n) {
  // A count of 0 would make the step a division by zero.
  SampleCount = std::max(n, 1);
  MaxPoints = std::clamp(MaxPoints, 1, SampleCount);
  Step = std::max(SampleCount / MaxPoints, 1);
  MaxPoints = SampleCount / Step;
}

void TgrapheOsc::Paint() {
  if (!BeginPaint())
    return;
  Layout();
  DrawAxes();
  if (TriggerChannel != kNoTrigger) {
    TriggerPixel = TriggerCurve().ToPixel(TriggerLevel);
    DrawTriggerMarker(TriggerPixel);
  }
  if (FilledCount > 0)
    DrawTraces(0, true);
  Canvas->SetPenStyle(TPenStyle::Solid);
}

void TgrapheOsc::Layout() {
  int bands = 1;
  if (Separate) {
    VisibleCount = static_cast<std::int32_t>(
        std::count_if(Curves.begin(), Curves.end(), [](const TCourbe& c) { return c.Visible; }));
    bands = VisibleCount;
  }
  LayOut(bands);

  for (TCourbeOsc& c : Curves) {
    c.PixTop = PlotRect.Top;
    c.PixBottom = PlotRect.Bottom;
  }
  if (Separate && VisibleCount > 0) {
    // Equal bands below a head room of three margins for the first arrow head, so that the
    // last band ends on the time axis whatever the number of bands.
    const int h = (PlotRect.Bottom - PlotRect.Top - 3 * Margin) / VisibleCount;
    int j = 0;
    for (TCourbeOsc& c : Curves) {
      if (!c.Visible)
        continue;
      c.PixTop = PlotRect.Top + j * h + 3 * Margin;
      c.PixBottom = c.PixTop + h;
      ++j;
    }
  }

  TimeCurve.ComputeDisplayScale();
  if (TimeCurve.Maxi - TimeCurve.Mini < 1e-6)
    TimeCurve.Maxi = TimeCurve.Mini + 1e-6;
  SetHorizontalTransform(TimeCurve);
  for (TCourbeOsc& c : Curves)
    if (c.Visible)
      SetVerticalTransform(c);
}

void TgrapheOsc::DrawAxes() {
  AxisX = PlotRect.Left;
  if (RoomX)
    DrawHorizontalAxis(TimeCurve);
  if (RoomY) {
    for (TCourbeOsc& c : Curves) {
      if (!c.Visible)
        continue;
      DrawVerticalAxis(c);
      if (!Separate)
        break;
    }
  }
  for (const TCourbeOsc& c : Curves)
    if (c.Visible)
      DrawZeroLine(c);
}

void TgrapheOsc::DrawTriggerMarker(int row) {
  if (TriggerChannel == kNoTrigger)
    return;
  const TCourbe& curve = TriggerCurve();
  if (!Canvas)
    return;
  const QColor colour = ToQColor(curve.Colour);
  // A level outside the channel's range would put the line over the time axis's labels:
  // the marker keeps to the plot's rows. It spans the picture's width, its edge sign
  // standing left of the vertical axes.
  const TClip clip(Canvas, QRect(QPoint(PaintRect.Left, PlotRect.Top),
                                 QPoint(PlotRect.Right - 1, PlotRect.Bottom)));
  Canvas->SetPenMode(TPenMode::NotXor);
  Canvas->SetPenStyle(TPenStyle::DashDot);
  Canvas->SetPenWidth(1);
  Canvas->SetPenColour(colour);
  Canvas->SetFontColour(colour);
  Canvas->SetFontBold(true);
  Line(0, row, PlotRect.Right, row);
  // The sign stands on the line: its box starts two thirds of the font height above it.
  const int fontHeight = Canvas->Font().pixelSize();
  const char sign = TriggerRising ? kAnsiRisingEdge : kAnsiFallingEdge;
  Canvas->TextOut(PaintRect.Left + CharWidth, row - std::abs(2 * fontHeight / 3),
                  std::string(1, sign));
  Canvas->SetFontBold(false);
  Canvas->SetPenStyle(TPenStyle::Solid);
  Canvas->SetPenMode(TPenMode::Copy);
}

std::vector<QPoint> TgrapheOsc::TracePath(const TCourbe& curve, int start, int& first, int& last) {
  std::vector<QPoint> points;
  const int n = HeldCount();
  const TSamples& t = TimeCurve.Value;
  const TSamples& v = curve.Value;

  int i = std::max(start - 1, 0);
  while (i < n && TimeCurve.ToPixel(t[i]) < AxisX)
    ++i;
  first = i - 1;
  last = i - 1;
  if (i >= n)
    return points;

  // At most about one point per pixel column, and no more than MaxPoints per sweep.
  int stride = std::max(FilledCount / std::max(PaintRect.Right, 1), 1);
  Step = std::max(FilledCount / std::max(MaxPoints, 1), 1);
  stride = std::max(stride, Step);
  const QRect clip = Canvas ? Canvas->ClipRect() : QRect(0, 0, PaintRect.Right, PaintRect.Bottom);
  const int clipEnd = clip.x() + clip.width();

  points.reserve(static_cast<std::size_t>((n - i) / stride + 2));
  points.emplace_back(TimeCurve.ToPixel(t[i]), curve.ToPixel(v[i]));
  int j = i + 1;
  while (j < n) {
    const QPoint p(TimeCurve.ToPixel(t[j]), curve.ToPixel(v[j]));
    points.push_back(p);
    j += stride;
    if (p.x() >= clipEnd)
      break;
  }
  last = j - 1;
  return points;
}

void TgrapheOsc::DrawTraces(int start, bool record) {
  // A signal beyond its channel's range is cut at the plot's edges instead of running over
  // the axes' labels.
  const TClip clip(Canvas, PlotClip());
  Canvas->SetPenWidth(LineWidth);
  Canvas->SetPenStyle(TPenStyle::Solid);
  for (const TCourbeOsc& c : Curves) {
    if (!c.Visible)
      continue;
    int first = 0, last = 0;
    const std::vector<QPoint> points = TracePath(c, start, first, last);
    if (record) {
      FirstDrawn = first;
      LastDrawn = last;
    }
    if (points.empty())
      continue;
    Canvas->SetPenColour(ToQColor(c.Colour));
    Canvas->Polyline(points);
    Canvas->MoveTo(points.back().x(), points.back().y());
  }
  Canvas->SetPenWidth(1);
}

void TgrapheOsc::DrawTracesFrom(int start) {
  if (Canvas)
    DrawTraces(start, false);
}

std::uint8_t TgrapheOsc::NearestPoint(int& x, int& y) const {
  const int n = HeldCount();
  TPick pick(x, y);
  std::uint8_t result = kNoTrigger;
  for (const TCourbeOsc& c : Curves) {
    if (!c.Visible)
      continue;
    for (int k = 0; k < n; ++k)
      if (pick.Offer(TimeCurve.ToPixel(TimeCurve.Value[k]), c.ToPixel(c.Value[k])))
        result = c.Channel;
  }
  x = pick.FoundX;
  y = pick.FoundY;
  return result;
}

void TgrapheOsc::AlignOnTrigger() {
  if (TriggerChannel == kNoTrigger) {
    TriggerConfirmed = true;
    return;
  }
  const TSamples& v = TriggerCurve().Value;
  TSamples& t = TimeCurve.Value;
  const int end = std::min<int>(FilledCount, static_cast<int>(TSamples::kLast));
  // The search looks past the trigger frame: only at the samples of this sweep, not at what
  // the store holds beyond them. A sweep not confirmed is not shown as a triggered one: the
  // main window arms a new one.
  TriggerConfirmed = qvt::AlignOnTrigger({t.data(), TSamples::kCount}, end + 1,
                                         {v.data(), static_cast<std::size_t>(HeldCount())},
                                         TriggerLevel, TriggerRising)
                         .Confirmed;
}

void TgrapheOsc::KeepTimeAxisOnSamples() {
  const double duration = TimeCurve.Maxi - TimeCurve.Mini;
  TimeCurve.Mini = qvt::SweepWindowStart({TimeCurve.Value.data(), TSamples::kCount}, HeldCount(),
                                         TimeCurve.Mini, duration);
  TimeCurve.Maxi = TimeCurve.Mini + duration;
}

} // namespace qvt
