// SPDX-License-Identifier: GPL-3.0-or-later
// A driver for device tests that need exact sample codes: it answers identify with unit
// gains and hands out queued sample packets, one per data-ready query.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "driver.h"

class ScriptedInterface final : public qvt::Driver {
public:
  // Packets handed out in order on the sample pipe; each a list of big-endian 16-bit words.
  std::shared_ptr<std::deque<std::vector<uint16_t>>> packets =
      std::make_shared<std::deque<std::vector<uint16_t>>>();

  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                   uint32_t outLength) override {
    auto* bytes = static_cast<uint8_t*>(out);
    if (code == qvt::kRequestPipeTable && outLength >= qvt::kPipeTableSize) {
      std::memset(out, 0, qvt::kPipeTableSize);
      const uint8_t endpoints[6] = {0x02, 0x04, 0x86, 0x88, 0x01, 0x81};
      for (int i = 0; i < 6; ++i)
        bytes[16 + 20 * i + 2] = endpoints[i];
      return qvt::kPipeTableSize;
    }
    if (code != qvt::kRequestBulkRead && code != qvt::kRequestBulkWrite)
      return outLength;
    uint32_t pipe = 0;
    std::memcpy(&pipe, in, inLength < 4 ? inLength : 4);
    if (code == qvt::kRequestBulkWrite) {
      if (pipe == 4 && outLength > 0)
        lastCommand_ = bytes[0];
      return outLength;
    }
    if (pipe == 5)
      return Reply(bytes, outLength);
    if (pipe == 2 && !packets->empty()) {
      const std::vector<uint16_t> words = packets->front();
      packets->pop_front();
      uint32_t n = 0;
      for (uint16_t w : words) {
        if (n + 2 > outLength)
          break;
        bytes[n++] = static_cast<uint8_t>(w >> 8);
        bytes[n++] = static_cast<uint8_t>(w);
      }
      return n;
    }
    return 0;
  }

private:
  uint32_t Reply(uint8_t* bytes, uint32_t length) {
    if (length < 64)
      return 0;
    std::memset(bytes, 0, 64);
    if (lastCommand_ == 0x0F) {
      bytes[0] = 0; // high speed: 512-byte packets
      const float one = 1.0f;
      for (int k = 0; k < 4; ++k)
        std::memcpy(bytes + 1 + 4 * k, &one, 4);
    } else if (lastCommand_ == 0x0B) {
      bytes[0] = packets->empty() ? 0 : 1;
    } else if (lastCommand_ == 0x15) {
      bytes[0] = 1;
    }
    return 64;
  }

  uint8_t lastCommand_ = 0;
};
