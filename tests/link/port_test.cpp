// SPDX-License-Identifier: GPL-3.0-or-later
// Port handling through the exports: names, paths, identify, gains, version and close.
#include <cmath>
#include <cstring>
#include <limits>

#include "link_fixture.h"

namespace qvt::test {
namespace {

using PortTest = LinkTest;

TEST_F(PortTest, NamesUpToFiftyFourCharactersOpenLongerOnesTouchNothing) {
  struct Case {
    size_t length;
    bool opens;
  };
  for (const Case c : {Case{54, true}, Case{55, false}, Case{400, false}}) {
    const std::string name(c.length, 'n');
    for (bool wide : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.length << (wide ? " UTF-16" : " 8-bit"));
      const size_t opensBefore = fake_.OpenedPaths().size();
      const int32_t handle = wide ? _SetPortOpen(Counted16(name)) : SetPortOpen(Counted8(name));
      if (handle != 0) handles_.push_back(handle);
      EXPECT_EQ(handle != 0, c.opens);
      EXPECT_EQ(fake_.OpenedPaths().size() - opensBefore, c.opens ? 1u : 0u);
    }
  }
}

TEST_F(PortTest, OpenUsesTheDevicePathThenPipeTableDescriptorAndIdentify) {
  const int32_t first = _SetPortOpen(Counted16("VexorQVT2-0"));
  const int32_t second = SetPortOpen(Counted8("VexorQVT2-1"));
  handles_ = {first, second};
  EXPECT_NE(first, 0);
  EXPECT_NE(second, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(fake_.OpenedPaths(), (std::vector<std::string>{"\\\\.\\VexorQVT2-0", "\\\\.\\VexorQVT2-1"}));

  const auto log = fake_.Log();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0].code, kRequestPipeTable);
  EXPECT_EQ(log[0].length, kPipeTableSize);
  EXPECT_EQ(log[1].code, kRequestDescriptor);
  EXPECT_EQ(log[1].length, kDescriptorSize);
  EXPECT_EQ(log[2].code, kRequestBulkWrite);
  EXPECT_EQ(log[2].pipe, 4u);
  ASSERT_EQ(log[2].bytes.size(), 64u);
  EXPECT_EQ(log[2].bytes[0], 0x0F);
  EXPECT_EQ(log[3].code, kRequestBulkRead);
  EXPECT_EQ(log[3].pipe, 5u);
  EXPECT_EQ(log[3].length, 64u);
}

TEST_F(PortTest, AbsentDeviceGivesNoHandle) {
  fake_.SetFailAll(true);
  EXPECT_EQ(_SetPortOpen(Counted16("VexorQVT2-0")), 0);
  EXPECT_EQ(SetPortOpen(nullptr), 0);
}

TEST_F(PortTest, PacketSizeComesFromIdentifyByteZero) {
  const int32_t handle = OpenPort();
  for (const auto& [busByte, size] : {std::pair{1, 64}, {0, 512}, {2, 512}, {255, 512}}) {
    fake_.SetIdentify(static_cast<uint8_t>(busByte), {1, 1, 1, 1});
    EXPECT_EQ(DefineUSB(handle), size) << "byte 0 = " << busByte;
    EXPECT_EQ(_DefineUSB(handle), size) << "byte 0 = " << busByte;
  }
}

TEST_F(PortTest, GainsOutsideTheCalibrationWindowBecomeOne) {
  const int32_t handle = OpenPort();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  fake_.SetIdentify(1, {0.97f, 1.03f, 0.9699f, 1.0301f});
  ASSERT_EQ(DefineUSB(handle), 64);
  double g[4];
  GetAdjust(0, &g[0], &g[1], &g[2], &g[3]);
  EXPECT_EQ(g[0], static_cast<double>(0.97f));
  EXPECT_EQ(g[1], static_cast<double>(1.03f));
  EXPECT_EQ(g[2], 1.0);
  EXPECT_EQ(g[3], 1.0);

  fake_.SetIdentify(1, {nan, 0.5f, 1.01f, -1.0f});
  ASSERT_EQ(_DefineUSB(handle), 64);
  _GetAdjust(handle, &g[0], &g[1], &g[2], &g[3]);
  EXPECT_EQ(g[0], 1.0);
  EXPECT_EQ(g[1], 1.0);
  EXPECT_EQ(g[2], static_cast<double>(1.01f));
  EXPECT_EQ(g[3], 1.0);
}

