// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic frequency span and the zoom and pan of the frequency range.
#include "frequency_span.h"

#include "courbe.h"

#include <algorithm>
#include <cmath>

namespace qvt {
namespace {

// The span is rounded down rather than up when ten fundamentals pass a graduation by less
// than this share: an interpolated 1000.3 Hz must not swap 10 kHz for 15 kHz, nor flicker
// between them from sweep to sweep.
constexpr double kRoundingSlack = 0.02;

} // namespace

double AutoFrequencySpan(double highestFundamental, double nyquist) {
  if (!(highestFundamental > 0) || !(nyquist > 0))
    return nyquist;
  const double wanted = 10 * highestFundamental * (1 - kRoundingSlack);
  // The step the axis would graduate this span with.
  TCourbe axis("f", 0, "Hz");
  axis.Mini = 0;
  axis.Maxi = wanted;
  axis.ComputeGraduation(false);
  const double span = std::ceil(wanted / axis.GradStep) * axis.GradStep;
  return std::min(span, nyquist);
}

TFrequencyRange ZoomRange(TFrequencyRange range, double at, double factor, double limit,
                          double minWidth) {
  const double width = range.High - range.Low;
  if (!(width > 0) || !(factor > 0) || !(limit > 0))
    return range;
  const double wanted = std::clamp(width * factor, std::min(minWidth, limit), limit);
  at = std::clamp(at, range.Low, range.High);
  const double share = (at - range.Low) / width;
  TFrequencyRange zoomed{at - share * wanted, at + (1 - share) * wanted};
  return PanRange(zoomed, 0, limit);
}

TFrequencyRange PanRange(TFrequencyRange range, double shift, double limit) {
  const double width = std::min(range.High - range.Low, limit);
  const double low = std::clamp(range.Low + shift, 0.0, std::max(limit - width, 0.0));
  return {low, low + width};
}

} // namespace qvt
