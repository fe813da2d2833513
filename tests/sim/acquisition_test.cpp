// SPDX-License-Identifier: GPL-3.0-or-later
// Acquisition as the host sees it: sample pacing in device time, packets of whole frames,
// 14-bit big-endian codes with range scaling and saturation, the trigger with its 500
// pre-trigger frames, the buffer cap, live delivery at slow rates and the converter glitch.
#include <gtest/gtest.h>

#include <cmath>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

constexpr int64_t kMs = 1'000'000;

Options Scene(const char* input, SourceSpec source) {
  Options o = QuietOptions();
  if (input[1] == 'd')
    o.yd[input[2] - '0'] = source;
  else
    o.bnc[input[1] - '0'] = source;
  return o;
}

SourceSpec Dc(double volts) {
  return {SourceKind::kDc, 0.0, 0.0, volts};
}

TEST(AcquisitionTest, FramesFollowTheProgrammedRateInDeviceTime) {
  struct Case {
    uint8_t clockSelect, reload;
    uint16_t prescaler;
    int64_t duration; // clock time
    size_t frames;
    double speed = 1.0;
  };
  const Case cases[] = {
      {2, 255, 1, 1 * kMs, 10000},        // 10 MHz
      {0, 232, 1, 20 * kMs, 5000},        // 250 kHz
      {1, 216, 1, 40 * kMs, 2000},        // 50 kHz
      {1, 56, 100, 1000 * kMs, 100},      // 100 Hz
      {1, 56, 100, 100 * kMs, 100, 10.0}, // 100 Hz, device time ten times as fast
      {1, 56, 14400, 2880 * kMs, 2},      // 0.69 Hz
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.clockSelect) << "/" << int(c.reload) << "/"
                                      << c.prescaler << " speed " << c.speed);
    Options o = QuietOptions();
    o.speed = c.speed;
    SimHost host(o);
    Acquisition a;
    a.enabled = {true, true, false, false};
    a.clockSelect = c.clockSelect;
    a.reload = c.reload;
    a.prescaler = c.prescaler;
    host.Start(a);
    host.clock.Advance(c.duration - 1);
    host.Write(kPipeCommand, {kCmdStop});
    EXPECT_EQ(host.Drain().size(), 2 * (c.frames - 1));

    host.Start(a);
    host.clock.Advance(c.duration);
    host.Write(kPipeCommand, {kCmdStop});
    EXPECT_EQ(host.Drain().size(), 2 * c.frames);
  }
}

TEST(AcquisitionTest, PacketsCarryWholeFramesOfTheEnabledChannels) {
  struct Case {
    Bus bus;
    std::array<bool, 4> enabled;
    size_t bytes;
  };
  const Case cases[] = {
      {Bus::kHigh, {true, false, false, false}, 512}, {Bus::kHigh, {true, false, true, true}, 510},
      {Bus::kHigh, {true, true, true, true}, 512},    {Bus::kFull, {false, true, false, false}, 64},
      {Bus::kFull, {true, true, true, false}, 60},    {Bus::kFull, {true, true, true, true}, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    Options o = QuietOptions();
    o.bus = c.bus;
    SimHost host(o);
    Acquisition a;
    a.enabled = c.enabled;
    host.Start(a);
    host.clock.AdvanceMs(1);
    EXPECT_TRUE(host.PacketReady());
    EXPECT_EQ(host.ReadPacket().size(), c.bytes);
    // A short read buffer still gets whole frames only.
    const size_t frameBytes =
        2 * static_cast<size_t>(std::count(c.enabled.begin(), c.enabled.end(), true));
    const size_t shortRead = host.Read(kPipeSamples, 11).size();
    EXPECT_GT(shortRead, 0u);
    EXPECT_EQ(shortRead % frameBytes, 0u);
  }
}

TEST(AcquisitionTest, CodesAreBigEndianScaledAndSaturated) {
  struct Case {
    const char* input;
    double volts;
    uint8_t range;
    uint16_t word;
  };
  const Case cases[] = {
      {"y0", 1.0, 0, 546},    {"y0", 1.0, 1, 1092},          {"y0", -1.0, 0, 16384 - 546},
      {"y0", 14.99, 0, 8187}, {"y0", 20.0, 0, 0x2000},       {"y0", -20.0, 0, 0x2001},
      {"y0", 7.5, 1, 0x2000}, {"y0", -9.0, 1, 0x2001},       {"y0", 0.0, 0, 0},
      {"yd0", 3.0, 0, 1638},  {"y2", -2.5, 1, 16384 - 2731},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.input << " " << c.volts << " V range " << int(c.range));
    SimHost host(Scene(c.input, Dc(c.volts)));
    Acquisition a;
    const int k = c.input[c.input[1] == 'd' ? 2 : 1] - '0';
    a.enabled = {k == 0, k == 1, k == 2, k == 3};
    a.range[k] = c.range;
    a.input[k] = c.input[1] == 'd' ? 1 : 0;
    host.Start(a);
    host.clock.AdvanceMs(1);
    const auto packet = host.ReadPacket();
    ASSERT_EQ(packet.size(), 512u);
    EXPECT_EQ(packet[0], c.word >> 8);
    EXPECT_EQ(packet[1], c.word & 0xFF);
  }
}

