// SPDX-License-Identifier: LGPL-2.1-or-later
// The serial link loop-back.
#include "h8_link.h"

#include <algorithm>
#include <string_view>

namespace qvt::sim {

uint32_t H8Link::Receive(const uint8_t* bytes, uint32_t length) {
  constexpr std::string_view kSpeedText = "WBAUDS ";
  if (length == kSpeedText.size() + 2 && std::equal(kSpeedText.begin(), kSpeedText.end(), bytes) &&
      bytes[7] >= '0' && bytes[7] <= '9' && bytes[8] == '\r') {
    requestedSpeed_ = bytes[7] - '0';
    return length;
  }
  if (held_.size() + length > kCapacity)
    return 0;
  held_.insert(held_.end(), bytes, bytes + length);
  return length;
}

uint32_t H8Link::Deliver(uint8_t* out, uint32_t maxBytes) {
  const auto n = static_cast<uint32_t>(std::min<size_t>(maxBytes, held_.size()));
  std::copy_n(held_.begin(), n, out);
  held_.erase(held_.begin(), held_.begin() + n);
  return n;
}

void H8Link::Reset() {
  held_.clear();
  speed_ = 0;
  requestedSpeed_ = -1;
}

} // namespace qvt::sim
