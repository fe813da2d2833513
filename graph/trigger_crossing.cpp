// SPDX-License-Identifier: GPL-3.0-or-later
// The trigger crossing search.
#include "trigger_crossing.h"

#include <algorithm>
#include <cmath>

namespace qvt {

namespace {

// NaN compares false both ways and never arms or crosses.
bool OnStartingSide(double v, double level, bool rising) {
  return rising ? v < level : v > level;
}

bool PastLevel(double v, double level, bool rising) {
  return rising ? v > level : v < level;
}

// The sample past the level of the crossing the header describes, or -1.
int NearCrossing(std::span<const double> v, double level, bool rising) {
  // The interface puts its trigger at the end of the pre-trigger samples, so of the crossings
  // among the first samples the last one is nearest to it: on a periodic signal the first one
  // may lie periods earlier and would leave most of the pre-trigger part of the window empty.
  // None there: the comparator's offset may have fired it before the signal reached the
  // level, on a slow edge many samples before; the crossing then follows the frame, while the
  // signal is still near the level.
  const int size = static_cast<int>(v.size());
  int crossing = -1;
  bool armed = false;
  for (int j = 0; j < size; ++j) {
    if (j > kTriggerSearchLast &&
        (crossing >= 0 || !(std::fabs(v[j] - level) <= kTriggerLevelBand)))
      break;
    if (OnStartingSide(v[j], level, rising)) {
      armed = true;
    } else if (armed && PastLevel(v[j], level, rising)) {
      crossing = j;
      armed = false;
    }
  }
  return crossing;
}

// Noise can cross the level against the edge; the slope over ten samples around the
// crossing tells whether the signal really runs the chosen way.
bool RunsTheChosenWay(std::span<const double> v, int crossing, bool rising) {
  const int a = std::max(crossing - 5, 0);
  const int b = std::min(a + 10, static_cast<int>(v.size()) - 1);
  const double slope = v[b] - v[a];
  return rising ? slope > 0 : slope < 0;
}

// Whether the signal clearly runs against the edge around the trigger frame: the mean of the
// samples from the frame on against the mean of as many before it (up to the whole
// pre-trigger part, which sees a slow edge through its noise), apart by more than three
// standard errors. The noise is estimated from the steps between samples, which an edge only
// raises: a flat or erratic record is not taken for the wrong edge.
bool RunsAgainstTheEdge(std::span<const double> v, bool rising) {
  const int size = static_cast<int>(v.size());
  const int half = std::min(kTriggerFrame, size - kTriggerFrame);
  double before = 0;
  double after = 0;
  for (int k = 0; k < half; ++k) {
    before += v[kTriggerFrame - 1 - k];
    after += v[kTriggerFrame + k];
  }
  double steps = 0;
  for (int j = kTriggerFrame - half; j + 1 < kTriggerFrame + half; ++j)
    steps += (v[j + 1] - v[j]) * (v[j + 1] - v[j]);
  const double change = (after - before) / half;
  const double noise = std::sqrt(steps / (2.0 * (2 * half - 1)));
  const double margin = 3.0 * noise * std::sqrt(2.0 / half);
  return rising ? change < -margin : change > margin;
}

} // namespace

TTriggerCrossing FindTriggerCrossing(std::span<const double> v, double level, bool rising) {
  TTriggerCrossing found;
  const int size = static_cast<int>(v.size());
  const int crossing = NearCrossing(v, level, rising);
  const bool confirmed = crossing >= 0 && RunsTheChosenWay(v, crossing, rising);
  if (confirmed || (crossing >= 0 && size <= kTriggerFrame)) {
    found.Index = crossing - 1;
    found.Confirmed = confirmed;
    return found;
  }
  if (size <= kTriggerFrame)
    return found;
  // The interface did trigger here: on a signal too slow for its level to be crossed near the
  // frame, or whose noise crossed it against the edge, the sweep is shown on the frame unless
  // it really is the other edge.
  found.Index = kTriggerFrame;
  found.Confirmed = !RunsAgainstTheEdge(v, rising);
  return found;
}

void RetimeOnTrigger(std::span<double> times, int count, int index, double dt) {
  const int n = std::min(count, static_cast<int>(times.size()));
  for (int j = 0; j < n; ++j)
    times[j] = (j - index) * dt;
}

TTriggerCrossing AlignOnTrigger(std::span<double> times, int count, std::span<const double> values,
                                double level, bool rising) {
  const TTriggerCrossing crossing = FindTriggerCrossing(values, level, rising);
  if (crossing.Index >= 0 && times.size() > 1)
    RetimeOnTrigger(times, count, crossing.Index, times[1] - times[0]);
  return crossing;
}

double SweepWindowStart(std::span<const double> times, int count, double wanted, double duration) {
  const int n = std::min(count, static_cast<int>(times.size()));
  if (n < 2)
    return wanted;
  const double latest = times[n - 1] + (times[1] - times[0]) - duration;
  return std::max(std::min(wanted, latest), times[0]);
}

} // namespace qvt
