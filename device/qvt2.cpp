// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2: port handling, the acquisition cycle with its sample store, and the settings that
// program the acquisition request.
#include "qvt2.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <string>

#include "qvtlink.h"
#include "qvtstring.h"

namespace {
constexpr auto kPortSettle = std::chrono::milliseconds(100);
// A drain that has not emptied the interface after this many packets is abandoned: a
// stopped interface has at most its buffer (16,384 frames) to hand over, which takes about
// 2,000 packets of 64 bytes with one channel; a device that answers for ever must not hang
// the program.
constexpr int kMaxDrainPolls = 4096;
} // namespace

TQVT2::TQVT2() {
  Request.reconfigure = 1;
  Request.triggerLevel = 2048;
  Generator.count = 480;
  VoltsPerCode.fill(kWideVoltsPerCode);
  for (auto& v : LatestValue)
    v.store(0.0);
}

TQVT2::~TQVT2() {
  StopPointMeasure();
  JoinPointThread();
  ClosePort();
}

bool TQVT2::OpenPort(std::string_view name) {
  if (PortHandle == 0) {
    char16_t* counted = qvt::NewCountedString16(name);
    PortHandle = _SetPortOpen(counted);
    qvt::FreeCountedString(counted);
    std::this_thread::sleep_for(kPortSettle);
  }
  return PortHandle != 0;
}

void TQVT2::ClosePort() {
  StopAcquisition();
  if (PortHandle != 0) {
    _SetPortClose(PortHandle);
    std::this_thread::sleep_for(kPortSettle);
  }
  PortHandle = 0;
}

bool TQVT2::Answers() {
  if (PortHandle == 0)
    return false;
  char version[80] = {};
  return _GetVersion(PortHandle, version) != 0;
}

bool TQVT2::StartAcquisition() {
  if (Running)
    StopAcquisition();
  ReceivedCount = 0;
  CountEnabled();
  Running = true;
  return _LanceAcqui(PortHandle, &Request) == 0;
}

bool TQVT2::StopAcquisition() {
  _StopAcqui(PortHandle);
  for (int i = 0; i < kMaxDrainPolls && Poll(); ++i) {
  }
  ReceivedCount = 0;
  Running = false;
  Request.reconfigure = 0;
  return true;
}

bool TQVT2::Poll() {
  if (EnabledCount == 0)
    return false;
  QvtSampleBlock block;
  const int32_t words = _GetUSBData(PortHandle, &block, &Request);
  // A block holds at most 256 samples a channel, whatever the word count claims.
  int32_t n = std::min<int32_t>(words / EnabledCount, QVT_BLOCK_SAMPLES);
  if (n <= 0)
    return false;
  n = std::min(n, kMaxStored - ReceivedCount);
  if (n <= 0)
    return true; // the store is full; what arrives now is dropped
  for (int k = 0; k < kChannels; ++k) {
    if (Enabled[k] == 0)
      continue;
    for (int32_t i = 0; i < n; ++i)
      Store[k][ReceivedCount + i] = static_cast<uint16_t>(block.samples[k][i]);
  }
  ReceivedCount += n;
  return true;
}

int32_t TQVT2::SweepPoints() const {
  return TimeBases()[TimeBase].SweepPoints;
}

int32_t TQVT2::TotalPoints() const {
  return SweepPoints() + kPreTrigger;
}

double TQVT2::SampleRate() const {
  const double periods = (256.0 - Request.timerReload) * Request.prescaler;
  return periods > 0 ? SampleClockHz(Request.clockSelect) / periods : 0.0;
}

double TQVT2::PreTriggerTime() const {
  return std::max(-kPreTrigger / SampleRate(), -TimeBases()[TimeBase].SweepDuration / 2);
}

void TQVT2::SetTimeBase(int index) {
  if (index < 0 || index >= kTimeBaseCount)
    throw std::out_of_range("time base " + std::to_string(index));
  TimeBase = index;
  const TTimeBase& row = TimeBases()[index];
  Request.clockSelect = row.ClockSelect;
  Request.timerReload = row.Reload;
  Request.prescaler = row.Prescaler;
}

void TQVT2::CheckChannel(int channel) const {
  if (channel < 0 || channel >= kChannels)
    throw std::out_of_range("channel " + std::to_string(channel));
}

void TQVT2::CountEnabled() {
  EnabledCount = static_cast<int32_t>(
      std::count_if(Enabled.begin(), Enabled.end(), [](uint8_t v) { return v != 0; }));
}

void TQVT2::SetChannelEnabled(int channel, uint8_t value) {
  CheckChannel(channel);
  if (value >= 128)
    throw std::out_of_range("enabled value " + std::to_string(value));
  Enabled[channel] = value;
  Request.channel[channel].enabled = value;
  CountEnabled();
}

bool TQVT2::ChannelEnabled(int channel) const {
  CheckChannel(channel);
  return Enabled[channel] != 0;
}

void TQVT2::SetInputYD(int channel, uint8_t value) {
  CheckChannel(channel);
  Input[channel] = value;
  Request.channel[channel].input = value;
}

void TQVT2::SetTriggerSource(uint8_t source) {
  Request.triggerSource = source;
  Request.triggerEnable = source >= 1 ? 1 : 0;
}

void TQVT2::SetThreshold(double volts) {
  // nearbyint rounds halves to even in the default rounding mode.
  const double code = std::nearbyint((volts + ThresholdOffset + 15.0) * 4096.0 / 30.0);
  if (code >= 97 && code < 4000)
    Request.triggerLevel = static_cast<int32_t>(code);
}

double TQVT2::Threshold() const {
  return Request.triggerLevel * 30.0 / 4096.0 - 15.0 - ThresholdOffset;
}

uint16_t TQVT2::StoredCode(int channel, int index) const {
  CheckChannel(channel);
  return Store[channel].at(static_cast<size_t>(index));
}
