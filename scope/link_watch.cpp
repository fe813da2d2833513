// SPDX-License-Identifier: GPL-3.0-or-later
// The loss watch of a sweep.
#include "link_watch.h"

namespace qvt {

void TLinkWatch::Start(Clock::time_point now, bool streaming) {
  Since = now;
  LastProbe = now;
  Received = 0;
  Failures = 0;
  Streaming = streaming;
}

bool TLinkWatch::Lost(int received, double rate, Clock::time_point now,
                      const std::function<bool()>& probe) {
  if (received != Received) {
    Received = received;
    Since = now;
    Failures = 0;
    return false;
  }
  const auto silent = now - Since;
  if (Streaming || Received > 0) {
    // Samples come in without a break once a sweep has started (at once without a trigger,
    // from the trigger on with one): a silence longer than a few packets' worth is a loss.
    const auto periods = std::chrono::duration<double>(rate > 0 ? 2.0 / rate : 0.0);
    return silent > kSilence + std::chrono::duration_cast<Clock::duration>(periods);
  }
  // Waiting for the edge: silence alone says nothing, the interface is asked instead. A real
  // unplug fails every transfer, so a few failures in a row are a loss; one failed transfer
  // among answered ones is not.
  if (!probe || silent < kProbeAfter || now - LastProbe < kProbeEvery)
    return false;
  LastProbe = now;
  Failures = probe() ? 0 : Failures + 1;
  return Failures >= kProbeFailures;
}

} // namespace qvt
