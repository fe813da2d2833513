// SPDX-License-Identifier: GPL-3.0-or-later
// The model's texts to and from QString.
#include "ansi.h"

namespace qvt {

QString AnsiToQString(std::string_view bytes) {
  QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* dst = out.data();
  for (char b : bytes)
    *dst++ = QChar(AnsiToUnicode(static_cast<unsigned char>(b)));
  return out;
}

std::string AnsiFromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i; // one character outside the table, written as one byte
      out.push_back('?');
      continue;
    }
    out.push_back(UnicodeToAnsi(c.unicode()));
  }
  return out;
}

} // namespace qvt
