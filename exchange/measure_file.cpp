// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and reading ".qvtm" files.
//
// The column row comes first and the "# key: value" lines after it: numpy.genfromtxt with
// names=True takes the first line holding anything but a comment as the names, and would take
// the text of a leading "# format: ..." line as the single column name. pandas and the Python
// csv readers with a comment character skip the "#" lines wherever they are.
#include "measure_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

#include "translate.h"
#include "whole_file.h"

namespace qvt {

namespace {

constexpr std::string_view kFormatName = "qvtm";

// Header values: a backslash, a line feed and a carriage return are written "\\", "\n" and
// "\r", so that one value is always one line.
std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      out += c;
    }
  }
  return out;
}

// The reverse of Escape; any other backslash is kept as it stands.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == '\\' || next == 'n' || next == 'r') {
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string ColumnSafe(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == ',' || c == ';' || c == '#' || c == '"' || u < 0x20 || u == 0x7F)
      c = '_';
  }
  return text;
}

void AppendNumber(std::string& out, double v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

std::string NumberText(double v) {
  std::string out;
  AppendNumber(out, v);
  return out;
}

std::string ColourText(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
  out += "# ";
  out += key;
  out += ':';
  if (!value.empty())
    out += ' ' + Escape(value);
  out += '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// A whole field as a double; from_chars ignores the locale, so a decimal-comma locale of the
// program does not change what a file means.
bool ParseDouble(std::string_view text, double& v) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty())
    return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

template <typename Int> bool ParseInt(std::string_view text, Int& v, int base = 10) {
  text = Trim(text);
  if (text.empty())
    return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), v, base);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::string Shorten(std::string_view text) {
  return std::string(text.substr(0, 24)) + (text.size() > 24 ? "…" : "");
}

// The header fields of a file as the reader meets them; a malformed value stops the reading.
class THeaderReader {
public:
  THeaderReader(TMeasurement& m, std::size_t columnCount) : m_(m), columns_(columnCount) {}

  bool Field(std::string_view key, std::string_view raw, std::string& error) {
    const std::string value = Unescape(raw);
    bool ok = true;
    if (key == "format") {
      HasFormat = true;
      ok = value.size() > kFormatName.size() + 1 && value.starts_with(kFormatName) &&
           value[kFormatName.size()] == ' ' &&
           ParseInt(std::string_view(value).substr(kFormatName.size() + 1), m_.FormatVersion) &&
           m_.FormatVersion >= 1;
      if (!ok) {
        HasFormat = false;
        return true; // another program's "format" line: the file is not ours
      }
    } else if (key == "program") {
      m_.ProgramVersion = value;
    } else if (key == "date") {
      m_.DateTime = value;
    } else if (key == "comment") {
      m_.Comment = value;
    } else if (key == "mode") {
      ok = value == "oscilloscope" || value == "point";
      m_.Mode = value == "point" ? TMeasureMode::Point : TMeasureMode::Oscilloscope;
    } else if (key == "timebase") {
      m_.TimeBase = value;
    } else if (key == "samplerate") {
      ok = ParseDouble(value, m_.SampleRate) && std::isfinite(m_.SampleRate);
    } else if (key == "trigger.source") {
      m_.TriggerSource = -1;
      ok = value == "none" ||
           (ParseInt(value, m_.TriggerSource) && m_.TriggerSource >= 0 && m_.TriggerSource <= 3);
    } else if (key == "trigger.edge") {
      ok = value == "rising" || value == "falling";
      m_.TriggerEdge = value == "falling" ? TMeasureEdge::Falling : TMeasureEdge::Rising;
    } else if (key == "trigger.level") {
      ok = ParseDouble(value, m_.TriggerLevel) && std::isfinite(m_.TriggerLevel);
    } else if (key == "pretrigger") {
      ok = value == "0" || value == "1";
      m_.PreTrigger = value == "1";
    } else if (key == "abscissa") {
      ok = ParseInt(value, m_.Abscissa) && m_.Abscissa >= 0 && m_.Abscissa <= 3;
    } else if (key == "rows") {
      long long rows = -1;
      ok = ParseInt(value, rows) && rows >= 0;
      Rows = rows;
    } else if (key.starts_with("col")) {
      ok = ColumnField(key.substr(3), value);
    } else if (key.starts_with("calc.constant")) {
      std::size_t k = 0;
      if (ParseInt(key.substr(13), k) && k >= 1)
        constants_[k] = value;
    } else if (key.starts_with("model")) {
      ModelField(key, value); // a model that cannot be read is left out, the data kept
    }
    if (!ok)
      error = TrArg(translate("MeasureFile", "Valeur « %1 » invalide pour « %2 »"), {Shorten(value), key});
    return ok;
  }

