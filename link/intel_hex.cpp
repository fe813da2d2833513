// SPDX-License-Identifier: LGPL-2.1-or-later
// Intel HEX parsing. Everything is bounds-checked against the line and the image: a field
// that runs past its line ends the parse, a record that would run past address 0xFFFF or need
// a 4,097th segment is refused.
#include "intel_hex.h"

#include <cstring>
#include <optional>

namespace qvt::hex {
namespace {

std::optional<uint32_t> HexField(std::string_view line, size_t at, size_t digits) {
  if (at > line.size() || line.size() - at < digits) return std::nullopt;
  uint32_t value = 0;
  for (size_t i = 0; i < digits; ++i) {
    const char c = line[at + i];
    uint32_t digit;
    if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
    else return std::nullopt;
    value = value << 4 | digit;
  }
  return value;
}

struct Layout {
  size_t count, address, type, data;
};
constexpr Layout kPacked{1, 3, 7, 9};
constexpr Layout kSpaced{2, 5, 10, 13};

constexpr uint32_t kTypeData = 0;
constexpr uint32_t kTypeEnd = 1;
constexpr uint32_t kTypeSegmentAddress = 2;

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

} // namespace

bool Parser::Stop(int32_t outcome) {
  image_.outcome = outcome;
  ended_ = true;
  return false;
}

bool Parser::Line(std::string_view line) {
  if (ended_) return false;
  if (line.size() > kMaxLineLength || line.empty() || line[0] != ':') return Stop(-1);
  if (line.size() > 1 && line[1] == ' ') spaced_ = true;
  const Layout& at = spaced_ ? kSpaced : kPacked;
  const auto count = HexField(line, at.count, 2);
  const auto address = HexField(line, at.address, 4);
  const auto type = HexField(line, at.type, 2);
  if (!count || !address || !type) return Stop(-1);
  switch (*type) {
  case kTypeEnd: return Stop(dataBytes_);
  case kTypeData: return Data(static_cast<uint16_t>(*address), line, at.data, static_cast<int32_t>(*count));
  case kTypeSegmentAddress:
    // The segment base (value x 16) is read by the format but addresses stay 16-bit here.
    return true;
  default: return true;
  }
}

bool Parser::Data(uint16_t address, std::string_view line, size_t dataAt, int32_t count) {
  uint8_t bytes[255];
  for (int32_t i = 0; i < count; ++i) {
    const auto byte = HexField(line, dataAt + 2 * static_cast<size_t>(i), 2);
    if (!byte) return Stop(-1);
    bytes[i] = static_cast<uint8_t>(*byte);
  }
  if (address + count > kImageSize) {
    ++image_.refusedRecords;
    return true;
  }
  auto& segments = image_.segments;
  const bool continues = !segments.empty() && segments.back().start + segments.back().length == address &&
                         segments.back().length + count <= kMaxSegmentLength;
  if (continues) {
    segments.back().length += count;
  } else if (segments.size() < kMaxSegments) {
    segments.push_back({address, count, address});
  } else {
    ++image_.refusedRecords;
    return true;
  }
  std::memcpy(image_.bytes.data() + address, bytes, static_cast<size_t>(count));
  dataBytes_ += count;
  return true;
}

Image ParseIntelHex(std::string_view text) {
  Parser parser;
  while (!text.empty() && !parser.Ended()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    parser.Line(WithoutLineEnd(line));
  }
  parser.End();
  return parser.TakeResult();
}

Image ParseIntelHexFile(std::FILE* file) {
  Parser parser;
  // Room for a full-length line, its "\r\n" and the terminating zero.
  char buffer[kMaxLineLength + 3];
  while (!parser.Ended() && std::fgets(buffer, sizeof buffer, file) != nullptr) {
    const std::string_view chunk(buffer, std::strlen(buffer));
    if (!chunk.empty() && chunk.back() != '\n' && !std::feof(file)) {
      // The line goes on past the buffer (or holds a zero byte): too long to be a record.
      parser.LineTooLong();
      break;
    }
    parser.Line(WithoutLineEnd(chunk));
  }
  parser.End();
  return parser.TakeResult();
}

} // namespace qvt::hex
