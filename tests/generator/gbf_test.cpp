// SPDX-License-Identifier: GPL-3.0-or-later
// TGBF: the four waves as tables of output codes for the fitted frequency, their limits, the
// preview geometry, and a table played by the virtual interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

#include "clock.h"
#include "gbf.h"
#include "qvt2.h"
#include "qvtlink_testing.h"

namespace {

class Synthesis : public ::testing::Test {
protected:
  void SetUp() override {
    device = std::make_unique<TQVT2>();
    gbf = std::make_unique<TGBF>(device.get());
    gbf->Frequency = 1000; // 12 MHz clock, 12,000 samples a period
    gbf->Amplitude = 1;
    gbf->DutyCycle = 0.5;
  }
  int N() const { return device->GeneratorPoints; }
  int CountCode(int32_t code) const {
    return static_cast<int>(std::count(gbf->Samples.begin(), gbf->Samples.begin() + N(), code));
  }

  std::unique_ptr<TQVT2> device;
  std::unique_ptr<TGBF> gbf;
};

TEST(VoltsToCode, RoundsHalfToEvenAndClamps) {
  struct Case {
    double volts;
    int32_t code;
  };
  const Case cases[] = {
      {0, 8192},
      {1, 7373},
      {-1, 9011},
      {10, 0},
      {-10, 16384},
      {12, 0},
      {-12, 16384},
      {20.0 / 16384 * 0.5, 8192},  // -0.5 code rounds to even 0
      {20.0 / 16384 * 1.5, 8190},  // -1.5 rounds to -2
      {-20.0 / 16384 * 2.5, 8194}, // 2.5 rounds to 2
  };
  for (const Case& c : cases)
    EXPECT_EQ(TGBF::VoltsToCode(c.volts), c.code) << c.volts;
}

TEST_F(Synthesis, SineQuarterPoints) {
  gbf->Waveform = 2;
  gbf->Compute();
  EXPECT_EQ(gbf->Frequency, 1000);
  ASSERT_EQ(N() % 4, 0);
  EXPECT_EQ(gbf->Samples[0], 8192);
  EXPECT_EQ(gbf->Samples[N() / 4], 8192 - 819);
  EXPECT_EQ(gbf->Samples[3 * N() / 4], 8192 + 819);
  for (int i = N(); i < TGBF::kTableSize; ++i)
    ASSERT_EQ(gbf->Samples[i], 0) << i;
}

TEST_F(Synthesis, LargeWavesClipAtBothEnds) {
  gbf->Waveform = 2;
  gbf->Amplitude = 10;
  gbf->Offset = 5;
  gbf->Compute();
  EXPECT_GT(CountCode(0), N() / 10);
  EXPECT_EQ(CountCode(16384), 0);
  gbf->Offset = -5;
  gbf->Compute();
  EXPECT_GT(CountCode(16384), N() / 10);
  EXPECT_EQ(*std::max_element(gbf->Samples.begin(), gbf->Samples.end()), 16384);
}

TEST_F(Synthesis, SquareAndTriangleSplitThePeriodAtTheDutyCycle) {
  const int32_t low = 8192 + 819, high = 8192 - 819;
  gbf->Waveform = 0;
  gbf->Compute();
  EXPECT_EQ(CountCode(low), N() / 2 + 1);
  EXPECT_EQ(CountCode(high), N() / 2 - 1);

  struct Case {
    double duty;
    int k;
  };
  const Case cases[] = {{0.01, 120}, {0.0001, 2}, {0.99, 11880}, {0.99999, 11998}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.duty);
    gbf->DutyCycle = c.duty;
    gbf->Waveform = 0;
    gbf->Compute();
    EXPECT_EQ(CountCode(low), c.k + 1);
    gbf->Waveform = 1;
    gbf->Compute();
    // The triangle peaks at sample k and starts from the bottom.
    EXPECT_EQ(gbf->Samples[c.k], high);
    EXPECT_EQ(gbf->Samples[0], low);
    EXPECT_EQ(*std::min_element(gbf->Samples.begin(), gbf->Samples.begin() + N()), high);
  }
}

