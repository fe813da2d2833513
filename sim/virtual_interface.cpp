// SPDX-License-Identifier: LGPL-2.1-or-later
// The virtual interface's driver side: request dispatch, the pipes, the tables, the vendor
// request and the controller-memory download, and the trace of each.
#include "virtual_interface.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "usb_descriptors.h"

namespace qvt::sim {
namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

bool IsInPipe(uint32_t pipe) {
  return pipe == kPipeSamples || pipe == kPipeH8In || pipe == kPipeReply;
}
bool IsOutPipe(uint32_t pipe) {
  return pipe == kPipeGenerator || pipe == kPipeH8Out || pipe == kPipeCommand;
}

// The device time of the unplug deadline, to the nearest nanosecond; a deadline beyond the
// longest device time is never reached.
int64_t UnplugNanos(const std::optional<double>& seconds) {
  if (!seconds)
    return std::numeric_limits<int64_t>::max();
  const double nanos = std::round(*seconds * 1e9);
  return nanos <= DeviceTime::kLimitNanos ? static_cast<int64_t>(nanos)
                                          : std::numeric_limits<int64_t>::max();
}

// splitmix64: one step of the failure sequence.
uint64_t NextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

} // namespace

VirtualInterface::VirtualInterface(const Options& options, Clock& clock)
    : bus_(options.bus),
      packetSize_(options.bus == Bus::kFull ? kFullSpeedPacket : kHighSpeedPacket),
      time_(clock, options.speed), scene_(options),
      acquisition_(scene_, generator_, options.gains, options.seed,
                   int64_t{options.stallMs} * 1'000'000),
      unplugAt_(UnplugNanos(options.unplugAfter)), failRate_(options.failRate),
      failSequence_(options.seed ^ 0x6661696C73657164ull) {
  for (size_t k = 0; k < 4; ++k) {
    const auto bits = std::bit_cast<uint32_t>(options.gains[k]);
    for (size_t b = 0; b < 4; ++b)
      gains_[4 * k + b] = static_cast<uint8_t>(bits >> (8 * b));
  }
  if (!options.trace.empty() && !trace_.Open(options.trace))
    std::fprintf(stderr, "QVTLINK_SIM: cannot open trace file \"%s\" (no trace written)\n",
                 options.trace.c_str());
}

bool VirtualInterface::Unplugged() {
  std::lock_guard lock(mutex_);
  return UnpluggedAt(time_.Now());
}

void VirtualInterface::Unplug() {
  std::lock_guard lock(mutex_);
  unplugged_ = true;
}

bool VirtualInterface::UnpluggedAt(int64_t now) {
  if (now >= unplugAt_)
    unplugged_ = true;
  return unplugged_;
}

bool VirtualInterface::DrawFailure() {
  if (failRate_ <= 0.0)
    return false;
  // 53 random bits make a uniform draw in [0, 1); a rate of 1 fails every request.
  const double draw = static_cast<double>(NextRandom(failSequence_) >> 11) * 0x1p-53;
  return draw < failRate_;
}

uint8_t VirtualInterface::ControllerByte(uint16_t address) const {
  std::lock_guard lock(mutex_);
  return controller_.Read(address);
}

bool VirtualInterface::CpuHeldInReset() const {
  std::lock_guard lock(mutex_);
  return controller_.CpuHeldInReset();
}

uint8_t VirtualInterface::H8Speed() const {
  std::lock_guard lock(mutex_);
  return h8_.Speed();
}

