// SPDX-License-Identifier: LGPL-2.1-or-later
// Parses the USB id list and the device number of a device path.
#include "usb_device_match.h"

#include <charconv>
#include <cstdlib>

namespace qvt {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::optional<uint16_t> ParseHex16(std::string_view s) {
  if (s.empty() || s.size() > 4) return std::nullopt;
  uint16_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

} // namespace

std::vector<UsbId> ParseUsbIds(std::string_view text) {
  std::vector<UsbId> ids;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view item = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);

    const auto colon = item.find(':');
    if (colon == std::string_view::npos) continue;
    const auto vendor = ParseHex16(Trim(item.substr(0, colon)));
    const auto product = ParseHex16(Trim(item.substr(colon + 1)));
    if (vendor && product) ids.push_back({*vendor, *product});
  }
  return ids;
}

std::vector<UsbId> UsbIdsFromEnvironment() {
  const char* value = std::getenv("QVTLINK_USB_ID");
  if (value == nullptr || *value == '\0') return {kDefaultInterfaceId, kUnprogrammedControllerId};
  return ParseUsbIds(value);
}

std::optional<unsigned> DeviceIndexFromPath(std::string_view path) {
  // Only a number after the last dash counts: the family name itself ends with a digit.
  const auto dash = path.rfind('-');
  if (dash == std::string_view::npos) return 0u;
  const std::string_view digits = path.substr(dash + 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return 0u;
  unsigned index = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return index;
}

} // namespace qvt
