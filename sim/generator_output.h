// SPDX-License-Identifier: LGPL-2.1-or-later
// The generator output G0: the loaded table of 14-bit codes played at the programmed rate.
#pragma once

#include <cstdint>
#include <vector>

namespace qvt::sim {

class GeneratorOutput {
public:
  static constexpr uint32_t kMaxPoints = 16000;

  GeneratorOutput();

  // Command 0x01: stops the output and empties the table.
  void BeginTable();
  // A chunk on the generator pipe: little-endian codes appended to the table (codes above
  // 16383 read as 16383; an odd last byte and codes past kMaxPoints are dropped).
  void AppendChunk(const uint8_t* bytes, uint32_t length);
  // Commands 0x02/0x03: sets the clock (index above 2 reads as 2) and timer; `play` starts
  // the output from the first code at `nowNanos`, otherwise the output stays stopped.
  void Start(int64_t nowNanos, uint8_t clockIndex, uint16_t timer, bool play);
  // Command 0x04.
  void Stop();
  // Everything back to power-on: stopped, empty.
  void Reset();

  // Volts at G0 at device time `nanos`: 0 V while stopped or with an empty table.
  double VoltsAt(int64_t nanos) const;

  bool Playing() const { return playing_; }
  uint32_t Points() const { return static_cast<uint32_t>(table_.size()); }
  // Codes per second while playing.
  double CodeRate() const;

private:
  std::vector<uint16_t> table_;
  bool playing_ = false;
  int64_t startNanos_ = 0;
  uint64_t clockMegahertz_ = 48;
  uint64_t divider_ = 1;
};

} // namespace qvt::sim
