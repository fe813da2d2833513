// SPDX-License-Identifier: LGPL-2.1-or-later
// The transfer primitive and the command/reply convention.
#include "transport.h"

#include <algorithm>

#include "link_state.h"

namespace qvt::link {

namespace {
constexpr uint32_t kPipeTableHeader = 16;
constexpr uint32_t kPipeEntrySize = 20;
constexpr uint32_t kPipeEntries = 16;
constexpr uint8_t kVendorFirmwareLoad = 0xA0;
} // namespace

void SetPipeTable(const uint8_t* table) {
  uint16_t reads = 0;
  for (uint32_t i = 0; i < kPipeEntries; ++i) {
    if (table[kPipeTableHeader + kPipeEntrySize * i + 2] & 0x80) reads |= static_cast<uint16_t>(1u << i);
  }
  State().readPipes.store(reads, std::memory_order_release);
}

uint32_t PipeTransfer(Driver* driver, void* buffer, uint32_t length, uint32_t pipe) {
  if (driver == nullptr) return 0;
  // The driver takes the pipe index as a 32-bit value holding its low 8 bits.
  const uint32_t index = pipe & 0xFF;
  const uint8_t in[4] = {static_cast<uint8_t>(index), 0, 0, 0};
  // An index past the table's 16 entries has no endpoint: it is a write pipe.
  const bool read = index < kPipeEntries &&
                    (State().readPipes.load(std::memory_order_acquire) >> index & 1u) != 0;
  const uint32_t moved = driver->Request(read ? kRequestBulkRead : kRequestBulkWrite, in,
                                         sizeof in, buffer, length);
  return std::min(moved, length);
}

int32_t Send(Driver* driver, const void* buffer, uint32_t length, uint32_t pipe) {
  return PipeTransfer(driver, const_cast<void*>(buffer), length, pipe) != 0 ? 1 : 0;
}

uint32_t Receive(Driver* driver, void* buffer, uint32_t length, uint32_t pipe) {
  return PipeTransfer(driver, buffer, length, pipe);
}

bool SendCommand(Driver* driver, std::initializer_list<uint8_t> bytes) {
  uint8_t packet[16] = {};
  const auto n = static_cast<uint32_t>(std::min(bytes.size(), sizeof packet));
  std::copy_n(bytes.begin(), n, packet);
  return Send(driver, packet, n, kPipeCommand) != 0;
}

uint32_t Exchange(Driver* driver, QueryPacket& packet, bool clearBeforeReply) {
  if (Send(driver, packet.data(), kQueryPacketSize, kPipeCommand) == 0) return 0;
  if (clearBeforeReply) packet.fill(0);
  return Receive(driver, packet.data(), kQueryPacketSize, kPipeReply);
}

uint8_t Query(Driver* driver, uint8_t code) {
  QueryPacket packet{};
  packet[0] = code;
  Exchange(driver, packet, false);
  return packet[0];
}

int32_t StatusQuery(Driver* driver) {
  QueryPacket packet{};
  packet[0] = kCmdStatus;
  if (Exchange(driver, packet, true) == 0) return 0;
  return static_cast<int8_t>(packet[0]);
}

void VendorByteWrite(Driver* driver, uint16_t value, uint8_t data) {
  if (driver == nullptr) return;
  // Request, (unused), value, index, data-stage length, direction (0 = to interface), data.
  const uint8_t record[10] = {kVendorFirmwareLoad, 0, static_cast<uint8_t>(value),
                              static_cast<uint8_t>(value >> 8), 0, 0, 1, 0, 0, data};
  driver->Request(kRequestVendor, record, sizeof record, nullptr, 0);
}

void Download(Driver* driver, uint16_t address, const uint8_t* bytes, uint32_t count) {
  if (driver == nullptr) return;
  const uint8_t in[2] = {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8)};
  driver->Request(kRequestDownload, in, sizeof in, const_cast<uint8_t*>(bytes), count);
}

} // namespace qvt::link
