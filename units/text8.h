// SPDX-License-Identifier: GPL-3.0-or-later
// Conventions of the program's 8-bit texts: the short-string limits and the bytes that carry
// meaning in unit texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvt {

// Longest unit text, unit readout and number text.
inline constexpr std::size_t kShortText = 32;
// Longest quantity name.
inline constexpr std::size_t kQuantityNameText = 35;
// Longest free text (a curve's meaning).
inline constexpr std::size_t kLongText = 255;

// Bytes of the 8-bit code page with a fixed role in unit texts.
inline constexpr char kMicroSign = '\xB5';
inline constexpr char kDegreeSign = '\xB0';
inline constexpr char kOhmSign = '\x9D';

// The text cut to at most `limit` bytes, as a short string stores it.
inline std::string ShortString(std::string_view text, std::size_t limit = kShortText) {
  return std::string(text.substr(0, limit));
}

} // namespace qvt
