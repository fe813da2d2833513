// SPDX-License-Identifier: LGPL-2.1-or-later
// The transport: pipe numbering, command codes and the exchanges every part of the library
// makes with the interface, written once against qvt::Driver.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "driver.h"

namespace qvt::link {

// Pipes, by position in the pipe table.
inline constexpr uint32_t kPipeGenerator = 0; // to interface: generator sample chunks
inline constexpr uint32_t kPipeH8Out = 1;     // to interface: H8 link bytes
inline constexpr uint32_t kPipeSamples = 2;   // from interface: sample packets
inline constexpr uint32_t kPipeH8In = 3;      // from interface: H8 link bytes
inline constexpr uint32_t kPipeCommand = 4;   // to interface: command packets
inline constexpr uint32_t kPipeReply = 5;     // from interface: command replies

// Command codes (first byte of a packet on the command pipe).
enum Command : uint8_t {
  kCmdH8ReceiveQuery = 0x00,
  kCmdGeneratorBegin = 0x01,
  kCmdGeneratorStart = 0x02,
  kCmdGeneratorStartMode1 = 0x03,
  kCmdGeneratorStop = 0x04,
  kCmdChannels = 0x05,
  kCmdTrigger = 0x06,
  kCmdSampling = 0x07,
  kCmdStartReconfigured = 0x08,
  kCmdStart = 0x09,
  kCmdStop = 0x0A,
  kCmdDataReady = 0x0B,
  kCmdIdentify = 0x0F,
  kCmdSlowStop = 0x10,
  kCmdVersion = 0x11,
  kCmdH8SendQuery = 0x13,
  kCmdH8Speed = 0x14,
  kCmdStatus = 0x15,
  kCmdWriteGains = 0x16,
};

inline constexpr uint32_t kQueryPacketSize = 64;
inline constexpr uint32_t kMaxPacketSize = 512;
using QueryPacket = std::array<uint8_t, kQueryPacketSize>;

// Takes the pipe directions from a 336-byte pipe table: pipe i reads when bit 7 of the
// endpoint address at 16 + 20 i + 2 is set. Pipes without an entry are write pipes.
void SetPipeTable(const uint8_t* table);

// One pipe transfer: a bulk read on a read pipe, a bulk write on any other. Returns the
// bytes moved (never more than length); 0 on failure or without a driver.
uint32_t PipeTransfer(Driver* driver, void* buffer, uint32_t length, uint32_t pipe);

// 1 if a transfer moved any byte, else 0.
int32_t Send(Driver* driver, const void* buffer, uint32_t length, uint32_t pipe);
uint32_t Receive(Driver* driver, void* buffer, uint32_t length, uint32_t pipe);

// A short command on the command pipe; true if any byte was written.
bool SendCommand(Driver* driver, std::initializer_list<uint8_t> bytes);

// Sends the 64-byte packet on the command pipe and reads the 64-byte reply into it (cleared
// first when clearBeforeReply). Returns the reply's byte count; 0 when either half moved
// nothing (the send failing, no read is made).
uint32_t Exchange(Driver* driver, QueryPacket& packet, bool clearBeforeReply);

// A query whose packet holds only its code: the reply's byte 0 (the code itself when the
// exchange failed, which no query takes as a yes).
uint8_t Query(Driver* driver, uint8_t code);

// The status query: reply byte 0 sign-extended, 0 when the exchange fails.
int32_t StatusQuery(Driver* driver);

// Vendor request 0xA0 writing one data byte at `value`.
void VendorByteWrite(Driver* driver, uint16_t value, uint8_t data);

// Stores bytes in the USB controller's memory at `address`.
void Download(Driver* driver, uint16_t address, const uint8_t* bytes, uint32_t count);

} // namespace qvt::link
