// SPDX-License-Identifier: GPL-3.0-or-later
// Colours of the model: 32-bit RGB values, 0x00RRGGBB.
#pragma once

#include <cstdint>

namespace qvt {

using TColour = std::uint32_t;

constexpr TColour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (TColour{red} << 16) | (TColour{green} << 8) | TColour{blue};
}
constexpr std::uint8_t RedOf(TColour c) {
  return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t GreenOf(TColour c) {
  return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t BlueOf(TColour c) {
  return static_cast<std::uint8_t>(c);
}

} // namespace qvt
