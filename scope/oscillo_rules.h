// SPDX-License-Identifier: GPL-3.0-or-later
// Small rules of the oscilloscope window that need no widget: the ranges, the trigger source,
// the choice of the interface's input range, the trigger-level step and the elapsed-time text of
// slow sweeps.
#pragma once

#include <array>
#include <string>

namespace qvt {

// Full scale in volts of the range list's positions "50 mV" ... "15 V".
inline constexpr std::array<double, 8> kRangeVolts{0.05, 0.1, 0.2, 0.5, 1, 2, 5, 15};

// The trigger source a sweep uses: `asked` (0 none, 1 to 4 for channels 0 to 3), or the first
// active channel when the asked one is off; 0 for a source outside 0 to 4 or no active channel.
int TriggerSourceFor(int asked, const std::array<bool, 4>& active);

// The interface's wide input range is needed when either bound of the displayed scale
// reaches 5 V in magnitude.
bool NeedsWideRange(double mini, double maxi);

// One step of the trigger threshold converter, volts.
inline constexpr double kThresholdStep = 30.0 / 4096.0;

// Time bases above this index are drawn while their samples arrive.
inline constexpr int kLastFastTimeBase = 15;
// Time bases above this index show the elapsed time of the sweep.
inline constexpr int kLastTimeBaseWithoutClock = 17;

// The oscilloscope polls every 110 ms, except with the fast display for the fast time bases in
// continuous sweeps, which is paced on the screen (a single shot or a slow sweep gains nothing
// from it).
inline constexpr int kWrittenPollMs = 110;
bool PacedOnScreen(bool fastDisplay, int timeBase, bool singleShot);

// The fast display is paced on the screen: the interface is polled as its data comes and a
// sweep is shown at most once a frame. Frames are counted from the clock's origin, `refreshHz`
// a second (a rate outside 30-240 Hz, as a virtual screen may report, is taken as 60). The
// wait, ms, before the next poll at `nowMs` when the last sweep was shown at `shownMs` (< 0:
// none yet): until the frame after the shown one begins, rounded up, and at least 1 ms.
int FramePollDelayMs(double nowMs, double shownMs, double refreshHz);

// The seconds of a sweep done when `received` samples have arrived at `rate` per second:
// counted from the trigger (sample 500) with a channel trigger, from the first sample
// without; never negative.
double SweepElapsed(int received, double rate, bool channelTrigger);

// "hh:mm:ss" of a number of seconds (whole seconds, hours not wrapped).
std::string ElapsedText(double seconds);

} // namespace qvt
