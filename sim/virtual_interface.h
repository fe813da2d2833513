// SPDX-License-Identifier: LGPL-2.1-or-later
// The virtual interface: an in-process model of the Vexor QVT II and its USB driver. It
// answers driver requests as the kernel driver and the device would, with the scene of its
// options on the inputs. All state is guarded by one mutex, so any number of threads may call
// it at once; each request is carried out whole before the next.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "acquisition.h"
#include "clock.h"
#include "controller_memory.h"
#include "device_time.h"
#include "generator_output.h"
#include "h8_link.h"
#include "options.h"
#include "protocol.h"
#include "scene.h"
#include "trace_writer.h"

namespace qvt::sim {

class VirtualInterface {
public:
  // `clock` must outlive the interface. A trace file that cannot be opened is reported on
  // stderr and the interface runs without trace.
  VirtualInterface(const Options& options, Clock& clock);
  VirtualInterface(const VirtualInterface&) = delete;
  VirtualInterface& operator=(const VirtualInterface&) = delete;

  // Carries out one driver request. `in`/`inLength` and `out`/`outLength` have the meaning
  // the driver interface gives them per request code:
  //   pipe table, descriptor: out receives the table (at least 336 / 18 bytes), returns its size;
  //   bulk read:  in = pipe index LE32; out receives at most one packet; returns bytes read;
  //   bulk write: in = pipe index LE32; out holds the bytes; returns bytes accepted;
  //   vendor:     in = the 10-byte vendor request record; returns data bytes written;
  //   download:   in = address LE16; out holds the bytes; returns bytes stored.
  // Returns 0 for anything refused: an unknown code, a short buffer, a pipe of the wrong
  // direction, nothing to read, or any pipe transfer while the controller's CPU is in reset.
  // An unplugged interface, or a request drawn to fail, moves nothing, returns 0 and leaves
  // the device as if the request had never come; the trace shows neither.
  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out, uint32_t outLength);

  // Whether the interface is unplugged: by Unplug(), or its unplug deadline has passed. It
  // never comes back; a re-plugged device is a new interface.
  bool Unplugged();
  void Unplug();

  // Inspection, for tests and tools.
  uint32_t PacketSize() const { return packetSize_; }
  uint8_t ControllerByte(uint16_t address) const;
  bool CpuHeldInReset() const;
  uint8_t H8Speed() const;

private:
  static constexpr int64_t kChunkBusyNanos = 200'000;

  uint32_t BulkWrite(uint32_t pipe, const uint8_t* data, uint32_t length, int64_t now);
  uint32_t BulkRead(uint32_t pipe, uint8_t* data, uint32_t length, int64_t now);
  uint32_t VendorRequest(const uint8_t* record, uint32_t length);
  uint32_t WriteController(uint16_t address, const uint8_t* data, uint32_t length);
  void PowerOn();
  bool UnpluggedAt(int64_t now);
  bool DrawFailure();

  // Command decoding (virtual_interface_commands.cpp).
  void Command(const uint8_t* packet, uint32_t length, int64_t now);
  void Query(const uint8_t* packet, uint32_t length, int64_t now);

  mutable std::mutex mutex_;
  const Bus bus_;
  const uint32_t packetSize_;
  DeviceTime time_;
  Scene scene_;
  GeneratorOutput generator_;
  AcquisitionEngine acquisition_;
  H8Link h8_;
  ControllerMemory controller_;
  TraceWriter trace_;

  std::array<uint8_t, 16> gains_{}; // four LE floats, as identify returns them
  std::array<uint8_t, kQuerySize> reply_{};
  bool replyPending_ = false;
  int64_t busyUntilHostNanos_ = 0;

  // Faults.
  const int64_t unplugAt_; // device time; INT64_MAX: never
  bool unplugged_ = false;
  const double failRate_;
  uint64_t failSequence_; // started from the seed, apart from the noise sequences
};

} // namespace qvt::sim
