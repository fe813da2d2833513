// SPDX-License-Identifier: LGPL-2.1-or-later
// The interface's wire vocabulary as the device sees it: pipe numbers, command codes, sizes.
#pragma once

#include <cstdint>

namespace qvt::sim {

// Pipes in the order of the driver's pipe table.
inline constexpr uint32_t kPipeGenerator = 0; // OUT: generator table chunks
inline constexpr uint32_t kPipeH8Out = 1;     // OUT: bytes for the serial link
inline constexpr uint32_t kPipeSamples = 2;   // IN: sample packets
inline constexpr uint32_t kPipeH8In = 3;      // IN: bytes from the serial link
inline constexpr uint32_t kPipeCommand = 4;   // OUT: command packets
inline constexpr uint32_t kPipeReply = 5;     // IN: query replies
inline constexpr uint32_t kPipeCount = 6;

// Command codes, byte 0 of a packet on the command pipe.
inline constexpr uint8_t kCmdH8ReceiveQuery = 0x00;
inline constexpr uint8_t kCmdGeneratorBegin = 0x01;
inline constexpr uint8_t kCmdGeneratorLoadOnly = 0x02;
inline constexpr uint8_t kCmdGeneratorPlay = 0x03;
inline constexpr uint8_t kCmdGeneratorStop = 0x04;
inline constexpr uint8_t kCmdChannels = 0x05;
inline constexpr uint8_t kCmdTrigger = 0x06;
inline constexpr uint8_t kCmdSampling = 0x07;
inline constexpr uint8_t kCmdStartReconfigured = 0x08;
inline constexpr uint8_t kCmdStart = 0x09;
inline constexpr uint8_t kCmdStop = 0x0A;
inline constexpr uint8_t kCmdDataReadyQuery = 0x0B;
inline constexpr uint8_t kCmdIdentify = 0x0F;
inline constexpr uint8_t kCmdSlowStop = 0x10;
inline constexpr uint8_t kCmdVersion = 0x11;
inline constexpr uint8_t kCmdH8SendQuery = 0x13;
inline constexpr uint8_t kCmdH8Speed = 0x14;
inline constexpr uint8_t kCmdStatus = 0x15;
inline constexpr uint8_t kCmdWriteGains = 0x16;

// Queries are 64-byte packets answered by a 64-byte reply on the reply pipe.
inline constexpr uint32_t kQuerySize = 64;

// Packet sizes of the bulk pipes on each bus.
inline constexpr uint32_t kFullSpeedPacket = 64;
inline constexpr uint32_t kHighSpeedPacket = 512;

inline constexpr uint32_t kChannelCount = 4;

} // namespace qvt::sim

namespace qvt::sim {

// Driver request codes, as the driver interface of the library defines them.
inline constexpr uint32_t kRequestPipeTable = 0x222000;
inline constexpr uint32_t kRequestDescriptor = 0x222004;
inline constexpr uint32_t kRequestVendor = 0x222014;
inline constexpr uint32_t kRequestBulkRead = 0x22204E;
inline constexpr uint32_t kRequestBulkWrite = 0x222051;
inline constexpr uint32_t kRequestDownload = 0x22206D;

// Vendor request 0xA0 writes the controller's memory (firmware load, CPU reset register).
inline constexpr uint8_t kVendorFirmwareLoad = 0xA0;

} // namespace qvt::sim
