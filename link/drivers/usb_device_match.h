// SPDX-License-Identifier: LGPL-2.1-or-later
// Which USB devices the usb driver takes for the interface, and which of them a device name picks.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qvt {

struct UsbId {
  uint16_t vendor = 0;
  uint16_t product = 0;
  friend bool operator==(const UsbId&, const UsbId&) = default;
};

// The interface running its firmware, then the unprogrammed EZ-USB controller (which only the
// firmware load talks to). The same pairs are listed in packaging/udev/70-qvt2.rules.
inline constexpr UsbId kDefaultInterfaceId{0x1209, 0x5156};
inline constexpr UsbId kUnprogrammedControllerId{0x04b4, 0x8613};

// Parses "vvvv:pppp[,vvvv:pppp...]" (hexadecimal, surrounding blanks allowed). Entries that are
// not two hexadecimal numbers of at most four digits are skipped; the order is kept.
std::vector<UsbId> ParseUsbIds(std::string_view text);

// The ids to look for: QVTLINK_USB_ID when it is set and not empty (possibly yielding no valid
// id, in which case no device matches), else the two default pairs above.
std::vector<UsbId> UsbIdsFromEnvironment();

// The device number after the last dash of a device path ("\\.\VexorQVT2-1" gives 1); 0 when
// the path does not end with a dash and a number; nothing when the number is too large.
std::optional<unsigned> DeviceIndexFromPath(std::string_view path);

} // namespace qvt
