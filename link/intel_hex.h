// SPDX-License-Identifier: LGPL-2.1-or-later
// Intel HEX firmware files parsed into a 64 KiB image of the USB controller's memory and the
// table of contiguous segments to download.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace qvt::hex {

inline constexpr int32_t kImageSize = 65536;
inline constexpr size_t kMaxSegments = 4096;
inline constexpr int32_t kMaxSegmentLength = 4096;
inline constexpr size_t kMaxLineLength = 255;

struct Segment {
  int32_t start;    // controller address of the first byte
  int32_t length;   // bytes, at most kMaxSegmentLength
  int32_t position; // index of the first byte in the image
  bool operator==(const Segment&) const = default;
};

struct Image {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kImageSize);
  std::vector<Segment> segments;
  // The data bytes stored when an end-of-file record closed the parse; -1 when the parse
  // ended otherwise (end of input, a line not starting with ':', a malformed or over-long
  // line). The segments gathered so far are valid either way.
  int32_t outcome = -1;
  // Data records left out because they would run past address 0xFFFF or need a segment
  // beyond the table's 4,096.
  int32_t refusedRecords = 0;
};

// Feeds lines one by one. Layout: ':' then count (2 hex digits), address (4), type (2) and
// data (2 digits per byte) back to back; a blank as the second character switches this and
// every later line to the spaced layout (count at 2, address at 5, type at 10, data from 13).
// Data records (type 0) are stored at their 16-bit address and grow the last segment when
// they continue it (up to 4,096 bytes) or start a new one; type 1 ends the file; extended
// segment addresses (type 2) are not applied; other types are ignored; checksums are not read.
class Parser {
public:
  // One line without its line end; returns false once the parse has ended.
  bool Line(std::string_view line);
  // A line longer than kMaxLineLength: ends the parse as malformed.
  void LineTooLong() { Stop(-1); }
  // Input ended: without an end record the outcome stays -1.
  void End() { ended_ = true; }
  bool Ended() const { return ended_; }
  const Image& Result() const { return image_; }
  Image TakeResult() { return std::move(image_); }

private:
  bool Stop(int32_t outcome);
  bool Data(uint16_t address, std::string_view line, size_t dataAt, int32_t count);

  Image image_;
  bool spaced_ = false;
  bool ended_ = false;
  int32_t dataBytes_ = 0;
};

// Parses a whole text ('\n' or "\r\n" line ends).
Image ParseIntelHex(std::string_view text);

// Parses an open file, reading lines of at most kMaxLineLength characters; a longer line
// ends the parse as a malformed one would.
Image ParseIntelHexFile(std::FILE* file);

} // namespace qvt::hex
