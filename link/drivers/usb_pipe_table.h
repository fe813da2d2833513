// SPDX-License-Identifier: LGPL-2.1-or-later
// The pipe table of the interface's kernel driver, built from USB descriptors.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "driver.h"

namespace qvt {

// One endpoint descriptor, as the device reports it.
struct UsbEndpoint {
  uint8_t address = 0;        // bEndpointAddress: bit 7 set for device-to-host
  uint8_t attributes = 0;     // bmAttributes: bits 0-1 the transfer type
  uint16_t maxPacketSize = 0; // wMaxPacketSize
  uint8_t interval = 0;       // bInterval
};

// One interface descriptor (one alternate setting) with its endpoints in descriptor order.
struct UsbInterface {
  uint8_t number = 0;
  uint8_t alternateSetting = 0;
  uint8_t interfaceClass = 0;
  uint8_t interfaceSubClass = 0;
  uint8_t interfaceProtocol = 0;
  std::vector<UsbEndpoint> endpoints;
};

inline constexpr uint32_t kPipeTableHeaderSize = 16;
inline constexpr uint32_t kPipeEntrySize = 20;
inline constexpr uint32_t kMaxPipes = 16;
static_assert(kPipeTableHeaderSize + kMaxPipes * kPipeEntrySize == kPipeTableSize);

// The largest single bulk transfer the usb driver carries out; reported in every entry.
inline constexpr uint32_t kMaxTransferSize = 65536;

using PipeTable = std::array<uint8_t, kPipeTableSize>;

// Lays out the table for `iface`: the 16-byte header (length = 16 + 20 n LE16, interface
// number, alternate setting, class, subclass, protocol, reserved, handle LE32, pipe count LE32),
// then one 20-byte entry per endpoint in descriptor order (maximum packet size LE16, endpoint
// address, interval, pipe type LE32, handle LE32, maximum transfer size LE32, flags LE32).
// At most 16 endpoints are listed; further ones are left out. Unused entries are zero.
// Handles are kernel objects of the original driver and are written as 0.
PipeTable BuildPipeTable(const UsbInterface& iface);

} // namespace qvt