  // Splits the columns into channels and computed quantities: the computed ones are the last
  // columns that all have a definition (a definition on a column a channel follows is
  // ignored, the writer never puts one there); their name, unit and colour have the keys of a
  // channel's.
  void Finish() {
    std::size_t channels = columns_.size();
    while (channels > 0 && columns_[channels - 1].HasDefinition)
      --channels;
    for (std::size_t k = 0; k < columns_.size(); ++k) {
      TColumn& c = columns_[k];
      if (k < channels)
        m_.Channels.push_back(std::move(c.Channel));
      else {
        c.Computed.QuantityName = std::move(c.Channel.QuantityName);
        c.Computed.Unit = std::move(c.Channel.Unit);
        c.Computed.Colour = c.Colour.value_or(0);
        m_.Computed.push_back(std::move(c.Computed));
      }
    }
    for (auto& [k, text] : constants_)
      m_.ComputedConstants.push_back(std::move(text));
  }

  bool HasFormat = false;
  long long Rows = -1;

private:
  // A column as its keys describe it, channel or computed quantity.
  struct TColumn {
    TMeasureChannel Channel;
    TMeasureComputed Computed;
    std::optional<std::uint32_t> Colour;
    bool HasDefinition = false;
  };

  // "<mini>;<maxi>", either end empty for an automatic one. A scale that does not read is
  // automatic: it only changes how the curve is drawn.
  static void ScaleField(const std::string& value, TMeasureComputed& c) {
    c.Mini = c.Maxi = std::nullopt;
    const std::size_t semicolon = value.find(';');
    if (semicolon == std::string::npos)
      return;
    const std::string_view both(value);
    std::optional<double> ends[2];
    const std::string_view texts[2] = {both.substr(0, semicolon), both.substr(semicolon + 1)};
    for (int i = 0; i < 2; ++i) {
      double v = 0;
      if (Trim(texts[i]).empty())
        continue;
      if (!ParseDouble(texts[i], v) || !std::isfinite(v))
        return;
      ends[i] = v;
    }
    c.Mini = ends[0];
    c.Maxi = ends[1];
  }

  void ModelField(std::string_view key, const std::string& value) {
    TMeasureModel& model = m_.Model;
    double v = 0;
    if (key == "model") {
      model.Model = value;
    } else if (key == "model.expression") {
      model.Expression = value;
    } else if (key == "model.degree") {
      int degree = 0;
      if (ParseInt(value, degree) && degree >= 3 && degree <= 5)
        model.Degree = degree;
    } else if (key == "model.channel") {
      int channel = -1;
      if (ParseInt(value, channel) && channel >= 0 && channel <= 3)
        model.Channel = channel;
    } else if (key == "model.quantity") {
      model.Quantity = value;
    } else if (key == "model.from" && ParseDouble(value, v) && std::isfinite(v)) {
      model.From = v;
    } else if (key == "model.to" && ParseDouble(value, v) && std::isfinite(v)) {
      model.To = v;
    } else if (key == "model.parameters") {
      model.Parameters = value;
    } else if (key == "model.errors") {
      model.Errors = value;
    } else if (key == "model.r2" && ParseDouble(value, v) && std::isfinite(v)) {
      model.R2 = v;
    }
  }

