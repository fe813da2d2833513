// SPDX-License-Identifier: LGPL-2.1-or-later
// The generator output. Its three clocks are 48, 12 and 4 MHz; clock 0 steps the table once
// per tick, clocks 1 and 2 once per (65536 - timer) ticks, so one period of a table of n
// codes lasts n / clock or n * (65536 - timer) / clock seconds.
#include "generator_output.h"

#include <algorithm>

#include "device_time.h"

namespace qvt::sim {
namespace {

constexpr uint64_t kClockMegahertz[3] = {48, 12, 4};
constexpr double kCodeAtZeroVolts = 8192.0;
constexpr double kCodesPerVolt = 819.2; // the code falls as the voltage rises

} // namespace

GeneratorOutput::GeneratorOutput() {
  table_.reserve(kMaxPoints);
}

void GeneratorOutput::BeginTable() {
  playing_ = false;
  table_.clear();
}

void GeneratorOutput::AppendChunk(const uint8_t* bytes, uint32_t length) {
  for (uint32_t i = 0; i + 1 < length && table_.size() < kMaxPoints; i += 2) {
    const uint32_t code = bytes[i] | (uint32_t{bytes[i + 1]} << 8);
    table_.push_back(static_cast<uint16_t>(std::min<uint32_t>(code, 16383)));
  }
}

void GeneratorOutput::Start(int64_t nowNanos, uint8_t clockIndex, uint16_t timer, bool play) {
  const uint8_t index = std::min<uint8_t>(clockIndex, 2);
  clockMegahertz_ = kClockMegahertz[index];
  divider_ = index == 0 ? 1 : 65536u - timer;
  startNanos_ = nowNanos;
  playing_ = play;
}

void GeneratorOutput::Stop() {
  playing_ = false;
}

void GeneratorOutput::Reset() {
  BeginTable();
  clockMegahertz_ = 48;
  divider_ = 1;
}

double GeneratorOutput::VoltsAt(int64_t nanos) const {
  if (!playing_ || table_.empty() || nanos < startNanos_)
    return 0.0;
  const uint64_t steps =
      TicksIn(static_cast<uint64_t>(nanos - startNanos_), clockMegahertz_) / divider_;
  const uint16_t code = table_[steps % table_.size()];
  return (kCodeAtZeroVolts - code) / kCodesPerVolt;
}

double GeneratorOutput::CodeRate() const {
  return static_cast<double>(clockMegahertz_) * 1e6 / static_cast<double>(divider_);
}

} // namespace qvt::sim
