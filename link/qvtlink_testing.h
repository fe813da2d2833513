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

// The function that opens a device path ("\\.\" + name) for SetPortOpen and SendBOOT;
// an empty function restores OpenDriver.
using DriverOpener = std::function<std::unique_ptr<Driver>(const std::string& path)>;
QVTLINK_EXPORT void UseDriverOpener(DriverOpener opener);

} // namespace qvt::testing
