// SPDX-License-Identifier: LGPL-2.1-or-later
// Builds the kernel driver's pipe table from the descriptors of interface 0.
#include "usb_pipe_table.h"

#include <algorithm>

namespace qvt {
namespace {

void PutLe16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(uint8_t* at, uint32_t value) {
  PutLe16(at, value);
  PutLe16(at + 2, value >> 16);
}

} // namespace

PipeTable BuildPipeTable(const UsbInterface& iface) {
  PipeTable table{};
  const auto count =
      static_cast<uint32_t>(std::min<size_t>(iface.endpoints.size(), kMaxPipes));

  uint8_t* header = table.data();
  // The length covers the header and the filled entries only, as the kernel driver reports it.
  PutLe16(header + 0, kPipeTableHeaderSize + kPipeEntrySize * count);
  header[2] = iface.number;
  header[3] = iface.alternateSetting;
  header[4] = iface.interfaceClass;
  header[5] = iface.interfaceSubClass;
  header[6] = iface.interfaceProtocol;
  PutLe32(header + 12, count);

  for (uint32_t i = 0; i < count; ++i) {
    const UsbEndpoint& ep = iface.endpoints[i];
    uint8_t* entry = table.data() + kPipeTableHeaderSize + kPipeEntrySize * i;
    PutLe16(entry + 0, ep.maxPacketSize);
    entry[2] = ep.address;
    entry[3] = ep.interval;
    // The pipe type numbers (control 0, isochronous 1, bulk 2, interrupt 3) are those of the
    // transfer type bits of bmAttributes.
    PutLe32(entry + 4, ep.attributes & 0x03u);
    PutLe32(entry + 12, kMaxTransferSize);
  }
  return table;
}

} // namespace qvt
