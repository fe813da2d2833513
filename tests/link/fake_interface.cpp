// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted interface: replies follow the last command packet written on pipe 4.
#include "fake_interface.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qvt::test {

namespace {
class FakeDriver final : public Driver {
public:
  explicit FakeDriver(FakeInterface& fake) : fake_(fake) {}
  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out, uint32_t outLength) override {
    return fake_.Request(code, in, inLength, out, outLength);
  }

private:
  FakeInterface& fake_;
};
} // namespace

FakeInterface::FakeInterface() { SetReadPipes({2, 3, 5}); }

std::unique_ptr<Driver> FakeInterface::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  opened_.push_back(path);
  if (failAll_ || path.rfind("\\\\.\\", 0) != 0) return nullptr;
  return std::make_unique<FakeDriver>(*this);
}

void FakeInterface::SetIdentify(uint8_t busByte, std::array<float, 4> gains) {
  std::lock_guard lock(mutex_);
  busByte_ = busByte;
  gains_ = gains;
}
void FakeInterface::SetVersion(std::vector<uint8_t> reply) {
  std::lock_guard lock(mutex_);
  version_ = std::move(reply);
}
void FakeInterface::SetStatus(int8_t status) {
  std::lock_guard lock(mutex_);
  status_ = status;
}
void FakeInterface::SetH8Accepts(bool accepts) {
  std::lock_guard lock(mutex_);
  h8Accepts_ = accepts;
}
void FakeInterface::SetEcho(bool echo) {
  std::lock_guard lock(mutex_);
  echo_ = echo;
}
void FakeInterface::SetFailAll(bool fail) {
  std::lock_guard lock(mutex_);
  failAll_ = fail;
}
void FakeInterface::SetSilentCommand(int command) {
  std::lock_guard lock(mutex_);
  silentCommand_ = command;
}
void FakeInterface::SetReadPipes(std::vector<int> pipes) {
  std::lock_guard lock(mutex_);
  pipeTable_.fill(0);
  for (int pipe = 0; pipe < 16; ++pipe) {
    const bool read = std::find(pipes.begin(), pipes.end(), pipe) != pipes.end();
    pipeTable_[16 + 20 * pipe + 2] = static_cast<uint8_t>((read ? 0x80 : 0x00) | pipe);
  }
}
void FakeInterface::QueueSamplePacket(std::vector<uint8_t> packet) {
  std::lock_guard lock(mutex_);
  samplePackets_.push_back(std::move(packet));
}
void FakeInterface::QueueH8Packet(std::vector<uint8_t> packet) {
  std::lock_guard lock(mutex_);
  h8Packets_.push_back(std::move(packet));
}

void FakeInterface::BlockOn(uint8_t command) {
  std::lock_guard lock(mutex_);
  blockOn_ = command;
  blocked_ = false;
}
void FakeInterface::WaitBlocked() {
  std::unique_lock lock(mutex_);
  blockChanged_.wait(lock, [this] { return blocked_; });
}
void FakeInterface::Release() {
  std::lock_guard lock(mutex_);
  blockOn_ = -1;
  blockChanged_.notify_all();
}

std::vector<Transfer> FakeInterface::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}
void FakeInterface::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}
std::vector<std::string> FakeInterface::OpenedPaths() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

std::vector<std::vector<uint8_t>> FakeInterface::Writes(uint32_t pipe) const {
  std::vector<std::vector<uint8_t>> writes;
  for (const auto& t : Log()) {
    if (t.code == kRequestBulkWrite && t.pipe == pipe) writes.push_back(t.bytes);
  }
  return writes;
}

std::vector<uint8_t> FakeInterface::CommandCodes() const {
  std::vector<uint8_t> codes;
  for (const auto& w : Writes(4)) {
    if (!w.empty()) codes.push_back(w[0]);
  }
  return codes;
}

uint32_t FakeInterface::ReadReply(uint8_t* out, uint32_t outLength) {
  if (lastCommand_ == silentCommand_) return 0;
  std::vector<uint8_t> reply(64, 0);
  switch (lastCommand_) {
  case 0x0F:
    reply[0] = busByte_;
    for (int k = 0; k < 4; ++k) {
      const auto bits = std::bit_cast<uint32_t>(gains_[k]);
      for (int b = 0; b < 4; ++b) reply[1 + 4 * k + b] = static_cast<uint8_t>(bits >> (8 * b));
    }
    break;
  case 0x11: reply = version_; break;
  case 0x0B: reply[0] = samplePackets_.empty() ? 0 : 1; break;
  case 0x15: reply[0] = static_cast<uint8_t>(status_); break;
  case 0x13: reply[0] = h8Accepts_ ? 1 : 0; break;
  case 0x00: reply[0] = h8Packets_.empty() ? 0 : 1; break;
  default: break;
  }
  const auto n = std::min<uint32_t>(outLength, static_cast<uint32_t>(reply.size()));
  std::memcpy(out, reply.data(), n);
  return n;
}

uint32_t FakeInterface::Request(uint32_t code, const void* in, uint32_t inLength, void* out, uint32_t outLength) {
  std::unique_lock lock(mutex_);
  const auto* inBytes = static_cast<const uint8_t*>(in);
  Transfer t{code, 0, std::vector<uint8_t>(inBytes, inBytes + inLength), outLength, {}};
  auto* bytes = static_cast<uint8_t*>(out);
  uint32_t moved = 0;
  if (failAll_) {
    log_.push_back(std::move(t));
    return 0;
  }
  const bool bulk = code == kRequestBulkRead || code == kRequestBulkWrite;
  if (bulk) std::memcpy(&t.pipe, in, sizeof t.pipe);
  if (code == kRequestPipeTable) {
    moved = std::min<uint32_t>(outLength, kPipeTableSize);
    std::memcpy(bytes, pipeTable_.data(), moved);
  } else if (code == kRequestDescriptor) {
    moved = std::min<uint32_t>(outLength, kDescriptorSize);
    std::memset(bytes, 0x12, moved);
  } else if (code == kRequestBulkWrite || code == kRequestDownload || code == kRequestVendor) {
    t.bytes.assign(bytes, bytes + outLength);
    moved = outLength;
    if (code == kRequestBulkWrite && t.pipe == 4 && outLength > 0) lastCommand_ = bytes[0];
    if (code == kRequestBulkWrite && t.pipe == 1 && echo_ && outLength > 0) h8Packets_.push_back(t.bytes);
  } else if (code == kRequestBulkRead) {
    std::deque<std::vector<uint8_t>>* queue = t.pipe == 2 ? &samplePackets_ : t.pipe == 3 ? &h8Packets_ : nullptr;
    if (t.pipe == 5) {
      moved = ReadReply(bytes, outLength);
    } else if (queue != nullptr && !queue->empty()) {
      auto& packet = queue->front();
      moved = std::min<uint32_t>(outLength, static_cast<uint32_t>(packet.size()));
      if (moved != 0) std::memcpy(bytes, packet.data(), moved);
      queue->pop_front();
    }
    t.bytes.assign(bytes, bytes + moved);
  }
  const bool command = code == kRequestBulkWrite && t.pipe == 4;
  log_.push_back(std::move(t));
  if (command && blockOn_ >= 0 && lastCommand_ == blockOn_) {
    blocked_ = true;
    blockChanged_.notify_all();
    blockChanged_.wait(lock, [this] { return blockOn_ < 0; });
  }
  return moved;
}

} // namespace qvt::test
