// SPDX-License-Identifier: GPL-3.0-or-later
// Fixture for TQVT2 on the virtual interface with a manual clock: the scene's options,
// a trace file of every transfer, and helpers to run a sweep to its end.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "clock.h"
#include "qvt2.h"
#include "qvtlink_testing.h"

class SimDevice : public ::testing::Test {
protected:
  // Opens the port on a fresh virtual interface with these options (noise and glitches off
  // unless the options say otherwise).
  void Open(const std::string& options = "") {
    tracePath = std::filesystem::temp_directory_path() /
                ("qvt2_device_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".trace");
    std::filesystem::remove(tracePath);
    const std::string all = "noise=0;glitch=0;seed=1;trace=" + tracePath.string() +
                            (options.empty() ? "" : ";" + options);
    setenv("QVTLINK_DEVICE", "sim", 1);
    setenv("QVTLINK_SIM", all.c_str(), 1);
    qvt::testing::UseClock(&clock);
    qvt::testing::ResetVirtualInterfaces();
    device = std::make_unique<TQVT2>();
    ASSERT_TRUE(device->OpenPort());
  }

  void TearDown() override {
    device.reset();
    qvt::testing::ResetVirtualInterfaces();
    qvt::testing::UseClock(nullptr);
    std::filesystem::remove(tracePath);
  }

  // Moves device time on in steps and polls until the sweep is complete (or a bound is hit).
  bool RunSweep(int64_t stepMs, int maxSteps = 100000) {
    for (int i = 0; i < maxSteps && !device->IsFinished(); ++i) {
      clock.AdvanceMs(stepMs);
      while (device->Poll() && !device->IsFinished()) {
      }
    }
    return device->IsFinished();
  }

  // The host's writes on the command pipe, one string of hex bytes per transfer.
  std::vector<std::string> Commands() const {
    std::vector<std::string> found;
    std::ifstream in(tracePath);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("W 4 ", 0) == 0)
        found.push_back(line.substr(line.find(':') + 2));
    return found;
  }

  std::vector<double> Volts(int channel) const {
    std::vector<double> v(TQVT2::kStoreSize);
    device->FillChannel(channel, v);
    return v;
  }

  qvt::ManualClock clock{0, 1'000'000};
  std::filesystem::path tracePath;
  std::unique_ptr<TQVT2> device;
};
