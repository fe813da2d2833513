// SPDX-License-Identifier: GPL-3.0-or-later
// The test host of the virtual interface.
#include "sim_host.h"

namespace qvt::sim::testing {

Options QuietOptions() {
  Options o;
  o.noise = 0.0;
  o.glitchRate = 0.0;
  o.gains = {1.0f, 1.0f, 1.0f, 1.0f};
  return o;
}

SimHost::SimHost(const Options& options) : device(options, clock) {}

uint32_t SimHost::Write(uint32_t pipe, std::vector<uint8_t> bytes) {
  return device.Request(kRequestBulkWrite, &pipe, 4, bytes.data(),
                        static_cast<uint32_t>(bytes.size()));
}

std::vector<uint8_t> SimHost::Read(uint32_t pipe, uint32_t length) {
  std::vector<uint8_t> buffer(length);
  buffer.resize(device.Request(kRequestBulkRead, &pipe, 4, buffer.data(), length));
  return buffer;
}

std::vector<uint8_t> SimHost::Query(uint8_t code, std::vector<uint8_t> body) {
  std::vector<uint8_t> packet(kQuerySize, 0);
  packet[0] = code;
  std::copy(body.begin(), body.end(), packet.begin() + 1);
  Write(kPipeCommand, packet);
  return Read(kPipeReply, kQuerySize);
}

void SimHost::Start(const Acquisition& a) {
  std::vector<uint8_t> channels{kCmdChannels};
  for (size_t k = 0; k < 4; ++k) {
    channels.push_back(a.input[k]);
    channels.push_back(a.range[k]);
  }
  Write(kPipeCommand, channels);
  Write(kPipeCommand, {kCmdTrigger, a.triggerSource, static_cast<uint8_t>(a.rising),
                       static_cast<uint8_t>(a.level), static_cast<uint8_t>(a.level >> 8)});
  Write(kPipeCommand, {kCmdSampling, a.clockSelect, a.reload, static_cast<uint8_t>(!a.enabled[0]),
                       static_cast<uint8_t>(!a.enabled[1]), static_cast<uint8_t>(!a.enabled[2]),
                       static_cast<uint8_t>(!a.enabled[3]), static_cast<uint8_t>(a.prescaler),
                       static_cast<uint8_t>(a.prescaler >> 8), 0xFF, 0xFF, 0x01});
  Write(kPipeCommand, {a.reconfigure ? kCmdStartReconfigured : kCmdStart});
}

void SimHost::StartGenerator(const std::vector<uint16_t>& codes, uint8_t clockIndex, uint16_t timer,
                             bool play) {
  Write(kPipeCommand, {kCmdGeneratorBegin});
  const size_t chunk = device.PacketSize() / 2;
  for (size_t i = 0; i < codes.size(); i += chunk) {
    std::vector<uint8_t> bytes;
    for (size_t j = i; j < codes.size() && j < i + chunk; ++j) {
      bytes.push_back(static_cast<uint8_t>(codes[j]));
      bytes.push_back(static_cast<uint8_t>(codes[j] >> 8));
    }
    Write(kPipeGenerator, bytes);
  }
  Write(kPipeCommand, {play ? kCmdGeneratorPlay : kCmdGeneratorLoadOnly, clockIndex,
                       static_cast<uint8_t>(timer), static_cast<uint8_t>(timer >> 8), 0});
}

std::vector<uint16_t> SimHost::Drain() {
  std::vector<uint16_t> words;
  while (PacketReady()) {
    const auto packet = ReadPacket();
    if (packet.empty())
      break;
    for (size_t i = 0; i + 1 < packet.size(); i += 2)
      words.push_back(static_cast<uint16_t>(packet[i] << 8 | packet[i + 1]));
  }
  return words;
}

std::vector<uint16_t> SimHost::Collect(int64_t totalNanos, int64_t stepNanos) {
  std::vector<uint16_t> words;
  for (int64_t t = 0; t < totalNanos; t += stepNanos) {
    clock.Advance(stepNanos);
    const auto more = Drain();
    words.insert(words.end(), more.begin(), more.end());
  }
  return words;
}

int SignedCode(uint16_t word) {
  const int b = word & 0x3FFF;
  return b > 0x2000 ? b - 16384 : b;
}

} // namespace qvt::sim::testing
