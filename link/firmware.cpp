// SPDX-License-Identifier: LGPL-2.1-or-later
// Firmware load: an Intel HEX file downloaded into the USB controller's memory while its CPU
// is held in reset.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "intel_hex.h"
#include "link_state.h"
#include "qvtlink.h"
#include "transport.h"
#include "twin_strings.h"
#include "waits.h"

using namespace qvt::link;

namespace {

constexpr size_t kMaxBootDeviceName = 49;
constexpr size_t kMaxHexFileName = 61;
// The controller's CPU control register: 1 holds the CPU in reset, 0 lets it run.
constexpr uint16_t kCpuControl = 0xE600;
// Only segments below this address (the controller's internal memory) are downloaded.
constexpr int32_t kDownloadLimit = 0x2000;
constexpr uint32_t kResetSettleMs = 500;
constexpr uint32_t kSegmentSettleMs = 10;

void Download(qvt::Driver* driver, const qvt::hex::Image& image) {
  Delay(kResetSettleMs);
  VendorByteWrite(driver, kCpuControl, 1);
  uint8_t staging[qvt::hex::kMaxSegmentLength];
  for (const auto& segment : image.segments) {
    if (segment.start >= kDownloadLimit) continue;
    std::copy_n(image.bytes.begin() + segment.position, segment.length, staging);
    qvt::link::Download(driver, static_cast<uint16_t>(segment.start), staging,
                        static_cast<uint32_t>(segment.length));
    Delay(kSegmentSettleMs);
  }
  Delay(kResetSettleMs);
  VendorByteWrite(driver, kCpuControl, 0);
}

// `deviceFailure` is the twin's result when the device cannot be opened.
int32_t LoadFirmware(const std::optional<std::string>& device, const std::optional<std::string>& file,
                     int32_t deviceFailure) {
  if (!device) return deviceFailure;
  const std::unique_ptr<qvt::Driver> driver = OpenPortDriver(*device);
  if (!driver) return deviceFailure;
  // A file name past its limit is treated like a file that cannot be opened: nothing is sent.
  std::FILE* hex = file ? std::fopen(file->c_str(), "rb") : nullptr;
  if (hex == nullptr) return 0;
  const qvt::hex::Image image = qvt::hex::ParseIntelHexFile(hex);
  std::fclose(hex);
  Download(driver.get(), image);
  return 0;
}

} // namespace

extern "C" {

int32_t QVTLINK_STDCALL SendBOOT(const char* device, const char* file) {
  return LoadFirmware(CountedName8(device, kMaxBootDeviceName), CountedName8(file, kMaxHexFileName), 1);
}

int32_t QVTLINK_CDECL _SendBOOT(const char16_t* device, const char16_t* file) {
  return LoadFirmware(CountedName16(device, kMaxBootDeviceName), CountedName16(file, kMaxHexFileName), 254);
}

} // extern "C"
