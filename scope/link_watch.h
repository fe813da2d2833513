// SPDX-License-Identifier: GPL-3.0-or-later
// TLinkWatch: tells an interface that is gone from one that is only quiet, during a sweep.
#pragma once

#include <chrono>
#include <functional>

namespace qvt {

class TLinkWatch {
public:
  using Clock = std::chrono::steady_clock;

  // A sweep that has started is expected to deliver samples without a break for this long
  // (plus two sample periods).
  static constexpr std::chrono::milliseconds kSilence{3000};
  // Before its trigger an interface sends nothing for as long as the edge takes to come; it is
  // then asked for its version after this much silence, every kProbeEvery, and taken for gone
  // after kProbeFailures unanswered questions in a row (a single lost request is not an unplug).
  static constexpr std::chrono::milliseconds kProbeAfter{1000};
  static constexpr std::chrono::milliseconds kProbeEvery{300};
  static constexpr int kProbeFailures = 4;

  // A new sweep: `streaming` when samples flow from the start (no channel trigger).
  void Start(Clock::time_point now, bool streaming);

  // After a poll pass: `received` samples so far at `rate` per second. `probe` asks the
  // interface whether it is there (true when it answered); it is called only while waiting
  // for a trigger. True once the interface counts as lost.
  bool Lost(int received, double rate, Clock::time_point now, const std::function<bool()>& probe);

private:
  Clock::time_point Since{};     // when the samples last grew, or the sweep started
  Clock::time_point LastProbe{}; // when the interface was last asked
  int Received = 0;
  int Failures = 0;
  bool Streaming = false;
};

} // namespace qvt
