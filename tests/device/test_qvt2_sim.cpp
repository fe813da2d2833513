// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2 on the virtual interface: the start commands a sweep sends, polling on both bus
// speeds, a triggered sweep of the default scene, clipped sweeps, and the generator's played
// frequency.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "sim_device_fixture.h"

namespace {

// Rising crossings of `level` between first and last, with linear interpolation.
std::vector<double> RisingCrossings(const std::vector<double>& v, int first, int last,
                                    double level = 0.0) {
  std::vector<double> at;
  for (int i = first; i + 1 <= last; ++i)
    if (v[i] < level && v[i + 1] >= level)
      at.push_back(i + (level - v[i]) / (v[i + 1] - v[i]));
  return at;
}

TEST_F(SimDevice, StartUsesTheReconfigureCommandOnlyAfterARangeChange) {
  Open();
  device->SetChannelEnabled(0, 1);
  device->StartAcquisition(); // first start after construction
  device->StopAcquisition();
  device->StartAcquisition(); // nothing changed
  device->StopAcquisition();
  device->SetHighRange(0, false);
  device->StartAcquisition(); // range changed
  device->StartAcquisition(); // a start while running stops first
  std::vector<std::string> starts;
  for (const std::string& c : Commands())
    if (c == "08" || c == "09")
      starts.push_back(c);
  EXPECT_EQ(starts, (std::vector<std::string>{"08", "09", "08", "09"}));
}

TEST_F(SimDevice, TheHalfMillisecondAndMillisecondSweepsKeepTheirRateThroughAStart) {
  // The library runs the 10 MHz clock with reload 255 only; these rows are on the 6 MHz clock,
  // whose reload it leaves alone, so they sample at the rate their window needs.
  Open();
  device->SetChannelEnabled(0, 1);
  for (int row : {5, 6}) {
    device->SetTimeBase(row);
    device->StartAcquisition();
    EXPECT_EQ(device->AcquisitionRequest().timerReload, 251);
    EXPECT_DOUBLE_EQ(device->SampleRate(), 1.2e6);
    device->StopAcquisition();
  }
}

struct BusCase {
  const char* bus;
  int channels;
  int perPoll;
};

class SimDeviceBus : public SimDevice, public ::testing::WithParamInterface<BusCase> {};

TEST_P(SimDeviceBus, EachPollStoresOnePacketOfFrames) {
  const BusCase& c = GetParam();
  Open(std::string("bus=") + c.bus);
  for (int k = 0; k < c.channels; ++k)
    device->SetChannelEnabled(k, 1);
  device->SetTimeBase(9); // 250 kHz
  device->StartAcquisition();
  clock.AdvanceMs(10); // 2,500 frames wait in the interface
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(device->Poll());
    EXPECT_EQ(device->ReceivedCount, c.perPoll * i);
  }
}

INSTANTIATE_TEST_SUITE_P(Buses, SimDeviceBus,
                         ::testing::Values(BusCase{"high", 1, 256}, BusCase{"high", 4, 64},
                                           BusCase{"full", 1, 32}, BusCase{"full", 4, 8},
                                           BusCase{"high", 3, 85}));

TEST_F(SimDevice, TriggeredSweepOfTheFiftyHertzSine) {
  Open();
  device->SetChannelEnabled(1, 1);
  device->SetTimeBase(10);     // "20 ms": 125 kHz, 3,000 samples
  device->SetTriggerSource(2); // channel 1
  device->SetRisingEdge(1);
  device->SetThreshold(0.0);
  device->StartAcquisition();
  ASSERT_TRUE(RunSweep(5));
  const std::vector<double> v = Volts(1);
  const int total = device->TotalPoints();
  const auto [lo, hi] = std::minmax_element(v.begin(), v.begin() + total);
  EXPECT_NEAR(*hi, 2.0, 0.05);
  EXPECT_NEAR(*lo, -2.0, 0.05);
  const std::vector<double> up = RisingCrossings(v, 0, total - 1);
  ASSERT_FALSE(up.empty());
  // The comparator offset of the interface puts the crossing of 0 V a little before the
  // trigger point; 20 samples are 160 µs of a 20 ms period.
  EXPECT_NEAR(up.front(), 500, 20);
  // 125 kHz / 50 Hz = 2,500 samples a period: the falling crossing half a period later.
  for (int i = 600; i < 2200; ++i)
    if (v[i] >= 0 && v[i + 1] < 0) {
      EXPECT_NEAR(i, up.front() + 1250, 3);
    }
  // The sweep holds a sine, not a square or a ramp: compare against the model.
  for (int i = 0; i < total; i += 97)
    EXPECT_NEAR(v[i], 2.0 * std::sin(2 * std::numbers::pi * 50 * (i - up.front()) / 125e3), 0.02)
        << i;
}

