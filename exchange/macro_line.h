// SPDX-License-Identifier: GPL-3.0-or-later
// The macro language of the server: a request line "Function(Parameter)" taken apart and the
// function recognised. Pure text work, without Qt, so that any byte string can be tried on it.
#pragma once

#include <string>
#include <string_view>

namespace qvt {

enum class TMacroCommand { ConfigLoad, ConfigSave, Focus, GetData, Unknown };

struct TMacroLine {
  // The text before the first "(", or the whole line without one.
  std::string Function;
  // The text between the first "(" and the first ")" when that "(" comes before that ")",
  // cut to 255 bytes; empty otherwise. No command uses it.
  std::string Parameter;
  // Function compared with "CONFIG|LOAD", "CONFIG|SAVE", "FOCUS" and "GETDATA" without
  // regard to ASCII case; anything else (blanks included) is Unknown.
  TMacroCommand Command = TMacroCommand::Unknown;
};

TMacroLine ParseMacroLine(std::string_view line);

} // namespace qvt
