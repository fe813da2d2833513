// SPDX-License-Identifier: LGPL-2.1-or-later
// The virtual interface's firmware side: decoding of command packets and query replies.
// Configuration commands shorter than their defined length are ignored whole, as a firmware
// that checks the packet length would.
#include <algorithm>
#include <string_view>

#include "virtual_interface.h"

namespace qvt::sim {
namespace {

constexpr std::string_view kVersionText = "QVT2 virtual interface 1.0";

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool IsQuery(uint8_t code) {
  switch (code) {
  case kCmdH8ReceiveQuery:
  case kCmdDataReadyQuery:
  case kCmdIdentify:
  case kCmdVersion:
  case kCmdH8SendQuery:
  case kCmdStatus:
  case kCmdWriteGains:
    return true;
  default:
    return false;
  }
}

} // namespace

void VirtualInterface::Command(const uint8_t* p, uint32_t length, int64_t now) {
  const uint8_t code = p[0];
  if (IsQuery(code)) {
    Query(p, length, now);
    return;
  }
  switch (code) {
  case kCmdGeneratorBegin:
    generator_.BeginTable();
    break;
  case kCmdGeneratorLoadOnly:
  case kCmdGeneratorPlay:
    if (length >= 4)
      generator_.Start(now, p[1], Le16(p + 2), code == kCmdGeneratorPlay);
    break;
  case kCmdGeneratorStop:
    generator_.Stop();
    break;
  case kCmdChannels:
    if (length >= 9)
      acquisition_.SetChannels(p + 1);
    break;
  case kCmdTrigger:
    if (length >= 5)
      acquisition_.SetTrigger(p[1], p[2] != 0, Le16(p + 3));
    break;
  case kCmdSampling:
    if (length >= 12)
      acquisition_.SetSampling(p[1], p[2], p + 3, Le16(p + 7), Le16(p + 9));
    break;
  case kCmdStartReconfigured:
  case kCmdStart:
    acquisition_.Start(now, code == kCmdStartReconfigured);
    break;
  case kCmdStop:
  case kCmdSlowStop:
    acquisition_.Stop(now);
    break;
  case kCmdH8Speed:
    if (length >= 2)
      h8_.SetSpeed(p[1]);
    break;
  default:
    break;
  }
}

void VirtualInterface::Query(const uint8_t* p, uint32_t length, int64_t now) {
  reply_.fill(0);
  switch (p[0]) {
  case kCmdH8ReceiveQuery:
    reply_[0] = h8_.BytesWaiting() ? 1 : 0;
    break;
  case kCmdDataReadyQuery:
    acquisition_.Advance(now);
    reply_[0] = acquisition_.PacketReady(now, packetSize_) ? 1 : 0;
    break;
  case kCmdIdentify:
    reply_[0] = bus_ == Bus::kFull ? 1 : 0;
    std::copy(gains_.begin(), gains_.end(), reply_.begin() + 1);
    break;
  case kCmdVersion:
    std::copy(kVersionText.begin(), kVersionText.end(), reply_.begin());
    break;
  case kCmdH8SendQuery:
    reply_[0] = h8_.AcceptsBytes() ? 1 : 0;
    break;
  case kCmdStatus:
    reply_[0] = time_.HostNow() >= busyUntilHostNanos_ ? 1 : 0;
    break;
  case kCmdWriteGains:
    if (length >= 17)
      std::copy_n(p + 1, gains_.size(), gains_.begin());
    break;
  default:
    break;
  }
  replyPending_ = true;
}

} // namespace qvt::sim
