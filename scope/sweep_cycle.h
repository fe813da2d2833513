// SPDX-License-Identifier: GPL-3.0-or-later
// TSweepCycle: one sweep of the oscilloscope on the device object, without a window: arm,
// poll, watch the link, and at the end convert and align on the trigger. The window's timer
// calls Step every pass; the headless acquisition calls it in a loop.
#pragma once

#include <functional>

#include "link_watch.h"

class TQVT2;

namespace qvt {

class TSweepCycle {
public:
  enum class TState {
    Waiting,  // samples still to come
    Finished, // the sweep is complete
    Stopped,  // the packet callback asked to stop
    Lost,     // the interface is gone: the caller closes the port and tells the user
  };

  explicit TSweepCycle(TQVT2& device) : Device(device) {}

  // Starts an acquisition with the device's settings as they stand. `channelTrigger`: the
  // interface waits for an edge before it sends samples.
  void Arm(bool channelTrigger);

  // Stores what the interface has sent until it has nothing more or the sweep is complete.
  // After each packet stored (the sweep not yet complete), onPacket(received) runs; false
  // from it ends the pass with Stopped.
  TState Step(const std::function<bool(int)>& onPacket = {});

private:
  TQVT2& Device;
  TLinkWatch Watch;
};

} // namespace qvt
