// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted stand-in for the interface behind qvtlink's handles: it records every driver
// request and answers the command set from settings a test chooses. Installed with
// qvt::testing::UseDriverOpener; safe to use from the service thread and the test at once.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "driver.h"

namespace qvt::test {

struct Transfer {
  uint32_t code;              // driver request code
  uint32_t pipe;              // pipe index for bulk transfers, else 0
  std::vector<uint8_t> in;    // the input buffer
  uint32_t length;            // the output buffer's length
  std::vector<uint8_t> bytes; // bytes written (writes, downloads) or returned (reads)
};

class FakeInterface {
public:
  FakeInterface();

  // The opener to install: refuses paths other than "\\.\" + name.
  std::unique_ptr<Driver> Open(const std::string& path);

  // Settings (call with no request in flight, or accept the race).
  void SetIdentify(uint8_t busByte, std::array<float, 4> gains);
  void SetVersion(std::vector<uint8_t> reply);
  void SetStatus(int8_t status);
  void SetH8Accepts(bool accepts);
  void SetEcho(bool echo);                 // bytes written on pipe 1 come back on pipe 3
  void SetFailAll(bool fail);              // every request moves nothing
  void SetSilentCommand(int command);      // the reply to this command moves nothing (-1: none)
  void SetReadPipes(std::vector<int> pipes); // pipes marked as reads in the pipe table
  void QueueSamplePacket(std::vector<uint8_t> packet);
  void QueueH8Packet(std::vector<uint8_t> packet);

  // Holds the caller of the next command with this code inside the driver until Release().
  void BlockOn(uint8_t command);
  void WaitBlocked();
  void Release();

  std::vector<Transfer> Log() const;
  void ClearLog();
  std::vector<std::string> OpenedPaths() const;
  // Bytes written on a pipe, one entry per transfer.
  std::vector<std::vector<uint8_t>> Writes(uint32_t pipe) const;
  // First bytes of the commands (pipe 4 writes), queries included.
  std::vector<uint8_t> CommandCodes() const;

  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out, uint32_t outLength);

private:
  uint32_t ReadReply(uint8_t* out, uint32_t outLength);

  mutable std::mutex mutex_;
  std::condition_variable blockChanged_;
  int blockOn_ = -1;
  bool blocked_ = false;
  std::vector<Transfer> log_;
  std::vector<std::string> opened_;
  std::array<uint8_t, kPipeTableSize> pipeTable_{};
  uint8_t lastCommand_ = 0xFF;
  uint8_t busByte_ = 1;
  std::array<float, 4> gains_{1.0f, 1.0f, 1.0f, 1.0f};
  std::vector<uint8_t> version_;
  int8_t status_ = 1;
  bool h8Accepts_ = true;
  bool echo_ = false;
  bool failAll_ = false;
  int silentCommand_ = -1;
  std::deque<std::vector<uint8_t>> samplePackets_;
  std::deque<std::vector<uint8_t>> h8Packets_;
};

} // namespace qvt::test
