// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte string as a typed number and as a typed setting, under both decimal marks; the
// parsed value then goes through the number texts that display and export it. A setting
// written back in the general form reads back as a number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "numbers.h"
#include "numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char mark : {'.', ','}) {
    qvt::ForceDecimalSeparator(mark);
    const double value = qvt::ParseValue(text);
    qvt::FormatShort(value);
    qvt::FormatFixed(value, 5, 3);
    // The export form is always read back by the parser under a point mark.
    const std::string exported = qvt::FormatExportValue(value);
    if (exported.find(',') != std::string::npos)
      std::abort();
    if (const auto setting = qvt::ReadDecimal(text)) {
      if (!qvt::ReadDecimal(qvt::FormatGeneral(*setting, 15)).has_value())
        std::abort();
    }
  }
  // The raw bytes as a double, including non-numbers and subnormals.
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    qvt::FormatShort(raw);
    qvt::FormatFixed(raw, 17, 18);
    qvt::FormatGeneral(raw, 1);
    qvt::FormatExportValue(raw);
  }
  qvt::ForceDecimalSeparator('\0');
  return 0;
}