  // "<k>.<field>" of column k (1 for the first after the time); keys of other columns and
  // unknown fields are left to later versions.
  bool ColumnField(std::string_view key, const std::string& value) {
    const std::size_t dot = key.find('.');
    std::size_t column = 0;
    if (dot == std::string_view::npos || !ParseInt(key.substr(0, dot), column) || column < 1 ||
        column > columns_.size())
      return true;
    TColumn& col = columns_[column - 1];
    TMeasureChannel& c = col.Channel;
    const std::string_view field = key.substr(dot + 1);
    if (field == "definition") {
      col.Computed.Definition = value;
      col.HasDefinition = true;
      return true;
    }
    if (field == "scale") {
      ScaleField(value, col.Computed);
      return true;
    }
    if (field == "channel")
      return ParseInt(value, c.Channel) && c.Channel >= 0 && c.Channel <= 3;
    if (field == "name")
      c.QuantityName = value;
    else if (field == "unit")
      c.Unit = value;
    else if (field == "meaning")
      c.Meaning = value;
    else if (field == "colour") {
      const bool ok = value.size() == 6 && ParseInt(value, c.Colour, 16);
      col.Colour = c.Colour;
      return ok;
    } else if (field == "range")
      c.Range = value;
    else if (field == "input") {
      c.Input = value == "YD" ? TMeasureInput::Yd : TMeasureInput::Bnc;
      return value == "BNC" || value == "YD";
    } else if (field == "clipped") {
      c.ClippedLow = value == "low" || value == "both";
      c.ClippedHigh = value == "high" || value == "both";
      return c.ClippedLow || c.ClippedHigh;
    }
    return true;
  }

  TMeasurement& m_;
  std::vector<TColumn> columns_;
  std::map<std::size_t, std::string> constants_; // by their number
};

// Splits a data row into `count` values appended to `columns`; false with the message.
// The columns from `gapsFrom` on are computed: an empty cell there is a gap.
bool ParseRow(std::string_view line, std::size_t lineNumber,
              std::vector<std::vector<double>*>& columns, std::size_t gapsFrom,
              std::string& error) {
  std::size_t column = 0;
  for (;;) {
    const std::size_t comma = line.find(',');
    const std::string_view field = line.substr(0, comma);
    if (column < columns.size()) {
      double v = 0;
      if (column >= gapsFrom && Trim(field).empty()) {
        v = kMeasureNoValue;
      } else if (!ParseDouble(field, v)) {
        error = TrArg(translate("MeasureFile", "Valeur non numérique « %1 » ligne %2, colonne %3"),
                      {Shorten(field), std::to_string(lineNumber), std::to_string(column + 1)});
        return false;
      }
      if (!std::isfinite(v)) {
        error = TrArg(translate("MeasureFile", "Valeur non finie ligne %1, colonne %2"),
                      {std::to_string(lineNumber), std::to_string(column + 1)});
        return false;
      }
      columns[column]->push_back(v);
    }
    ++column;
    if (comma == std::string_view::npos)
      break;
    line.remove_prefix(comma + 1);
  }
  if (column != columns.size()) {
    error = TrArg(translate("MeasureFile", "Ligne %1 : %2 valeurs au lieu de %3"),
                  {std::to_string(lineNumber), std::to_string(column), std::to_string(columns.size())});
    return false;
  }
  return true;
}

} // namespace

std::string MeasureProgramVersion() {
  return "qvt2 " QVT2_VERSION;
}

std::string MeasureDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[40];
  const std::size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S%z", &local);
  return std::string(buffer, n);
}

std::string MeasureTimeColumnName(TMeasureMode mode) {
  return mode == TMeasureMode::Point ? "num" : "t (s)";
}

std::string MeasureChannelColumnName(const TMeasureChannel& channel) {
  if (channel.Unit.empty())
    return ColumnSafe(channel.QuantityName);
  return ColumnSafe(channel.QuantityName + " (" + channel.Unit + ")");
}

std::string MeasureComputedColumnName(const TMeasureComputed& computed) {
  if (computed.Unit.empty())
    return ColumnSafe(computed.QuantityName);
  return ColumnSafe(computed.QuantityName + " (" + computed.Unit + ")");
}

