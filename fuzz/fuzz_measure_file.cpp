// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a measurement file: the reader ends normally, and a file it accepts is written
// again and reads back to the same measurement; its spreadsheet export is made as well. The
// computed quantities' lines are read as the window reads them, and what reads is written back
// and reads the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "measure_computed.h"
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

  const qvt::TMeasureComputedSet set = qvt::ReadMeasureComputed(m);
  // Every line either reads or gives a warning.
  const auto unread = std::count(set.Definitions.begin(), set.Definitions.end(), std::nullopt);
  if (set.Definitions.size() != m.Computed.size() ||
      set.Warnings.size() !=
          m.ComputedConstants.size() - set.Constants.size() + static_cast<std::size_t>(unread))
    std::abort();
  qvt::TMeasurement written;
  for (const auto& constant : set.Constants)
    written.ComputedConstants.push_back(qvt::MeasureComputedText(constant));
  for (const auto& definition : set.Definitions)
    if (definition)
      written.Computed.push_back({qvt::MeasureComputedText(*definition), "", "", 0, {}, {}, {}});
  const qvt::TMeasureComputedSet back = qvt::ReadMeasureComputed(written);
  if (!back.Warnings.empty() || back.Constants != set.Constants)
    std::abort();
  for (std::size_t j = 0, k = 0; j < set.Definitions.size(); ++j)
    if (set.Definitions[j] && !(back.Definitions[k++] == set.Definitions[j]))
      std::abort();
  return 0;
}
