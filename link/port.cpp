// SPDX-License-Identifier: LGPL-2.1-or-later
// Port handling exports: open, identify, close and the version query.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

#include "link_state.h"
#include "qvtlink.h"
#include "qvtstring.h"
#include "transport.h"
#include "twin_strings.h"

namespace qvt::link {
namespace {

constexpr size_t kMaxDeviceName = 54;

float FloatAt(const uint8_t* bytes) {
  const uint32_t bits = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                        uint32_t{bytes[3]} << 24;
  return std::bit_cast<float>(bits);
}

// Gains outside 0.97..1.03 (and NaN) are taken as uncalibrated channels.
double SanitisedGain(double gain) { return (gain >= 0.97 && gain <= 1.03) ? gain : 1.0; }

int32_t Identify(Driver* driver) {
  QueryPacket packet{};
  packet[0] = kCmdIdentify;
  if (Exchange(driver, packet, false) == 0) return 0;
  const int32_t packetSize = packet[0] == 1 ? 64 : 512;
  auto& s = State();
  s.packetSize.store(packetSize, std::memory_order_release);
  for (int k = 0; k < QVT_CHANNELS; ++k) {
    s.gains[k].store(SanitisedGain(FloatAt(&packet[1 + 4 * k])), std::memory_order_relaxed);
  }
  return packetSize;
}

int32_t OpenPort(const std::optional<std::string>& name) {
  if (!name || name->size() > kMaxDeviceName) return 0;
  std::unique_ptr<Driver> driver = OpenPortDriver(*name);
  if (!driver) return 0;
  // Neither answer is examined: a missing pipe table leaves every pipe a write pipe.
  uint8_t pipeTable[kPipeTableSize] = {};
  driver->Request(kRequestPipeTable, pipeTable, sizeof pipeTable, pipeTable, sizeof pipeTable);
  SetPipeTable(pipeTable);
  uint8_t descriptor[kDescriptorSize] = {};
  driver->Request(kRequestDescriptor, descriptor, sizeof descriptor, descriptor, sizeof descriptor);
  Identify(driver.get());
  return AddPort(std::move(driver));
}

// Sends the version query; the reply's bytes (at most 64) land in `packet`, the count in `read`.
bool QueryVersion(int32_t handle, QueryPacket& packet, bool clearBeforeReply, uint32_t& read) {
  const auto driver = PortDriver(handle);
  packet.fill(0);
  packet[0] = kCmdVersion;
  read = Exchange(driver.get(), packet, clearBeforeReply);
  return read != 0;
}

} // namespace
} // namespace qvt::link

using namespace qvt::link;

extern "C" {

int32_t QVTLINK_STDCALL SetPortOpen(const char* name) {
  return OpenPort(CountedName8(name, kMaxDeviceName));
}

int32_t QVTLINK_CDECL _SetPortOpen(const char16_t* name) {
  return OpenPort(CountedName16(name, kMaxDeviceName));
}

int32_t QVTLINK_STDCALL SetPortClose(int32_t handle) {
  RemovePort(handle);
  return 1;
}

int32_t QVTLINK_CDECL _SetPortClose(int32_t handle) { return SetPortClose(handle); }

int32_t QVTLINK_STDCALL DefineUSB(int32_t handle) { return Identify(PortDriver(handle).get()); }

int32_t QVTLINK_CDECL _DefineUSB(int32_t handle) { return DefineUSB(handle); }

int32_t QVTLINK_STDCALL GetVersionSysteme(int32_t handle, char16_t** version) {
  if (version == nullptr) return 0;
  QueryPacket packet;
  uint32_t read = 0;
  if (!QueryVersion(handle, packet, true, read)) return 0;
  // The reply bytes read as UTF-16 units up to the first zero unit, and never past the 64
  // bytes of the reply even when it holds no zero unit.
  std::u16string text;
  for (size_t i = 0; i + 1 < packet.size(); i += 2) {
    const auto unit = static_cast<char16_t>(packet[i] | packet[i + 1] << 8);
    if (unit == 0) break;
    text.push_back(unit);
  }
  char16_t* replacement = qvt::NewCountedString16(std::u16string_view(text));
  if (replacement == nullptr) return 0;
  qvt::FreeCountedString(*version);
  *version = replacement;
  return 1;
}

int32_t QVTLINK_CDECL _GetVersion(int32_t handle, char* buffer) {
  if (buffer == nullptr) return 0;
  QueryPacket packet;
  uint32_t read = 0;
  if (!QueryVersion(handle, packet, false, read)) return 0;
  std::memcpy(buffer, packet.data(), read);
  buffer[read] = '\0';
  return 1;
}

} // extern "C"
