// SPDX-License-Identifier: LGPL-2.1-or-later
// Device time from the clock seam.
#include "device_time.h"

#include <cmath>

namespace qvt::sim {

DeviceTime::DeviceTime(Clock& clock, double speed)
    : clock_(clock), speed_(speed), origin_(clock.NowNanos()) {}

int64_t DeviceTime::Now() {
  const int64_t elapsed = clock_.NowNanos() - origin_;
  const int64_t scaled = speed_ == 1.0
                             ? elapsed
                             : static_cast<int64_t>(std::fmin(
                                   std::floor(static_cast<double>(elapsed) * speed_), kLimitNanos));
  // A clock that steps back (it should not) must not move the device backwards.
  if (scaled > last_)
    last_ = scaled;
  return last_;
}

} // namespace qvt::sim
