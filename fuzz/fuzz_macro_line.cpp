// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a macro line: the function is the text before the first "(", the parameter
// lies between the brackets and within 255 bytes, and only the four names in any case are
// commands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "macro_line.h"

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const qvt::TMacroLine macro = qvt::ParseMacroLine(line);
  if (line.substr(0, macro.Function.size()) != macro.Function ||
      macro.Function.find('(') != std::string::npos)
    std::abort();
  if (macro.Function.size() < line.size() && line[macro.Function.size()] != '(')
    std::abort();
  if (macro.Parameter.size() > 255 ||
      (!macro.Parameter.empty() && line.find(macro.Parameter) == std::string_view::npos))
    std::abort();
  const std::string name = Upper(macro.Function);
  const bool command =
      name == "CONFIG|LOAD" || name == "CONFIG|SAVE" || name == "FOCUS" || name == "GETDATA";
  if (command != (macro.Command != qvt::TMacroCommand::Unknown))
    std::abort();
  return 0;
}
