// SPDX-License-Identifier: GPL-3.0-or-later
// Whole sweeps without a window on the virtual interface: trigger alignment and the window of
// samples returned, every channel at once, a cancelled wait, a lost interface, and the time
// bases by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>
#include <thread>

#include "acquire.h"
#include "qvt2.h"
#include "qvtlink_testing.h"
#include "timebase_names.h"

namespace qvt {
namespace {

using namespace std::chrono_literals;

class Acquisition : public ::testing::Test {
protected:
  void Open(const char* options) {
    setenv("QVTLINK_DEVICE", "sim", 1);
    setenv("QVTLINK_SIM", options, 1);
    qvt::testing::ResetVirtualInterfaces();
    device = std::make_unique<TQVT2>();
    ASSERT_TRUE(device->OpenPort());
  }
  void TearDown() override {
    device.reset();
    qvt::testing::ResetVirtualInterfaces();
  }
  std::unique_ptr<TQVT2> device;
};

TEST_F(Acquisition, ATriggeredSweepStartsOnTheEdgeAndSpansItsWindow) {
  // A comparator without offset: the interface's trigger falls on the level itself.
  Open("noise=0;glitch=0;trigger_offset=0");
  TSweepSetup setup;
  setup.TimeBase = *FindTimeBase("20 ms");
  setup.Channels = {false, true, false, false}; // Y1: the 50 Hz sine of 2 V
  setup.TriggerSource = 2;
  const TSweep sweep = Acquire(*device, setup);
  EXPECT_EQ(sweep.TimeBaseLabel, "20 ms");
  EXPECT_DOUBLE_EQ(sweep.SampleRate, 125e3);
  ASSERT_EQ(sweep.Channels, std::vector<int>{1});
  // The edge falls within a sample or two of the end of the pre-trigger part; the window
  // holds the whole sweep.
  ASSERT_EQ(sweep.Time.size(), 2500u);
  ASSERT_EQ(sweep.Volts[0].size(), sweep.Time.size());
  // When the crossing is a sample or two into the record, the window starts that much earlier
  // so as to stay whole (the interface's pacing decides, and a slow machine moves it).
  EXPECT_LE(sweep.Time.front(), 0);
  EXPECT_GE(sweep.Time.front(), -2.5 / 125e3);
  const auto edge = std::find(sweep.Time.begin(), sweep.Time.end(), 0.0) - sweep.Time.begin();
  ASSERT_LT(edge, 3);
  const std::vector<double>& v = sweep.Volts[0];
  EXPECT_LE(v[edge], 0.01);
  EXPECT_GT(v[edge + 1], -0.01);
  EXPECT_NEAR(v[edge + 625], 2.0, 0.05) << "the crest a quarter period later";

  // With the pre-trigger part the window starts 4 ms before the edge.
  setup.PreTrigger = true;
  setup.Rising = false;
  const TSweep early = Acquire(*device, setup);
  ASSERT_EQ(early.Time.size(), 2500u);
  EXPECT_NEAR(early.Time.front(), -0.004, 1e-4);
  const auto zero = std::find(early.Time.begin(), early.Time.end(), 0.0) - early.Time.begin();
  EXPECT_NEAR(zero, 500, 3);
  EXPECT_GE(early.Volts[0][zero], -0.01);
  EXPECT_LT(early.Volts[0][zero + 1], 0.01) << "falling through zero";
}

TEST_F(Acquisition, EveryEdgeTriggersWhateverTheComparatorsOffset) {
  // The comparator fires at the level plus its offset: on a slow edge the level is crossed
  // many samples before or after the interface's trigger frame, or not within the sweep at
  // all. Every sweep must still be the first edge's (none re-armed), with t = 0 within the
  // offset's time equivalent of the crossing, full length, the pre-trigger part or not.
  struct TSignal {
    const char* name;
    int channel;
    double maxSlope; // V/s at 0 V; infinite for the square's jumps
    double period;   // s
  };
  const TSignal signals[] = {
      {"sine", 1, 2 * std::numbers::pi * 50 * 2, 0.02},
      {"square", 2, INFINITY, 0.001},
      {"triangle", 3, 4 * 2 * 5, 0.5},
  };
  struct TOffset {
    const char* option; // empty: the virtual interface's default
    double volts;
  };
  const TOffset offsets[] = {
      {"", 0.08}, {";trigger_offset=-0.3", -0.3}, {";trigger_offset=0.3", 0.3}};
  constexpr double kSpeed = 10; // device seconds per second: the triangle's edges come sooner
  constexpr double kSweep = 0.02;
  constexpr double kDt = 8e-6;
  for (const TOffset& offset : offsets) {
    Open((std::string("glitch=0;speed=10;y1=sine:50:2;y2=square:1000:2;y3=triangle:2:5") +
          offset.option)
             .c_str());
    for (const TSignal& signal : signals) {
      for (const bool rising : {true, false}) {
        for (const double level : {-1.0, 0.0, 1.0}) {
          for (const bool pre : {false, true}) {
            const std::string name = std::string(signal.name) + (rising ? " rising" : " falling") +
                                     " at " + std::to_string(level) + " V, offset " +
                                     std::to_string(offset.volts) + (pre ? ", pre-trigger" : "");
            TSweepSetup setup;
            setup.TimeBase = *FindTimeBase("20 ms");
            setup.Channels = {};
            setup.Channels[signal.channel] = true;
            setup.TriggerSource = signal.channel + 1;
            setup.Rising = rising;
            setup.Level = level;
            setup.PreTrigger = pre;
            // An edge comes within a period; its sweep within two sweeps of it.
            const auto deadline =
                std::chrono::steady_clock::now() +
                std::chrono::duration<double>((signal.period + 2 * kSweep) / kSpeed) + 1s;
            TAcquireControl control;
            control.Continue = [&] { return std::chrono::steady_clock::now() < deadline; };
            TSweep sweep;
            try {
              sweep = Acquire(*device, setup, control);
            } catch (const TScopeError&) {
              ADD_FAILURE() << name << ": no sweep in time";
              continue;
            }
            EXPECT_EQ(sweep.Rearmed, 0) << name;
            ASSERT_EQ(sweep.Time.size(), 2500u) << name;
            const auto zero = std::find(sweep.Time.begin(), sweep.Time.end(), 0.0);
            ASSERT_NE(zero, sweep.Time.end()) << name;
            const auto j = static_cast<size_t>(zero - sweep.Time.begin());
            const std::vector<double>& v = sweep.Volts[0];
            const double sign = rising ? 1 : -1;
            if (std::isinf(signal.maxSlope)) {
              // The jump lies between the sample at t = 0 and the next.
              EXPECT_LT(sign * (v[j] - level), 0) << name;
              EXPECT_GT(sign * (v[j + 1] - level), 0) << name;
              continue;
            }
            // Within the offset of the level, noise and a sample's slope besides; and the
            // signal runs the chosen way there.
            EXPECT_LE(std::fabs(v[j] - level),
                      std::fabs(offset.volts) + 0.02 + signal.maxSlope * kDt)
                << name;
            EXPECT_GT(sign * (v[std::min(j + 100, v.size() - 1)] - v[j >= 100 ? j - 100 : 0]), 0.02)
                << name;
          }
        }
      }
    }
  }
}

TEST_F(Acquisition, AKeyboardSweepTakesEveryChannelAtOnce) {
  Open("noise=0;glitch=0");
  TSweepSetup setup;
  setup.TimeBase = *FindTimeBase("1 ms");
  setup.Channels = {true, true, true, true};
  setup.PreTrigger = true; // meaningless without a trigger, and dropped
  const TSweep sweep = Acquire(*device, setup);
  EXPECT_FALSE(sweep.Setup.PreTrigger);
  ASSERT_EQ(sweep.Volts.size(), 4u);
  ASSERT_EQ(sweep.Time.size(), 1200u);
  EXPECT_EQ(sweep.Time.front(), 0);
  EXPECT_NEAR(sweep.Time.back(), 0.001, 2e-6) << "the sweep fills its window";
  // Y2 is a 1 kHz square: one whole period in the window, as much high as low.
  int high = 0;
  for (double x : sweep.Volts[2])
    high += x > 0;
  EXPECT_NEAR(high, 600, 15);
}

TEST_F(Acquisition, AWaitForAnEdgeEndsWhenCancelledOrWhenTheInterfaceGoes) {
  const auto opened = std::chrono::steady_clock::now();
  Open("noise=0;glitch=0;unplug_after=2.5");
  TSweepSetup setup;
  setup.TimeBase = *FindTimeBase("20 ms");
  setup.Channels = {false, true, false, false};
  setup.TriggerSource = 2;
  setup.Level = 5; // the 2 V sine never gets there

  std::atomic<bool> cancel{false};
  std::chrono::steady_clock::time_point cancelledAt{};
  std::thread stopper([&] {
    std::this_thread::sleep_for(300ms);
    cancelledAt = std::chrono::steady_clock::now();
    cancel = true;
  });
  try {
    TAcquireControl control;
    control.Cancel = &cancel;
    Acquire(*device, setup, control);
    ADD_FAILURE() << "the sweep cannot complete";
  } catch (const TScopeError& e) {
    EXPECT_EQ(e.Kind, TScopeError::TKind::Cancelled);
  }
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, 200ms);
  EXPECT_TRUE(device->IsOpen());

