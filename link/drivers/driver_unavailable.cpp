// SPDX-License-Identifier: LGPL-2.1-or-later
// Stands in for the driver the platform lacks: the kernel driver exists only on Windows, and
// the Windows build carries no libusb. Opening it fails as an absent device does.
#include "driver.h"

namespace qvt {
#ifdef _WIN32
std::unique_ptr<Driver> OpenUsbDriver(const std::string&) { return nullptr; }
#else
std::unique_ptr<Driver> OpenWin32Driver(const std::string&) { return nullptr; }
#endif
} // namespace qvt
