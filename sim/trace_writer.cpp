// SPDX-License-Identifier: LGPL-2.1-or-later
// The trace file. Each line is assembled in a reused string and written with one call and a
// flush, so a reader sees whole lines at once and the model allocates nothing per line once
// the string has grown.
#include "trace_writer.h"

#include <charconv>

namespace qvt::sim {

TraceWriter::~TraceWriter() {
  if (file_)
    std::fclose(file_);
}

bool TraceWriter::Open(const std::string& path) {
  if (file_)
    std::fclose(file_);
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void TraceWriter::AppendBytes(const uint8_t* bytes, uint32_t count) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (uint32_t i = 0; i < count; ++i) {
    const char text[3] = {' ', kHex[bytes[i] >> 4], kHex[bytes[i] & 0x0F]};
    line_.append(text, 3);
  }
}

namespace {

void AppendNumber(std::string& line, uint32_t value, int base, int width) {
  char text[16];
  const auto end = std::to_chars(text, text + sizeof text, value, base).ptr;
  for (auto digits = end - text; digits < width; ++digits)
    line += '0';
  line.append(text, end);
}

} // namespace

void TraceWriter::Write(uint32_t pipe, const uint8_t* bytes, uint32_t count) {
  PipeLine('W', pipe, bytes, count);
}

void TraceWriter::Read(uint32_t pipe, const uint8_t* bytes, uint32_t count) {
  PipeLine('R', pipe, bytes, count);
}

void TraceWriter::PipeLine(char tag, uint32_t pipe, const uint8_t* bytes, uint32_t count) {
  if (!file_)
    return;
  line_.assign(1, tag);
  line_ += ' ';
  AppendNumber(line_, pipe, 10, 1);
  line_ += ' ';
  AppendNumber(line_, count, 10, 1);
  line_ += ':';
  AppendBytes(bytes, count);
  Flush();
}

void TraceWriter::Control(uint32_t code, const uint8_t* in, uint32_t inLength, const uint8_t* out,
                          uint32_t outLength) {
  if (!file_)
    return;
  line_ = "C ";
  AppendNumber(line_, code, 16, 6);
  line_ += " in ";
  AppendNumber(line_, inLength, 10, 1);
  line_ += ':';
  AppendBytes(in, inLength);
  line_ += " out ";
  AppendNumber(line_, outLength, 10, 1);
  line_ += ':';
  AppendBytes(out, outLength);
  Flush();
}

void TraceWriter::Flush() {
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), file_);
  std::fflush(file_);
}

} // namespace qvt::sim
