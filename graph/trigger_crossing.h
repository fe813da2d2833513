// SPDX-License-Identifier: GPL-3.0-or-later
// Where a sweep crossed its trigger level: the search the graph and the headless sweep share to
// put t = 0 on the trigger, whether the sweep is the edge that was asked for, and where its
// window of samples lies once aligned.
#pragma once

#include <span>

namespace qvt {

// The interface triggers at the end of the 500 pre-trigger samples that start every sweep:
// its trigger frame.
inline constexpr int kTriggerFrame = 500;
// The crossing is first looked for among the samples 0 to kTriggerSearchLast.
inline constexpr int kTriggerSearchLast = 502;
// Volts from the level within which the interface's comparator fires: its offset (the
// threshold calibration stores corrections below 0.5 V) and its hysteresis. After the frame a
// crossing is looked for only while the signal stays this near the level.
inline constexpr double kTriggerLevelBand = 0.6;

struct TTriggerCrossing {
  int Index = -1;         // the sample put at t = 0; -1 when there is neither frame nor crossing
  bool Confirmed = false; // the sweep is the edge that was asked for: shown, not re-armed
};

// The sample of `values` to put at t = 0, a sweep triggered on `level` in the `rising`
// direction:
// - the sample just before the last crossing among the samples 0..kTriggerSearchLast (the
//   one nearest the trigger frame); a crossing is a sample past the level after one on the
//   starting side;
// - else the one before the first crossing after them, reached while the signal stays within
//   kTriggerLevelBand of the level (the comparator's offset puts it after the frame);
// - when neither is found, or the signal over the ten samples around the crossing runs
//   against the edge, the trigger frame.
// Confirmed: on a crossing, the signal around it runs the chosen way; on the trigger frame,
// the signal around the frame does not clearly run the other way. A sweep of no more than
// kTriggerFrame values has no trigger frame: its crossing alone decides, and without one
// Index is -1 and Confirmed false.
TTriggerCrossing FindTriggerCrossing(std::span<const double> values, double level, bool rising);

// Times t[j] = (j - index) * dt for the first `count` values of `times` (at most its size).
void RetimeOnTrigger(std::span<double> times, int count, int index, double dt);

// A sweep aligned on its trigger: the sample of `values` found as above and, when there is
// one, the first `count` times re-timed on it with their step times[1] - times[0]. `values`
// holds the sweep's samples only. The window's graph and the headless sweep align the same
// way.
TTriggerCrossing AlignOnTrigger(std::span<double> times, int count, std::span<const double> values,
                                double level, bool rising);

// The start of the window of `duration` seconds shown of a sweep whose first `count` times
// (a steady step) are `times`: `wanted` (the pre-trigger time or 0), moved by as little as
// needed for the window to lie within the samples. Aligned on a crossing away from the
// trigger frame, a sweep holds fewer samples than the window asks for on one side of t = 0
// and more on the other; the window then still spans a whole sweep of samples.
double SweepWindowStart(std::span<const double> times, int count, double wanted, double duration);

} // namespace qvt
