// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte string as the settings file's list of measurements: parsing ends normally, gives
// no quantity twice, and the list written back parses to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measure_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto list = qvt::ParseMeasureList(text);
  if (list.size() > qvt::analysis::kAllQuantities.size())
    std::abort();
  if (qvt::ParseMeasureList(qvt::MeasureListText(list)) != list)
    std::abort();
  return 0;
}