  // Still usable; then unplugged (2.5 s after the start) while it waits again.
  setup.Level = 0;
  EXPECT_EQ(Acquire(*device, setup).Time.size(), 2500u);
  setup.Level = 5;
  try {
    Acquire(*device, setup);
    ADD_FAILURE() << "the interface went";
  } catch (const TScopeError& e) {
    EXPECT_EQ(e.Kind, TScopeError::TKind::Lost);
  }
  // Told within 3 s of the unplug (and a margin for a loaded machine).
  EXPECT_LT(std::chrono::steady_clock::now() - opened, 2500ms + 3s + 500ms);
  EXPECT_FALSE(device->IsOpen());
  try {
    Acquire(*device, setup);
    ADD_FAILURE();
  } catch (const TScopeError& e) {
    EXPECT_EQ(e.Kind, TScopeError::TKind::Absent);
  }
}

TEST(TimeBaseNames, LabelsAsTheWindowShowsThemAndTheirUsualSpellings) {
  EXPECT_EQ(TimeBaseLabelUtf8(5), "500 \xC2\xB5s");
  EXPECT_EQ(TimeBaseLabelUtf8(17), "5 s");
  EXPECT_EQ(FindTimeBase("500 \xC2\xB5s"), 5);
  EXPECT_EQ(FindTimeBase("500us"), 5);
  EXPECT_EQ(FindTimeBase("500 \xCE\xBCs"), 5);
  EXPECT_EQ(FindTimeBase("5 s"), 17);
  EXPECT_EQ(FindTimeBase("1h"), 25);
  EXPECT_EQ(FindTimeBase("10 min"), 23);
  EXPECT_FALSE(FindTimeBase("3 ms"));
  EXPECT_FALSE(FindTimeBase(""));
}

} // namespace
} // namespace qvt
