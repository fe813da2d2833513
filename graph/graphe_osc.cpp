// SPDX-License-Identifier: GPL-3.0-or-later
// TgrapheOsc: layout and drawing of the oscilloscope display, trace decimation, trigger
// alignment and the nearest-sample search.
#include "graphe_osc.h"

#include "ansi.h"
#include "canvas.h"
#include "graph_settings.h"
#include "trigger_crossing.h"

#include <algorithm>
#include <cmath>
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

// The row of a computed curve's value, false for a gap: the no-value marker, a value that is
// not finite, or one whose row lies beyond the pixels (ToPixel's -1 there is no row).
bool ComputedRow(const TCourbe& curve, double v, int& row) {
  if (v == kNoValue || !std::isfinite(v))
    return false;
  row = curve.ToPixel(v);
  return row != -1 || std::nearbyint(curve.A * v + curve.B) == -1;
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

int TgrapheOsc::ComputedShown() const {
  if (!Computed)
    return 0;
  return static_cast<int>(std::count_if(Computed->begin(), Computed->end(),
                                        [](const TCourbe& c) { return c.Visible; }));
}

void TgrapheOsc::Layout() {
  const int computed = ComputedShown();
  int bands = 1;
  if (Separate) {
    VisibleCount = static_cast<std::int32_t>(
        std::count_if(Curves.begin(), Curves.end(), [](const TCourbe& c) { return c.Visible; }));
    bands = VisibleCount + computed;
  }
  LayOut(bands, computed > 0);

  auto whole = [this](TCourbe& c) {
    c.PixTop = PlotRect.Top;
    c.PixBottom = PlotRect.Bottom;
  };
  for (TCourbeOsc& c : Curves)
    whole(c);
  if (Computed)
    for (TCourbe& c : *Computed)
      whole(c);
  if (Separate && bands > 0) {
    // Equal bands below a head room of three margins for the first arrow head, so that the
    // last band ends on the time axis whatever the number of bands; the computed curves'
    // bands come after the channels'.
    const int h = (PlotRect.Bottom - PlotRect.Top - 3 * Margin) / bands;
    int j = 0;
    auto band = [&](TCourbe& c) {
      if (!c.Visible)
        return;
      c.PixTop = PlotRect.Top + j * h + 3 * Margin;
      c.PixBottom = c.PixTop + h;
      ++j;
    };
    for (TCourbeOsc& c : Curves)
      band(c);
    if (Computed)
      for (TCourbe& c : *Computed)
        band(c);
  }

  TimeCurve.ComputeDisplayScale();
  if (TimeCurve.Maxi - TimeCurve.Mini < 1e-6)
    TimeCurve.Maxi = TimeCurve.Mini + 1e-6;
  SetHorizontalTransform(TimeCurve);
  for (TCourbeOsc& c : Curves)
    if (c.Visible)
      SetVerticalTransform(c);
  if (Computed)
    for (TCourbe& c : *Computed)
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
  if (RoomY && Computed) {
    for (TCourbe& c : *Computed) {
      if (!c.Visible)
        continue;
      DrawVerticalAxis(c, true);
      if (!Separate)
        break;
    }
  }
  for (const TCourbeOsc& c : Curves)
    if (c.Visible)
      DrawZeroLine(c);
  if (Computed)
    for (const TCourbe& c : *Computed)
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

std::vector<int> TgrapheOsc::TraceSamples(int start, int& first, int& last) {
  std::vector<int> samples;
  const int n = HeldCount();
  const TSamples& t = TimeCurve.Value;

  int i = std::max(start - 1, 0);
  while (i < n && TimeCurve.ToPixel(t[i]) < AxisX)
    ++i;
  first = i - 1;
  last = i - 1;
  if (i >= n)
    return samples;

  // At most about one point per pixel column, and no more than MaxPoints per sweep.
  int stride = std::max(FilledCount / std::max(PaintRect.Right, 1), 1);
  Step = std::max(FilledCount / std::max(MaxPoints, 1), 1);
  stride = std::max(stride, Step);
  const QRect clip = Canvas ? Canvas->ClipRect() : QRect(0, 0, PaintRect.Right, PaintRect.Bottom);
  const int clipEnd = clip.x() + clip.width();

  samples.reserve(static_cast<std::size_t>((n - i) / stride + 2));
  samples.push_back(i);
  int j = i + 1;
  while (j < n) {
    samples.push_back(j);
    const int x = TimeCurve.ToPixel(t[j]);
    j += stride;
    if (x >= clipEnd)
      break;
  }
  last = j - 1;
  return samples;
}

std::vector<QPoint> TgrapheOsc::TracePath(const TCourbe& curve, int start, int& first, int& last) {
  const std::vector<int> samples = TraceSamples(start, first, last);
  std::vector<QPoint> points;
  points.reserve(samples.size());
  for (const int i : samples)
    points.emplace_back(TimeCurve.ToPixel(TimeCurve.Value[i]), curve.ToPixel(curve.Value[i]));
  return points;
}

void TgrapheOsc::DrawComputedTrace(const TCourbe& curve, const std::vector<int>& samples) {
  std::vector<QPoint> run;
  run.reserve(samples.size());
  auto flush = [&] {
    // A sample alone between gaps is still shown, as a dot.
    if (run.size() == 1)
      run.push_back(run.front() + QPoint(1, 0));
    Canvas->Polyline(run);
    run.clear();
  };
  for (const int i : samples) {
    int row = 0;
    if (ComputedRow(curve, curve.Value[i], row))
      run.emplace_back(TimeCurve.ToPixel(TimeCurve.Value[i]), row);
    else if (!run.empty())
      flush();
  }
  if (!run.empty())
    flush();
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
  if (ComputedShown() > 0) {
    // The samples drawn depend on the time axis only: the same for every computed curve.
    int first = 0, last = 0;
    const std::vector<int> samples = TraceSamples(start, first, last);
    for (const TCourbe& c : *Computed) {
      if (!c.Visible)
        continue;
      Canvas->SetPenColour(ToQColor(c.Colour));
      DrawComputedTrace(c, samples);
    }
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

int TgrapheOsc::NearestCurve(int& x, int& y) const {
  const int n = HeldCount();
  const TSamples& t = TimeCurve.Value;
  TPick pick(x, y);
  int result = -1;
  for (const TCourbeOsc& c : Curves) {
    if (!c.Visible)
      continue;
    for (int k = 0; k < n; ++k)
      if (pick.Offer(TimeCurve.ToPixel(t[k]), c.ToPixel(c.Value[k])))
        result = c.Channel;
  }
  if (Computed) {
    for (std::size_t j = 0; j < Computed->size(); ++j) {
      const TCourbe& c = (*Computed)[j];
      if (!c.Visible)
        continue;
      for (int k = 0; k < n; ++k) {
        int row = 0;
        if (ComputedRow(c, c.Value[k], row) && pick.Offer(TimeCurve.ToPixel(t[k]), row))
          result = 4 + static_cast<int>(j);
      }
    }
  }
  x = pick.FoundX;
  y = pick.FoundY;
  return result;
}

void TgrapheOsc::AlignOnTrigger(double rate) {
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
                                         TriggerLevel, TriggerRising, rate)
                         .Confirmed;
}

void TgrapheOsc::KeepTimeAxisOnSamples() {
  const double duration = TimeCurve.Maxi - TimeCurve.Mini;
  TimeCurve.Mini = qvt::SweepWindowStart({TimeCurve.Value.data(), TSamples::kCount}, HeldCount(),
                                         TimeCurve.Mini, duration);
  TimeCurve.Maxi = TimeCurve.Mini + duration;
}

} // namespace qvt
