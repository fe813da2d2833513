// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2_demo: a short run through the device-link library's exports, as the program will use
// them: open, identify, version, one triggered two-channel acquisition, a generator table.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

#include "qvtlink.h"
#include "qvtstring.h"

namespace {

constexpr double kWideVoltsPerCode = 30.0 / 16384.0;
constexpr int kWantedFrames = 300;
constexpr auto kPollTimeout = std::chrono::seconds(5);

double Volts(int32_t code) { return (code > 8192 ? code - 16384 : code) * kWideVoltsPerCode; }

QvtAcquisitionRequest TwoChannelRequest() {
  QvtAcquisitionRequest r{};
  r.reconfigure = 1;
  for (int k : {0, 1}) r.channel[k] = {1, 0, 0}; // on, wide range, BNC input
  // 6 MHz clock, 12 ticks per sample: 500 kHz, a 5 ms sweep of 2,500 samples.
  r.clockSelect = 0;
  r.timerReload = 244;
  r.prescaler = 1;
  // Channel 1 (source 2), rising edge, level code 2048 = 0 V.
  r.triggerSource = 2;
  r.triggerEnable = 1;
  r.risingEdge = 1;
  r.triggerLevel = 2048;
  return r;
}

bool Acquire(int32_t handle) {
  QvtAcquisitionRequest request = TwoChannelRequest();
  _LanceAcqui(handle, &request);
  std::vector<int32_t> samples[2];
  const auto deadline = std::chrono::steady_clock::now() + kPollTimeout;
  while (samples[1].size() < kWantedFrames && std::chrono::steady_clock::now() < deadline) {
    QvtSampleBlock block;
    if (_GetUSBData(handle, &block, &request) == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    for (int k : {0, 1}) samples[k].insert(samples[k].end(), block.samples[k], block.samples[k] + block.count[k]);
  }
  _StopAcqui(handle);
  if (samples[1].size() < kWantedFrames) {
    std::fprintf(stderr, "qvt2_demo: only %zu frames arrived in %lld s\n", samples[1].size(),
                 static_cast<long long>(kPollTimeout.count()));
    return false;
  }
  std::printf("Acquisition: %zu frames on channels 0 and 1\n", samples[1].size());
  for (int k : {0, 1}) {
    std::printf("  channel %d:", k);
    for (size_t i = 0; i < samples[k].size(); i += samples[k].size() / 8) std::printf(" %+.3f V", Volts(samples[k][i]));
    std::printf("\n");
  }
  return true;
}

void RunGenerator(int32_t handle) {
  // One period of a 1 V sine on 100 points (14-bit codes around mid-scale).
  auto table = std::make_unique<QvtGeneratorTable>();
  table->count = 100;
  table->clockIndex = 0;
  table->timerValue = 65000;
  for (int i = 0; i < table->count; ++i) {
    table->samples[i] = 8192 + static_cast<int32_t>(std::lround(546.0 * std::sin(2 * std::numbers::pi * i / 100)));
  }
  _LanceGenerateur(handle, 0, table.get());
  std::printf("Generator: %s\n", table->count == 0 ? "table loaded and started" : "the interface did not take the table");
  _StopGenerateur(handle);
}

} // namespace

int main() {
  char16_t* name = qvt::NewCountedString16(u"VexorQVT2-0");
  const int32_t handle = _SetPortOpen(name);
  qvt::FreeCountedString(name);
  if (handle == 0) {
    std::fprintf(stderr, "qvt2_demo: the interface VexorQVT2-0 is absent or cannot be opened "
                         "(QVTLINK_DEVICE=sim selects the virtual interface)\n");
    return 1;
  }
  const int32_t packetSize = _DefineUSB(handle);
  if (packetSize == 0) {
    std::fprintf(stderr, "qvt2_demo: the interface does not answer the identify command\n");
    _SetPortClose(handle);
    return 1;
  }
  std::printf("Interface VexorQVT2-0 open, packet size %d bytes (%s speed)\n", packetSize,
              packetSize == 64 ? "full" : "high");
  char version[65];
  if (_GetVersion(handle, version) != 0) {
    std::printf("Version: %s\n", version);
  } else {
    std::fprintf(stderr, "qvt2_demo: the version query failed\n");
  }
  const bool acquired = Acquire(handle);
  RunGenerator(handle);
  _SetPortClose(handle);
  return acquired ? 0 : 1;
}
