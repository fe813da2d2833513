// SPDX-License-Identifier: GPL-3.0-or-later
// Spreadsheet export of a measurement.
#include "measure_csv.h"

#include <charconv>
#include <cmath>

#include "translate.h"
#include "whole_file.h"

namespace qvt {

namespace {

// A cell as RFC 4180 has it: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break.
void AppendCell(std::string& out, const std::string& text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendValue(std::string& out, double v, char decimalMark) {
  if (!std::isfinite(v))
    return;
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
  for (char* p = buffer; p != end; ++p)
    out += *p == '.' ? decimalMark : *p;
}

} // namespace

TCsvFormat CsvFormatForLocale(std::string_view localeName) {
  // "fr", "fr_FR", "fr_FR.UTF-8", "fr_BE@euro"; not "fra" nor "fy".
  const bool french = localeName.starts_with("fr") &&
                      (localeName.size() == 2 || localeName[2] == '_' || localeName[2] == '-' ||
                       localeName[2] == '.' || localeName[2] == '@');
  return french ? TCsvFormat{';', ',', false} : TCsvFormat{',', '.', false};
}

std::string MeasureCsvText(const TMeasurement& m, const TCsvFormat& format) {
  std::string out;
  if (format.ByteOrderMark)
    out += "\xEF\xBB\xBF";
  AppendCell(out, MeasureTimeColumnName(m.Mode), format.Separator);
  for (const TMeasureChannel& c : m.Channels) {
    out += format.Separator;
    AppendCell(out, MeasureChannelColumnName(c), format.Separator);
  }
  for (const TMeasureComputed& c : m.Computed) {
    out += format.Separator;
    AppendCell(out, MeasureComputedColumnName(c), format.Separator);
  }
  out += "\r\n";
  out.reserve(out.size() + m.Time.size() * (1 + m.Channels.size() + m.Computed.size()) * 24);
  for (std::size_t i = 0; i < m.Time.size(); ++i) {
    AppendValue(out, m.Time[i], format.DecimalMark);
    for (const TMeasureChannel& c : m.Channels) {
      out += format.Separator;
      if (i < c.Values.size())
        AppendValue(out, c.Values[i], format.DecimalMark);
    }
    for (const TMeasureComputed& c : m.Computed) {
      out += format.Separator;
      if (i < c.Values.size() && c.Values[i] != kMeasureNoValue)
        AppendValue(out, c.Values[i], format.DecimalMark);
    }
    out += "\r\n";
  }
  return out;
}

bool WriteMeasureCsv(const std::string& path, const TMeasurement& m, const TCsvFormat& format,
                     std::string& error) {
  std::string reason;
  if (!WriteWholeFile(path, MeasureCsvText(m, format), reason)) {
    error = TrArg(translate("MeasureFile", "Écriture impossible (%1) : %2"), {reason, path});
    return false;
  }
  error.clear();
  return true;
}

} // namespace qvt
