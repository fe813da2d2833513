// The controller memory.
#include "controller_memory.h"

#include <algorithm>

namespace qvt::sim {

uint32_t ControllerMemory::Write(uint16_t address, const uint8_t* data, uint32_t length) {
  const uint32_t stored = std::min<uint32_t>(length, kSize - address);
  std::copy_n(data, stored, bytes_.begin() + address);
  return stored;
}

} // namespace qvt::sim
