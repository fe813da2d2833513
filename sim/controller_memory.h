// SPDX-License-Identifier: LGPL-2.1-or-later
// The USB controller's memory as the firmware load sees it: 64 KiB of RAM with the CPU reset
// register at 0xE600 (bit 0 set holds the CPU in reset).
#pragma once

#include <cstdint>
#include <memory>

namespace qvt::sim {

class ControllerMemory {
public:
  static constexpr uint32_t kSize = 65536;
  static constexpr uint16_t kCpuResetRegister = 0xE600;

  // Stores `length` bytes from `address`; bytes that would pass 0xFFFF are dropped. Returns
  // the count stored.
  uint32_t Write(uint16_t address, const uint8_t* data, uint32_t length);
  uint8_t Read(uint16_t address) const { return bytes_ ? bytes_[address] : 0; }
  bool CpuHeldInReset() const { return (Read(kCpuResetRegister) & 1) != 0; }

private:
  std::unique_ptr<uint8_t[]> bytes_; // zero-filled on the first write
};

} // namespace qvt::sim
