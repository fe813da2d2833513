// SPDX-License-Identifier: GPL-3.0-or-later
// One sweep's cycle.
#include "sweep_cycle.h"

#include "qvt2.h"

namespace qvt {

void TSweepCycle::Arm(bool channelTrigger) {
  Device.StartAcquisition();
  Watch.Start(TLinkWatch::Clock::now(), !channelTrigger);
}

TSweepCycle::TState TSweepCycle::Step(const std::function<bool(int)>& onPacket) {
  while (Device.Poll()) {
    if (Device.IsFinished())
      return TState::Finished;
    if (onPacket && !onPacket(Device.ReceivedCount))
      return TState::Stopped;
  }
  if (Device.IsFinished())
    return TState::Finished;
  const bool lost = Watch.Lost(Device.ReceivedCount, Device.SampleRate(), TLinkWatch::Clock::now(),
                               [this] { return Device.Answers(); });
  return lost ? TState::Lost : TState::Waiting;
}

} // namespace qvt
