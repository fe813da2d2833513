// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' figures drawn in copy mode after the traces, like the markers, so that the next
// paint of the graph takes them away. Lines are clipped in pixel coordinates before they are
// rounded: holding a far end inside the painter's range would turn a steep tangent.
#include "calc_tools_draw.h"

#include <QColor>
#include <QPoint>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "canvas.h"
#include "courbe.h"
#include "numbers.h"
#include "range_markers_draw.h"

namespace qvt {

namespace {

constexpr int kRing = 4;              // radius of the rings at the points read
constexpr double kMargin = 4;         // lines end this far outside the plot
const QColor kToolColour(20, 20, 20); // tangent and chord: apart from the channels' colours

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

struct TPointF {
  double x, y;
};

TPointF ToPixels(const TCourbe& xCurve, const TCourbe& yCurve, double x, double y) {
  return {xCurve.A * x + xCurve.B, yCurve.A * y + yCurve.B};
}

// Liang–Barsky: the part of p..q inside the plot widened by kMargin; false when none is.
bool ClipSegment(const TRect& plot, TPointF& p, TPointF& q) {
  const double left = plot.Left - kMargin, right = plot.Right + kMargin;
  const double top = plot.Top - kMargin, bottom = plot.Bottom + kMargin;
  const double dx = q.x - p.x, dy = q.y - p.y;
  double t0 = 0, t1 = 1;
  const double edges[4][2] = {
      {-dx, p.x - left}, {dx, right - p.x}, {-dy, p.y - top}, {dy, bottom - p.y}};
  for (const auto& e : edges) {
    if (e[0] == 0) {
      if (e[1] < 0)
        return false;
      continue;
    }
    const double t = e[1] / e[0];
    if (e[0] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1)
      return false;
  }
  const TPointF from{p.x + t0 * dx, p.y + t0 * dy};
  q = {p.x + t1 * dx, p.y + t1 * dy};
  p = from;
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(q.x) && std::isfinite(q.y);
}

QPoint Round(TPointF p) {
  return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

void Line(TCanvas& canvas, const TRect& plot, TPointF p, TPointF q) {
  if (!ClipSegment(plot, p, q))
    return;
  canvas.MoveTo(Round(p).x(), Round(p).y());
  canvas.LineTo(Round(q).x(), Round(q).y());
}

void Ring(TCanvas& canvas, const TRect& plot, TPointF p) {
  if (!(p.x >= plot.Left && p.x <= plot.Right && p.y >= plot.Top && p.y <= plot.Bottom))
    return;
  const QPoint c = Round(p);
  canvas.Ellipse(c.x() - kRing, c.y() - kRing, c.x() + kRing + 1, c.y() + kRing + 1);
}

// The pen and brush the graph expects after an overlay.
void Restore(TCanvas& canvas) {
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetPenColour(Qt::black);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColour(Qt::white);
}

bool Drawable(const TRect& plot) {
  return plot.Right > plot.Left && plot.Bottom > plot.Top;
}

} // namespace

void DrawTangent(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
                 const analysis::Tangent& tangent, std::optional<double> level) {
  if (!Drawable(plot) || xCurve.A == 0)
    return;
  TPlotClip clip(canvas, plot);
  canvas.SetPenMode(TPenMode::Copy);
  const double xl = xCurve.FromPixel(plot.Left - kMargin);
  const double xr = xCurve.FromPixel(plot.Right + kMargin);
  canvas.SetPenColour(QColor(110, 110, 110));
  canvas.SetPenWidth(1);
  if (level && !IsGap(*level)) {
    canvas.SetPenStyle(TPenStyle::Dot);
    Line(canvas, plot, ToPixels(xCurve, yCurve, xl, *level), ToPixels(xCurve, yCurve, xr, *level));
  }
  // From the crossing with the level down to the axis, where the time constant is read.
  double levelX = std::numeric_limits<double>::quiet_NaN();
  const double levelY = level && !IsGap(*level) ? *level : 0;
  if (level && !IsGap(*level))
    levelX = tangent.Crossing(levelY).value_or(levelX);
  const bool atLevel = std::isfinite(levelX);
  if (atLevel) {
    canvas.SetPenStyle(TPenStyle::Dot);
    Line(canvas, plot, ToPixels(xCurve, yCurve, levelX, levelY),
         ToPixels(xCurve, yCurve, levelX, 0));
  }
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenColour(kToolColour);
  canvas.SetPenWidth(2);
  Line(canvas, plot, ToPixels(xCurve, yCurve, xl, tangent.slope * xl + tangent.intercept),
       ToPixels(xCurve, yCurve, xr, tangent.slope * xr + tangent.intercept));
  canvas.SetPenWidth(1);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColour(kToolColour);
  Ring(canvas, plot, ToPixels(xCurve, yCurve, tangent.x, tangent.y));
  canvas.SetBrushColour(Qt::white);
  if (const auto axis = tangent.Crossing(0))
    Ring(canvas, plot, ToPixels(xCurve, yCurve, *axis, 0));
  if (atLevel)
    Ring(canvas, plot, ToPixels(xCurve, yCurve, levelX, levelY));
  Restore(canvas);
}

void DrawChord(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
               double xa, double ya, double xb, double yb) {
  if (!Drawable(plot))
    return;
  TPlotClip clip(canvas, plot);
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenColour(kToolColour);
  canvas.SetPenWidth(2);
  const TPointF a = ToPixels(xCurve, yCurve, xa, ya);
  const TPointF b = ToPixels(xCurve, yCurve, xb, yb);
  Line(canvas, plot, a, b);
  canvas.SetPenWidth(1);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColour(Qt::white);
  Ring(canvas, plot, a);
  Ring(canvas, plot, b);
  Restore(canvas);
}

void DrawArea(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve, const TCourbe& yCurve,
              std::span<const double> x, std::span<const double> y, double a, double b,
              TColour colour) {
  if (!Drawable(plot))
    return;
  if (a > b)
    std::swap(a, b);
  const std::optional<double> ya = analysis::ValueAt(x, y, a);
  const std::optional<double> yb = analysis::ValueAt(x, y, b);
  // Points far off the plot are held a little outside it: the fill's edge there is outside
  // the clip anyway.
  const double top = plot.Top - 1000.0, bottom = plot.Bottom + 1000.0;
  auto pixel = [&](double px, double py) {
    const TPointF p = ToPixels(xCurve, yCurve, px, py);
    return QPoint(
        static_cast<int>(std::lround(std::clamp(p.x, plot.Left - 1000.0, plot.Right + 1000.0))),
        static_cast<int>(std::lround(std::clamp(p.y, top, bottom))));
  };
  std::vector<QPoint> polygon;
  polygon.push_back(pixel(a, 0));
  if (ya)
    polygon.push_back(pixel(a, *ya));
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i)
    if (!IsGap(x[i]) && !IsGap(y[i]) && x[i] > a && x[i] < b)
      polygon.push_back(pixel(x[i], y[i]));
  if (yb)
    polygon.push_back(pixel(b, *yb));
  polygon.push_back(pixel(b, 0));
  if (polygon.size() < 3)
    return;
  TPlotClip clip(canvas, plot);
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetPenStyle(TPenStyle::Clear);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  QColor fill = ToQColor(colour);
  fill.setAlpha(70);
  canvas.SetBrushColour(fill);
  canvas.Polygon(polygon);
  // The axis the area is taken from.
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenColour(ToQColor(colour));
  canvas.SetPenWidth(1);
  Line(canvas, plot, ToPixels(xCurve, yCurve, a, 0), ToPixels(xCurve, yCurve, b, 0));
  Restore(canvas);
}

void DrawStatistics(TCanvas& canvas, const TRect& plot, const TCourbe& xCurve,
                    const TCourbe& yCurve, double a, double b, double mean, double deviation,
                    TColour colour) {
  if (!Drawable(plot))
    return;
  TPlotClip clip(canvas, plot);
  canvas.SetPenMode(TPenMode::Copy);
  // The band's corners held just outside the plot: beyond it the clip cuts the fill anyway.
  auto held = [&](TPointF p) {
    return Round({std::clamp(p.x, plot.Left - kMargin, plot.Right + kMargin),
                  std::clamp(p.y, plot.Top - kMargin, plot.Bottom + kMargin)});
  };
  const TPointF lo = ToPixels(xCurve, yCurve, a, mean - deviation);
  const TPointF hi = ToPixels(xCurve, yCurve, b, mean + deviation);
  if (std::isfinite(lo.x) && std::isfinite(lo.y) && std::isfinite(hi.x) && std::isfinite(hi.y)) {
    QColor band = ToQColor(colour);
    band.setAlpha(40);
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColour(band);
    const QPoint p = held(lo), q = held(hi);
    canvas.FillRect(std::min(p.x(), q.x()), std::min(p.y(), q.y()), std::max(p.x(), q.x()) + 1,
                    std::max(p.y(), q.y()) + 1);
  }
  canvas.SetPenStyle(TPenStyle::Dash);
  canvas.SetPenColour(ToQColor(colour));
  canvas.SetPenWidth(2);
  Line(canvas, plot, ToPixels(xCurve, yCurve, a, mean), ToPixels(xCurve, yCurve, b, mean));
  Restore(canvas);
}

} // namespace qvt
