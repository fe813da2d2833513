// SPDX-License-Identifier: GPL-3.0-or-later
// TgraphePoint: the point-by-point display. It plots the recorded points of each channel
// against the channel chosen as abscissa, as marks of the channel's marker style, shows the
// live position of the current values and writes their readouts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "courbe.h"
#include "graphe_base.h"

namespace qvt {

class TgraphePoint : public TGrapheBase {
public:
  // The marker styles of TCourbePointMode::MarkerStyle.
  enum TMarkerStyle : std::uint8_t {
    kPlus = 0,
    kDiagonalCross = 1,
    kCircle = 2,
    kSquare = 3,
    kDiamond = 4,
    // Two shapes no channel takes, for the computed curves.
    kTriangleUp = 5,
    kTriangleDown = 6,
  };
  // The marker style of computed curve k: triangles, pointing up for an even k, down for an
  // odd one (their colours tell them apart).
  static std::uint8_t ComputedMarker(int k);

  // Time curve "t" in "s" (not drawn) and the channel curves "V0" to "V3" in "V", channel i
  // with index and Channel i; Abscissa 0.
  explicit TgraphePoint(TCanvas* canvas = nullptr, TPaintBox* paintBox = nullptr);

  // Lays out, draws the horizontal axis of the Abscissa curve, the vertical axis of the
  // first visible other channel, the zero lines and the marks of the recorded points; clears
  // MarksShown. Nothing without a canvas. Throws std::out_of_range for an Abscissa above 3.
  //
  // Computed curves: with ComputedAbscissa naming one, that curve is on the horizontal axis
  // instead of channel Abscissa, and every visible channel is marked against it. The visible
  // computed curves other than that one are marked in their colours with ComputedMarker,
  // each with its own vertical transform; the first has its vertical axis right of the plot,
  // for which the plot leaves room only then (on the left, where a channel's would be, when
  // no channel is marked). Points with a gap (kNoValue or not finite) on either axis are not
  // marked.
  void Paint();

  // The mark of the channel's current value (against the Abscissa curve's current value),
  // clipped to the plot (PlotClip), pen width LineWidth and back to 1. Nothing for the
  // Abscissa channel itself, nor while a computed curve is on the horizontal axis. Throws
  // std::out_of_range for a channel above 3.
  void DrawCurrentMark(int channel);
  // A cross of 10-pixel arms through the same position, in the channel's colour, clipped to
  // the plot, with pen width LineWidth (left so). The pen mode is the caller's: in not-xor mode
  // drawing it again removes it. Nothing for the Abscissa channel itself.
  void DrawCurrentCross(int channel);
  // The readout of the channel's current value: "  Erreur" without a value, "  ??" outside
  // the range Mini..Maxi, otherwise the value at the curve's DisplayScale (with its unit when
  // the unit text has at most 3 bytes), preceded by blanks that put the decimal mark in the
  // same column for every value of the range.
  std::string CurrentText(int channel);

  // The recorded mark less than 32 pixels (city-block) from (x, y) nearest to it, among the
  // visible channels other than the Abscissa, the earlier channel and point winning ties: its
  // channel, with x and y moved onto the mark and `point` its index. 4, with nothing changed,
  // when there is none. Uses the transforms of the last Paint.
  std::uint8_t NearestMark(int& x, int& y, int& point) const;
  // The same over the marked channels and then the marked computed curves: -1 when there is
  // none, 0..3 a channel, 4 + k computed curve k.
  int NearestMarkCurve(int& x, int& y, int& point) const;

  // A mark of half-size d at (x, y) in `style` with the canvas's pen and brush; nothing for
  // a style outside 0..6.
  void DrawMarker(int x, int y, std::uint8_t style, int d);

  std::array<TCourbePoint, 4> Curves;
  TCourbePointMode TimeCurve;
  std::uint8_t Abscissa = 0; // channel on the horizontal axis, 0..3
  // The computed quantities' curves of the recorded points (not owned: the window's
  // TComputedCurves::Curves), or null. Their transforms are set by Paint.
  std::vector<TCourbe>* Computed = nullptr;
  // The computed curve on the horizontal axis instead of channel Abscissa; -1 (or any index
  // Computed does not hold): channel Abscissa.
  int ComputedAbscissa = -1;
  std::uint16_t PointCount = 0; // recorded points in the curves
  bool MarksShown = false;      // live crosses are on the screen; every Paint clears it

private:
  void Layout();
  void DrawAxes();
  void DrawMarks();
  TCourbePoint& Channel(int channel);
  TCourbePoint& AbscissaCurve();
  // The computed curve on the horizontal axis, or null.
  const TCourbe* ComputedOnAxis() const;
  // The curve on the horizontal axis: ComputedOnAxis, else channel Abscissa.
  const TCourbe& Horizontal() const;
  TCourbe& Horizontal();
  // A channel / computed curve k is marked against Horizontal.
  bool Marked(const TCourbePoint& c) const;
  bool MarkedComputed(std::size_t k) const;
  int Nearest(int& x, int& y, int& point, bool computed) const;
  // The pixel of the channel's current value; false for the Abscissa channel.
  bool CurrentPixel(int channel, int& x, int& y);
  // The current point's pixel with the canvas set to its channel's colour and the line
  // width; false (nothing set) when there is no point to draw or no canvas.
  bool PrepareCurrent(int channel, int& x, int& y);
};

} // namespace qvt
