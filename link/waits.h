// SPDX-License-Identifier: LGPL-2.1-or-later
// The library's busy waits on a 32-bit millisecond tick counter read from the library clock.
#pragma once

#include <atomic>
#include <cstdint>

#include "clock.h"

namespace qvt::link {

// The clock of every wait (the steady clock unless a test set another).
Clock& LibraryClock();
void SetLibraryClock(Clock* clock);

// Milliseconds of the library clock, wrapping at 2^32.
uint32_t TickCount();

// Measures elapsed time from its construction in whole ticks. Wrap-safe: differences are
// taken modulo 2^32 and read as signed. The start is rounded up to the next tick so that
// Reached(n) never holds before n full milliseconds have passed.
class TickTimer {
public:
  TickTimer();
  bool Reached(uint32_t ms);
  // Lets time pass between two readings.
  void Pause() { clock_.Pause(); }

private:
  Clock& clock_;
  uint32_t startTick_;
};

// Busy-waits at least ms milliseconds (Delay(0) returns at once).
void Delay(uint32_t ms);

// Busy-waits until flag == value (true) or timeoutMs have passed (false).
bool WaitForFlag(const std::atomic<bool>& flag, bool value, uint32_t timeoutMs);

} // namespace qvt::link
