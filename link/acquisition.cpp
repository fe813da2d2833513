// SPDX-License-Identifier: LGPL-2.1-or-later
// Acquisition engine: the start sequence, stopping, and fetching and calibrating samples.
#include "acquisition.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "link_state.h"
#include "qvtlink.h"
#include "transport.h"
#include "waits.h"

namespace qvt::link {
namespace {

constexpr double kSampleClockHz[3] = {6'000'000.0, 2'000'000.0, 10'000'000.0};
constexpr uint32_t kDataRequestTimeoutMs = 2000;
// Codes 0..0x2000 are 0..8192; 0x2001..0x3FFF are code - 16384.
constexpr int32_t kCodeMask = 0x3FFF;
constexpr int32_t kLargestPositive = 0x2000;
constexpr int32_t kCodeRange = 16384;

uint8_t Low(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }
uint8_t High(int32_t v) { return static_cast<uint8_t>(v >> 8 & 0xFF); }

void Normalise(QvtAcquisitionRequest& r) {
  r.prescaler = std::clamp<int32_t>(r.prescaler, 1, 65535);
  r.triggerLevel = std::clamp<int32_t>(r.triggerLevel, 0, 4096);
  // Only three sample clocks exist; a larger select would index past them.
  if (r.clockSelect > 2) r.clockSelect = 2;
  if (r.clockSelect == 1 && r.timerReload < 56) r.timerReload = 56;
  if (r.clockSelect == 2) r.timerReload = 255;
}

// The timer value for 500 timer periods before the trigger, as the sampling command sends it.
int32_t PreTriggerTimer(const QvtAcquisitionRequest& r) {
  const int32_t ticks = (256 - r.timerReload) * 500;
  const double d = ticks / kSampleClockHz[r.clockSelect] * 4'000'000.0;
  const double t = std::min(65536.0 - d, 65535.0);
  // Long timer periods make t negative (down to about -190,000); its low 16 bits are what
  // the interface gets.
  return static_cast<int32_t>(t);
}

// Truncates toward zero into int32, saturating (gains given by a client are not sanitised).
// The conversion itself truncates; std::trunc would be a library call on baseline x86-64.
int32_t TruncatedProduct(int32_t code, double gain) {
  constexpr double kLimit = 1.0e9;
  const double v = code * gain;
  if (v > -kLimit && v < kLimit) return static_cast<int32_t>(v);
  if (std::isnan(v)) return 0;
  return v > 0 ? static_cast<int32_t>(kLimit) : -static_cast<int32_t>(kLimit);
}

int32_t Calibrated(int32_t word, double gain) {
  const int32_t b = word & kCodeMask;
  if (b <= kLargestPositive) return TruncatedProduct(b, gain);
  return TruncatedProduct(b - kCodeRange, gain) + kCodeRange;
}

// Splits a packet of `received` bytes into frames of the channels whose enabled byte is 1.
// n, the frame width the enabled bytes announce, sets the frame count; the count is also
// bounded by the bytes the consuming channels really take and by the block's 256 samples,
// so odd enabled bytes (1, 1, 1, 254 sums to 1) never read or write past a buffer.
void Decode(const uint8_t* data, uint32_t received, const QvtAcquisitionRequest& request, uint32_t n,
            QvtSampleBlock& block) {
  auto& s = State();
  int channels[QVT_CHANNELS];
  int taking = 0;
  for (int k = 0; k < QVT_CHANNELS; ++k) {
    if (request.channel[k].enabled == 1) channels[taking++] = k;
  }
  uint32_t frames = received / (2 * n);
  if (taking > 0) frames = std::min(frames, received / (2u * static_cast<uint32_t>(taking)));
  frames = std::min<uint32_t>(frames, QVT_BLOCK_SAMPLES);

  double gain[QVT_CHANNELS];
  int32_t last[QVT_CHANNELS];
  for (int k = 0; k < QVT_CHANNELS; ++k) {
    gain[k] = s.gains[k].load(std::memory_order_relaxed);
    last[k] = s.lastCode[k].load(std::memory_order_relaxed);
    block.count[k] = 0;
  }
  const uint8_t* p = data;
  for (uint32_t f = 0; f < frames; ++f) {
    for (int c = 0; c < taking; ++c) {
      const int k = channels[c];
      int32_t w = p[0] << 8 | p[1];
      p += 2;
      // A lone 0x2000 after a negative code is a glitch: the previous sample repeats.
      if (last[k] > kLargestPositive && w == kLargestPositive) {
        w = last[k];
      } else {
        last[k] = w;
      }
      block.samples[k][f] = Calibrated(w, gain[k]);
    }
  }
  for (int c = 0; c < taking; ++c) block.count[channels[c]] = static_cast<int32_t>(frames);
  for (int k = 0; k < QVT_CHANNELS; ++k) s.lastCode[k].store(last[k], std::memory_order_relaxed);
}

int32_t FetchSamples(int32_t handle, QvtSampleBlock* block, const QvtAcquisitionRequest* request) {
  if (block == nullptr || request == nullptr) return 0;
  uint32_t n = 0;
  for (const auto& channel : request->channel) n += channel.enabled;
  n %= 256;
  if (n == 0) return 0;

  auto& s = State();
  if (s.running.load(std::memory_order_acquire)) {
    // The service thread hands the link over by clearing the request; it stays posted on a
    // time-out and the thread then keeps the link reserved for the next call.
    s.dataRequest.store(true, std::memory_order_release);
    if (!WaitForFlag(s.dataRequest, false, kDataRequestTimeoutMs)) return 0;
    s.busy.store(true, std::memory_order_release);
  }
  const auto driver = PortDriver(handle);
  QueryPacket command;
  command.fill(0xFF);
  command[0] = kCmdDataReady;
  uint8_t data[kMaxPacketSize];
  std::memset(data, 0xFF, sizeof data);

  const auto packetSize = static_cast<uint32_t>(s.packetSize.load(std::memory_order_acquire));
  uint32_t received = 0;
  if (Exchange(driver.get(), command, false) != 0 && command[0] == 1) {
    received = Receive(driver.get(), data, std::min(packetSize, kMaxPacketSize), kPipeSamples);
  }
  if (received == 0) {
    s.busy.store(false, std::memory_order_release);
    return 0;
  }
  Decode(data, received, *request, n, *block);
  s.busy.store(false, std::memory_order_release);
  s.dataRequest.store(false, std::memory_order_release);
  return static_cast<int32_t>(received / 2);
}

int32_t StartAcquisition(int32_t handle, QvtAcquisitionRequest* request) {
  if (request == nullptr) return 0;
  auto& s = State();
  if (s.running.load(std::memory_order_acquire)) {
    s.startRequest.store(request, std::memory_order_release);
    s.jobStart.store(true, std::memory_order_release);
  } else {
    RunStartSequence(PortDriver(handle).get(), request);
  }
  return 0;
}

int32_t StopAcquisition(int32_t handle) {
  auto& s = State();
  if (s.running.load(std::memory_order_acquire)) {
    s.jobStop.store(true, std::memory_order_release);
  } else {
    SendCommand(PortDriver(handle).get(), {kCmdStop});
  }
  return 0;
}

} // namespace

void RunStartSequence(Driver* driver, QvtAcquisitionRequest* request) {
  for (auto& last : State().lastCode) last.store(0, std::memory_order_relaxed);
  QvtAcquisitionRequest& r = *request;
  Normalise(r);
  const auto& ch = r.channel;
  SendCommand(driver, {kCmdChannels, ch[0].input, ch[0].range, ch[1].input, ch[1].range, ch[2].input,
                       ch[2].range, ch[3].input, ch[3].range});
  SendCommand(driver, {kCmdTrigger, r.triggerSource, r.risingEdge, Low(r.triggerLevel), High(r.triggerLevel)});
  const bool triggered = r.triggerEnable != 0 && r.triggerSource != 0;
  const int32_t timer = PreTriggerTimer(r);
  SendCommand(driver, {kCmdSampling, r.clockSelect, r.timerReload, static_cast<uint8_t>(ch[0].enabled ^ 1),
                       static_cast<uint8_t>(ch[1].enabled ^ 1), static_cast<uint8_t>(ch[2].enabled ^ 1),
                       static_cast<uint8_t>(ch[3].enabled ^ 1), Low(r.prescaler), High(r.prescaler),
                       triggered ? Low(timer) : uint8_t{0xFF}, triggered ? High(timer) : uint8_t{0xFF}, 0x01});
  SendCommand(driver, {r.reconfigure != 0 ? kCmdStartReconfigured : kCmdStart});
}

} // namespace qvt::link

using namespace qvt::link;

extern "C" {

int32_t QVTLINK_STDCALL LanceAcqui(int32_t handle, QvtAcquisitionRequest* request) {
  return StartAcquisition(handle, request);
}
int32_t QVTLINK_CDECL _LanceAcqui(int32_t handle, QvtAcquisitionRequest* request) {
  return StartAcquisition(handle, request);
}

int32_t QVTLINK_STDCALL StopAcqui(int32_t handle) { return StopAcquisition(handle); }
int32_t QVTLINK_CDECL _StopAcqui(int32_t handle) { return StopAcquisition(handle); }

void QVTLINK_STDCALL StopAcquiLENTE(void) { State().jobSlowStop.store(true, std::memory_order_release); }
void QVTLINK_CDECL _StopAcquiLENTE(void) { StopAcquiLENTE(); }

int32_t QVTLINK_STDCALL GetUSBData(int32_t handle, QvtSampleBlock* block, const QvtAcquisitionRequest* request) {
  return FetchSamples(handle, block, request);
}
int32_t QVTLINK_CDECL _GetUSBData(int32_t handle, QvtSampleBlock* block, const QvtAcquisitionRequest* request) {
  return FetchSamples(handle, block, request);
}

} // extern "C"
