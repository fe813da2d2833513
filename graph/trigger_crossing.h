// SPDX-License-Identifier: GPL-3.0-or-later
// Where a sweep crossed its trigger level: the search the graph and the headless sweep share to
// put t = 0 on the trigger.
#pragma once

#include <span>

namespace qvt {

// The crossing is looked for among the samples 0 to kTriggerSearchLast: every sweep starts
// with 500 pre-trigger samples.
inline constexpr int kTriggerSearchLast = 502;

struct TTriggerCrossing {
  int Index = -1;         // the sample just before the crossing; -1 when there is none
  bool Confirmed = false; // a crossing was found and the signal around it runs the chosen way
};

// The last crossing of `level` in the `rising` direction among the samples 0..searchLast (the
// one nearest the interface's trigger at the end of the pre-trigger samples). A crossing is a
// sample past the level after one on the starting side.
TTriggerCrossing FindTriggerCrossing(std::span<const double> values, double level, bool rising,
                                     int searchLast);

// Times t[j] = (j - index) * dt for the first `count` values of `times` (at most its size).
void RetimeOnTrigger(std::span<double> times, int count, int index, double dt);

// A sweep aligned on its trigger: the crossing of `values` found as above and, when there is
// one, the first `count` times re-timed on it with their step times[1] - times[0]. The
// window's graph and the headless sweep align the same way.
TTriggerCrossing AlignOnTrigger(std::span<double> times, int count,
                                std::span<const double> values, double level, bool rising);

} // namespace qvt
