// SPDX-License-Identifier: LGPL-2.1-or-later
// The testing hooks: the library's clock, the virtual interfaces and the driver opener behind
// its handles.
#include "qvtlink_testing.h"

#include "link_state.h"
#include "registry.h"
#include "waits.h"

namespace qvt::testing {

void UseClock(Clock* clock) {
  link::SetLibraryClock(clock);
  sim::SetClock(clock);
}

void ResetVirtualInterfaces() { sim::ResetInterfaces(); }

void UnplugVirtualInterface(int index) {
  sim::UnplugInterface(index);
}

void PlugVirtualInterface(int index) {
  sim::PlugInterface(index);
}

void UseDriverOpener(DriverOpener opener) {
  auto& s = link::State();
  std::lock_guard lock(s.portMutex);
  s.opener = std::move(opener);
}

} // namespace qvt::testing
