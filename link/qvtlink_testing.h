// SPDX-License-Identifier: LGPL-2.1-or-later
// Testing hooks of qvtlink: seams that let tests and benchmarks set the library's time source
// and the driver behind its handles. Visible from the shared library on Linux; not part of
// the Windows export table.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "clock.h"
#include "driver.h"
#include "qvtlink.h"

namespace qvt::testing {

// The clock the library's waits read from now on (nullptr: the steady clock). Virtual
// interfaces built afterwards follow it too. The clock must outlive its use.
QVTLINK_EXPORT void UseClock(Clock* clock);

// Forgets every virtual interface; the next open builds it anew from QVTLINK_SIM.
QVTLINK_EXPORT void ResetVirtualInterfaces();

// Unplugs the virtual interface "VexorQVT2-<index>" now: every request on it moves nothing and
// returns 0, and opening it fails as for an absent device. Indexes outside 0..3 do nothing.
QVTLINK_EXPORT void UnplugVirtualInterface(int index);

// Plugs "VexorQVT2-<index>" back in: a fresh interface at power-on, built from QVTLINK_SIM as it
// is now but without its unplug_after, so that opening works again. Ports opened before stay
// dead, as after a real re-plug: the client must open the port again. Indexes outside 0..3 do
// nothing.
QVTLINK_EXPORT void PlugVirtualInterface(int index);

// The function that opens a device path ("\\.\" + name) for SetPortOpen and SendBOOT;
// an empty function restores OpenDriver.
using DriverOpener = std::function<std::unique_ptr<Driver>(const std::string& path)>;
QVTLINK_EXPORT void UseDriverOpener(DriverOpener opener);

} // namespace qvt::testing