TEST_F(PortTest, FailedIdentifyKeepsPacketSizeAndGains) {
  const int32_t handle = OpenPort(0);
  fake_.SetIdentify(0, {1.02f, 1.0f, 1.0f, 1.0f});
  ASSERT_EQ(DefineUSB(handle), 512);
  fake_.SetFailAll(true);
  EXPECT_EQ(DefineUSB(handle), 0);
  double g0 = 0;
  GetAdjust(handle, &g0, nullptr, nullptr, nullptr);
  EXPECT_EQ(g0, static_cast<double>(1.02f));

  // The packet size shows in the length of the next sample read.
  fake_.SetFailAll(false);
  fake_.QueueSamplePacket(std::vector<uint8_t>(8, 0));
  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  QvtSampleBlock block;
  fake_.ClearLog();
  ASSERT_EQ(GetUSBData(handle, &block, &request), 4);
  EXPECT_EQ(fake_.Log().back().length, 512u);
}

TEST_F(PortTest, VersionTwinsDeliverTheReply) {
  const int32_t handle = OpenPort();
  // Read as UTF-16 the bytes give the units 0x5651 0x3254 0x3156 0x0032, then a zero unit.
  fake_.SetVersion({'Q', 'V', 'T', '2', 0x56, 0x31, 0x32, 0x00, 0x00, 0x00, 'x', 'y'});
  char buffer[80];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(_GetVersion(handle, buffer), 1);
  EXPECT_EQ(std::memcmp(buffer, "QVT2\x56\x31\x32\x00\x00\x00xy", 12), 0);
  EXPECT_EQ(buffer[12], '\0');
  EXPECT_EQ(buffer[13], '#');

  char16_t* text = NewCountedString16(u"old");
  ASSERT_EQ(GetVersionSysteme(handle, &text), 1);
  EXPECT_EQ(std::u16string(text), (std::u16string{char16_t{0x5651}, char16_t{0x3254}, char16_t{0x3156}, char16_t{0x0032}}));
  EXPECT_EQ(CountedStringBytes(text), 8u);

  // A reply without any zero unit stops at its 64 bytes.
  fake_.SetVersion(std::vector<uint8_t>(64, 'a'));
  ASSERT_EQ(GetVersionSysteme(handle, &text), 1);
  EXPECT_EQ(CountedStringBytes(text), 64u);
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(_GetVersion(handle, buffer), 1);
  EXPECT_EQ(buffer[63], 'a');
  EXPECT_EQ(buffer[64], '\0');

  fake_.SetFailAll(true);
  char16_t* before = text;
  EXPECT_EQ(GetVersionSysteme(handle, &text), 0);
  EXPECT_EQ(text, before);
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(_GetVersion(handle, buffer), 0);
  EXPECT_EQ(buffer[0], '#');
  FreeCountedString(text);
}

TEST_F(PortTest, CloseAlwaysAnswersOneAndReleasesTheDriver) {
  const int32_t handle = OpenPort();
  EXPECT_EQ(SetPortClose(handle), 1);
  EXPECT_EQ(_SetPortClose(handle), 1);
  EXPECT_EQ(_SetPortClose(123456), 1);
  handles_.clear();
  EXPECT_EQ(DefineUSB(handle), 0);
  EXPECT_TRUE(fake_.Log().empty());
}

} // namespace
} // namespace qvt::test
