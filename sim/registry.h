// SPDX-License-Identifier: LGPL-2.1-or-later
// The process-wide virtual interfaces "VexorQVT2-0" to "VexorQVT2-3", as the sim driver finds them.
#pragma once

#include <memory>
#include <string_view>

#include "clock.h"

namespace qvt::sim {

class VirtualInterface;

// The interface of that name, built on first use with the options of QVTLINK_SIM and the
// current clock; nullptr for any other name. It lives until ResetInterfaces() or the end
// of the process, so what a client wrote to it (gains, a running generator) outlives a close.
VirtualInterface* FindInterface(std::string_view name);

// The same interface as FindInterface, shared: it stays alive for the holder even after
// ResetInterfaces(), so a driver holding it never uses a destroyed interface.
std::shared_ptr<VirtualInterface> ShareInterface(std::string_view name);

// The clock later-built interfaces follow; nullptr returns to the steady clock.
void SetClock(Clock* clock);

// Forgets every interface; the next FindInterface builds it anew (options read again).
void ResetInterfaces();

// Unplugs "VexorQVT2-<index>" now (building it first if need be): every request on it returns
// 0 from now on and the sim driver no longer opens it. Indexes outside 0..3 do nothing.
void UnplugInterface(int index);

// Plugs a fresh "VexorQVT2-<index>" in, at power-on, built from QVTLINK_SIM as it is now but
// without its unplug deadline. The interface it replaces is unplugged, so drivers opened on it
// stay dead, as a USB handle does after a re-plug. Indexes outside 0..3 do nothing.
void PlugInterface(int index);

} // namespace qvt::sim
