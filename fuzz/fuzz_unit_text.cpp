// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte string as a unit text: parsing must end normally (an invalid unit is a normal
// result), and every text written back from the unit must stay within 32 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "unite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qvt::Tunite unit;
  unit.QuantityName = "q";
  unit.SetText(text);
  if (unit.Text.size() > 32)
    std::abort();
  for (int exponent : {-27, -6, -3, -2, 0, 3, 27}) {
    if (unit.UnitText(exponent).size() > 32)
      std::abort();
  }
  for (double x : {1e-13, 0.0123, -0.5, 999.6, 3e11, 2e12}) {
    if (unit.FormatValue(x).size() > 32 || unit.Describe(x).size() > 32)
      std::abort();
  }
  if (unit.FormatScaled(1.5, 1e-3, 3).size() > 32 || unit.AxisLabel(1e-3).size() > 32)
    std::abort();
  return 0;
}
