// SPDX-License-Identifier: GPL-3.0-or-later
// The two Ctrl+letter tables, in the byte codes of the label font's code page.
#include "ctrlkeys.h"

#include <array>

namespace qvt {
namespace {

// Entry c - 1 is for the c-th letter. Table A (Shift or Caps Lock): the capital letter, or an
// upper-case Greek letter for D F G J L P Q S W X and Ø for O.
constexpr std::array<std::uint8_t, 26> kTableA{65,  66,  67,  150, 69,  151, 152, 72,  73,
                                               159, 75,  153, 77,  78,  216, 154, 155, 82,
                                               156, 84,  85,  86,  157, 158, 89,  90};
// Table B (no Shift): the lower-case Greek letters of the symbol set, µ for M, ø for O, and
// the plain small letter where no symbol is meant (i, k, u, v, y).
constexpr std::array<std::uint8_t, 26> kTableB{128, 129, 130, 131, 132, 133, 134, 135, 105,
                                               148, 107, 136, 181, 138, 248, 139, 140, 141,
                                               142, 143, 117, 118, 144, 147, 121, 149};

constexpr int kLetterC = 3;
constexpr int kLetterV = 22;
constexpr int kLetterX = 24;

} // namespace

TCtrlLetter CtrlLetter(int letter, bool shiftOrCaps, bool hasSelection) {
  if (letter < 1 || letter > 26)
    return {};
  if (shiftOrCaps)
    return {TCtrlLetterAction::Insert, kTableA[letter - 1]};
  if (letter == kLetterV)
    return {TCtrlLetterAction::Paste, 0};
  if (hasSelection && letter == kLetterC)
    return {TCtrlLetterAction::Copy, 0};
  if (hasSelection && letter == kLetterX)
    return {TCtrlLetterAction::Cut, 0};
  return {TCtrlLetterAction::Insert, kTableB[letter - 1]};
}

} // namespace qvt
