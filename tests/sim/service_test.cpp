// SPDX-License-Identifier: GPL-3.0-or-later
// The interface's service side: identify, version, status and gains; the query/reply
// convention; the pipe table; the serial-link loop-back; the controller memory
// and CPU reset of a firmware load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

using ::testing::ElementsAre;

float FloatAt(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t bits = 0;
  for (size_t b = 0; b < 4; ++b)
    bits |= uint32_t{bytes[at + b]} << (8 * b);
  return std::bit_cast<float>(bits);
}

std::vector<uint8_t> FloatBytes(std::initializer_list<float> values) {
  std::vector<uint8_t> bytes;
  for (float v : values)
    for (size_t b = 0; b < 4; ++b)
      bytes.push_back(static_cast<uint8_t>(std::bit_cast<uint32_t>(v) >> (8 * b)));
  return bytes;
}

TEST(ServiceTest, IdentifyReportsBusAndGainsAndWrittenGainsComeBack) {
  for (const Bus bus : {Bus::kHigh, Bus::kFull}) {
    Options o;
    o.bus = bus;
    SimHost host(o);
    auto reply = host.Query(kCmdIdentify);
    ASSERT_EQ(reply.size(), 64u);
    EXPECT_EQ(reply[0], bus == Bus::kFull ? 1 : 0);
    EXPECT_EQ(host.device.PacketSize(), bus == Bus::kFull ? 64u : 512u);
    EXPECT_EQ(FloatAt(reply, 1), 1.002f);
    EXPECT_EQ(FloatAt(reply, 5), 0.998f);
    EXPECT_EQ(FloatAt(reply, 9), 1.000f);
    EXPECT_EQ(FloatAt(reply, 13), 1.001f);

    EXPECT_EQ(host.Query(kCmdWriteGains, FloatBytes({1.01f, 0.97f, 1.03f, 0.5f})).size(), 64u);
    reply = host.Query(kCmdIdentify);
    EXPECT_EQ(FloatAt(reply, 1), 1.01f);
    EXPECT_EQ(FloatAt(reply, 5), 0.97f);
    EXPECT_EQ(FloatAt(reply, 9), 1.03f);
    EXPECT_EQ(FloatAt(reply, 13), 0.5f);
  }
}

TEST(ServiceTest, VersionIsAZeroTerminatedText) {
  SimHost host;
  const auto reply = host.Query(kCmdVersion);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.data())), "QVT2 virtual interface 1.0");
}

TEST(ServiceTest, ReplyPipeDeliversEachQueryReplyOnce) {
  SimHost host;
  EXPECT_TRUE(host.Read(kPipeReply, 64).empty());
  host.Write(kPipeCommand, std::vector<uint8_t>(64, kCmdStatus));
  EXPECT_EQ(host.Read(kPipeReply, 64).size(), 64u);
  EXPECT_TRUE(host.Read(kPipeReply, 64).empty());
  // Commands that are not queries leave no reply.
  host.Write(kPipeCommand, {kCmdStop});
  EXPECT_TRUE(host.Read(kPipeReply, 64).empty());
}

TEST(ServiceTest, StatusIsBusyBrieflyAfterAGeneratorChunk) {
  SimHost host;
  EXPECT_EQ(host.Query(kCmdStatus)[0], 1);
  host.Write(kPipeCommand, {kCmdGeneratorBegin});
  host.Write(kPipeGenerator, {0x00, 0x20, 0x00, 0x20});
  EXPECT_EQ(host.Query(kCmdStatus)[0], 0);
  host.clock.AdvanceMs(1);
  EXPECT_EQ(host.Query(kCmdStatus)[0], 1);
}

TEST(ServiceTest, PipesRefuseTheWrongDirection) {
  SimHost host;
  EXPECT_EQ(host.Write(kPipeSamples, {1, 2}), 0u);
  EXPECT_EQ(host.Write(kPipeReply, {kCmdIdentify}), 0u);
  EXPECT_EQ(host.Write(7, {1}), 0u);
  host.Write(kPipeH8Out, {1, 2});
  EXPECT_TRUE(host.Read(kPipeH8Out, 64).empty());
  EXPECT_TRUE(host.Read(kPipeCommand, 64).empty());
}

