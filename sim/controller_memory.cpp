// SPDX-License-Identifier: LGPL-2.1-or-later
// The controller memory. Most interfaces never see a firmware load, so the 64 KiB are
// allocated on the first write.
#include "controller_memory.h"

#include <algorithm>

namespace qvt::sim {

uint32_t ControllerMemory::Write(uint16_t address, const uint8_t* data, uint32_t length) {
  if (!bytes_)
    bytes_ = std::make_unique<uint8_t[]>(kSize);
  const uint32_t stored = std::min<uint32_t>(length, kSize - address);
  std::copy_n(data, stored, &bytes_[address]);
  return stored;
}

} // namespace qvt::sim
