// SPDX-License-Identifier: GPL-3.0-or-later
// The Python module's argument checks on any text: a time base, a range label or volts, a
// trigger edge. Each either gives an index within its list or refuses with std::invalid_argument.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "oscillo_rules.h"
#include "sweep_arguments.h"
#include "timebases.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const int index = qvt::python::TimeBaseArgument(text);
    if (index < 0 || index >= kTimeBaseCount)
      std::abort();
  } catch (const std::invalid_argument&) {
  }
  try {
    const int index = qvt::python::RangeArgument(text);
    if (index < 0 || index >= static_cast<int>(qvt::kRangeVolts.size()))
      std::abort();
  } catch (const std::invalid_argument&) {
  }
  if (size >= sizeof(double)) {
    double volts;
    std::memcpy(&volts, data, sizeof volts);
    try {
      qvt::python::RangeArgument(volts);
      qvt::python::LevelArgument(volts);
    } catch (const std::invalid_argument&) {
    }
  }
  try {
    qvt::python::EdgeArgument(text);
  } catch (const std::invalid_argument&) {
  }
  return 0;
}
