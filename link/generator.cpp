// SPDX-License-Identifier: LGPL-2.1-or-later
// The generator: loading a waveform table, starting, stopping, and the status query.
#include "generator.h"

#include <algorithm>
#include <cstdio>

#include "link_state.h"
#include "qvtlink.h"
#include "trace_files.h"
#include "transport.h"
#include "waits.h"

namespace qvt::link {
namespace {

constexpr uint32_t kBeginSettleMs = 100;
constexpr uint32_t kReadyTimeoutMs = 500;
constexpr int32_t kLargestSampleCode = 16383;

// Polls the status query until it is not 0; the time-out wins even over a last good answer.
bool WaitReady(Driver* driver, uint32_t timeoutMs) {
  TickTimer timer;
  for (;;) {
    const int32_t status = StatusQuery(driver);
    if (timer.Reached(timeoutMs)) return false;
    if (status != 0) return true;
    timer.Pause();
  }
}

} // namespace

GeneratorOutcome RunGeneratorLoad(Driver* driver, uint8_t mode, QvtGeneratorTable* table) {
  // Chunks are half a packet long; with no packet size known there is no chunk size at all.
  const int32_t packetSize = State().packetSize.load(std::memory_order_acquire);
  if (table == nullptr || packetSize <= 0) return GeneratorOutcome::NoPacketSize;

  QvtGeneratorTable& t = *table;
  t.count = std::clamp<int32_t>(t.count, 0, QVT_GENERATOR_SAMPLES);
  if (t.clockIndex > 2) t.clockIndex = 2;
  t.timerValue = std::clamp<int32_t>(t.timerValue, 0, 65535);
  if (t.count == 0) return GeneratorOutcome::Empty;

  SendCommand(driver, {kCmdGeneratorBegin});
  Delay(kBeginSettleMs);
  std::FILE* trace = OpenTrace(TraceFile::Receive, "w+");
  const int32_t chunkLimit = std::min<int32_t>(packetSize, kMaxPacketSize) / 2;
  int32_t i = 0;
  while (t.count > 0) {
    const int32_t chunk = std::min(t.count, chunkLimit);
    uint8_t buffer[kMaxPacketSize] = {};
    for (int32_t j = 0; j < chunk; ++j, ++i) {
      const int32_t v = std::min(t.samples[i], kLargestSampleCode);
      buffer[2 * j] = static_cast<uint8_t>(v & 0xFF);
      buffer[2 * j + 1] = static_cast<uint8_t>(v >> 8 & 0xFF);
      if (trace != nullptr) std::fprintf(trace, "%X %X\n", buffer[2 * j], buffer[2 * j + 1]);
    }
    // A chunk the interface did not take would leave a hole in the wave: the load stops there
    // as for an interface that is not ready, the count telling what was not sent.
    if (Send(driver, buffer, static_cast<uint32_t>(2 * chunk), kPipeGenerator) == 0 ||
        !WaitReady(driver, kReadyTimeoutMs)) {
      if (trace != nullptr) std::fclose(trace);
      return GeneratorOutcome::NotReady;
    }
    t.count -= chunk;
  }
  if (trace != nullptr) std::fclose(trace);
  SendCommand(driver, {mode == 1 ? kCmdGeneratorStartMode1 : kCmdGeneratorStart, t.clockIndex,
                       static_cast<uint8_t>(t.timerValue & 0xFF), static_cast<uint8_t>(t.timerValue >> 8 & 0xFF), 0});
  return GeneratorOutcome::Started;
}

} // namespace qvt::link

using namespace qvt::link;

namespace {

int32_t StartGenerator(int32_t handle, unsigned char mode, QvtGeneratorTable* table) {
  auto& s = State();
  if (s.running.load(std::memory_order_acquire)) {
    s.generatorMode.store(mode, std::memory_order_relaxed);
    s.generatorTable.store(table, std::memory_order_release);
    s.jobGeneratorLoad.store(true, std::memory_order_release);
  } else {
    RunGeneratorLoad(PortDriver(handle).get(), mode, table);
  }
  return 0;
}

int32_t StopGenerator(int32_t handle) {
  auto& s = State();
  if (s.running.load(std::memory_order_acquire)) {
    s.jobGeneratorStop.store(true, std::memory_order_release);
    return 0;
  }
  return SendCommand(PortDriver(handle).get(), {kCmdGeneratorStop}) ? 1 : 0;
}

} // namespace

extern "C" {

int32_t QVTLINK_STDCALL LanceGenerateur(int32_t handle, unsigned char mode, QvtGeneratorTable* table) {
  return StartGenerator(handle, mode, table);
}
int32_t QVTLINK_CDECL _LanceGenerateur(int32_t handle, unsigned char mode, QvtGeneratorTable* table) {
  return StartGenerator(handle, mode, table);
}

int32_t QVTLINK_STDCALL StopGenerateur(int32_t handle) { return StopGenerator(handle); }
int32_t QVTLINK_CDECL _StopGenerateur(int32_t handle) { return StopGenerator(handle); }

int32_t QVTLINK_CDECL _IsBusy(int32_t handle) { return StatusQuery(PortDriver(handle).get()); }

} // extern "C"
