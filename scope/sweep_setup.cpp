// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a sweep setup to the device object.
#include "sweep_setup.h"

#include <stdexcept>

#include "oscillo_rules.h"
#include "qvt2.h"

namespace qvt {

TSweepSetup ApplySetup(TQVT2& device, const TSweepSetup& asked) {
  TSweepSetup s = asked;
  for (int r : s.Range) {
    if (r < 0 || r >= static_cast<int>(kRangeVolts.size()))
      throw std::out_of_range("range index " + std::to_string(r));
  }
  device.SetTimeBase(s.TimeBase);
  if (s.Channels == std::array<bool, 4>{})
    s.Channels[0] = true;
  for (int i = 0; i < 4; ++i) {
    device.SetChannelEnabled(i, s.Channels[i] ? 1 : 0);
    if (!s.Channels[i])
      continue;
    device.SetInputYD(i, s.InputYD[i] ? 1 : 0);
    const double maxi = kRangeVolts[s.Range[i]];
    device.SetHighRange(i, NeedsWideRange(s.Positive[i] ? 0 : -maxi, maxi));
  }
  s.TriggerSource = TriggerSourceFor(s.TriggerSource, s.Channels);
  if (s.TriggerSource == 0)
    s.PreTrigger = false;
  device.SetTriggerSource(static_cast<uint8_t>(s.TriggerSource));
  device.SetRisingEdge(s.Rising ? 1 : 0);
  device.SetThreshold(s.Level);
  s.Level = device.Threshold();
  return s;
}

} // namespace qvt
