// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a settings file: it reads back byte for byte, looks-ups of any names end
// normally, and a value written reads back from the rewritten file, while the keys that were
// readable before still read as they did.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "inifile.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string other = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string content = input.ConsumeRemainingBytesAsString();

  qvt::TIniFile ini;
  ini.SetContent(content);
  if (ini.Content() != content)
    std::abort();
  ini.ReadInteger(section, key, 7);
  ini.ReadBool(section, key, true);
  ini.ReadFloat(section, key, 1.5);
  const bool hadOther = ini.ValueExists(section, other);
  const std::string otherBefore = ini.ReadString(section, other, "");

  if (ini.WriteString(section, key, value)) {
    qvt::TIniFile reread;
    reread.SetContent(ini.Content());
    if (reread.ReadString(section, key, "\x01missing") != Trim(value))
      std::abort();
    // Another key of the section is not disturbed (the same key in another spelling is).
    if (hadOther && reread.ReadString(section, other, "\x01missing") != otherBefore &&
        reread.ReadString(section, other, "") != Trim(value))
      std::abort();
  }
  if (ini.WriteInteger(section, other, 12345)) {
    qvt::TIniFile reread;
    reread.SetContent(ini.Content());
    if (reread.ReadInteger(section, other, 0) != 12345)
      std::abort();
  }
  return 0;
}
