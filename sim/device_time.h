// SPDX-License-Identifier: LGPL-2.1-or-later
// Device time: the clock seam scaled by the speed factor, and the integer conversions between
// nanoseconds and ticks of the interface's clocks (all whole megahertz).
#pragma once

#include <cstdint>

#include "clock.h"

namespace qvt::sim {

class DeviceTime {
public:
  // Device time is kept below 2^62 ns (146 years) so that later sums cannot overflow.
  static constexpr double kLimitNanos = 4.6e18;

  // Device time starts at 0 now and runs `speed` times as fast as `clock`.
  DeviceTime(Clock& clock, double speed);
  // Device nanoseconds since construction; never decreases.
  int64_t Now();
  // The clock's own reading, for delays that do not follow the speed factor.
  int64_t HostNow() { return clock_.NowNanos(); }

private:
  Clock& clock_;
  double speed_;
  int64_t origin_;
  int64_t last_ = 0;
};

// Whole ticks of a `megahertz` clock in `nanos` nanoseconds (nanos >= 0), without overflow for
// any span the model meets.
constexpr uint64_t TicksIn(uint64_t nanos, uint64_t megahertz) {
  return nanos / 1000 * megahertz + nanos % 1000 * megahertz / 1000;
}

// Nanoseconds (rounded down) that `ticks` ticks of a `megahertz` clock last.
constexpr uint64_t NanosOf(uint64_t ticks, uint64_t megahertz) {
  return ticks / megahertz * 1000 + ticks % megahertz * 1000 / megahertz;
}

} // namespace qvt::sim
