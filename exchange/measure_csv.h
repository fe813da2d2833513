// SPDX-License-Identifier: GPL-3.0-or-later
// A measurement exported for spreadsheets: one header row, then one row per sample, with the
// separator and decimal mark of the user's spreadsheet.
#pragma once

#include <string>
#include <string_view>

#include "measure_file.h"

namespace qvt {

struct TCsvFormat {
  char Separator = ',';
  char DecimalMark = '.';
  bool ByteOrderMark = false; // UTF-8 byte-order mark first, for Excel

  bool operator==(const TCsvFormat&) const = default;
};

// The format spreadsheets expect in a locale, from its name ("fr_FR.UTF-8", "fr_CA", "fr"):
// French: ";" and ","; any other: "," and ".". No byte-order mark.
TCsvFormat CsvFormatForLocale(std::string_view localeName);

// The exported text: the column names (as in the measurement file's column row, quoted when
// they hold the separator), then the rows, values with the shortest text that reads back to
// the same double and `format.DecimalMark` as decimal mark; lines end with CR LF. The
// computed quantities follow the channels. Non-finite values and the gaps of computed
// quantities (kMeasureNoValue) give empty cells. `format.Separator` and `format.DecimalMark` must
// differ and be neither a digit nor '"', '-', '+', 'e', CR or LF.
std::string MeasureCsvText(const TMeasurement& m, const TCsvFormat& format);

// Writes MeasureCsvText atomically to `path`. On failure false with a French message in
// `error` naming the file and the system's reason; an earlier file stays as it was.
bool WriteMeasureCsv(const std::string& path, const TMeasurement& m, const TCsvFormat& format,
                     std::string& error);

} // namespace qvt
