// SPDX-License-Identifier: GPL-3.0-or-later
// The trigger crossing search.
#include "trigger_crossing.h"

#include <algorithm>

namespace qvt {

TTriggerCrossing FindTriggerCrossing(std::span<const double> v, double level, bool rising,
                                     int searchLast) {
  TTriggerCrossing found;
  const int size = static_cast<int>(v.size());
  const int last = std::min(searchLast, size - 1);
  // The interface puts its trigger at the end of the pre-trigger samples, so of the crossings
  // among the first samples the last one is nearest to it: on a periodic signal the first one
  // may lie periods earlier and would leave most of the pre-trigger part of the window empty.
  // NaN compares false both ways and never arms or crosses.
  int i = -1;
  bool armed = false;
  for (int j = 0; j <= last; ++j) {
    if (rising ? v[j] < level : v[j] > level) {
      armed = true;
    } else if (armed && (rising ? v[j] > level : v[j] < level)) {
      i = j;
      armed = false;
    }
  }
  if (i < 0)
    return found;

  // Noise can cross the level against the edge; the slope over ten samples around the
  // crossing tells whether the signal really runs the chosen way.
  const int a = std::max(i - 5, 0);
  const int b = std::min(a + 10, size - 1);
  const double slope = v[b] - v[a];
  found.Confirmed = rising ? slope > 0 : slope < 0;
  found.Index = i > 0 ? i - 1 : 0;
  return found;
}

void RetimeOnTrigger(std::span<double> times, int count, int index, double dt) {
  const int n = std::min(count, static_cast<int>(times.size()));
  for (int j = 0; j < n; ++j)
    times[j] = (j - index) * dt;
}

TTriggerCrossing AlignOnTrigger(std::span<double> times, int count,
                                std::span<const double> values, double level, bool rising) {
  const TTriggerCrossing crossing = FindTriggerCrossing(values, level, rising, kTriggerSearchLast);
  if (crossing.Index >= 0 && times.size() > 1)
    RetimeOnTrigger(times, count, crossing.Index, times[1] - times[0]);
  return crossing;
}

} // namespace qvt