std::string MeasureHeaderText(const TMeasurement& m, long long rowCount) {
  std::string out = MeasureTimeColumnName(m.Mode);
  for (const TMeasureChannel& c : m.Channels)
    out += "," + MeasureChannelColumnName(c);
  for (const TMeasureComputed& c : m.Computed)
    out += "," + MeasureComputedColumnName(c);
  out += '\n';
  AppendLine(out, "format", std::string(kFormatName) + " " + std::to_string(kMeasureFormatVersion));
  AppendLine(out, "program", MeasureProgramVersion());
  AppendLine(out, "date", m.DateTime);
  AppendLine(out, "comment", m.Comment);
  AppendLine(out, "mode", m.Mode == TMeasureMode::Point ? "point" : "oscilloscope");
  AppendLine(out, "timebase", m.TimeBase);
  AppendLine(out, "samplerate", NumberText(m.SampleRate));
  AppendLine(out, "trigger.source", m.TriggerSource < 0 ? "none" : std::to_string(m.TriggerSource));
  AppendLine(out, "trigger.edge", m.TriggerEdge == TMeasureEdge::Falling ? "falling" : "rising");
  AppendLine(out, "trigger.level", NumberText(m.TriggerLevel));
  AppendLine(out, "pretrigger", m.PreTrigger ? "1" : "0");
  if (m.Abscissa >= 0)
    AppendLine(out, "abscissa", std::to_string(m.Abscissa));
  if (rowCount >= 0)
    AppendLine(out, "rows", std::to_string(rowCount));
  for (std::size_t k = 0; k < m.Channels.size(); ++k) {
    const TMeasureChannel& c = m.Channels[k];
    const std::string prefix = "col" + std::to_string(k + 1) + ".";
    AppendLine(out, prefix + "channel", std::to_string(c.Channel));
    AppendLine(out, prefix + "name", c.QuantityName);
    AppendLine(out, prefix + "unit", c.Unit);
    AppendLine(out, prefix + "meaning", c.Meaning);
    AppendLine(out, prefix + "colour", ColourText(c.Colour));
    AppendLine(out, prefix + "range", c.Range);
    AppendLine(out, prefix + "input", c.Input == TMeasureInput::Yd ? "YD" : "BNC");
    // Only for a clipped channel, so that other files keep their bytes.
    if (c.ClippedLow || c.ClippedHigh)
      AppendLine(out, prefix + "clipped",
                 c.ClippedLow && c.ClippedHigh ? "both"
                 : c.ClippedLow                ? "low"
                                               : "high");
  }
  // Only with computed quantities, so that other files keep their bytes.
  for (std::size_t j = 0; j < m.Computed.size(); ++j) {
    const TMeasureComputed& c = m.Computed[j];
    const std::string prefix = "col" + std::to_string(m.Channels.size() + j + 1) + ".";
    AppendLine(out, prefix + "definition", c.Definition);
    AppendLine(out, prefix + "name", c.QuantityName);
    AppendLine(out, prefix + "unit", c.Unit);
    AppendLine(out, prefix + "colour", ColourText(c.Colour));
    const bool mini = c.Mini && std::isfinite(*c.Mini);
    const bool maxi = c.Maxi && std::isfinite(*c.Maxi);
    if (mini || maxi)
      AppendLine(out, prefix + "scale",
                 (mini ? NumberText(*c.Mini) : "") + ";" + (maxi ? NumberText(*c.Maxi) : ""));
  }
  for (std::size_t k = 0; k < m.ComputedConstants.size(); ++k)
    AppendLine(out, "calc.constant" + std::to_string(k + 1), m.ComputedConstants[k]);
  if (!m.Model.Model.empty()) {
    const TMeasureModel& model = m.Model;
    AppendLine(out, "model", model.Model);
    if (!model.Expression.empty())
      AppendLine(out, "model.expression", model.Expression);
    if (model.Model == "polynomial")
      AppendLine(out, "model.degree", std::to_string(model.Degree));
    if (model.Channel >= 0)
      AppendLine(out, "model.channel", std::to_string(model.Channel));
    if (!model.Quantity.empty())
      AppendLine(out, "model.quantity", model.Quantity);
    if (model.From && model.To) {
      AppendLine(out, "model.from", NumberText(*model.From));
      AppendLine(out, "model.to", NumberText(*model.To));
    }
    AppendLine(out, "model.parameters", model.Parameters);
    AppendLine(out, "model.errors", model.Errors);
    if (model.R2)
      AppendLine(out, "model.r2", NumberText(*model.R2));
  }
  return out;
}

void AppendMeasureRowText(std::string& out, const double* values, std::size_t count,
                          std::size_t gapsFrom) {
  // Straight into the string's room: appending number by number costs as much as the
  // conversions themselves. 24 characters hold the longest shortest form of a double.
  const std::size_t start = out.size();
  out.resize(start + count * 25 + 1);
  char* p = out.data() + start;
  char* const end = out.data() + out.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0)
      *p++ = ',';
    if (i >= gapsFrom && (values[i] == kMeasureNoValue || !std::isfinite(values[i])))
      continue;
    p = std::to_chars(p, end, values[i]).ptr;
  }
  *p++ = '\n';
  out.resize(static_cast<std::size_t>(p - out.data()));
}

