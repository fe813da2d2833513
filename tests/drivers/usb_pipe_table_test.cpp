// SPDX-License-Identifier: GPL-3.0-or-later
// The pipe table laid out from interface descriptors.
#include <gtest/gtest.h>

#include "usb_pipe_table.h"

namespace qvt {
namespace {

uint32_t Le32(const uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

TEST(PipeTable, HeaderAndEntriesFollowTheDescriptors) {
  UsbInterface iface;
  iface.number = 0;
  iface.alternateSetting = 0;
  iface.interfaceClass = 0xFF;
  iface.interfaceSubClass = 0x12;
  iface.interfaceProtocol = 0x34;
  iface.endpoints = {{0x02, 0x02, 512, 0}, {0x81, 0x03, 64, 10}, {0x86, 0x01, 1024, 1}};

  const PipeTable t = BuildPipeTable(iface);
  const std::array<uint8_t, 16> header = {16 + 60, 0, 0, 0, 0xFF, 0x12, 0x34, 0,
                                          0,       0, 0, 0, 3,    0,    0,    0};
  EXPECT_TRUE(std::equal(header.begin(), header.end(), t.begin()));

  struct Expected {
    uint16_t maxPacket;
    uint8_t address, interval;
    uint32_t type;
  } expected[] = {{512, 0x02, 0, 2}, {64, 0x81, 10, 3}, {1024, 0x86, 1, 1}};
  for (size_t i = 0; i < 3; ++i) {
    const uint8_t* e = t.data() + 16 + 20 * i;
    EXPECT_EQ(e[0] | e[1] << 8, expected[i].maxPacket) << i;
    EXPECT_EQ(e[2], expected[i].address) << i;
    EXPECT_EQ(e[3], expected[i].interval) << i;
    EXPECT_EQ(Le32(e + 4), expected[i].type) << i;
    EXPECT_EQ(Le32(e + 8), 0u) << i;
    EXPECT_EQ(Le32(e + 12), kMaxTransferSize) << i;
    EXPECT_EQ(Le32(e + 16), 0u) << i;
  }
  EXPECT_TRUE(std::all_of(t.begin() + 16 + 60, t.end(), [](uint8_t b) { return b == 0; }));
}

TEST(PipeTable, ListsAtMostSixteenPipes) {
  UsbInterface iface;
  for (int i = 0; i < 20; ++i)
    iface.endpoints.push_back({static_cast<uint8_t>(0x80 | i), 0x02, 64, 0});

  const PipeTable t = BuildPipeTable(iface);
  EXPECT_EQ(t[0] | t[1] << 8, 336);
  EXPECT_EQ(Le32(t.data() + 12), 16u);
  EXPECT_EQ(t[16 + 20 * 15 + 2], 0x8F); // the last entry is the sixteenth endpoint
}

TEST(PipeTable, EmptyInterfaceHasHeaderOnly) {
  UsbInterface iface;
  iface.number = 0;
  iface.interfaceClass = 0xFF;
  const PipeTable t = BuildPipeTable(iface);
  EXPECT_EQ(t[0], 16);
  EXPECT_EQ(Le32(t.data() + 12), 0u);
  // No pipe has bit 7 set, so the library treats every index as a write pipe.
  EXPECT_TRUE(std::all_of(t.begin() + 16, t.end(), [](uint8_t b) { return b == 0; }));
}

} // namespace
} // namespace qvt
