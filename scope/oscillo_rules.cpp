// SPDX-License-Identifier: GPL-3.0-or-later
// Small rules of the oscilloscope window.
#include "oscillo_rules.h"

#include <algorithm>

#include <cmath>
#include <cstdio>

namespace qvt {

int TriggerSourceFor(int asked, const std::array<bool, 4>& active) {
  if (asked <= 0 || asked > 4)
    return 0;
  if (active[static_cast<std::size_t>(asked - 1)])
    return asked;
  const auto first = std::find(active.begin(), active.end(), true);
  return first == active.end() ? 0 : static_cast<int>(first - active.begin()) + 1;
}

bool NeedsWideRange(double mini, double maxi) {
  return std::fabs(maxi) >= 5 || std::fabs(mini) >= 5;
}

bool PacedOnScreen(bool fastDisplay, int timeBase, bool singleShot) {
  return fastDisplay && timeBase <= kLastFastTimeBase && !singleShot;
}

int FramePollDelayMs(double nowMs, double shownMs, double refreshHz) {
  const double period = 1000.0 / (refreshHz >= 30 && refreshHz <= 240 ? refreshHz : 60.0);
  if (!(shownMs >= 0) || !std::isfinite(nowMs))
    return 1;
  // On a grid of frames rather than a frame after the last sweep: a sweep shown late in its
  // frame does not put off the next one.
  const double next = (std::floor(shownMs / period) + 1) * period;
  const double left = next - nowMs;
  return left > 1 ? static_cast<int>(std::ceil(left)) : 1;
}

double SweepElapsed(int received, double rate, bool channelTrigger) {
  if (!(rate > 0))
    return 0;
  const int taken = received - (channelTrigger ? 500 : 0);
  return taken > 0 ? taken / rate : 0;
}

std::string ElapsedText(double seconds) {
  const long total = seconds > 0 && std::isfinite(seconds) ? static_cast<long>(seconds) : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  return text;
}

} // namespace qvt
