// SPDX-License-Identifier: GPL-3.0-or-later
// The code page table of the model's texts and the conversions built on it that need no Qt.
#include "codepage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qvt {
namespace {

// Characters of the bytes 0x80-0xFF; 0x00-0x7F are ASCII. The Ctrl+letter rows name the
// key that types the byte in the main window (Shift or Caps Lock for the capitals).
// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    u'\u03B1', // 0x80 Ctrl+A: alpha
    u'\u03B2', // 0x81 Ctrl+B: beta
    u'\u03C7', // 0x82 Ctrl+C: chi
    u'\u03B4', // 0x83 Ctrl+D: delta
    u'\u03B5', // 0x84 Ctrl+E: epsilon
    u'\u03C6', // 0x85 Ctrl+F: phi
    u'\u03B3', // 0x86 Ctrl+G: gamma
    u'\u03B7', // 0x87 Ctrl+H: eta
    u'\u03BB', // 0x88 Ctrl+L: lambda
    u'\u2030', // 0x89 not typed: per mille sign, as in Windows-1252
    u'\u03BD', // 0x8A Ctrl+N: nu
    u'\u03C0', // 0x8B Ctrl+P: pi
    u'\u03B8', // 0x8C Ctrl+Q: theta
    u'\u03C1', // 0x8D Ctrl+R: rho
    u'\u03C3', // 0x8E Ctrl+S: sigma
    u'\u03C4', // 0x8F Ctrl+T: tau
    u'\u03C9', // 0x90 Ctrl+W: omega
    u'\u2018', // 0x91 not typed: left single quote, as in Windows-1252
    u'\u2019', // 0x92 not typed: right single quote, as in Windows-1252
    u'\u03BE', // 0x93 Ctrl+X: xi
    u'\u03C8', // 0x94 Ctrl+J: psi
    u'\u03B6', // 0x95 Ctrl+Z: zeta
    u'\u0394', // 0x96 Ctrl+Shift+D: capital delta
    u'\u03A6', // 0x97 Ctrl+Shift+F: capital phi
    u'\u0393', // 0x98 Ctrl+Shift+G: capital gamma
    u'\u039B', // 0x99 Ctrl+Shift+L: capital lambda
    u'\u03A0', // 0x9A Ctrl+Shift+P: capital pi
    u'\u0398', // 0x9B Ctrl+Shift+Q: capital theta
    u'\u03A3', // 0x9C Ctrl+Shift+S: capital sigma
    u'\u03A9', // 0x9D Ctrl+Shift+W: capital omega, the ohm sign of the units
    u'\u039E', // 0x9E Ctrl+Shift+X: capital xi
    u'\u03A8', // 0x9F Ctrl+Shift+J: capital psi
    u'\u00A0', u'\u00A1', u'\u00A2', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7', // 0xA0-0xA7 Latin-1
    u'\u00A8', u'\u00A9', u'\u00AA', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF', // 0xA8-0xAF Latin-1
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7', // 0xB0-0xB7 Latin-1: 0xB0 degree, 0xB5 micro
    u'\u00B8', u'\u00B9', u'\u00BA', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00BF', // 0xB8-0xBF Latin-1
    u'\u2191', u'\u2193', u'\u00C2', u'\u00C3', u'\u00C4', u'\u00C5', u'\u00C6', u'\u00C7', // 0xC0 rising edge, 0xC1 falling edge, then Latin-1
    u'\u00C8', u'\u00C9', u'\u00CA', u'\u00CB', u'\u00CC', u'\u00CD', u'\u00CE', u'\u00CF', // 0xC8-0xCF Latin-1
    u'\u00D0', u'\u00D1', u'\u00D2', u'\u00D3', u'\u00D4', u'\u00D5', u'\u00D6', u'\u00D7', // 0xD0-0xD7 Latin-1
    u'\u00D8', u'\u00D9', u'\u00DA', u'\u00DB', u'\u00DC', u'\u00DD', u'\u00DE', u'\u00DF', // 0xD8-0xDF Latin-1
    u'\u00E0', u'\u00E1', u'\u00E2', u'\u00E3', u'\u00E4', u'\u00E5', u'\u00E6', u'\u00E7', // 0xE0-0xE7 Latin-1
    u'\u00E8', u'\u00E9', u'\u00EA', u'\u00EB', u'\u00EC', u'\u00ED', u'\u00EE', u'\u00EF', // 0xE8-0xEF Latin-1
    u'\u00F0', u'\u00F1', u'\u00F2', u'\u00F3', u'\u00F4', u'\u00F5', u'\u00F6', u'\u00F7', // 0xF0-0xF7 Latin-1
    u'\u00F8', u'\u00F9', u'\u00FA', u'\u00FB', u'\u00FC', u'\u00FD', u'\u00FE', u'\u00FF', // 0xF8-0xFF Latin-1
};
// clang-format on

// The reverse of kHighHalf, sorted by character, plus the two aliases the model writes
// with a table byte.
using ReverseEntry = std::pair<char16_t, unsigned char>;
constexpr std::size_t kReverseSize = kHighHalf.size() + 2;

constexpr std::array<ReverseEntry, kReverseSize> BuildReverse() {
  std::array<ReverseEntry, kReverseSize> r{};
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    r[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
  }
  r[kHighHalf.size()] = {u'\u2126', 0x9D};     // ohm sign
  r[kHighHalf.size() + 1] = {u'\u03BC', 0xB5}; // Greek small mu
  std::sort(r.begin(), r.end());
  return r;
}

constexpr std::array<ReverseEntry, kReverseSize> kReverse = BuildReverse();

constexpr bool ReverseIsUnique() {
  for (std::size_t i = 1; i < kReverse.size(); ++i) {
    if (kReverse[i - 1].first == kReverse[i].first)
      return false;
  }
  return true;
}
static_assert(ReverseIsUnique(), "two bytes of the code page share one character");
static_assert(kHighHalf[0x9D - 0x80] == u'\u03A9', "0x9D must be the ohm sign");

} // namespace

char16_t AnsiToUnicode(unsigned char byte) {
  return byte < 0x80 ? char16_t{byte} : kHighHalf[byte - 0x80];
}

char UnicodeToAnsi(char16_t ch) {
  if (ch < 0x80)
    return static_cast<char>(ch);
  auto it = std::lower_bound(kReverse.begin(), kReverse.end(), ch,
                             [](const ReverseEntry& e, char16_t c) { return e.first < c; });
  if (it == kReverse.end() || it->first != ch)
    return '?';
  return static_cast<char>(it->second);
}

std::string AnsiToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const char16_t c = AnsiToUnicode(static_cast<unsigned char>(b));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

} // namespace qvt
