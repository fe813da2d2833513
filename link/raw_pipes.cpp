// SPDX-License-Identifier: LGPL-2.1-or-later
// Raw pipe access: single transfers on any pipe, without the service thread's busy flag.
#include <algorithm>
#include <cstring>

#include "link_state.h"
#include "qvtlink.h"
#include "transport.h"

using namespace qvt::link;

namespace {

uint32_t Length(int32_t length) { return static_cast<uint32_t>(std::max(length, 0)); }

int32_t ReadPipe(int32_t handle, void* buffer, int32_t length, int32_t pipe) {
  if (buffer == nullptr) return 0;
  return static_cast<int32_t>(Receive(PortDriver(handle).get(), buffer, Length(length), static_cast<uint32_t>(pipe)));
}

int32_t WritePipe(int32_t handle, const void* buffer, int32_t length, int32_t pipe) {
  if (buffer == nullptr) return 0;
  return Send(PortDriver(handle).get(), buffer, Length(length), static_cast<uint32_t>(pipe));
}

int32_t ReadBlock(int32_t handle, void* block, int32_t pipe) {
  if (block == nullptr) return 0;
  int32_t maximum;
  std::memcpy(&maximum, block, sizeof maximum);
  const int32_t read = ReadPipe(handle, static_cast<uint8_t*>(block) + 4, maximum, pipe);
  std::memcpy(block, &read, sizeof read);
  return read;
}

int32_t WriteBlock(int32_t handle, const void* block, int32_t pipe) {
  if (block == nullptr) return 0;
  int32_t count;
  std::memcpy(&count, block, sizeof count);
  return WritePipe(handle, static_cast<const uint8_t*>(block) + 4, count, pipe);
}

} // namespace

extern "C" {

int32_t QVTLINK_STDCALL GetPipe(int32_t handle, void* buffer, int32_t length, int32_t pipe) {
  return ReadPipe(handle, buffer, length, pipe);
}
int32_t QVTLINK_CDECL _GetPipe(int32_t handle, void* buffer, int32_t length, int32_t pipe) {
  return ReadPipe(handle, buffer, length, pipe);
}

int32_t QVTLINK_STDCALL SendPipe(int32_t handle, const void* buffer, int32_t length, int32_t pipe) {
  return WritePipe(handle, buffer, length, pipe);
}
int32_t QVTLINK_CDECL _SendPipe(int32_t handle, const void* buffer, int32_t length, int32_t pipe) {
  return WritePipe(handle, buffer, length, pipe);
}

int32_t QVTLINK_STDCALL GetUSBDataX(int32_t handle, void* block, int32_t pipe) {
  return ReadBlock(handle, block, pipe);
}
int32_t QVTLINK_CDECL _GetUSBDataX(int32_t handle, void* block, int32_t pipe) {
  return ReadBlock(handle, block, pipe);
}

int32_t QVTLINK_STDCALL SendUSBDataX(int32_t handle, const void* block, int32_t pipe) {
  return WriteBlock(handle, block, pipe);
}
int32_t QVTLINK_CDECL _SendUSBDataX(int32_t handle, const void* block, int32_t pipe) {
  return WriteBlock(handle, block, pipe);
}

} // extern "C"
