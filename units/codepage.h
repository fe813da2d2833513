// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit code page of the model's texts and its conversions that need no Qt.
//
// Model texts (curve names, units, labels) are std::string of bytes in this code page and
// become QString only where they reach a widget or the canvas. The code page is Windows-1252
// with two changes:
//   - 0x80-0x9F hold the symbol set the main window's Ctrl+letter tables type: lower-case
//     Greek at 0x80-0x88, 0x8A-0x90 and 0x93-0x95, upper-case Greek at 0x96-0x9F
//     (0x9D is the ohm sign, written as the Greek capital omega U+03A9). 0x89, 0x91 and
//     0x92 keep their Windows-1252 meaning (per mille sign and the two single quotes).
//   - 0xC0 and 0xC1 are the rising and falling edge signs, U+2191 and U+2193 (the upward
//     and downward arrows); the capital letters A grave and A acute have no byte.
// The full table is in codepage.cpp.
#pragma once

#include <string>
#include <string_view>

namespace qvt {

// Bytes with a fixed role in the model's texts.
inline constexpr char kAnsiOhm = '\x9D';
inline constexpr char kAnsiMicro = '\xB5';
inline constexpr char kAnsiDegree = '\xB0';
inline constexpr char kAnsiRisingEdge = '\xC0';
inline constexpr char kAnsiFallingEdge = '\xC1';

// The character of one byte; every byte has one, so the conversion never fails.
char16_t AnsiToUnicode(unsigned char byte);

// The byte of one character, or '?' when the code page has none. Besides the table's own
// characters, U+2126 (ohm sign) gives 0x9D and U+03BC (Greek small mu) gives 0xB5, since
// the model writes the ohm and the micro prefix with those bytes.
char UnicodeToAnsi(char16_t ch);

// The whole text in UTF-8 (the ohm byte as U+03A9, the edge signs as arrows).
std::string AnsiToUtf8(std::string_view bytes);

} // namespace qvt
