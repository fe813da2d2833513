// SPDX-License-Identifier: LGPL-2.1-or-later
// Channel gains: replacing them (and writing them to the interface) and reading them back.
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "link_state.h"
#include "qvtlink.h"
#include "transport.h"
#include "waits.h"

using namespace qvt::link;

namespace {

constexpr uint32_t kGainWriteSettleMs = 50;

// Single precision as the interface stores it; out-of-range values saturate rather than
// overflow the conversion.
float AsFloat(double gain) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (std::isnan(gain)) return std::numeric_limits<float>::quiet_NaN();
  return static_cast<float>(std::clamp(gain, -kMax, kMax));
}

int32_t WriteGains(int32_t handle, const double (&gains)[QVT_CHANNELS], int32_t send) {
  auto& s = State();
  // Taken as given: the 0.97..1.03 rule applies to the gains the interface reports.
  for (int k = 0; k < QVT_CHANNELS; ++k) s.gains[k].store(gains[k], std::memory_order_relaxed);
  if (send != 1) return 0;
  const auto driver = PortDriver(handle);
  QueryPacket packet{};
  packet[0] = kCmdWriteGains;
  for (int k = 0; k < QVT_CHANNELS; ++k) {
    const auto bits = std::bit_cast<uint32_t>(AsFloat(gains[k]));
    for (int b = 0; b < 4; ++b) packet[1 + 4 * k + b] = static_cast<uint8_t>(bits >> (8 * b));
  }
  Send(driver.get(), packet.data(), kQueryPacketSize, kPipeCommand);
  Delay(kGainWriteSettleMs);
  Receive(driver.get(), packet.data(), kQueryPacketSize, kPipeReply);
  return 0;
}

void ReadGains(double* g0, double* g1, double* g2, double* g3) {
  double* out[QVT_CHANNELS] = {g0, g1, g2, g3};
  for (int k = 0; k < QVT_CHANNELS; ++k) {
    if (out[k] != nullptr) *out[k] = State().gains[k].load(std::memory_order_relaxed);
  }
}

} // namespace

extern "C" {

int32_t QVTLINK_STDCALL SendAdjust(int32_t handle, double gain0, double gain1, double gain2, double gain3,
                                   int32_t send) {
  return WriteGains(handle, {gain0, gain1, gain2, gain3}, send);
}
int32_t QVTLINK_CDECL _SendAdjust(int32_t handle, double gain0, double gain1, double gain2, double gain3,
                                  int32_t send) {
  return WriteGains(handle, {gain0, gain1, gain2, gain3}, send);
}

void QVTLINK_STDCALL GetAdjust(int32_t, double* gain0, double* gain1, double* gain2, double* gain3) {
  ReadGains(gain0, gain1, gain2, gain3);
}
void QVTLINK_CDECL _GetAdjust(int32_t, double* gain0, double* gain1, double* gain2, double* gain3) {
  ReadGains(gain0, gain1, gain2, gain3);
}

} // extern "C"