TEST(ServiceTest, PipeTableListsSixPipesInOrder) {
  for (const Bus bus : {Bus::kHigh, Bus::kFull}) {
    Options o;
    o.bus = bus;
    SimHost host(o);
    std::vector<uint8_t> table(336, 0xEE);
    ASSERT_EQ(host.device.Request(kRequestPipeTable, table.data(), 336, table.data(), 336), 336u);
    EXPECT_THAT(std::vector<uint8_t>(table.begin(), table.begin() + 16),
                ElementsAre(136, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 6, 0, 0, 0));
    const uint16_t bulk = bus == Bus::kFull ? 64 : 512;
    const uint16_t packets[6] = {bulk, bulk, bulk, bulk, 64, 64};
    for (size_t i = 0; i < 6; ++i) {
      const uint8_t* e = &table[16 + 20 * i];
      SCOPED_TRACE(i);
      EXPECT_EQ(e[0] | e[1] << 8, packets[i]);
      EXPECT_EQ(e[2] & 0x80, (i == 2 || i == 3 || i == 5) ? 0x80 : 0);
      EXPECT_EQ(e[4], 2); // bulk
      EXPECT_EQ(e[12] | e[13] << 8 | e[14] << 16, 65536);
    }
    EXPECT_TRUE(std::all_of(table.begin() + 136, table.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(host.device.Request(kRequestPipeTable, nullptr, 0, table.data(), 335), 0u);
  }
}

TEST(ServiceTest, SerialLinkEchoesOnePacketPerRead) {
  Options o = QuietOptions();
  o.bus = Bus::kFull;
  SimHost host(o);
  EXPECT_EQ(host.Query(kCmdH8SendQuery)[0], 1);
  EXPECT_EQ(host.Query(kCmdH8ReceiveQuery)[0], 0);
  std::vector<uint8_t> sent(100);
  for (size_t i = 0; i < sent.size(); ++i)
    sent[i] = static_cast<uint8_t>(i * 7);
  EXPECT_EQ(host.Write(kPipeH8Out, sent), 100u);
  EXPECT_EQ(host.Query(kCmdH8ReceiveQuery)[0], 1);
  auto first = host.Read(kPipeH8In, 512);
  ASSERT_EQ(first.size(), 64u);
  const auto second = host.Read(kPipeH8In, 512);
  ASSERT_EQ(second.size(), 36u);
  first.insert(first.end(), second.begin(), second.end());
  EXPECT_EQ(first, sent);
  EXPECT_EQ(host.Query(kCmdH8ReceiveQuery)[0], 0);
}

TEST(ServiceTest, SerialLinkTakesTheSpeedTextAndCommand) {
  SimHost host;
  const std::string text = "WBAUDS 1\r";
  EXPECT_EQ(host.Write(kPipeH8Out, std::vector<uint8_t>(text.begin(), text.end())), 9u);
  EXPECT_EQ(host.Query(kCmdH8ReceiveQuery)[0], 0); // a command, not echoed
  host.Write(kPipeCommand, {kCmdH8Speed, 1});
  EXPECT_EQ(host.device.H8Speed(), 1);
}

TEST(ServiceTest, FirmwareLoadHoldsTheCpuAndStoresTheImage) {
  SimHost host;
  const auto vendorWrite = [&](uint16_t value, uint8_t data) {
    const uint8_t record[10] = {
        0xA0, 0,   static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), 0, 0, 1, 0,
        0,    data};
    return host.device.Request(kRequestVendor, record, 10, nullptr, 0);
  };
  const auto download = [&](uint16_t address, std::vector<uint8_t> bytes) {
    const uint8_t at[2] = {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8)};
    return host.device.Request(kRequestDownload, at, 2, bytes.data(),
                               static_cast<uint32_t>(bytes.size()));
  };
  host.Write(kPipeH8Out, {1, 2, 3});
  EXPECT_EQ(vendorWrite(0xE600, 1), 1u);
  EXPECT_TRUE(host.device.CpuHeldInReset());
  // A halted CPU services no pipe.
  EXPECT_EQ(host.Write(kPipeCommand, {kCmdIdentify}), 0u);
  EXPECT_TRUE(host.Read(kPipeH8In, 64).empty());

  EXPECT_EQ(download(0x0000, {0x02, 0x00, 0x80}), 3u);
  EXPECT_EQ(download(0xFFFE, {9, 9, 9, 9}), 2u); // what passes 0xFFFF is dropped
  EXPECT_EQ(vendorWrite(0xE600, 0), 1u);
  EXPECT_FALSE(host.device.CpuHeldInReset());
  EXPECT_EQ(host.device.ControllerByte(0x0000), 0x02);
  EXPECT_EQ(host.device.ControllerByte(0x0002), 0x80);
  EXPECT_EQ(host.device.ControllerByte(0xFFFF), 9);
  // The restarted firmware answers again, with what it held before the reset gone.
  EXPECT_EQ(host.Query(kCmdIdentify).size(), 64u);
  EXPECT_TRUE(host.Read(kPipeH8In, 64).empty());
}

} // namespace
} // namespace qvt::sim::testing
