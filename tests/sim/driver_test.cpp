// SPDX-License-Identifier: GPL-3.0-or-later
// The sim driver and the driver choice: which paths open a virtual interface, that one name
// is one interface, that a reset never leaves an open driver dangling, and QVTLINK_DEVICE.
#include <gtest/gtest.h>

#include <cstdlib>

#include "clock.h"
#include "driver.h"
#include "protocol.h"
#include "registry.h"

namespace qvt {
namespace {

class SimDriverTest : public ::testing::Test {
protected:
  void SetUp() override {
    sim::SetClock(&clock_);
    sim::ResetInterfaces();
  }
  void TearDown() override {
    sim::ResetInterfaces();
    sim::SetClock(nullptr);
    unsetenv("QVTLINK_DEVICE");
    unsetenv("QVTLINK_SIM");
  }

  static std::vector<uint8_t> Identify(Driver& d) {
    std::vector<uint8_t> packet(64, 0);
    packet[0] = sim::kCmdIdentify;
    uint32_t pipe = sim::kPipeCommand;
    d.Request(kRequestBulkWrite, &pipe, 4, packet.data(), 64);
    pipe = sim::kPipeReply;
    packet.resize(d.Request(kRequestBulkRead, &pipe, 4, packet.data(), 64));
    return packet;
  }

  ManualClock clock_;
};

TEST_F(SimDriverTest, OnlyTheFourInterfacePathsOpen) {
  for (const char* path : {"\\\\.\\VexorQVT2-0", "\\\\.\\VexorQVT2-3"})
    EXPECT_NE(OpenSimDriver(path), nullptr) << path;
  for (const char* path : {"\\\\.\\VexorQVT2-4", "VexorQVT2-0", "\\\\.\\vexorqvt2-0",
                           "\\\\.\\VexorQVT2-00", "\\\\.\\VexorQVT2-", ""})
    EXPECT_EQ(OpenSimDriver(path), nullptr) << path;
}

TEST_F(SimDriverTest, OneNameIsOneInterfaceAndOutlivesAReset) {
  auto first = OpenSimDriver("\\\\.\\VexorQVT2-1");
  auto second = OpenSimDriver("\\\\.\\VexorQVT2-1");
  ASSERT_TRUE(first && second);
  std::vector<uint8_t> gains(64, 0);
  gains[0] = sim::kCmdWriteGains;
  gains[4] = 0x40; // first gain 2.0f
  uint32_t pipe = sim::kPipeCommand;
  first->Request(kRequestBulkWrite, &pipe, 4, gains.data(), 64);
  EXPECT_EQ(Identify(*second).at(4), 0x40);

  sim::ResetInterfaces();
  EXPECT_EQ(Identify(*first).at(4), 0x40); // the old interface lives on for its driver
  auto fresh = OpenSimDriver("\\\\.\\VexorQVT2-1");
  EXPECT_NE(Identify(*fresh).at(4), 0x40);
}

TEST_F(SimDriverTest, InterfaceIsBuiltWithTheOptionsOfTheEnvironment) {
  setenv("QVTLINK_SIM", "bus=full;colour=red", 1);
  ::testing::internal::CaptureStderr();
  auto driver = OpenSimDriver("\\\\.\\VexorQVT2-2");
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("\"colour\""), std::string::npos);
  EXPECT_EQ(Identify(*driver).at(0), 1); // full speed, despite the bad item
}

TEST_F(SimDriverTest, EnvironmentChoosesTheDriver) {
  setenv("QVTLINK_DEVICE", "sim", 1);
  EXPECT_NE(OpenDriver("\\\\.\\VexorQVT2-0"), nullptr);
  EXPECT_EQ(OpenDriver("\\\\.\\Other"), nullptr);

  setenv("QVTLINK_DEVICE", "win32", 1);
  EXPECT_EQ(OpenDriver("\\\\.\\VexorQVT2-0"), nullptr); // no kernel driver here

  setenv("QVTLINK_DEVICE", "floppy", 1);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(OpenDriver("\\\\.\\VexorQVT2-0"), nullptr);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("floppy"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

} // namespace
} // namespace qvt
