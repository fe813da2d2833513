// SPDX-License-Identifier: GPL-3.0-or-later
// The macro language of the server: splitting a line and recognising its function.
#include "macro_line.h"

#include <array>
#include <utility>

namespace qvt {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
      return false;
  return true;
}

constexpr std::size_t kParameterLimit = 255;

} // namespace

TMacroLine ParseMacroLine(std::string_view line) {
  static constexpr std::array<std::pair<std::string_view, TMacroCommand>, 4> kCommands{{
      {"CONFIG|LOAD", TMacroCommand::ConfigLoad},
      {"CONFIG|SAVE", TMacroCommand::ConfigSave},
      {"FOCUS", TMacroCommand::Focus},
      {"GETDATA", TMacroCommand::GetData},
  }};
  TMacroLine out;
  const auto open = line.find('(');
  const auto close = line.find(')');
  if (open != std::string_view::npos && close != std::string_view::npos && open < close)
    out.Parameter = std::string(line.substr(open + 1, close - open - 1).substr(0, kParameterLimit));
  out.Function = std::string(line.substr(0, open));
  for (const auto& [name, command] : kCommands) {
    if (SameText(out.Function, name)) {
      out.Command = command;
      break;
    }
  }
  return out;
}

} // namespace qvt
