// SPDX-License-Identifier: GPL-3.0-or-later
// The curve store: TCourbe, one channel's (or the time axis's) samples with its unit, display
// range, graduations and screen transform, and the curves of the oscilloscope and point graphs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "colour.h"
#include "numbers.h"
#include "samples.h"
#include "unite.h"

namespace qvt {

// The controls of one channel on the main window. Defined by the main window, which binds the
// curves to them; the curves only carry the reference and never use it.
struct TChannelControls;

// The pen and label colour of channel `index`: 0 blue, 1 red, 2 magenta, 3 green; black for
// any other index.
TColour ChannelColour(int index);

// A curve is also its own unit (QuantityName, Text and the dimensions are the curve's).
class TCourbe : public Tunite {
public:
  // A unit parsed from unitText, A = 1, B = 0, range -15..15, DisplayScale 1, DisplayDigits 0,
  // the colour of index; graduation and pixel fields 0; not Visible.
  TCourbe(std::string_view quantityName, int index, std::string_view unitText);

  // A.x + B rounded to the nearest integer (ties to even); -1 for the no-value marker, for a
  // result outside the 32-bit range and for a non-number.
  std::int32_t ToPixel(double x) const;
  // The value at pixel p: (p - B) / A.
  double FromPixel(double p) const;
  // Orders Mini and Maxi, then picks DisplayScale (a power of 1000) and DisplayDigits for the
  // larger magnitude of the range. A range with both ends 0 is taken as magnitude 1.
  void ComputeDisplayScale();
  // GradStep (1, 2 or 5 times a power of ten, about 5 graduations, 10 when fine), GradFirst,
  // GradScale (a power of 1000) and GradDigits (3..5). Reads Mini and Maxi as they are; a range
  // with both ends 0 is taken as magnitude 1.
  void ComputeGraduation(bool fine);
  // The label of the graduation whose value divided by GradScale is v: "0" within a thousandth
  // of the range of zero, otherwise v with GradDigits significant digits.
  std::string GradLabel(double v) const;

  std::int32_t Index = 0;
  double A = 1;
  double B = 0;
  double GradStep = 0;
  double GradScale = 0;
  double GradFirst = 0;
  std::int32_t GradDigits = 0;
  std::int32_t PixBottom = 0;
  std::int32_t PixTop = 0;
  double Mini = -15;
  double Maxi = 15;
  bool Visible = false;
  std::string Meaning; // at most 255 bytes
  TColour Colour = 0;
  double DisplayScale = 1;
  std::int32_t DisplayDigits = 0;
  TSamples Value;
};

// A curve of the oscilloscope graph.
class TCourbeOsc : public TCourbe {
public:
  using TCourbe::TCourbe;

  TChannelControls* ChannelControls = nullptr; // not owned
  std::uint8_t Channel = 0;                    // 0..3, set by the graph
  // The converter clipped some of the held samples at its lower / upper end of scale.
  bool ClippedLow = false;
  bool ClippedHigh = false;
};

// A curve of the point-mode graph: a TCourbe drawn as marks.
class TCourbePointMode : public TCourbe {
public:
  using TCourbe::TCourbe;

  // Shape of the marks: 0 plus sign, 1 diagonal cross, 2 circle, 3 square, 4 diamond.
  std::uint8_t MarkerStyle = 0;
};

// A channel curve of the point-mode graph, with the channel's latest measured value.
class TCourbePoint : public TCourbePointMode {
public:
  using TCourbePointMode::TCourbePointMode;

  TChannelControls* ChannelControls = nullptr; // not owned
  std::uint8_t Channel = 0;                    // 0..3, set by the graph
  double Current = kNoValue;                   // SI units; the no-value marker until measured
};

} // namespace qvt
