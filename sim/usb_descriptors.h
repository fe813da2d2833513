// SPDX-License-Identifier: LGPL-2.1-or-later
// What the interface's generic USB driver reports about it: the pipe table of its six bulk
// endpoints and its device descriptor.
#pragma once

#include <array>
#include <cstdint>

#include "options.h"

namespace qvt::sim {

inline constexpr uint32_t kPipeTableBytes = 336;
inline constexpr uint32_t kDeviceDescriptorBytes = 18;

// Endpoint addresses of pipes 0..5 (bit 7 set for the IN pipes 2, 3, 5).
inline constexpr std::array<uint8_t, 6> kEndpointAddresses{0x02, 0x04, 0x86, 0x88, 0x01, 0x81};

// The table: a 16-byte header, then one 20-byte entry per pipe; the rest is zero.
std::array<uint8_t, kPipeTableBytes> PipeTable(Bus bus);

// The standard 18-byte device descriptor.
std::array<uint8_t, kDeviceDescriptorBytes> DeviceDescriptor();

} // namespace qvt::sim