TEST_F(SimDevice, ClippedSamplesKeepTheirSignAndTellTheEndsOnEveryGain) {
  // Gains 1.002, 0.998, 1.000, 1.001; on the narrow range (+-7.5 V) a 9 V sine is clipped at
  // both ends, a 3 V one nowhere.
  Open("y0=sine:50:9;y1=sine:50:9;y2=sine:50:3;y3=sine:50:9");
  for (int k = 0; k < 4; ++k) {
    device->SetChannelEnabled(k, 1);
    device->SetHighRange(k, false);
  }
  device->SetTimeBase(10); // "20 ms": 125 kHz, 3,000 samples
  device->StartAcquisition();
  ASSERT_TRUE(RunSweep(5));
  const int total = device->TotalPoints();
  for (int k = 0; k < 4; ++k) {
    const double peak = k == 2 ? 3 : 9;
    const std::vector<double> v = Volts(k);
    const int first = static_cast<int>(RisingCrossings(v, 0, total - 1).front());
    for (int i = 0; i < total; ++i) {
      const double model = peak * std::sin(2 * std::numbers::pi * 50 * (i - first) / 125e3);
      if (std::fabs(model) > 1) {
        ASSERT_EQ(v[i] > 0, model > 0) << "channel " << k << " sample " << i << ": " << v[i];
      }
    }
    const TClipping clipping = device->Clipping(k, 0, total);
    EXPECT_EQ(clipping.Low, peak > 7.5) << k;
    EXPECT_EQ(clipping.High, peak > 7.5) << k;
    EXPECT_NEAR(*std::max_element(v.begin(), v.begin() + total), std::min(peak, 7.5), 0.03) << k;
  }
}

struct GeneratorCase {
  int32_t hz;
  int timeBase;
};

class SimDeviceGenerator : public SimDevice, public ::testing::WithParamInterface<GeneratorCase> {};

TEST_P(SimDeviceGenerator, ChannelZeroSeesTheFittedFrequency) {
  const GeneratorCase& c = GetParam();
  Open();
  device->FitGeneratorFrequency(c.hz);
  const int n = device->GeneratorPoints;
  std::vector<int32_t> table(TQVT2::kGeneratorSamples + 1, 0);
  for (int i = 0; i < n; ++i) // 2 V sine, code decreasing as the voltage rises
    table[i] = 8192 - static_cast<int32_t>(
                          std::lround(2 * 819.2 * std::sin(2 * std::numbers::pi * i / n)));
  device->StopGenerator();
  device->GeneratorMode = 1;
  device->StartGenerator(table);
  EXPECT_EQ(device->GeneratorTable().count, 0); // the library counted the whole table out

  device->SetChannelEnabled(0, 1);
  device->SetTimeBase(c.timeBase);
  device->StartAcquisition();
  ASSERT_TRUE(RunSweep(2));
  const std::vector<double> v = Volts(0);
  const std::vector<double> up = RisingCrossings(v, 0, device->TotalPoints() - 1);
  ASSERT_GE(up.size(), 3u);
  const double period = (up.back() - up.front()) / (up.size() - 1);
  const double expected = device->SampleRate() / device->GeneratorFrequency;
  EXPECT_NEAR(period, expected, 1.0) << "obtained " << device->GeneratorFrequency << " Hz";
  EXPECT_NEAR(*std::max_element(v.begin(), v.begin() + device->TotalPoints()), 2.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Clocks, SimDeviceGenerator,
                         ::testing::Values(GeneratorCase{5000, 8}, // 48 MHz clock
                                           GeneratorCase{3000, 7}, // 12 MHz, timer 65,535
                                           GeneratorCase{1000, 9}, // 12 MHz
                                           GeneratorCase{50, 12},  // 4 MHz, timer 65,530
                                           GeneratorCase{7, 15})); // 4 MHz, timer 65,500

} // namespace
