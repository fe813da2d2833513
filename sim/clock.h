// SPDX-License-Identifier: LGPL-2.1-or-later
// The time seam shared by the virtual interface and the device-link library's waits.
//
// The library's busy waits read NowNanos() and call Pause() between two readings.
// The steady clock follows the machine's monotonic clock and gives the processor away
// in Pause(); the manual clock stands still unless a test moves it, and moves itself on
// by a fixed step in each Pause(), so a wait of n ms lasts n ms of its time and never
// hangs a test.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace qvt {

class Clock {
public:
  virtual ~Clock() = default;
  // Nanoseconds since an arbitrary origin; never decreases.
  virtual int64_t NowNanos() = 0;
  // Called by busy waits between two readings of the clock.
  virtual void Pause() = 0;
};

class SteadyClock final : public Clock {
public:
  int64_t NowNanos() override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void Pause() override { std::this_thread::yield(); }
};

// A clock that tests move by hand. Safe to read and move from several threads.
class ManualClock final : public Clock {
public:
  explicit ManualClock(int64_t startNanos = 0, int64_t pauseStepNanos = 1'000'000)
      : now_(startNanos), pauseStep_(pauseStepNanos) {}
  int64_t NowNanos() override { return now_.load(std::memory_order_acquire); }
  void Pause() override {
    now_.fetch_add(pauseStep_.load(std::memory_order_relaxed), std::memory_order_acq_rel);
    std::this_thread::yield();
  }
  void Advance(int64_t nanos) { now_.fetch_add(nanos, std::memory_order_acq_rel); }
  void AdvanceMs(int64_t ms) { Advance(ms * 1'000'000); }
  void SetPauseStep(int64_t nanos) { pauseStep_.store(nanos, std::memory_order_relaxed); }

private:
  std::atomic<int64_t> now_;
  std::atomic<int64_t> pauseStep_;
};

} // namespace qvt
