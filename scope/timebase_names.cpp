// SPDX-License-Identifier: GPL-3.0-or-later
// Time-base names.
#include "timebase_names.h"

#include "timebases.h"

namespace qvt {

namespace {

// Without spaces, with every spelling of micro turned into 'u'. The table's labels are 8-bit
// text where the byte 0xB5 is the micro sign.
std::string Normalised(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ' ')
      continue;
    if (c == 0xB5) {
      out += 'u';
    } else if ((c == 0xC2 || c == 0xCE) && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) == (c == 0xC2 ? 0xB5 : 0xBC)) {
      out += 'u';
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

} // namespace

std::string TimeBaseLabelUtf8(int index) {
  std::string out;
  for (const char* p = TimeBases().at(static_cast<size_t>(index)).Label; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) == 0xB5)
      out += "\xC2\xB5";
    else if (*p != ' ' || !out.empty())
      out += *p;
  }
  return out;
}

std::optional<int> FindTimeBase(std::string_view label) {
  const std::string wanted = Normalised(label);
  for (int i = 0; i < kTimeBaseCount; ++i) {
    if (Normalised(TimeBases()[i].Label) == wanted)
      return i;
  }
  return std::nullopt;
}

} // namespace qvt