uint32_t VirtualInterface::Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                                   uint32_t outLength) {
  const auto* inBytes = static_cast<const uint8_t*>(in);
  auto* outBytes = static_cast<uint8_t*>(out);
  if (!inBytes)
    inLength = 0;
  if (!outBytes)
    outLength = 0;

  std::lock_guard lock(mutex_);
  const int64_t now = time_.Now();
  if (UnpluggedAt(now) || DrawFailure())
    return 0;

  if ((code == kRequestBulkRead || code == kRequestBulkWrite) && inLength >= 4) {
    const uint32_t pipe = Le32(inBytes);
    if (code == kRequestBulkWrite) {
      const uint32_t n = BulkWrite(pipe, outBytes, outLength, now);
      trace_.Write(pipe, outBytes, n);
      return n;
    }
    const uint32_t n = BulkRead(pipe, outBytes, outLength, now);
    trace_.Read(pipe, outBytes, n);
    return n;
  }

  // The input may share the output buffer; the trace shows it as it came in.
  std::vector<uint8_t> inCopy;
  if (trace_.IsOpen())
    inCopy.assign(inBytes, inBytes + inLength);
  uint32_t result = 0;
  switch (code) {
  case kRequestPipeTable:
    if (outLength >= kPipeTableBytes) {
      const auto table = PipeTable(bus_);
      std::copy(table.begin(), table.end(), outBytes);
      result = kPipeTableBytes;
    }
    break;
  case kRequestDescriptor:
    if (outLength >= kDeviceDescriptorBytes) {
      const auto descriptor = DeviceDescriptor();
      std::copy(descriptor.begin(), descriptor.end(), outBytes);
      result = kDeviceDescriptorBytes;
    }
    break;
  case kRequestVendor:
    result = VendorRequest(inBytes, inLength);
    break;
  case kRequestDownload:
    if (inLength >= 2)
      result = WriteController(static_cast<uint16_t>(inBytes[0] | (inBytes[1] << 8)), outBytes,
                               outLength);
    break;
  default:
    break;
  }
  trace_.Control(code, inCopy.data(), static_cast<uint32_t>(inCopy.size()), outBytes, outLength);
  return result;
}

uint32_t VirtualInterface::BulkWrite(uint32_t pipe, const uint8_t* data, uint32_t length,
                                     int64_t now) {
  if (!IsOutPipe(pipe) || length == 0 || controller_.CpuHeldInReset())
    return 0;
  switch (pipe) {
  case kPipeGenerator:
    generator_.AppendChunk(data, length);
    // Storing a chunk keeps the firmware busy for a moment; the status query shows it.
    busyUntilHostNanos_ = time_.HostNow() + kChunkBusyNanos;
    return length;
  case kPipeH8Out:
    return h8_.Receive(data, length);
  default:
    Command(data, length, now);
    return length;
  }
}

uint32_t VirtualInterface::BulkRead(uint32_t pipe, uint8_t* data, uint32_t length, int64_t now) {
  if (!IsInPipe(pipe) || length == 0 || controller_.CpuHeldInReset())
    return 0;
  switch (pipe) {
  case kPipeSamples:
    acquisition_.Advance(now);
    return acquisition_.ReadPacket(now, data, length, packetSize_);
  case kPipeH8In:
    return h8_.Deliver(data, std::min(length, packetSize_));
  default: {
    if (!replyPending_)
      return 0;
    const uint32_t n = std::min<uint32_t>(length, kQuerySize);
    std::copy_n(reply_.begin(), n, data);
    replyPending_ = false;
    return n;
  }
  }
}

uint32_t VirtualInterface::VendorRequest(const uint8_t* record, uint32_t length) {
  // Record: request, -, value LE16, index LE16, length LE16, direction (0 = to device), data.
  if (length < 10)
    return 0;
  const auto value = static_cast<uint16_t>(record[2] | (record[3] << 8));
  const uint32_t dataLength = record[6] | (uint32_t{record[7]} << 8);
  if (record[0] != kVendorFirmwareLoad || record[8] != 0 || dataLength == 0)
    return 0;
  // The record carries a single data byte.
  return WriteController(value, &record[9], 1);
}

uint32_t VirtualInterface::WriteController(uint16_t address, const uint8_t* data, uint32_t length) {
  const bool wasHeld = controller_.CpuHeldInReset();
  const uint32_t stored = controller_.Write(address, data, length);
  // Holding the CPU stops everything it runs; releasing it starts the firmware afresh.
  if (wasHeld != controller_.CpuHeldInReset())
    PowerOn();
  return stored;
}

void VirtualInterface::PowerOn() {
  acquisition_.Reset();
  generator_.Reset();
  h8_.Reset();
  replyPending_ = false;
  busyUntilHostNanos_ = 0;
}

} // namespace qvt::sim
