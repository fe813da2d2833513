// SPDX-License-Identifier: LGPL-2.1-or-later
// The library-wide state of qvtlink, in one object that starts zeroed: clock, open ports,
// packet size and gains, filter memory, the service thread's flags and jobs, the H8 buffers.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "byte_queue.h"
#include "clock.h"
#include "driver.h"
#include "qvtlink_testing.h"
#include "qvtrecords.h"

namespace qvt::link {

struct LinkState {
  ~LinkState();

  // Time source of every wait; nullptr means steadyClock.
  std::atomic<Clock*> clock{nullptr};
  SteadyClock steadyClock;

  // Open ports: handle -> driver. A call holds its driver for its whole length, so a close
  // from another thread never pulls it away mid-transfer.
  std::mutex portMutex;
  std::map<int32_t, std::shared_ptr<Driver>> ports;
  int32_t lastHandle = 0;
  testing::DriverOpener opener;

  // Bit i set: pipe i reads from the interface (bit 7 of its endpoint address).
  std::atomic<uint16_t> readPipes{0};
  // 64 or 512 after a successful identify, 0 before.
  std::atomic<int32_t> packetSize{0};
  std::array<std::atomic<double>, QVT_CHANNELS> gains{};
  // Last raw word per channel, for the repeated-sample filter.
  std::array<std::atomic<int32_t>, QVT_CHANNELS> lastCode{};

  // Service thread. threadMutex guards `thread` itself; exitHook registers, once, the
  // process-exit hook that ends a thread a client left running.
  std::mutex threadMutex;
  std::thread thread;
  std::once_flag exitHook;
  std::atomic<bool> running{false};
  std::atomic<bool> stopThread{false};
  std::atomic<bool> busy{false};
  std::atomic<bool> h8Enabled{false};
  std::atomic<bool> jobStart{false};
  std::atomic<bool> jobStop{false};
  std::atomic<bool> jobSlowStop{false};
  std::atomic<bool> jobGeneratorLoad{false};
  std::atomic<bool> jobGeneratorStop{false};
  std::atomic<bool> dataRequest{false};
  std::atomic<QvtAcquisitionRequest*> startRequest{nullptr};
  std::atomic<QvtGeneratorTable*> generatorTable{nullptr};
  std::atomic<uint8_t> generatorMode{0};

  // H8 link: send queue and receive buffer, each guarded by its test-and-set lock.
  ByteQueue txQueue;
  ByteQueue rxBuffer;
  std::atomic_flag txLock;
  std::atomic_flag rxLock;
};

LinkState& State();

// Registers an opened driver under a new handle (never 0, never one in use).
int32_t AddPort(std::unique_ptr<Driver> driver);
// Forgets a handle; its driver is released once no call holds it.
void RemovePort(int32_t handle);

// The driver behind a handle; null for 0, unknown or closed handles.
std::shared_ptr<Driver> PortDriver(int32_t handle);

// Opens "\\.\" + name with the current driver opener; null on failure.
std::unique_ptr<Driver> OpenPortDriver(const std::string& name);

// Takes a test-and-set lock, waiting while another thread holds it.
void TakeLock(std::atomic_flag& lock);
inline bool TryLock(std::atomic_flag& lock) { return !lock.test_and_set(std::memory_order_acquire); }
inline void ReleaseLock(std::atomic_flag& lock) { lock.clear(std::memory_order_release); }

} // namespace qvt::link
