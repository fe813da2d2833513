// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2 without an interface: the time-base table, trigger threshold codes, setter ranges,
// input ranges and the generator frequency fitting.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "qvt2.h"

namespace {

struct TimeBaseRow {
  int index;
  const char* label;
  double rate;
  int32_t total;
  double preTrigger;
};

// Sample rates and pre-trigger times as a teacher would read them off the interface.
const TimeBaseRow kRows[] = {
    {0, "10 \xB5s", 10e6, 600, -0.000005},
    {1, "20 \xB5s", 10e6, 700, -0.00001},
    {2, "50 \xB5s", 10e6, 1000, -0.000025},
    {3, "100 \xB5s", 10e6, 1500, -0.00005},
    {4, "200 \xB5s", 10e6, 2500, -0.00005},
    {5, "500 \xB5s", 1.2e6, 1100, -0.00025},
    {6, "1 ms", 1.2e6, 1700, -500 / 1.2e6},
    {7, "2 ms", 1.2e6, 2900, -500 / 1.2e6},
    {8, "5 ms", 500e3, 3000, -0.001},
    {9, "10 ms", 250e3, 3000, -0.002},
    {10, "20 ms", 125e3, 3000, -0.004},
    {11, "50 ms", 50e3, 3000, -0.01},
    {12, "100 ms", 25e3, 3000, -0.02},
    {13, "200 ms", 12.5e3, 3000, -0.04},
    {14, "500 ms", 5e3, 3000, -0.1},
    {15, "1 s", 2500, 3000, -0.2},
    {16, "2 s", 1250, 3000, -0.4},
    {17, " 5 s", 500, 3000, -1},
    {18, "10 s", 250, 3000, -2},
    {19, "20 s", 125, 3000, -4},
    {20, "50 s", 50, 3000, -10},
    {21, "100 s", 25, 3000, -20},
    {22, "200 s", 12.5, 3000, -40},
    {23, "10 min", 2e6 / 200 / 2400, 3000, -120},
    {24, "20 min", 2e6 / 200 / 4800, 3000, -240},
    {25, "1 h", 2e6 / 200 / 14400, 3000, -720},
};

TEST(TimeBaseTable, RatesPointsAndPreTriggerOfEveryRow) {
  auto device = std::make_unique<TQVT2>();
  for (const TimeBaseRow& row : kRows) {
    SCOPED_TRACE(row.index);
    device->SetTimeBase(row.index);
    EXPECT_EQ(std::string(TimeBases()[row.index].Label), row.label);
    EXPECT_NEAR(device->SampleRate(), row.rate, row.rate * 1e-12);
    EXPECT_EQ(device->TotalPoints(), row.total);
    EXPECT_NEAR(device->PreTriggerTime(), row.preTrigger, std::abs(row.preTrigger) * 1e-9);
    // Every sweep spans its whole window. The interface runs its 10 MHz clock with reload 255
    // only, so a row on that clock with another reload would sample faster than it says.
    const TTimeBase& base = TimeBases()[row.index];
    EXPECT_NEAR(device->SweepPoints() / row.rate, base.SweepDuration, base.SweepDuration * 1e-9);
    if (base.ClockSelect == 2) {
      EXPECT_EQ(base.Reload, 255);
    }
  }
  device->SetTimeBase(25);
  EXPECT_NEAR(device->SampleRate(), 0.69444, 1e-5);
}

TEST(TimeBaseTable, OutOfRangeSettersThrow) {
  auto device = std::make_unique<TQVT2>();
  EXPECT_THROW(device->SetTimeBase(26), std::out_of_range);
  EXPECT_THROW(device->SetTimeBase(-1), std::out_of_range);
  EXPECT_THROW(device->SetChannelEnabled(4, 1), std::out_of_range);
  EXPECT_THROW(device->SetChannelEnabled(0, 128), std::out_of_range);
  EXPECT_THROW(device->SetInputYD(4, 0), std::out_of_range);
  EXPECT_THROW(device->SetHighRange(-1, true), std::out_of_range);
  EXPECT_NO_THROW(device->SetChannelEnabled(3, 127));
  EXPECT_EQ(device->EnabledChannelCount(), 1);
}

TEST(Threshold, QuantisedToTwelveBitCodesWithinTheAcceptedBand) {
  auto device = std::make_unique<TQVT2>();
  struct Case {
    double offset, volts;
    int32_t code;
  };
  const Case cases[] = {
      {0, 0.0, 2048},    // mid-scale
      {0, 14.9, 2048},   // code 4082 is refused: the level stays
      {0, -14.9, 2048},  // code 14 refused
      {0, 1.0, 2185},    // 2184.53 rounds up
      {0, -14.2895, 97}, // lowest accepted code
      {0, 14.29, 3999},  // highest accepted code
      {0.08, 0.0, 2059}, // the offset moves the code, not the shown threshold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    device->ThresholdOffset = c.offset;
    device->SetThreshold(0.0); // back to a known level first
    device->SetThreshold(c.volts);
    EXPECT_EQ(device->AcquisitionRequest().triggerLevel, c.code);
  }
  device->ThresholdOffset = 0.08;
  device->SetThreshold(1.0);
  EXPECT_NEAR(device->Threshold(), 1.0, 30.0 / 4096 / 2);
  // A tie rounds to the even code: 0.0146484375 V is exactly 2050 - 0.5.
  device->ThresholdOffset = 0;
  device->SetThreshold(30.0 / 4096 * 2049.5 - 15);
  EXPECT_EQ(device->AcquisitionRequest().triggerLevel, 2050);
}

TEST(InputRange, WideNarrowSwitchMarksTheRequestForReconfiguration) {
  auto device = std::make_unique<TQVT2>();
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 1);
  device->StopAcquisition(); // clears the flag
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 0);
  device->SetHighRange(0, true); // already wide: nothing changes
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 0);
  device->SetHighRange(0, false);
  EXPECT_EQ(device->AcquisitionRequest().channel[0].range, 1);
  EXPECT_DOUBLE_EQ(device->VoltsPerCode[0], 15.0 / 16384);
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 1);
  device->StopAcquisition();
  device->SetHighRange(0, false);
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 0);
  device->SetHighRange(0, true);
  EXPECT_DOUBLE_EQ(device->VoltsPerCode[0], 30.0 / 16384);
  EXPECT_EQ(device->AcquisitionRequest().reconfigure, 1);
}

TEST(GeneratorFitting, ChoosesClockPointsAndTimer) {
  struct Case {
    int32_t request;
    uint8_t clock;
    int32_t points, obtained, timer;
  };
  const Case cases[] = {
      {9999, 0, 4800, 10000, 0},  {20000, 0, 4800, 10000, 0},   {5000, 0, 9600, 5000, 0},
      {3001, 0, 15994, 3001, 0},  {3000, 1, 4000, 3000, 65535}, {700, 2, 5714, 700, 65535},
      {250, 2, 8000, 250, 65534}, {50, 2, 13333, 50, 65530},    {7, 2, 15873, 7, 65500},
      {1, 2, 15936, 1, 65285},    {0, 2, 15936, 1, 65285},      {-5, 2, 15936, 1, 65285},
  };
  auto device = std::make_unique<TQVT2>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request);
    device->FitGeneratorFrequency(c.request);
    EXPECT_EQ(device->GeneratorClockIndex, c.clock);
    EXPECT_EQ(device->GeneratorPoints, c.points);
    EXPECT_EQ(device->GeneratorFrequency, c.obtained);
    EXPECT_EQ(device->GeneratorTimer, c.timer);
    EXPECT_LT(device->GeneratorPoints, 16000);
  }
}

} // namespace
