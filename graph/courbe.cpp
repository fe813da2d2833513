// SPDX-License-Identifier: GPL-3.0-or-later
// TCourbe: the screen transform, the display scale and the graduations of a curve.
#include "courbe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "numtext.h"
#include "text8.h"

namespace qvt {

namespace {

constexpr std::array<TColour, 4> kChannelColours = {MakeColour(0, 0, 255), MakeColour(255, 0, 0),
                                                    MakeColour(255, 0, 255), MakeColour(0, 255, 0)};

// The larger magnitude of a range, 1 when it is 0 or not a number: the scale computations take
// its logarithm, which would otherwise be -infinity.
double RangeMagnitude(double a, double b) {
  const double m = std::max(std::fabs(a), std::fabs(b));
  return std::isfinite(m) && m > 0 ? m : 1.0;
}

int FloorLog10(double x) {
  return static_cast<int>(std::floor(std::log10(x)));
}

// Division rounded toward minus infinity, so that -1 / 3 is -1.
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

TColour ChannelColour(int index) {
  if (index < 0 || index >= static_cast<int>(kChannelColours.size()))
    return MakeColour(0, 0, 0);
  return kChannelColours[static_cast<std::size_t>(index)];
}

TCourbe::TCourbe(std::string_view quantityName, int index, std::string_view unitText) {
  Reset();
  QuantityName = ShortString(quantityName, kQuantityNameText);
  SetText(unitText);
  Colour = ChannelColour(index);
  Index = index;
}

std::int32_t TCourbe::ToPixel(double x) const {
  if (x == kNoValue)
    return -1;
  const double p = std::nearbyint(A * x + B);
  // The comparison is false for a non-number as well.
  if (!(p >= std::numeric_limits<std::int32_t>::min() &&
        p <= std::numeric_limits<std::int32_t>::max()))
    return -1;
  return static_cast<std::int32_t>(p);
}

double TCourbe::FromPixel(double p) const {
  return (p - B) / A;
}

void TCourbe::ComputeDisplayScale() {
  OrderPair(Mini, Maxi);
  const double m = RangeMagnitude(Mini, Maxi);
  const int k = FloorDiv(FloorLog10(m), 3);
  DisplayScale = Power10(3 * k);
  DisplayDigits = FloorLog10(m / DisplayScale) + 2;
}

void TCourbe::ComputeGraduation(bool fine) {
  const double m = RangeMagnitude(Maxi, Mini);
  const int n = FloorLog10(m);
  const double r = (Maxi - Mini) * Power10(-n);
  const double limit = fine ? 10 : 5;
  double step = 5;
  for (const double s : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0}) {
    if (r / s < limit) {
      step = s;
      break;
    }
  }
  GradStep = step * Power10(n);
  GradDigits = static_cast<int>(std::ceil(std::log10(m))) - FloorLog10(GradStep);
  GradFirst = std::ceil(Mini / GradStep) * GradStep;
  GradScale = Power10(3 * FloorDiv(n, 3));
  const int digits = static_cast<int>(std::ceil(std::log10(m / GradScale)));
  GradDigits = std::clamp(std::max(GradDigits, digits), 3, 5);
}

std::string TCourbe::GradLabel(double v) const {
  if (std::fabs(v * GradScale) < (Maxi - Mini) / 1000)
    return "0";
  return FormatGeneral(v, GradDigits);
}

} // namespace qvt
