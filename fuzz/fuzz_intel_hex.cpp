// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the Intel HEX parser with arbitrary text and checks what the firmware loader relies
// on: every segment lies inside the image, within the segment and table limits, and the file
// reader (fixed line buffer) agrees with the text parser on input without zero bytes.
#include <stdio.h> // fmemopen

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "intel_hex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qvt::hex::Image image = qvt::hex::ParseIntelHex(std::string_view(reinterpret_cast<const char*>(data), size));
  if (image.bytes.size() != static_cast<size_t>(qvt::hex::kImageSize)) std::abort();
  if (image.segments.size() > qvt::hex::kMaxSegments) std::abort();
  for (const auto& s : image.segments) {
    if (s.length < 0 || s.length > qvt::hex::kMaxSegmentLength) std::abort();
    if (s.start < 0 || s.position != s.start || s.start + s.length > qvt::hex::kImageSize) std::abort();
  }
  if (size != 0 && std::memchr(data, 0, size) == nullptr) {
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;
    const qvt::hex::Image read = qvt::hex::ParseIntelHexFile(file);
    std::fclose(file);
    if (read.outcome != image.outcome || read.segments != image.segments || read.bytes != image.bytes ||
        read.refusedRecords != image.refusedRecords)
      std::abort();
  }
  return 0;
}