TEST_F(Synthesis, ArbitraryWaveFollowsTheExpression) {
  gbf->Waveform = 3;
  gbf->Amplitude = 3; // not applied to the arbitrary wave
  gbf->Offset = 2;
  gbf->Compute(); // the expression given at creation: t*5
  EXPECT_EQ(gbf->GetExpression(), "t*5");
  EXPECT_EQ(gbf->Samples[0], 8192);
  EXPECT_NEAR(gbf->Samples[N() - 1], 4096, 2);
  EXPECT_EQ(gbf->Samples[N() / 2], 8192 - 2048);
  EXPECT_TRUE(
      std::is_sorted(gbf->Samples.rbegin() + (TGBF::kTableSize - N()), gbf->Samples.rend()));

  gbf->SetExpression("");
  gbf->Compute();
  EXPECT_EQ(CountCode(8192), N());

  gbf->SetExpression("2*t");
  EXPECT_THROW(gbf->SetExpression("5*"), qvt::EMathParserError);
  gbf->Compute();
  EXPECT_EQ(CountCode(8192), N()); // a formula that failed leaves 0 V

  gbf->SetExpression("LN(t-2)");
  EXPECT_THROW(gbf->Compute(), qvt::EEvaluationError);
}

TEST_F(Synthesis, FrequencyIsTheOneObtained) {
  gbf->Waveform = 2;
  gbf->Frequency = 20000;
  gbf->Compute();
  EXPECT_EQ(gbf->Frequency, 10000);
  gbf->Frequency = 0;
  gbf->Compute();
  EXPECT_EQ(gbf->Frequency, 1);
  EXPECT_EQ(N(), 15936);
}

TEST_F(Synthesis, PreviewDrawsTwoPeriodsAcrossTheBox) {
  gbf->Waveform = 2;
  gbf->Compute();
  const TGBFPreview p = ComputePreview(gbf->Samples, N(), 200, 100);
  ASSERT_EQ(p.Trace.size(), static_cast<size_t>(2 * N() + 1));
  EXPECT_EQ(p.Trace.front().x, 0);
  EXPECT_EQ(p.Trace.front().y, 50);
  EXPECT_EQ(p.Trace.back().x, 200);            // the last sample of the second period
  EXPECT_EQ(p.Trace[1 + N() / 4].y, 45);       // +1 V is drawn higher: 7373 x 100 / 16384
  EXPECT_EQ(p.Trace[1 + N() + N() / 4].y, 45); // and again one period later
  EXPECT_EQ(p.Trace[1 + N()].x, 100);
  EXPECT_EQ(p.MidLevelY, 50);
  EXPECT_EQ(p.TextAt.x, 50);
  EXPECT_EQ(p.TextAt.y, 4);
}

TEST(SynthesisWithoutDevice, ComputeAndStartNeedADevice) {
  TGBF gbf;
  EXPECT_THROW(gbf.Compute(), std::logic_error);
  EXPECT_THROW(gbf.Start(), std::logic_error);
  EXPECT_FALSE(gbf.Running);
}

TEST(SynthesisOnTheInterface, StartPlaysTheTableAtTheObtainedFrequency) {
  qvt::ManualClock clock;
  setenv("QVTLINK_DEVICE", "sim", 1);
  setenv("QVTLINK_SIM", "noise=0;glitch=0", 1);
  qvt::testing::UseClock(&clock);
  qvt::testing::ResetVirtualInterfaces();
  {
    auto device = std::make_unique<TQVT2>();
    ASSERT_TRUE(device->OpenPort());
    TGBF gbf(device.get());
    gbf.Waveform = 2;
    gbf.Amplitude = 2;
    gbf.Frequency = 440;
    gbf.Compute();
    gbf.Start();
    EXPECT_TRUE(gbf.Running);
    EXPECT_EQ(device->GeneratorMode, 1);

    device->SetChannelEnabled(0, 1); // Y0 is wired to the generator output
    device->SetTimeBase(9);          // 250 kHz
    device->StartAcquisition();
    for (int i = 0; i < 1000 && !device->IsFinished(); ++i) {
      clock.AdvanceMs(2);
      while (device->Poll() && !device->IsFinished()) {
      }
    }
    ASSERT_TRUE(device->IsFinished());
    std::vector<double> v(TQVT2::kStoreSize);
    device->FillChannel(0, v);
    std::vector<double> up;
    for (int i = 0; i + 1 < device->TotalPoints(); ++i)
      if (v[i] < 0 && v[i + 1] >= 0)
        up.push_back(i + v[i] / (v[i] - v[i + 1]));
    ASSERT_GE(up.size(), 3u);
    const double period = (up.back() - up.front()) / (up.size() - 1);
    EXPECT_NEAR(period, 250000.0 / gbf.Frequency, 1.0);

    gbf.Stop();
    EXPECT_FALSE(gbf.Running);
  }
  qvt::testing::ResetVirtualInterfaces();
  qvt::testing::UseClock(nullptr);
}

} // namespace
