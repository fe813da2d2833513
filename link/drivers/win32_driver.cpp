// SPDX-License-Identifier: LGPL-2.1-or-later
// The win32 driver: hands every request to the interface's kernel driver with DeviceIoControl.
#include <windows.h>

#include "driver.h"

namespace qvt {
namespace {

class Win32Driver final : public Driver {
public:
  Win32Driver(HANDLE device, HANDLE event) : device_(device), event_(event) {}
  Win32Driver(const Win32Driver&) = delete;
  Win32Driver& operator=(const Win32Driver&) = delete;

  ~Win32Driver() override {
    CloseHandle(event_);
    CloseHandle(device_);
  }

  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                   uint32_t outLength) override {
    // The device is opened for overlapped I/O, so every request needs an overlapped record;
    // the call is waited for here, which keeps requests one at a time as the library expects.
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_;
    ResetEvent(event_);
    DWORD returned = 0;
    // DeviceIoControl does not write its input buffer; it is declared without const only.
    if (!DeviceIoControl(device_, code, const_cast<void*>(in), inLength, out, outLength, &returned,
                         &overlapped)) {
      if (GetLastError() != ERROR_IO_PENDING) return 0;
      // A request that ends early (a read time-out) still reports the bytes it moved.
      returned = 0;
      GetOverlappedResult(device_, &overlapped, &returned, TRUE);
    }
    return returned;
  }

private:
  HANDLE device_;
  HANDLE event_;
};

} // namespace

std::unique_ptr<Driver> OpenWin32Driver(const std::string& path) {
  HANDLE device = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (device == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr); // manual reset, initially clear
  if (event == nullptr) {
    CloseHandle(device);
    return nullptr;
  }
  return std::make_unique<Win32Driver>(device, event);
}

} // namespace qvt
