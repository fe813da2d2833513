// SPDX-License-Identifier: LGPL-2.1-or-later
// Counted-string conversion for the twins.
#include "twin_strings.h"

#include "qvtstring.h"

namespace qvt::link {

std::optional<std::string> CountedName8(const char* text, size_t maxLength) {
  const size_t length = CountedStringBytes(text);
  if (length > maxLength) return std::nullopt;
  return std::string(text == nullptr ? "" : text, length);
}

std::optional<std::string> CountedName16(const char16_t* text, size_t maxLength) {
  const size_t length = CountedStringBytes(text) / sizeof(char16_t);
  if (length > maxLength) return std::nullopt;
  std::string name(length, '\0');
  for (size_t i = 0; i < length; ++i) name[i] = static_cast<char>(text[i] & 0xFF);
  return name;
}

} // namespace qvt::link
