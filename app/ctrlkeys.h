// SPDX-License-Identifier: GPL-3.0-or-later
// The Ctrl+letter rule of the edit boxes: Ctrl plus a letter types one of the label font's
// symbols (Greek letters, the ohm sign, µ), so that names and units can be written with them.
#pragma once

#include <cstdint>

namespace qvt {

enum class TCtrlLetterAction {
  Insert, // type the byte Code (a byte of the code page, see platform/ansi.h)
  Paste,  // Ctrl+V: the edit box pastes as usual
  Copy,   // Ctrl+C with a selection: copy it
  Cut,    // Ctrl+X with a selection: cut it
};

struct TCtrlLetter {
  TCtrlLetterAction Action = TCtrlLetterAction::Insert;
  std::uint8_t Code = 0;
};

// What Ctrl plus the letter-th letter of the alphabet (1 = A ... 26 = Z) does in an edit box.
// With Shift or Caps Lock down the letter types table A (mostly the capital itself, some
// upper-case Greek); without, table B (the symbols), except Ctrl+V, and Ctrl+C / Ctrl+X when
// the edit box has a selection. Letters outside 1..26 give Insert with Code 0.
TCtrlLetter CtrlLetter(int letter, bool shiftOrCaps, bool hasSelection);

} // namespace qvt
