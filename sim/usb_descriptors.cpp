// SPDX-License-Identifier: LGPL-2.1-or-later
// The pipe table and device descriptor.
//
// Header: length LE16 (16 + 20 n), interface number, alternate setting, class, subclass,
// protocol, reserved, interface handle LE32, pipe count LE32. Entry: maximum packet size LE16,
// endpoint address, interval, pipe type LE32 (2 = bulk), pipe handle LE32, maximum transfer
// size LE32, flags LE32. The handles are kernel objects of a real driver; there are none here,
// so they read 0, as the libusb driver writes them.
//
// Endpoints follow the EZ-USB layout: EP1 (64-byte packets) carries commands and replies,
// EP2/EP4 OUT the generator and serial-link data, EP6/EP8 IN the samples and serial-link data.
#include "usb_descriptors.h"

#include "protocol.h"

namespace qvt::sim {
namespace {

void PutLe16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

void PutLe32(uint8_t* at, uint32_t v) {
  PutLe16(at, v);
  PutLe16(at + 2, v >> 16);
}

constexpr uint16_t kVendorId = 0x1209;
constexpr uint16_t kProductId = 0x5156;
constexpr uint32_t kBulk = 2;
constexpr uint32_t kMaxTransfer = 65536;

} // namespace

std::array<uint8_t, kPipeTableBytes> PipeTable(Bus bus) {
  std::array<uint8_t, kPipeTableBytes> t{};
  const auto count = static_cast<uint32_t>(kEndpointAddresses.size());
  PutLe16(&t[0], 16 + 20 * count);
  t[2] = 0;    // interface number
  t[3] = 0;    // alternate setting
  t[4] = 0xFF; // vendor-specific class, subclass and protocol
  t[5] = 0xFF;
  t[6] = 0xFF;
  PutLe32(&t[12], count);
  const uint32_t bulkPacket = bus == Bus::kFull ? kFullSpeedPacket : kHighSpeedPacket;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t* e = &t[16 + 20 * i];
    const uint8_t address = kEndpointAddresses[i];
    PutLe16(e, (address & 0x0F) == 1 ? kQuerySize : bulkPacket);
    e[2] = address;
    e[3] = 0; // interval: not used by bulk pipes
    PutLe32(e + 4, kBulk);
    PutLe32(e + 12, kMaxTransfer);
  }
  return t;
}

std::array<uint8_t, kDeviceDescriptorBytes> DeviceDescriptor() {
  std::array<uint8_t, kDeviceDescriptorBytes> d{};
  d[0] = kDeviceDescriptorBytes;
  d[1] = 1;               // device descriptor
  PutLe16(&d[2], 0x0200); // USB 2.0, whichever bus it is plugged into
  d[4] = 0;               // class given per interface
  d[5] = 0;
  d[6] = 0;
  d[7] = 64; // control endpoint packet size
  PutLe16(&d[8], kVendorId);
  PutLe16(&d[10], kProductId);
  PutLe16(&d[12], 0x0100); // device release 1.00
  d[14] = 1;               // manufacturer string
  d[15] = 2;               // product string
  d[16] = 0;               // no serial number
  d[17] = 1;               // one configuration
  return d;
}

} // namespace qvt::sim
