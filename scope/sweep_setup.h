// SPDX-License-Identifier: GPL-3.0-or-later
// TSweepSetup: what a sweep is asked for, as a program without the window states it, and its
// application to the device object by the window's rules (input range from the displayed
// range, the first active channel triggering when the chosen one is off).
#pragma once

#include <array>

class TQVT2;

namespace qvt {

struct TSweepSetup {
  int TimeBase = 0;                             // index into TimeBases()
  std::array<bool, 4> Channels{true, false, false, false};
  std::array<int, 4> Range{7, 7, 7, 7};         // index into kRangeVolts ("50 mV" .. "15 V")
  std::array<bool, 4> Positive{};               // 0 .. +range instead of -range .. +range
  std::array<bool, 4> InputYD{};                // the YD input instead of the BNC one
  int TriggerSource = 0;                        // 0: none (starts at once); 1..4: channel 0..3
  bool Rising = true;
  double Level = 0;                             // volts
  bool PreTrigger = false;                      // show the 500 samples before the trigger
};

// Sets the device for the sweep and returns the setup as applied: at least one channel (0
// when none is asked), the trigger on the first active channel when its own is off, the
// level as the converter holds it. Throws std::out_of_range for a time base or a range index
// out of the lists.
TSweepSetup ApplySetup(TQVT2& device, const TSweepSetup& setup);

} // namespace qvt