TEST(AcquisitionTest, FrontEndGainIsTheInverseOfTheReportedCalibration) {
  Options o = Scene("y0", Dc(5.0));
  o.gains[0] = 1.02f;
  SimHost host(o);
  host.Start(Acquisition{});
  host.clock.AdvanceMs(1);
  const auto words = host.Drain();
  ASSERT_FALSE(words.empty());
  // The host's calibration (code times gain, truncated) gives back the true code, 2730.67.
  EXPECT_NEAR(std::trunc(SignedCode(words[0]) * 1.02), 2730, 1);
}

class TriggerTest : public ::testing::TestWithParam<bool> {};

// A 50 Hz, 2 V sine on Y1 sampled at 50 kHz: the trigger frame is record frame 500, the
// crossing lies within half a sample of it, and the edge has the programmed direction.
TEST_P(TriggerTest, RecordStartsFiveHundredFramesBeforeTheCrossing) {
  const bool rising = GetParam();
  Options o = QuietOptions();
  o.triggerOffset = 0.0;
  SimHost host(o);
  Acquisition a;
  a.enabled = {false, true, false, false};
  a.clockSelect = 1;
  a.reload = 216;
  a.triggerSource = 2;
  a.rising = rising;
  a.level = 2185; // 1.0059 V
  const double threshold = 2185 * 30.0 / 4096 - 15;
  host.Start(a);
  const auto words = host.Collect(100 * kMs, 5 * kMs);
  ASSERT_GE(words.size(), 1000u);
  const auto volts = [&](size_t i) { return SignedCode(words[i]) * 30.0 / 16384; };
  const double step = 2 * M_PI * 50 * 2 * std::sqrt(1 - std::pow(threshold / 2, 2)) / 50000;
  if (rising) {
    EXPECT_LT(volts(499), threshold);
    EXPECT_GT(volts(501), threshold);
  } else {
    EXPECT_GT(volts(499), threshold);
    EXPECT_LT(volts(501), threshold);
  }
  EXPECT_NEAR(volts(500), threshold, step / 2 + 30.0 / 16384);
  // The record is contiguous from its first frame: one sine period later the value repeats.
  EXPECT_NEAR(volts(0), volts(1000), 2 * 30.0 / 16384);
}

INSTANTIATE_TEST_SUITE_P(Edges, TriggerTest, ::testing::Bool());

// At 10 MHz the sine moves 63 uV per sample, so frame 500 shows where the comparator fires.
TEST(AcquisitionTest, ComparatorFiresAtTheLevelPlusItsOffset) {
  for (const double offset : {0.08, -0.3, 0.0}) {
    SCOPED_TRACE(offset);
    Options o = QuietOptions();
    o.triggerOffset = offset;
    SimHost host(o);
    Acquisition a;
    a.enabled = {false, true, false, false};
    a.triggerSource = 2;
    a.level = 2048;
    host.Start(a);
    const auto words = host.Collect(25 * kMs, kMs);
    ASSERT_GT(words.size(), 500u);
    EXPECT_NEAR(SignedCode(words[500]) * 30.0 / 16384, offset, 0.0001 + 30.0 / 16384);
  }
}

TEST(AcquisitionTest, ArmedTriggerSendsNothingUntilItFires) {
  SimHost host(Scene("y0", Dc(1.0)));
  Acquisition a;
  a.triggerSource = 1;
  a.level = 2048;
  host.Start(a);
  host.clock.AdvanceMs(50);
  EXPECT_FALSE(host.PacketReady());
  host.Write(kPipeCommand, {kCmdStop});
  EXPECT_TRUE(host.Drain().empty());
}

