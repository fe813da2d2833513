// SPDX-License-Identifier: GPL-3.0-or-later
// A host for tests of the virtual interface: speaks the command set through
// VirtualInterface::Request with a manual clock, as the library does through its driver.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "clock.h"
#include "options.h"
#include "protocol.h"
#include "virtual_interface.h"

namespace qvt::sim::testing {

// The options of the default scene without noise or glitches, with unit gains, so that
// codes are predictable.
Options QuietOptions();

// One acquisition set-up, in the bytes the library sends.
struct Acquisition {
  std::array<bool, 4> enabled{true, false, false, false};
  std::array<uint8_t, 4> range{};
  std::array<uint8_t, 4> input{};
  uint8_t clockSelect = 2;
  uint8_t reload = 255;
  uint16_t prescaler = 1;
  uint8_t triggerSource = 0;
  bool rising = true;
  uint16_t level = 2048;
  bool reconfigure = true;
};

class SimHost {
public:
  explicit SimHost(const Options& options = QuietOptions());

  uint32_t Write(uint32_t pipe, std::vector<uint8_t> bytes);
  std::vector<uint8_t> Read(uint32_t pipe, uint32_t length);
  // A 64-byte query with `code` (and `body` from byte 1); returns the reply, empty if none.
  std::vector<uint8_t> Query(uint8_t code, std::vector<uint8_t> body = {});
  void Start(const Acquisition& a);
  void StartGenerator(const std::vector<uint16_t>& codes, uint8_t clockIndex, uint16_t timer,
                      bool play = true);
  bool PacketReady() { return Query(kCmdDataReadyQuery).at(0) == 1; }
  // One sample packet (empty when none is committed).
  std::vector<uint8_t> ReadPacket() { return Read(kPipeSamples, device.PacketSize()); }
  // Reads packets until none is committed; returns the words, big-endian decoded.
  std::vector<uint16_t> Drain();
  // Moves device time on in steps of `stepNanos`, draining after each; returns all words.
  std::vector<uint16_t> Collect(int64_t totalNanos, int64_t stepNanos);

  ManualClock clock;
  VirtualInterface device;
};

// Signed value of a 14-bit code as the host reads it (0x2000 is +8192).
int SignedCode(uint16_t word);

} // namespace qvt::sim::testing
