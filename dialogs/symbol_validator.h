// SPDX-License-Identifier: GPL-3.0-or-later
// TSymbolValidator: the character filter of a quantity-name edit box (the channel dialogs'
// "Nom"): letters, digits, a few signs and the label font's symbols pass, anything else is
// dropped.
#pragma once

#include <QValidator>

namespace qvt {

// Whether a byte of the code page (platform/ansi.h) may stand in a quantity's symbol: "#",
// "$", "%", "'", the digits, "A"-"Z", "a"-"z", "µ" (0xB5) and the symbol bytes 0x80-0x88,
// 0x8A-0x90 and 0x93-0x9F (Greek letters, 0x9D the ohm sign). The per mille sign and the
// single quotes of 0x89, 0x91 and 0x92 are not symbols.
bool IsSymbolByte(unsigned char byte);

// Keeps only the characters whose byte is a symbol byte, whatever brought them in: a key, the
// program's Ctrl+letter symbols (QLineEdit::insert), a paste. Kept characters are written as
// their byte reads back (U+2126 becomes U+03A9), and the cursor moves back by the characters
// dropped before it. Every result is Acceptable, so the edit box never refuses a change: it
// takes the filtered text instead.
class TSymbolValidator : public QValidator {
  Q_OBJECT

public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override;
};

} // namespace qvt
