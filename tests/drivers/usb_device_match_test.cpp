// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing QVTLINK_USB_ID and the device number of a device path.
#include <gtest/gtest.h>

#include <cstdlib>

#include "usb_device_match.h"

namespace qvt {
namespace {

TEST(UsbIds, ParsesListsAndSkipsBadEntries) {
  struct Case {
    const char* text;
    std::vector<UsbId> ids;
  } cases[] = {
      {"1209:5156", {{0x1209, 0x5156}}},
      {"04B4:8613,1209:5156", {{0x04b4, 0x8613}, {0x1209, 0x5156}}},
      {" 4b4 : 8613 , 1209:5156 ", {{0x04b4, 0x8613}, {0x1209, 0x5156}}},
      {"1:2", {{0x0001, 0x0002}}},
      {"", {}},
      {",,", {}},
      {"12095156", {}},           // no colon
      {"12345:0001", {}},         // more than four digits
      {"1209:", {}},              // product missing
      {"xyz:0001,0001:0002", {{0x0001, 0x0002}}},
      {"0x12:0001", {}},          // no prefix allowed
      {"1209:5156:1", {}},        // trailing part
      {"-1:2", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseUsbIds(c.text), c.ids) << '"' << c.text << '"';
}

TEST(UsbIds, EnvironmentOverridesTheDefaults) {
  const std::vector<UsbId> defaults = {kDefaultInterfaceId, kUnprogrammedControllerId};
  unsetenv("QVTLINK_USB_ID");
  EXPECT_EQ(UsbIdsFromEnvironment(), defaults);
  setenv("QVTLINK_USB_ID", "", 1);
  EXPECT_EQ(UsbIdsFromEnvironment(), defaults);
  setenv("QVTLINK_USB_ID", "abcd:ef01", 1);
  EXPECT_EQ(UsbIdsFromEnvironment(), (std::vector<UsbId>{{0xabcd, 0xef01}}));
  setenv("QVTLINK_USB_ID", "garbage", 1); // set but useless: nothing matches, not the defaults
  EXPECT_TRUE(UsbIdsFromEnvironment().empty());
  unsetenv("QVTLINK_USB_ID");
}

TEST(UsbIds, DeviceIndexIsTheTrailingNumber) {
  struct Case {
    const char* path;
    std::optional<unsigned> index;
  } cases[] = {
      {"\\\\.\\VexorQVT2-0", 0u},
      {"\\\\.\\VexorQVT2-3", 3u},
      {"\\\\.\\VexorQVT2-12", 12u},
      {"\\\\.\\VexorQVT2-", 0u},
      {"\\\\.\\VexorQVT2", 0u}, // the 2 belongs to the name
      {"\\\\.\\VexorQVT2-1a", 0u},
      {"", 0u},
      {"\\\\.\\VexorQVT2-99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(DeviceIndexFromPath(c.path), c.index) << c.path;
}

} // namespace
} // namespace qvt