// The calibration of the trigger threshold with the generator looped back to Y0: a 1 kHz,
// 10 V triangle, channel 0 triggered at 0 V rising, 50 kHz. The first frame of each record
// (ten periods before the trigger) measures the comparator offset, to within the 0.8 V the
// triangle moves per sample divided among six records.
TEST(AcquisitionTest, LoopBackCalibrationMeasuresTheComparatorOffset) {
  Options o; // the default scene, noise and offset included
  SimHost host(o);
  std::vector<uint16_t> table(12000);
  for (size_t i = 0; i < table.size(); ++i) {
    const double v = i <= 6000 ? -10 + 20.0 * i / 6000 : 10 - 20.0 * (i - 6000) / 6000;
    table[i] = static_cast<uint16_t>(std::clamp(std::lround(-v * 819.2) + 8192, 0L, 16383L));
  }
  host.StartGenerator(table, 1, 65535);
  Acquisition a;
  a.clockSelect = 1;
  a.reload = 216;
  a.triggerSource = 1;
  a.level = 2048;
  double sum = 0;
  for (int k = 0; k < 7; ++k) {
    host.Start(a);
    const auto words = host.Collect(100 * kMs, 7 * kMs);
    ASSERT_FALSE(words.empty());
    if (k > 0)
      sum += SignedCode(words[0]) * 30.0 / 16384;
    host.Write(kPipeCommand, {kCmdStop});
    host.Drain();
    // Start the next record a sixth of a sample period later in the triangle's phase.
    host.clock.Advance(3 * kMs + 3'333);
  }
  EXPECT_NEAR(sum / 6, 0.08, 0.8 / 6);
}

TEST(AcquisitionTest, FullBufferPausesCaptureAndKeepsTheRecordContiguous) {
  Options o = QuietOptions();
  o.noise = 0.05; // every sample distinct
  Acquisition a;
  a.enabled = {false, true, false, false};

  SimHost prompt(o);
  prompt.Start(a);
  const auto reference = prompt.Collect(2 * kMs, kMs / 20);
  ASSERT_GE(reference.size(), 16384u);

  SimHost slow(o);
  slow.Start(a);
  slow.clock.AdvanceMs(10); // 100,000 samples taken, 16,384 kept
  std::vector<uint16_t> words;
  while (words.size() < 16384 + 256) {
    const auto packet = slow.ReadPacket();
    ASSERT_FALSE(packet.empty()) << words.size();
    for (size_t i = 0; i < packet.size(); i += 2)
      words.push_back(static_cast<uint16_t>(packet[i] << 8 | packet[i + 1]));
    if (words.size() == 256)
      slow.clock.AdvanceMs(1); // capture resumed after the first read
  }
  EXPECT_TRUE(std::equal(words.begin(), words.begin() + 16384, reference.begin()));
  EXPECT_FALSE(std::equal(words.begin() + 16384, words.end(), reference.begin() + 16384));
}

TEST(AcquisitionTest, SlowSamplesArriveLiveInPartialPackets) {
  SimHost host;
  Acquisition a;
  a.clockSelect = 1;
  a.reload = 56;
  a.prescaler = 100; // 100 samples per second
  host.Start(a);
  host.clock.AdvanceMs(10);
  EXPECT_FALSE(host.PacketReady());
  host.clock.AdvanceMs(3);
  EXPECT_FALSE(host.PacketReady());
  host.clock.AdvanceMs(2);
  EXPECT_TRUE(host.PacketReady());
  EXPECT_EQ(host.ReadPacket().size(), 2u);
  EXPECT_FALSE(host.PacketReady());
}

TEST(AcquisitionTest, StopKeepsUnreadFramesAndStartDiscardsThem) {
  SimHost host;
  Acquisition a;
  host.Start(a);
  host.clock.Advance(10'000); // 100 frames
  host.Write(kPipeCommand, {kCmdStop});
  host.clock.AdvanceMs(5);
  EXPECT_EQ(host.Drain().size(), 100u);

  host.Start(a);
  host.clock.Advance(10'000);
  a.reconfigure = false;
  host.Start(a);
  EXPECT_FALSE(host.PacketReady());
}

TEST(AcquisitionTest, GlitchOnlyFollowsANegativeSample) {
  for (const double volts : {-1.0, 1.0}) {
    Options o = Scene("y0", Dc(volts));
    o.glitchRate = 1.0;
    SimHost host(o);
    host.Start(Acquisition{});
    host.clock.AdvanceMs(1);
    host.Write(kPipeCommand, {kCmdStop});
    const auto words = host.Drain();
    ASSERT_EQ(words.size(), 10000u);
    EXPECT_EQ(SignedCode(words[0]), volts < 0 ? -546 : 546); // never the first of a record
    for (size_t i = 1; i < words.size(); ++i)
      ASSERT_EQ(words[i], volts < 0 ? 0x2000 : 546) << i;
  }
}

TEST(AcquisitionTest, NoiseIsRepeatableForASeed) {
  const auto record = [](uint64_t seed) {
    Options o;
    o.seed = seed;
    o.noise = 0.01;
    o.glitchRate = 0.0;
    SimHost host(o);
    host.Start(Acquisition{});
    host.clock.Advance(100'000);
    host.Write(kPipeCommand, {kCmdStop});
    return host.Drain();
  };
  const auto a = record(5);
  EXPECT_EQ(a, record(5));
  EXPECT_NE(a, record(6));
  double sum2 = 0; // channel 0 is G0, at 0 V while the generator is stopped
  for (uint16_t w : a)
    sum2 += std::pow(SignedCode(w) * 30.0 / 16384, 2);
  EXPECT_NEAR(std::sqrt(sum2 / a.size()), 0.01, 0.002);
}

} // namespace
} // namespace qvt::sim::testing
