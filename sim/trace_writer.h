// SPDX-License-Identifier: LGPL-2.1-or-later
// The USB analyser: one text line per transfer, appended to a file as the device sees it.
//
//   W <pipe> <count>: <bytes>       bytes the host wrote on a pipe
//   R <pipe> <count>: <bytes>       bytes the host read from a pipe
//   C <code> in <n>: <bytes> out <m>: <bytes>   any other driver request
//
// <pipe>, <count>, <n>, <m> are decimal; <code> is the request code in six hex digits; each
// byte is two lower-case hex digits after one space, so a line with no bytes ends in ":".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qvt::sim {

class TraceWriter {
public:
  TraceWriter() = default;
  ~TraceWriter();
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // Opens `path` for appending; false (and no trace) when it cannot be opened.
  bool Open(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }

  void Write(uint32_t pipe, const uint8_t* bytes, uint32_t count);
  void Read(uint32_t pipe, const uint8_t* bytes, uint32_t count);
  void Control(uint32_t code, const uint8_t* in, uint32_t inLength, const uint8_t* out,
               uint32_t outLength);

private:
  void PipeLine(char tag, uint32_t pipe, const uint8_t* bytes, uint32_t count);
  void AppendBytes(const uint8_t* bytes, uint32_t count);
  void Flush();

  std::FILE* file_ = nullptr;
  std::string line_;
};

} // namespace qvt::sim
