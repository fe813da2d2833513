// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2 against a scripted interface that hands out exact sample codes: polling into the
// store and its cap, and the conversion of stored codes to volts and times.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "qvt2.h"
#include "qvtlink_testing.h"
#include "scripted_interface.h"

namespace {

class ScriptedDevice : public ::testing::Test {
protected:
  void SetUp() override {
    auto interface = std::make_unique<ScriptedInterface>();
    packets = interface->packets;
    auto shared = std::make_shared<std::unique_ptr<ScriptedInterface>>(std::move(interface));
    qvt::testing::UseDriverOpener([shared](const std::string&) -> std::unique_ptr<qvt::Driver> {
      return std::move(*shared);
    });
    device = std::make_unique<TQVT2>();
    ASSERT_TRUE(device->OpenPort());
  }
  void TearDown() override {
    packets->clear();
    device.reset();
    qvt::testing::UseDriverOpener(nullptr);
  }
  void Queue(int packetCount, int words, uint16_t code = 100) {
    for (int i = 0; i < packetCount; ++i)
      packets->push_back(std::vector<uint16_t>(words, code));
  }

  std::shared_ptr<std::deque<std::vector<uint16_t>>> packets;
  std::unique_ptr<TQVT2> device;
};

TEST_F(ScriptedDevice, PollSharesEachPacketAmongTheEnabledChannels) {
  device->SetChannelEnabled(0, 1);
  device->StartAcquisition();
  Queue(2, 256);
  EXPECT_TRUE(device->Poll());
  EXPECT_EQ(device->ReceivedCount, 256);
  EXPECT_TRUE(device->Poll());
  EXPECT_EQ(device->ReceivedCount, 512);
  EXPECT_FALSE(device->Poll()); // nothing ready

  for (int k = 1; k < 4; ++k)
    device->SetChannelEnabled(k, 1);
  device->StartAcquisition();
  Queue(3, 256);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(device->Poll());
    EXPECT_EQ(device->ReceivedCount, 64 * i);
  }
  EXPECT_EQ(device->StoredCode(3, 191), 100);
}

TEST_F(ScriptedDevice, StoreStopsAtSixteenThousandThreeHundredEightyFour) {
  device->SetChannelEnabled(2, 1);
  device->StartAcquisition();
  Queue(63, 256);
  Queue(1, 172);
  while (device->Poll()) {
  }
  ASSERT_EQ(device->ReceivedCount, 16300);
  Queue(1, 256, 200);
  EXPECT_TRUE(device->Poll());
  EXPECT_EQ(device->ReceivedCount, 16384);
  EXPECT_EQ(device->StoredCode(2, 16383), 200);
  EXPECT_EQ(device->StoredCode(2, 16384), 0); // the last slot is never written
  for (int t = 0; t < kTimeBaseCount; ++t) {
    device->SetTimeBase(t);
    EXPECT_TRUE(device->IsFinished()) << t;
  }
  Queue(1, 256, 300);
  EXPECT_TRUE(device->Poll()); // the packet is taken from the interface, then dropped
  EXPECT_EQ(device->ReceivedCount, 16384);
  EXPECT_EQ(device->StoredCode(2, 16383), 200);
}

TEST_F(ScriptedDevice, StopDrainsTheInterfaceAndClearsTheCount) {
  device->SetChannelEnabled(0, 1);
  device->StartAcquisition();
  Queue(5, 256);
  device->StopAcquisition();
  EXPECT_TRUE(packets->empty());
  EXPECT_EQ(device->ReceivedCount, 0);
  EXPECT_FALSE(device->AcquisitionRunning());
}

TEST_F(ScriptedDevice, StoredCodesBecomeVoltsOnBothRanges) {
  device->SetChannelEnabled(0, 1);
  device->SetTimeBase(0); // 600 points
  device->StartAcquisition();
  std::vector<uint16_t> words(256, 0);
  words[0] = 8192;
  words[1] = 8193;
  words[2] = 16383;
  words[3] = 4096;
  packets->push_back(words);
  Queue(3, 256, 1);
  while (device->Poll()) {
  }

  std::vector<double> volts(TQVT2::kStoreSize, -1.0);
  device->FillChannel(0, volts);
  EXPECT_DOUBLE_EQ(volts[0], 15.0);
  EXPECT_NEAR(volts[1], -14.998, 0.0005);
  EXPECT_NEAR(volts[2], -0.00183, 0.00001);
  EXPECT_DOUBLE_EQ(volts[3], 7.5);
  EXPECT_DOUBLE_EQ(volts[600], 30.0 / 16384); // TotalPoints itself is included
  EXPECT_DOUBLE_EQ(volts[601], 0.0);
  EXPECT_DOUBLE_EQ(volts[16384], 0.0);
  EXPECT_DOUBLE_EQ(device->FirstSampleValue(0), 15.0);

  device->SetHighRange(0, false);
  device->FillChannel(0, volts);
  EXPECT_DOUBLE_EQ(volts[3], 3.75);

  std::vector<double> shortBuffer(100);
  EXPECT_THROW(device->FillChannel(0, shortBuffer), std::out_of_range);
  EXPECT_THROW(device->FillChannel(4, volts), std::out_of_range);
}

TEST(DeviceTimes, StepIsTheSamplePeriod) {
  auto device = std::make_unique<TQVT2>();
  device->SetTimeBase(7);
  std::vector<double> times(TQVT2::kStoreSize);
  device->FillTimes(times);
  EXPECT_DOUBLE_EQ(times[0], 0.0);
  EXPECT_DOUBLE_EQ(times[1], 1 / 1.2e6);
  EXPECT_NEAR(times[16384], 16384 / 1.2e6, 1e-15);
}

} // namespace
