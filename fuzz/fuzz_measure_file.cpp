// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a measurement file: the reader ends normally, and a file it accepts is written
// again and reads back to the same measurement; its spreadsheet export is made as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "measure_csv.h"
#include "measure_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qvt::TMeasurement m;
  std::string error;
  if (!qvt::ParseMeasureText(text, m, error)) {
    if (error.empty())
      std::abort();
    return 0;
  }
  if (!qvt::CheckMeasurement(m, error))
    return 0; // a reader's file may hold more than the writer accepts (a huge comment)
  qvt::TMeasurement again;
  if (!qvt::ParseMeasureText(qvt::MeasureFileText(m), again, error))
    std::abort();
  m.ProgramVersion = qvt::MeasureProgramVersion();
  if (!(again == m))
    std::abort();
  qvt::MeasureCsvText(m, qvt::TCsvFormat{';', ',', true});
  return 0;
}