bool CheckMeasurement(const TMeasurement& m, std::string& error) {
  for (const TMeasureChannel& c : m.Channels) {
    if (c.Values.size() != m.Time.size()) {
      error = TrArg(translate("MeasureFile", "Mesure incohérente : la voie « %1 » a %2 valeurs pour %3 instants"),
                    {c.QuantityName, std::to_string(c.Values.size()), std::to_string(m.Time.size())});
      return false;
    }
  }
  for (const TMeasureComputed& c : m.Computed) {
    if (c.Values.size() != m.Time.size()) {
      error = TrArg(
          translate("MeasureFile", "Mesure incohérente : la grandeur « %1 » a %2 valeurs pour %3 instants"),
          {c.QuantityName, std::to_string(c.Values.size()), std::to_string(m.Time.size())});
      return false;
    }
  }
  if (m.Channels.size() + m.Computed.size() > 1000 || m.Comment.size() > 1'000'000) {
    error = translate("MeasureFile", "Mesure trop grande pour un fichier");
    return false;
  }
  const auto finite = [](const std::vector<double>& values) {
    for (double v : values)
      if (!std::isfinite(v))
        return false;
    return true;
  };
  bool ok = finite(m.Time) && std::isfinite(m.SampleRate) && std::isfinite(m.TriggerLevel);
  for (const TMeasureChannel& c : m.Channels)
    ok = ok && finite(c.Values);
  if (!ok)
    error = translate("MeasureFile", "Mesure non enregistrable : elle contient une valeur non finie");
  return ok;
}

void AppendMeasureRows(std::string& out, const TMeasurement& m) {
  const std::size_t channels = 1 + m.Channels.size();
  const std::size_t width = channels + m.Computed.size();
  out.reserve(out.size() + m.Time.size() * width * 24);
  std::vector<double> row(width);
  for (std::size_t i = 0; i < m.Time.size(); ++i) {
    row[0] = m.Time[i];
    for (std::size_t k = 0; k < m.Channels.size(); ++k)
      row[k + 1] = m.Channels[k].Values[i];
    for (std::size_t j = 0; j < m.Computed.size(); ++j)
      row[channels + j] = m.Computed[j].Values[i];
    AppendMeasureRowText(out, row.data(), width, channels);
  }
}

std::string MeasureFileText(const TMeasurement& m) {
  std::string out = MeasureHeaderText(m, static_cast<long long>(m.Time.size()));
  AppendMeasureRows(out, m);
  return out;
}

bool WriteMeasureFile(const std::string& path, const TMeasurement& m, std::string& error) {
  if (!CheckMeasurement(m, error)) {
    error = TrArg(translate("MeasureFile", "%1 : %2"), {error, path});
    return false;
  }
  std::string reason;
  if (!WriteWholeFile(path, MeasureFileText(m), reason)) {
    error = TrArg(translate("MeasureFile", "Écriture impossible (%1) : %2"), {reason, path});
    return false;
  }
  error.clear();
  return true;
}

