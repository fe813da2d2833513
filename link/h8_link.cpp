// SPDX-License-Identifier: LGPL-2.1-or-later
// The H8 serial link as clients see it: queueing bytes to send, taking received bytes, and
// changing the link speed. The service thread moves the bytes (service_thread.cpp).
#include <algorithm>
#include <cstring>

#include "link_state.h"
#include "qvtlink.h"
#include "transport.h"
#include "waits.h"

using namespace qvt::link;

namespace {

constexpr uint32_t kSpeedSettleMs = 200;

int32_t QueueBytes(const void* data, int32_t length) {
  if (length <= 0 || data == nullptr) return 0;
  auto& s = State();
  TakeLock(s.txLock);
  // What does not fit in the room left is dropped rather than written past the queue.
  const int32_t queued = s.txQueue.Append(static_cast<const uint8_t*>(data), length);
  ReleaseLock(s.txLock);
  return queued;
}

int32_t TakeBytes(uint8_t* out, int32_t maximum) {
  auto& s = State();
  if (out == nullptr || maximum < 0 || s.rxBuffer.Size() == 0) return 0;
  TakeLock(s.rxLock);
  const int32_t n = std::min(maximum, s.rxBuffer.Size());
  std::memcpy(out, s.rxBuffer.Front(), static_cast<size_t>(n));
  out[n] = 0;
  s.rxBuffer.Drop(n);
  ReleaseLock(s.rxLock);
  return n;
}

int32_t ChangeSpeed(int32_t handle, int32_t speed) {
  // The codes are 0 and 1; the command carries the code as an ASCII digit.
  speed = std::clamp(speed, 0, 1);
  if (State().running.load(std::memory_order_acquire)) return 254;
  const auto driver = PortDriver(handle);
  if (Query(driver.get(), kCmdH8SendQuery) != 1) return 253;
  const uint8_t text[9] = {'W', 'B', 'A', 'U', 'D', 'S', ' ', static_cast<uint8_t>('0' + speed), '\r'};
  Send(driver.get(), text, sizeof text, kPipeH8Out);
  Delay(kSpeedSettleMs);
  SendCommand(driver.get(), {kCmdH8Speed, static_cast<uint8_t>(speed)});
  return 0;
}

int32_t CountedLength(const void* block) {
  int32_t count;
  std::memcpy(&count, block, sizeof count);
  return count;
}

} // namespace

extern "C" {

int32_t QVTLINK_STDCALL SendH8(const void* block) {
  if (block == nullptr) return 0;
  return QueueBytes(static_cast<const uint8_t*>(block) + 4, CountedLength(block));
}
int32_t QVTLINK_CDECL _SendH8(const void* data, int32_t length) { return QueueBytes(data, length); }

int32_t QVTLINK_STDCALL GetH8(void* block, int32_t maximum, unsigned char) {
  if (block == nullptr) return 0;
  return TakeBytes(static_cast<uint8_t*>(block) + 4, maximum);
}
int32_t QVTLINK_CDECL _GetH8(void* buffer, int32_t maximum, unsigned char) {
  return TakeBytes(static_cast<uint8_t*>(buffer), maximum);
}

int32_t QVTLINK_STDCALL GetLenH8(void) { return State().rxBuffer.Size(); }
int32_t QVTLINK_CDECL _GetLenH8(void) { return GetLenH8(); }

int32_t QVTLINK_STDCALL EmptyBuffer(void) { return State().txQueue.Size(); }
int32_t QVTLINK_CDECL _EmptyBuffer(void) { return EmptyBuffer(); }

int32_t QVTLINK_STDCALL ChangeVitesse(int32_t handle, int32_t speed) { return ChangeSpeed(handle, speed); }
int32_t QVTLINK_CDECL _ChangeVitesse(int32_t handle, int32_t speed) { return ChangeSpeed(handle, speed); }

} // extern "C"
