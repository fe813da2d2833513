// Placeholder until the libusb driver lands.
#include "driver.h"

namespace qvt {
std::unique_ptr<Driver> OpenUsbDriver(const std::string&) { return nullptr; }
std::unique_ptr<Driver> OpenWin32Driver(const std::string&) { return nullptr; }
} // namespace qvt
