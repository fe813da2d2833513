// SPDX-License-Identifier: LGPL-2.1-or-later
// The driver interface of the device-link library: every exchange with the interface is one
// driver request, as the kernel driver of the interface defines them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qvt {

// Request codes (device type 0x22, function, transfer method).
inline constexpr uint32_t kRequestPipeTable = 0x222000;   // in/out: the 336-byte pipe table
inline constexpr uint32_t kRequestDescriptor = 0x222004;  // in/out: the 18-byte device descriptor
inline constexpr uint32_t kRequestVendor = 0x222014;      // in: the 10-byte vendor request record
inline constexpr uint32_t kRequestBulkRead = 0x22204E;    // in: 4-byte pipe index; out: data read
inline constexpr uint32_t kRequestBulkWrite = 0x222051;   // in: 4-byte pipe index; out: data to write
inline constexpr uint32_t kRequestDownload = 0x22206D;    // in: 2-byte address LE; out: bytes to store

inline constexpr uint32_t kPipeTableSize = 336;
inline constexpr uint32_t kDescriptorSize = 18;

class Driver {
public:
  virtual ~Driver() = default;
  // Carries out one request. `in` holds inLength bytes for the driver; `out` is the output
  // buffer of outLength bytes (filled by reads, holding the data for writes and downloads).
  // Returns the number of bytes transferred: bytes read into `out`, bytes written from it,
  // or bytes returned for the table requests; 0 when nothing moved or the request failed.
  virtual uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                           uint32_t outLength) = 0;
};

// Opens the device at `path` ("\\.\" followed by the device name, as the library forms it)
// with the driver chosen by the environment variable QVTLINK_DEVICE: "sim" for the virtual
// interface, "usb" for libusb (the default on Linux), "win32" for the kernel driver (the
// default on Windows). Returns nullptr when the device is absent or cannot be opened.
std::unique_ptr<Driver> OpenDriver(const std::string& path);

// The individual drivers, for OpenDriver and for tests.
std::unique_ptr<Driver> OpenSimDriver(const std::string& path);
std::unique_ptr<Driver> OpenUsbDriver(const std::string& path);
std::unique_ptr<Driver> OpenWin32Driver(const std::string& path);

} // namespace qvt
