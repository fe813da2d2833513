// SPDX-License-Identifier: LGPL-2.1-or-later
// The serial link to the interface's second microcontroller, modelled as a loop-back: what the
// host writes on the H8 OUT pipe comes back on the H8 IN pipe.
#pragma once

#include <cstdint>
#include <deque>

namespace qvt::sim {

class H8Link {
public:
  static constexpr uint32_t kCapacity = 65536; // bytes held for the host

  // True while a full high-speed packet still fits.
  bool AcceptsBytes() const { return held_.size() + 512 <= kCapacity; }
  bool BytesWaiting() const { return !held_.empty(); }

  // Bytes from the host. The speed text "WBAUDS <digit>\r", sent alone, is taken as a command
  // and not echoed. A write that does not fit is refused whole (returns 0).
  uint32_t Receive(const uint8_t* bytes, uint32_t length);
  // Up to `maxBytes` held bytes for the host, oldest first; returns the count.
  uint32_t Deliver(uint8_t* out, uint32_t maxBytes);

  // Command 0x14.
  void SetSpeed(uint8_t code) { speed_ = code; }
  uint8_t Speed() const { return speed_; }
  // The digit of the last speed text, or -1.
  int RequestedSpeed() const { return requestedSpeed_; }

  void Reset();

private:
  std::deque<uint8_t> held_;
  uint8_t speed_ = 0;
  int requestedSpeed_ = -1;
};

} // namespace qvt::sim
