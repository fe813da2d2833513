// SPDX-License-Identifier: GPL-3.0-or-later
// TSymbolValidator: the byte rule and the filtering of the whole text.
//
// The filter works on the edit's text rather than on key presses, because symbols reach the
// edit box by other ways than its own keys: the main window types the Ctrl+letter symbols
// with QLineEdit::insert, and a paste arrives whole. QLineEdit runs its validator for all of
// them and takes a text the validator rewrote.
#include "symbol_validator.h"

#include "ansi.h"

namespace qvt {

bool IsSymbolByte(unsigned char byte) {
  return byte == '#' || byte == '$' || byte == '%' || byte == '\'' ||
         (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z') || byte == 0xB5 || (byte >= 0x80 && byte <= 0x88) ||
         (byte >= 0x8A && byte <= 0x90) || (byte >= 0x93 && byte <= 0x9F);
}

QValidator::State TSymbolValidator::validate(QString& input, int& pos) const {
  QString kept;
  kept.reserve(input.size());
  int newPos = pos;
  for (qsizetype i = 0; i < input.size(); ++i) {
    const auto byte = static_cast<unsigned char>(UnicodeToAnsi(input[i].unicode()));
    // UnicodeToAnsi gives '?' for a character without a byte, and '?' is no symbol byte.
    if (IsSymbolByte(byte))
      kept += QChar(AnsiToUnicode(byte));
    else if (i < pos)
      --newPos;
  }
  input = kept;
  pos = newPos;
  return Acceptable;
}

} // namespace qvt
