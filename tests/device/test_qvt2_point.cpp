// SPDX-License-Identifier: GPL-3.0-or-later
// The point-measure thread on the virtual interface in real time: LatestValue follows the
// scene, and starting and stopping leaves no thread behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>

#include "qvt2.h"
#include "qvtlink_testing.h"

namespace {

class PointMeasure : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("QVTLINK_DEVICE", "sim", 1);
    // Y1 turns slowly: the scene's 50 Hz sine, sampled at exactly 100 per second, would show
    // the same two phases again and again.
    setenv("QVTLINK_SIM", "noise=0;glitch=0;y1=sine:1.3:2;y2=dc:-3.5", 1);
    qvt::testing::UseClock(nullptr);
    qvt::testing::ResetVirtualInterfaces();
    device = std::make_unique<TQVT2>();
    ASSERT_TRUE(device->OpenPort());
    for (int k = 0; k < 4; ++k)
      device->SetChannelEnabled(k, 1);
  }
  void TearDown() override {
    device.reset();
    qvt::testing::ResetVirtualInterfaces();
  }

  // Waits (in real time, bounded) until channel k's value differs from `from`.
  bool WaitForChange(int k, double from,
                     std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (device->LatestValue[k].load() != from)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  std::unique_ptr<TQVT2> device;
};

TEST_F(PointMeasure, LatestValuesFollowTheScene) {
  device->StartPointMeasure();
  ASSERT_TRUE(WaitForChange(1, 0.0));
  ASSERT_TRUE(WaitForChange(2, 0.0));
  double previous = device->LatestValue[1].load();
  int moves = 0;
  for (int tick = 0; tick < 10; ++tick) {
    std::this_thread::sleep_for(std::chrono::milliseconds(110));
    const double now = device->LatestValue[1].load();
    EXPECT_LE(std::abs(now), 2.1); // the sine of 2 V
    if (now != previous)
      ++moves;
    previous = now;
  }
  EXPECT_GE(moves, 6);
  EXPECT_NEAR(device->LatestValue[2].load(), -3.5, 0.01);
  EXPECT_NEAR(device->LatestValue[3].load(), 0.0, 5.1); // the slow triangle of 5 V
  device->StopPointMeasure();
  EXPECT_FALSE(device->PointMeasureRunning());
  // The acquisition was stopped and drained: the oscilloscope starts from an empty store.
  EXPECT_EQ(device->ReceivedCount, 0);
}

TEST_F(PointMeasure, StartAndStopTwentyTimesLeavesNoThread) {
  for (int i = 0; i < 20; ++i) {
    device->StartPointMeasure();
    EXPECT_TRUE(device->PointMeasureRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(i % 3 == 0 ? 30 : 1));
    device->StopPointMeasure();
    EXPECT_FALSE(device->PointMeasureRunning()) << i;
  }
  // A start that replaces a running measure stops the old thread first.
  device->StartPointMeasure();
  device->StartPointMeasure();
  EXPECT_TRUE(device->PointMeasureRunning());
}

TEST_F(PointMeasure, DestroyingTheDeviceEndsARunningMeasure) {
  device->StartPointMeasure();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  device.reset(); // must join the thread, not leave it working on freed memory
  SUCCEED();
}

TEST(PointMeasureClosed, DoesNothingWithoutAnOpenPort) {
  auto device = std::make_unique<TQVT2>();
  device->StartPointMeasure();
  EXPECT_FALSE(device->PointMeasureRunning());
}

} // namespace