bool ParseMeasureText(std::string_view text, TMeasurement& m, std::string& error) {
  if (text.size() > kMaxMeasureFileBytes) {
    error = TrArg(translate("MeasureFile", "Fichier trop volumineux (%1 octets, %2 Mo au plus)"),
                  {std::to_string(text.size()), std::to_string(kMaxMeasureFileBytes >> 20)});
    return false;
  }
  m = TMeasurement{};
  if (text.starts_with("\xEF\xBB\xBF"))
    text.remove_prefix(3);
  if (text.empty()) {
    error = translate("MeasureFile", "Fichier vide");
    return false;
  }
  // A last line without its line end was being written when the recording stopped.
  const std::size_t lastEnd = text.rfind('\n');
  const bool cut = lastEnd != text.size() - 1;
  text = lastEnd == std::string_view::npos ? std::string_view() : text.substr(0, lastEnd + 1);

  std::size_t lineNumber = 0;
  const auto nextLine = [&text, &lineNumber](std::string_view& line) {
    if (text.empty())
      return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    ++lineNumber;
    return true;
  };

  const std::string notOurs =
      translate("MeasureFile", "Ce fichier n'est pas une mesure qvt2 (ligne « # format: qvtm » absente)");
  std::string_view line;
  if (!nextLine(line)) {
    error = translate("MeasureFile", "Fichier tronqué");
    return false;
  }
  if (line.empty() || line.front() == '#') {
    error = notOurs;
    return false;
  }
  std::size_t columnCount = 1;
  for (char c : line)
    columnCount += c == ',';
  if (columnCount > 1001) {
    error = notOurs;
    return false;
  }

  THeaderReader header(m, columnCount - 1);
  std::string_view pending;
  bool hasPending = false;
  while (nextLine(line)) {
    if (line.empty() || line.front() != '#') {
      pending = line;
      hasPending = true;
      break;
    }
    std::string_view body = line.substr(1);
    if (!body.empty() && body.front() == ' ')
      body.remove_prefix(1);
    const std::size_t colon = body.find(':');
    if (colon == std::string_view::npos)
      continue;
    std::string_view value = body.substr(colon + 1);
    if (!value.empty() && value.front() == ' ')
      value.remove_prefix(1);
    if (!header.Field(Trim(body.substr(0, colon)), value, error)) {
      error = TrArg(translate("MeasureFile", "%1, ligne %2"), {error, std::to_string(lineNumber)});
      return false;
    }
  }
  header.Finish();
  if (!header.HasFormat) {
    error = cut && !hasPending ? translate("MeasureFile", "Fichier tronqué") : notOurs;
    return false;
  }
  // The model's keys mean something only together, as the writer writes them: none without
  // "model", a range only with both ends, a degree only for a polynomial, a channel only
  // when no computed quantity is named.
  TMeasureModel& model = m.Model;
  if (model.Model.empty())
    model = TMeasureModel{};
  if (!model.Quantity.empty())
    model.Channel = -1;
  if (!model.From || !model.To)
    model.From = model.To = std::nullopt;
  if (model.Model != "polynomial")
    model.Degree = TMeasureModel{}.Degree;
  if (m.FormatVersion > kMeasureFormatVersion) {
    error = TrArg(translate("MeasureFile", "Fichier d'une version plus récente de qvt2 (format %1, cette "
                                    "version lit le format %2)"),
                  {std::to_string(m.FormatVersion), std::to_string(kMeasureFormatVersion)});
    return false;
  }

  std::vector<std::vector<double>*> columns{&m.Time};
  for (TMeasureChannel& c : m.Channels)
    columns.push_back(&c.Values);
  const std::size_t gapsFrom = columns.size();
  for (TMeasureComputed& c : m.Computed)
    columns.push_back(&c.Values);
  if (header.Rows >= 0 && static_cast<std::size_t>(header.Rows) <= text.size() / 2 + 1)
    for (auto* column : columns)
      column->reserve(static_cast<std::size_t>(header.Rows));
  while (hasPending || nextLine(line)) {
    if (hasPending) {
      line = pending;
      hasPending = false;
    }
    if (Trim(line).empty() || line.front() == '#')
      continue;
    if (!ParseRow(line, lineNumber, columns, gapsFrom, error))
      return false;
  }
  const auto rows = static_cast<long long>(m.Time.size());
  if (header.Rows >= 0 && rows < header.Rows) {
    error = TrArg(translate("MeasureFile", "Fichier tronqué (%1 lignes de données sur %2)"),
                  {std::to_string(rows), std::to_string(header.Rows)});
    return false;
  }
  if (header.Rows >= 0 && rows > header.Rows) {
    error = TrArg(translate("MeasureFile", "Fichier incohérent (%1 lignes de données au lieu de %2)"),
                  {std::to_string(rows), std::to_string(header.Rows)});
    return false;
  }
  error.clear();
  return true;
}

bool ReadMeasureFile(const std::string& path, TMeasurement& m, std::string& error) {
  std::string bytes;
  std::size_t size = 0;
  std::string reason;
  switch (ReadWholeFile(path, kMaxMeasureFileBytes, bytes, size, reason)) {
  case TReadOutcome::Failed:
    error = TrArg(translate("MeasureFile", "Lecture impossible (%1) : %2"), {reason, path});
    return false;
  case TReadOutcome::TooLarge:
    error = TrArg(translate("MeasureFile", "Fichier trop volumineux (%1 octets, %2 Mo au plus) : %3"),
                  {std::to_string(size), std::to_string(kMaxMeasureFileBytes >> 20), path});
    return false;
  case TReadOutcome::Read:
    break;
  }
  if (!ParseMeasureText(bytes, m, error)) {
    error = TrArg(translate("MeasureFile", "%1 : %2"), {error, path});
    return false;
  }
  return true;
}

} // namespace qvt
