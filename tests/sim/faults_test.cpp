// SPDX-License-Identifier: GPL-3.0-or-later
// Faults the interface can be told to show: an unplug at a set device time, requests that
// fail at random but reproducibly, and sample packets that become ready late.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

constexpr int64_t kMs = 1'000'000;

TEST(FaultsTest, UnplugAfterCutsEveryRequestFromThatDeviceTimeOn) {
  Options o = QuietOptions();
  o.speed = 2.0;
  o.unplugAfter = 0.01; // 5 ms of clock time
  SimHost host(o);
  host.clock.Advance(5 * kMs - 1);
  EXPECT_FALSE(host.device.Unplugged());
  EXPECT_EQ(host.Query(kCmdIdentify).size(), 64u);

  host.clock.Advance(1);
  EXPECT_TRUE(host.device.Unplugged());
  EXPECT_EQ(host.Write(kPipeH8Out, {1, 2}), 0u);
  EXPECT_TRUE(host.Query(kCmdIdentify).empty());
}

TEST(FaultsTest, FailedRequestsMoveNothingAndFollowTheSeed) {
  // Bytes go out one by one on the serial link and come back in small reads: a failed write
  // must not be echoed, and a failed read must not lose the bytes it would have taken.
  const auto run = [](uint64_t seed) {
    Options o = QuietOptions();
    o.failRate = 0.3;
    o.seed = seed;
    SimHost host(o);
    std::string outcomes;
    std::vector<uint8_t> accepted;
    for (int i = 0; i < 200; ++i) {
      const auto byte = static_cast<uint8_t>(i);
      const bool moved = host.Write(kPipeH8Out, {byte}) == 1;
      outcomes += moved ? '1' : '0';
      if (moved)
        accepted.push_back(byte);
    }
    std::vector<uint8_t> echoed;
    for (int i = 0; i < 1000 && echoed.size() < accepted.size(); ++i) {
      const auto got = host.Read(kPipeH8In, 16);
      outcomes += got.empty() ? '0' : '1';
      echoed.insert(echoed.end(), got.begin(), got.end());
    }
    EXPECT_EQ(echoed, accepted);
    const auto failures = std::count(outcomes.begin(), outcomes.end(), '0');
    EXPECT_GT(failures, 40);
    EXPECT_LT(failures, 100);
    return outcomes;
  };
  const std::string first = run(7);
  EXPECT_EQ(run(7), first);
  EXPECT_NE(run(8), first);
}

TEST(FaultsTest, StallMakesACommittedPacketReadyThatMuchDeviceTimeLater) {
  struct Case {
    const char* commit;
    double speed;
    uint8_t clockSelect, reload;
    uint16_t prescaler;
    int64_t stopAt;    // device time of a stop command; 0: none
    int64_t committed; // device time the first packet is committed at
    size_t frames;     // in that packet
  };
  const Case cases[] = {
      {"full packet", 1.0, 2, 255, 1, 0, 25'600, 256},          // 10 MHz
      {"full packet", 10.0, 2, 255, 1, 0, 25'600, 256},         // the stall follows the speed
      {"oldest frame waited", 1.0, 1, 56, 100, 0, 14 * kMs, 1}, // 100 Hz
      {"record stopped", 1.0, 2, 255, 1, 10'000, 10'000, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.commit << ", speed " << c.speed);
    Options o = QuietOptions();
    o.speed = c.speed;
    o.stallMs = 5;
    SimHost host(o);
    Acquisition a;
    a.clockSelect = c.clockSelect;
    a.reload = c.reload;
    a.prescaler = c.prescaler;
    host.Start(a);
    const auto clockTime = [&](int64_t device) {
      return static_cast<int64_t>(static_cast<double>(device) / c.speed);
    };
    if (c.stopAt != 0) {
      host.clock.Advance(clockTime(c.stopAt));
      host.Write(kPipeCommand, {kCmdStop});
    }
    host.clock.Advance(clockTime(c.committed + 5 * kMs) - host.clock.NowNanos() - 1);
    EXPECT_FALSE(host.PacketReady());
    EXPECT_TRUE(host.ReadPacket().empty());
    host.clock.Advance(1);
    EXPECT_TRUE(host.PacketReady());
    EXPECT_EQ(host.ReadPacket().size(), 2 * c.frames);
  }
}

} // namespace
} // namespace qvt::sim::testing
