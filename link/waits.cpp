// SPDX-License-Identifier: LGPL-2.1-or-later
// Tick counter and busy waits. Every loop reads the clock, then calls Pause() before the next
// reading, so a manual clock in tests moves on and the steady clock gives the processor away.
#include "waits.h"

#include "link_state.h"

namespace qvt::link {

namespace {
constexpr int64_t kNanosPerMs = 1'000'000;

int64_t FloorMs(int64_t nanos) {
  return nanos >= 0 ? nanos / kNanosPerMs : -((-nanos + kNanosPerMs - 1) / kNanosPerMs);
}
} // namespace

Clock& LibraryClock() {
  Clock* clock = State().clock.load(std::memory_order_acquire);
  return clock != nullptr ? *clock : State().steadyClock;
}

void SetLibraryClock(Clock* clock) { State().clock.store(clock, std::memory_order_release); }

uint32_t TickCount() { return static_cast<uint32_t>(FloorMs(LibraryClock().NowNanos())); }

TickTimer::TickTimer()
    : clock_(LibraryClock()),
      startTick_(static_cast<uint32_t>(FloorMs(clock_.NowNanos() + kNanosPerMs - 1))) {}

bool TickTimer::Reached(uint32_t ms) {
  if (ms == 0) return true;
  const auto now = static_cast<uint32_t>(FloorMs(clock_.NowNanos()));
  // The counter never runs backwards, so the signed difference is the elapsed time, across
  // the wrap too; it reads -1 until the first full tick after a start in mid-tick.
  const auto elapsed = static_cast<int32_t>(now - startTick_);
  return elapsed >= 0 && static_cast<uint32_t>(elapsed) >= ms;
}

void Delay(uint32_t ms) {
  TickTimer timer;
  while (!timer.Reached(ms)) timer.Pause();
}

bool WaitForFlag(const std::atomic<bool>& flag, bool value, uint32_t timeoutMs) {
  TickTimer timer;
  for (;;) {
    if (timer.Reached(timeoutMs)) return false;
    if (flag.load(std::memory_order_acquire) == value) return true;
    timer.Pause();
  }
}

} // namespace qvt::link
