// SPDX-License-Identifier: GPL-3.0-or-later
// The headless sweep.
#include "acquire.h"

#include <algorithm>
#include <span>
#include <thread>

#include "qvt2.h"
#include "sweep_cycle.h"
#include "timebase_names.h"
#include "trigger_crossing.h"

namespace qvt {

namespace {

bool Cancelled(const TAcquireControl& control) {
  return (control.Cancel != nullptr && control.Cancel->load(std::memory_order_relaxed)) ||
         (control.Continue && !control.Continue());
}

// The samples of the sweep's window out of the whole store, as the window's time axis shows
// them: from the pre-trigger time (or 0) over the sweep's duration, moved to lie within the
// samples acquired.
void TakeWindow(const TQVT2& device, TSweep& sweep, const std::vector<double>& times,
                const std::vector<std::vector<double>>& all) {
  const double dt = 1.0 / sweep.SampleRate;
  const double duration = TimeBases()[sweep.Setup.TimeBase].SweepDuration;
  const int count = std::min<int>(device.TotalPoints(), TQVT2::kStoreSize);
  const double mini = SweepWindowStart(
      times, count, sweep.Setup.PreTrigger ? device.PreTriggerTime() : 0.0, duration);
  const double maxi = mini + duration;
  int first = count;
  int end = 0;
  for (int j = 0; j < count; ++j) {
    if (times[j] >= mini - dt / 2 && times[j] < maxi - dt / 2) {
      first = std::min(first, j);
      end = j + 1;
    }
  }
  if (first >= end)
    return;
  sweep.Time.assign(times.begin() + first, times.begin() + end);
  for (const auto& v : all)
    sweep.Volts.emplace_back(v.begin() + first, v.begin() + end);
}

} // namespace

TSweep Acquire(TQVT2& device, const TSweepSetup& setup, const TAcquireControl& control) {
  if (!device.IsOpen())
    throw TScopeError(TScopeError::TKind::Absent, "the interface is not open");
  TSweep sweep;
  sweep.Setup = ApplySetup(device, setup);
  sweep.SampleRate = device.SampleRate();
  sweep.TimeBaseLabel = TimeBaseLabelUtf8(sweep.Setup.TimeBase);
  for (int i = 0; i < 4; ++i) {
    if (sweep.Setup.Channels[i])
      sweep.Channels.push_back(i);
  }
  const bool channelTrigger = sweep.Setup.TriggerSource > 0;

  std::vector<double> times(TQVT2::kStoreSize);
  std::vector<std::vector<double>> all(sweep.Channels.size(),
                                       std::vector<double>(TQVT2::kStoreSize));
  TSweepCycle cycle(device);
  for (;;) {
    cycle.Arm(channelTrigger);
    TSweepCycle::TState state = TSweepCycle::TState::Waiting;
    int reported = -1;
    while (state == TSweepCycle::TState::Waiting) {
      if (Cancelled(control)) {
        device.StopAcquisition();
        throw TScopeError(TScopeError::TKind::Cancelled, "sweep cancelled");
      }
      state = cycle.Step();
      if (control.Progress && device.ReceivedCount != reported) {
        reported = device.ReceivedCount;
        control.Progress(std::min(reported, device.TotalPoints()), device.TotalPoints());
      }
      if (state == TSweepCycle::TState::Waiting)
        std::this_thread::sleep_for(control.PollPause);
    }
    if (state == TSweepCycle::TState::Lost) {
      device.ClosePort();
      throw TScopeError(TScopeError::TKind::Lost, "the interface was lost during the sweep");
    }

    device.FillTimes(times);
    for (size_t k = 0; k < all.size(); ++k)
      device.FillChannel(sweep.Channels[k], all[k]);
    if (!channelTrigger)
      break;
    const auto& trigger = all[static_cast<size_t>(
        std::find(sweep.Channels.begin(), sweep.Channels.end(), sweep.Setup.TriggerSource - 1) -
        sweep.Channels.begin())];
    const auto acquired =
        static_cast<size_t>(std::min<int>(device.TotalPoints(), TQVT2::kStoreSize));
    if (AlignOnTrigger(times, static_cast<int>(times.size()), std::span(trigger).first(acquired),
                       sweep.Setup.Level, sweep.Setup.Rising)
            .Confirmed)
      break;
    ++sweep.Rearmed; // not the edge that was asked for: a new sweep, as the window does
  }
  TakeWindow(device, sweep, times, all);
  return sweep;
}

} // namespace qvt
