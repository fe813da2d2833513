// Chooses the driver for a device path from QVTLINK_DEVICE.
#include "driver.h"

namespace qvt {
std::unique_ptr<Driver> OpenDriver(const std::string& path) { return OpenSimDriver(path); }
} // namespace qvt
