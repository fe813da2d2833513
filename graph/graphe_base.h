// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheBase: what the oscilloscope graph and the point-mode graph share: label sizes, the
// plot rectangle, the screen transforms and graduations of the curves, and the drawing of the
// axes with their ticks, labels, titles, grid and zero lines.
#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>
#include <cstdlib>

#include "colour.h"
#include "courbe.h"

namespace qvt {

class TCanvas;
class TPaintBox;

// A rectangle by its edges; Right and Bottom lie one past the last pixel, so that the paint
// rectangle of a W x H picture is (0, 0, W, H).
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;

  friend bool operator==(const TRect&, const TRect&) = default;
};

QColor ToQColor(TColour colour);

class TGrapheBase {
public:
  // The graph draws on `canvas` (not owned; the paint box's canvas in the program). Without a
  // canvas, painting does nothing. `paintBox` is the control the canvas belongs to, kept for
  // the owner; the picture's size is read from the canvas, whose image the paint box keeps at
  // its own size.
  explicit TGrapheBase(TCanvas* canvas = nullptr, TPaintBox* paintBox = nullptr)
      : Canvas(canvas), PaintBox(paintBox) {}
  TGrapheBase(const TGrapheBase&) = delete;
  TGrapheBase& operator=(const TGrapheBase&) = delete;
  virtual ~TGrapheBase() = default;

  // Sets the canvas font to the label font at the height chosen for `size` (13 below 14, 16
  // from 14 to 18, 20 above 18) and writes that height back into `size`.
  void SetLabelFont(std::int32_t& size);
  // A line from (x1, y1) to (x2, y2) with the canvas's pen; the pen position ends at (x2, y2).
  void Line(int x1, int y1, int x2, int y2);

  TCanvas* Canvas = nullptr;
  TPaintBox* PaintBox = nullptr;
  bool RoomX = false;     // room for the horizontal axis with its labels
  bool RoomY = false;     // room for the vertical axes with their labels
  bool RoomXFine = false; // room for fine horizontal graduations
  bool RoomYFine = false; // room for fine vertical graduations
  std::int32_t VisibleCount = 0;
  TRect PlotRect;  // inside the axes; the horizontal axis lies on row PlotRect.Bottom
  TRect PaintRect; // (0, 0, width, height) of the picture
  std::int32_t CharWidth = 0;
  std::int32_t CharHeight = 0;
  std::int32_t Margin = 0; // tick half-length and spacing
  std::int32_t AxisX = 0;  // column of the vertical axes, PlotRect.Left

protected:
  // Clips the canvas to a rectangle for its lifetime, then gives the canvas back the clip it
  // had. Drawing twice in not-xor mode under the same clip still restores the picture.
  class TClip {
  public:
    TClip(TCanvas* canvas, const QRect& rect);
    ~TClip();
    TClip(const TClip&) = delete;
    TClip& operator=(const TClip&) = delete;

  private:
    TCanvas* canvas_;
    bool had_;
    QRect old_;
  };

  // The pixels of the plot in the canvas's terms: the columns from the vertical axes
  // (PlotRect.Left) to the last one before PlotRect.Right, the rows from PlotRect.Top down
  // to the horizontal axis (PlotRect.Bottom) included. Traces and marks stay inside it,
  // off the tick labels and titles around the plot.
  QRect PlotClip() const;

  // The mouse's pick: of the pixels offered, the nearest to (X, Y) less than 32 pixels away
  // (city-block), the earliest winning ties. In 64 bits: a pixel of -1 or far off the screen
  // must not overflow the distance.
  struct TPick {
    TPick(int x, int y) : X(x), Y(y), FoundX(x), FoundY(y) {}
    // True when (px, py) is now the nearest.
    bool Offer(int px, int py) {
      const long long d =
          std::llabs(static_cast<long long>(px) - X) + std::llabs(static_cast<long long>(py) - Y);
      if (d >= Best)
        return false;
      Best = d;
      FoundX = px;
      FoundY = py;
      return true;
    }
    int X, Y;
    int FoundX, FoundY;
    long long Best = 32;
  };

  // Graduations drawn per axis at most, whatever the range holds: a guard against ranges
  // (infinite, or far beyond their step) that would never end the loop.
  static constexpr int kMaxGraduations = 1000;

  // Paint rectangle and label sizes from the canvas, background filled with the window
  // colour, pen copy black width 1, transparent text. False without a canvas.
  bool BeginPaint();
  // Room flags and plot rectangle for `bands` horizontal bands of vertical axes; with
  // `rightAxis`, as much room again right of the plot for a vertical axis there.
  void LayOut(int bands, bool rightAxis = false);
  // A = pixels per unit across PlotRect, B so that Mini is at PlotRect.Left; graduations
  // (fine when RoomXFine). The caller has ordered the range (ComputeDisplayScale).
  void SetHorizontalTransform(TCourbe& curve);
  // ComputeDisplayScale, then A and B mapping Mini to PixBottom and Maxi to PixTop (values grow
  // upwards), then graduations (fine when RoomYFine).
  void SetVerticalTransform(TCourbe& curve);

  // The horizontal axis of `curve` in black on row PlotRect.Bottom: line across the picture
  // with an arrow head, graduation ticks (or grid lines) with labels, the title at the right,
  // and a vertical line where the curve's value is 0.
  void DrawHorizontalAxis(TCourbe& curve);
  // The vertical axis of `curve` in its colour at AxisX, from PlotRect.Bottom up to its PixTop,
  // with an arrow head, a zero line across the plot, graduation ticks (or grid lines), labels
  // and the title, level with the head's tip and two margins clear of it (left of it when
  // there is room, otherwise right). With `right`, the mirror image on column PlotRect.Right,
  // the axis right of the plot: labels and title right of it when there is room, ticks even
  // with the grid shown.
  void DrawVerticalAxis(TCourbe& curve, bool right = false);
  // A dotted line in the curve's colour across the plot at its zero, when the zero lies
  // strictly inside its band.
  void DrawZeroLine(const TCourbe& curve);

private:
  bool ZeroInBand(const TCourbe& curve, int& row) const;
};

} // namespace qvt
