// SPDX-License-Identifier: LGPL-2.1-or-later
// Chooses the driver for a device path from QVTLINK_DEVICE: "sim", "usb" or "win32"; unset or
// empty picks the platform's own (the kernel driver on Windows, libusb elsewhere).
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "driver.h"

namespace qvt {

std::unique_ptr<Driver> OpenDriver(const std::string& path) {
  const char* setting = std::getenv("QVTLINK_DEVICE");
  std::string_view choice = setting ? setting : "";
  if (choice.empty()) {
#ifdef _WIN32
    choice = "win32";
#else
    choice = "usb";
#endif
  }
  if (choice == "sim")
    return OpenSimDriver(path);
  if (choice == "usb")
    return OpenUsbDriver(path);
  if (choice == "win32")
    return OpenWin32Driver(path);
  std::fprintf(stderr, "qvtlink: unknown QVTLINK_DEVICE \"%s\" (sim, usb or win32 expected)\n",
               setting);
  return nullptr;
}

} // namespace qvt
