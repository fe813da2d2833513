// SPDX-License-Identifier: GPL-3.0-or-later
// Rules of the generator panel and of point-by-point mode that need no widget: the frequency
// buttons, the scroll-bar scales and the change that makes an automatic point.
#pragma once

#include <array>

namespace qvt {

class TCourbePoint;

// The frequency after a click on a frequency button of step 10^power ("+" or "-"): "+" adds
// the step up to 9999; "-" does nothing when the step is not below the frequency, takes a
// tenth of the step when the frequency is under twice the step, and never goes below 1.
int SteppedFrequency(int hertz, int power, bool minus);

// Volts of an offset or amplitude scroll-bar position (-1000..1000 is -10..10 V).
inline double ScrollVolts(int position) {
  return position * 10.0 / 1000.0;
}

// Points a point-by-point record holds at most; recording stops there.
inline constexpr int kMaxRecordedPoints = 16384;

// Whether the current values of the visible channels have moved, since the last recorded point
// (pointCount > 0), by more than `percent` of their displayed ranges, the changes of the
// channels added together.
bool PointMoved(const std::array<TCourbePoint, 4>& curves, int pointCount, int percent);

} // namespace qvt
