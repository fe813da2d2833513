// SPDX-License-Identifier: GPL-3.0-or-later
// The 26 time bases of the oscilloscope: label, sampling clock programming, sweep length.
#pragma once

#include <array>
#include <cstdint>

struct TTimeBase {
  const char* Label;    // 8-bit text of the "Durée" box ("µ" is the byte 0xB5)
  uint8_t ClockSelect;  // 0, 1, 2: 6 MHz, 2 MHz, 10 MHz sample clock
  uint8_t Reload;       // one timer period is 256 - Reload clock ticks
  int32_t Prescaler;    // timer periods per sample
  int32_t SweepPoints;  // displayed samples; 500 more are acquired before them
  double SweepDuration; // seconds
};

inline constexpr int kTimeBaseCount = 26;

// The table, index 0 ("10 µs") to 25 ("1 h").
const std::array<TTimeBase, kTimeBaseCount>& TimeBases();

// Sample clock in Hz of a clock select value (0 for a value the interface does not know).
double SampleClockHz(uint8_t clockSelect);
