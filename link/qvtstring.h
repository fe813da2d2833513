// SPDX-License-Identifier: LGPL-2.1-or-later
// Counted strings as qvtlink's exports take them: a pointer to the first character, with the
// string's byte count (uint32) stored just before it and a zero character after it. The
// library and its clients build and free them with these helpers only, so that a string the
// library replaces (GetVersionSysteme) is freed the way it was allocated.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace qvt {

namespace detail {
inline void* NewCountedBytes(const void* bytes, uint32_t byteCount) {
  // Count, the bytes, then two zero bytes so that both string kinds end in a zero character.
  auto* raw = static_cast<unsigned char*>(std::malloc(sizeof(uint32_t) + byteCount + 2));
  if (raw == nullptr) return nullptr;
  std::memcpy(raw, &byteCount, sizeof byteCount);
  if (byteCount != 0) std::memcpy(raw + sizeof(uint32_t), bytes, byteCount);
  raw[sizeof(uint32_t) + byteCount] = 0;
  raw[sizeof(uint32_t) + byteCount + 1] = 0;
  return raw + sizeof(uint32_t);
}
} // namespace detail

// A new counted 8-bit string (for the plain exports); nullptr when out of memory.
inline char* NewCountedString8(std::string_view text) {
  return static_cast<char*>(detail::NewCountedBytes(text.data(), static_cast<uint32_t>(text.size())));
}

// A new counted UTF-16 string (for the underscored exports); nullptr when out of memory.
inline char16_t* NewCountedString16(std::u16string_view text) {
  return static_cast<char16_t*>(detail::NewCountedBytes(
      text.data(), static_cast<uint32_t>(text.size() * sizeof(char16_t))));
}

// A counted UTF-16 string holding each byte of `text` as one unit.
inline char16_t* NewCountedString16(std::string_view text) {
  std::u16string wide;
  for (unsigned char c : text) wide.push_back(c);
  return NewCountedString16(std::u16string_view(wide));
}

// The byte count of a counted string; 0 for nullptr.
inline uint32_t CountedStringBytes(const void* text) {
  if (text == nullptr) return 0;
  uint32_t count;
  std::memcpy(&count, static_cast<const unsigned char*>(text) - sizeof(uint32_t), sizeof count);
  return count;
}

// Frees a string made by one of the functions above; nullptr is ignored.
inline void FreeCountedString(const void* text) {
  if (text != nullptr)
    std::free(const_cast<unsigned char*>(static_cast<const unsigned char*>(text) - sizeof(uint32_t)));
}

} // namespace qvt
