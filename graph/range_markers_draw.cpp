// SPDX-License-Identifier: GPL-3.0-or-later
// The range markers and a model curve drawn over a painted graph. Both are drawn in copy mode
// after the traces, so the next paint of the graph takes them away.
#include "range_markers_draw.h"

#include <QPoint>
#include <QRect>

#include <cmath>
#include <vector>

#include "canvas.h"
#include "courbe.h"
#include "graph_settings.h"

namespace qvt {

namespace {

constexpr int kHandle = 5;

} // namespace

TPlotClip::TPlotClip(TCanvas& canvas, const TRect& plot)
    : canvas_(canvas), had_(canvas.HasClipRect()), old_(canvas.ClipRect()) {
  const QRect rect(QPoint(plot.Left, plot.Top), QPoint(plot.Right - 1, plot.Bottom));
  canvas_.SetClipRect(had_ ? rect.intersected(old_) : rect);
}

TPlotClip::~TPlotClip() {
  if (had_)
    canvas_.SetClipRect(old_);
  else
    canvas_.ClearClipRect();
}

void DrawRangeMarkers(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                      const TRangeMarkers& markers, double lo, double hi) {
  if (plot.Right <= plot.Left || plot.Bottom <= plot.Top)
    return;
  const auto [a, b] = markers.Shown(lo, hi);
  TPlotClip clip(canvas, plot);
  const int left = std::min(xCurve.ToPixel(a), xCurve.ToPixel(b));
  const int right = std::max(xCurve.ToPixel(a), xCurve.ToPixel(b));
  // Outside the range, a light veil.
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColour(QColor(128, 128, 128, 40));
  if (markers.Placed()) {
    if (left > plot.Left)
      canvas.FillRect(plot.Left, plot.Top, left, plot.Bottom);
    if (right + 1 < plot.Right)
      canvas.FillRect(right + 1, plot.Top, plot.Right, plot.Bottom);
  }
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetPenWidth(1);
  canvas.SetPenColour(QColor(90, 90, 90));
  canvas.SetBrushColour(QColor(90, 90, 90));
  for (const double position : {a, b}) {
    const int x = xCurve.ToPixel(position);
    canvas.SetPenStyle(TPenStyle::Dot);
    canvas.MoveTo(x, plot.Top);
    canvas.LineTo(x, plot.Bottom);
    canvas.SetPenStyle(TPenStyle::Solid);
    const QPoint handle[3] = {QPoint(x - kHandle, plot.Top), QPoint(x + kHandle, plot.Top),
                              QPoint(x, plot.Top + kHandle + 1)};
    canvas.Polygon(handle);
  }
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenColour(Qt::black);
  canvas.SetBrushColour(Qt::white);
}

void DrawModelCurve(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                    const TCourbe& yCurve, std::span<const double> x, std::span<const double> y,
                    TColour colour) {
  if (plot.Right <= plot.Left || plot.Bottom <= plot.Top)
    return;
  TPlotClip clip(canvas, plot);
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetPenColour(ToQColor(colour));
  canvas.SetPenWidth(LineWidth + 1);
  canvas.SetPenStyle(TPenStyle::Dash);
  std::vector<QPoint> run;
  auto flush = [&] {
    if (run.size() > 1)
      canvas.Polyline(run);
    run.clear();
  };
  // Values far off the plot are held a little outside it, so that the painter is never given
  // coordinates it cannot take.
  const double top = plot.Top - 1000.0;
  const double bottom = plot.Bottom + 1000.0;
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
      flush();
      continue;
    }
    const double py = yCurve.A * y[i] + yCurve.B;
    const double px = xCurve.A * x[i] + xCurve.B;
    if (!std::isfinite(py) || !std::isfinite(px)) {
      flush();
      continue;
    }
    run.emplace_back(static_cast<int>(std::lround(px)),
                     static_cast<int>(std::lround(std::clamp(py, top, bottom))));
  }
  flush();
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetPenColour(Qt::black);
}

} // namespace qvt
