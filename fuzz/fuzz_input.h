// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzzers that build values out of raw bytes share: taking a value off the input, and
// a check that names the broken condition before aborting, so that a crash reads without a
// debugger.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvt::fuzz {

// The next sizeof(T) bytes as a T, or T{} once the input is used up.
template <typename T> T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  if (size >= sizeof(T)) {
    std::memcpy(&value, data, sizeof(T));
    data += sizeof(T);
    size -= sizeof(T);
  }
  return value;
}

} // namespace qvt::fuzz

#define CHECK(condition)                                                                           \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "check failed: %s\n", #condition);                                      \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)
