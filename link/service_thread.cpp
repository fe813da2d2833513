// SPDX-License-Identifier: LGPL-2.1-or-later
// The service thread and its exports. One pass services the H8 link (unless an acquisition
// runs), then carries out at most one posted job of each kind in a fixed order, each only
// while the link is free, and finally hands the link to a waiting GetUSBData.
#include "service_thread.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "acquisition.h"
#include "generator.h"
#include "link_state.h"
#include "qvtlink.h"
#include "trace_files.h"
#include "transport.h"
#include "waits.h"

namespace qvt::link {
namespace {

constexpr int kReceiveQueriesPerPass = 5;
constexpr uint32_t kStopSettleMs = 100;

bool LinkFree() { return !State().busy.load(std::memory_order_acquire); }
void TakeLink() { State().busy.store(true, std::memory_order_release); }
void ReleaseLink() { State().busy.store(false, std::memory_order_release); }
bool Posted(const std::atomic<bool>& job) { return job.load(std::memory_order_acquire); }
void Withdraw(std::atomic<bool>& job) { job.store(false, std::memory_order_release); }

void TraceSent(const uint8_t* bytes, int32_t n) {
  if (std::FILE* f = OpenTrace(TraceFile::Send, "a")) {
    for (int32_t i = 0; i < n; ++i) std::fprintf(f, "%c", bytes[i]);
    std::fclose(f);
  }
}

void TraceReceived(const uint8_t* bytes, uint32_t n) {
  if (std::FILE* f = OpenTrace(TraceFile::Receive, "a")) {
    for (uint32_t i = 0; i < n; ++i) std::fprintf(f, "%d\n", static_cast<int8_t>(bytes[i]));
    std::fclose(f);
  }
  if (std::FILE* f = OpenTrace(TraceFile::Data, "a")) {
    for (uint32_t i = 0; i < n; ++i) std::fprintf(f, "%d ", bytes[i]);
    std::fclose(f);
  }
}

void TransmitH8(Driver* driver) {
  auto& s = State();
  // Writes are bounded by the packet size; until an identify gave one, bytes stay queued
  // and no query is sent.
  const int32_t packetSize = s.packetSize.load(std::memory_order_acquire);
  if (s.txQueue.Size() == 0 || packetSize <= 0 || !LinkFree() || !TryLock(s.txLock)) return;
  TakeLink();
  if (Query(driver, kCmdH8SendQuery) == 1) {
    const int32_t n = std::min(s.txQueue.Size(), packetSize);
    Send(driver, s.txQueue.Front(), static_cast<uint32_t>(n), kPipeH8Out);
    TraceSent(s.txQueue.Front(), n);
    s.txQueue.Drop(n);
  }
  ReleaseLock(s.txLock);
  ReleaseLink();
}

void ReceiveH8(Driver* driver) {
  auto& s = State();
  if (!LinkFree() || !TryLock(s.rxLock)) return;
  TakeLink();
  const auto packetSize = static_cast<uint32_t>(std::clamp<int32_t>(
      s.packetSize.load(std::memory_order_acquire), 0, static_cast<int32_t>(kMaxPacketSize)));
  for (int i = 0; i < kReceiveQueriesPerPass; ++i) {
    if (Query(driver, kCmdH8ReceiveQuery) != 1) continue;
    uint8_t packet[kMaxPacketSize];
    const uint32_t n = Receive(driver, packet, packetSize, kPipeH8In);
    // A packet that does not fit whole is dropped.
    if (n == 0 || static_cast<int32_t>(n) > s.rxBuffer.Room()) continue;
    s.rxBuffer.Append(packet, static_cast<int32_t>(n));
    TraceReceived(packet, n);
  }
  ReleaseLock(s.rxLock);
  ReleaseLink();
}

void ServiceLoop(std::shared_ptr<Driver> port) {
  auto& s = State();
  Driver* driver = port.get();
  s.running.store(true, std::memory_order_release);
  s.h8Enabled.store(true, std::memory_order_release);
  TruncateTraces();
  while (!s.stopThread.load(std::memory_order_acquire)) {
    if (s.h8Enabled.load(std::memory_order_acquire)) {
      TransmitH8(driver);
      ReceiveH8(driver);
    }
    if (Posted(s.jobSlowStop) && LinkFree()) {
      TakeLink();
      SendCommand(driver, {kCmdSlowStop});
      Withdraw(s.jobSlowStop);
      ReleaseLink();
    }
    if (Posted(s.jobStop) && LinkFree()) {
      TakeLink();
      SendCommand(driver, {kCmdStop});
      Delay(kStopSettleMs);
      s.h8Enabled.store(true, std::memory_order_release);
      Withdraw(s.jobStop);
      ReleaseLink();
    }
    if (Posted(s.jobGeneratorLoad) && LinkFree()) {
      TakeLink();
      RunGeneratorLoad(driver, s.generatorMode.load(std::memory_order_relaxed),
                       s.generatorTable.load(std::memory_order_acquire));
      Withdraw(s.jobGeneratorLoad);
      ReleaseLink();
    }
    if (Posted(s.jobGeneratorStop) && LinkFree()) {
      TakeLink();
      SendCommand(driver, {kCmdGeneratorStop});
      Withdraw(s.jobGeneratorStop);
      ReleaseLink();
    }
    if (Posted(s.jobStart) && LinkFree()) {
      TakeLink();
      s.h8Enabled.store(false, std::memory_order_release);
      if (QvtAcquisitionRequest* request = s.startRequest.load(std::memory_order_acquire)) {
        RunStartSequence(driver, request);
      }
      Withdraw(s.jobStart);
      ReleaseLink();
    }
    if (Posted(s.dataRequest) && !Posted(s.jobStart)) {
      // The link passes to the waiting GetUSBData, which releases it when it returns.
      TakeLink();
      Withdraw(s.dataRequest);
    }
  }
  s.running.store(false, std::memory_order_release);
}

void StartThread(int32_t handle) {
  auto& s = State();
  std::lock_guard lock(s.threadMutex);
  if (s.thread.joinable()) {
    // One service thread at a time: a running one keeps serving; one asked to stop is let
    // finish its pass before the new one starts.
    if (!s.stopThread.load(std::memory_order_acquire)) return;
    s.thread.join();
  }
  // Ended before the virtual interfaces and other statics it may still use go away.
  std::call_once(s.exitHook, [] { std::atexit(JoinServiceThread); });
  // A stop job still posted from an earlier run is kept: the first pass carries it out.
  for (auto* flag : {&s.stopThread, &s.busy, &s.dataRequest, &s.jobStart, &s.jobSlowStop, &s.jobGeneratorLoad,
                     &s.jobGeneratorStop}) {
    flag->store(false, std::memory_order_release);
  }
  // Both H8 counts restart at 0; the locks are only ever held for a copy, so taking them
  // here waits at most that long and leaves them free.
  TakeLock(s.txLock);
  s.txQueue.Clear();
  ReleaseLock(s.txLock);
  TakeLock(s.rxLock);
  s.rxBuffer.Clear();
  ReleaseLock(s.rxLock);
  s.thread = std::thread(ServiceLoop, PortDriver(handle));
}

} // namespace

void JoinServiceThread() {
  auto& s = State();
  std::lock_guard lock(s.threadMutex);
  if (!s.thread.joinable()) return;
  s.stopThread.store(true, std::memory_order_release);
  s.thread.join();
}

} // namespace qvt::link

using namespace qvt::link;

extern "C" {

int32_t QVTLINK_STDCALL LanceTHREAD(int32_t handle) {
  StartThread(handle);
  return 0;
}
int32_t QVTLINK_CDECL _LanceTHREAD(int32_t handle) { return LanceTHREAD(handle); }

void QVTLINK_STDCALL StopTHREAD(void) { State().stopThread.store(true, std::memory_order_release); }
void QVTLINK_CDECL _StopTHREAD(void) { StopTHREAD(); }

int32_t QVTLINK_STDCALL IsRunTHREAD(void) { return State().running.load(std::memory_order_acquire) ? 1 : 0; }
int32_t QVTLINK_CDECL _IsRunTHREAD(void) { return IsRunTHREAD(); }

} // extern "C"
