// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a settings file's [Calculs] section: reading ends normally, and what reads is
// written back and reads again the same (constants, definitions and displays alike).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "computed_settings.h"
#include "inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qvt::TIniFile ini;
  ini.SetContent("[Calculs]\n" + std::string(reinterpret_cast<const char*>(data), size));
  const qvt::TComputedSettings read = qvt::LoadComputedSettings(ini);
  if (read.Displays.size() != read.Definitions.size())
    std::abort();

  qvt::TIniFile written;
  qvt::SaveComputedSettings(written, read.Constants, read.Definitions, read.Displays);
  const qvt::TComputedSettings again = qvt::LoadComputedSettings(written);
  if (!again.Errors.empty() || again.Constants != read.Constants ||
      again.Definitions != read.Definitions || again.Displays != read.Displays)
    std::abort();
  return 0;
}
