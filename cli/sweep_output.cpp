// SPDX-License-Identifier: GPL-3.0-or-later
// The output formats of a sweep.
#include "sweep_output.h"

#include <charconv>
#include <cmath>

#include "courbe.h"
#include "measure_csv.h"
#include "numtext.h"
#include "oscillo_rules.h"

namespace qvt::cli {

namespace {

std::string RangeLabel(double volts) {
  return volts < 1 ? std::to_string(static_cast<int>(volts * 1000 + 0.5)) + " mV"
                   : std::to_string(static_cast<int>(volts + 0.5)) + " V";
}

// The shortest text that reads back to the same double; JSON has no NaN or infinity.
void AddNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void AddArray(std::string& out, const std::vector<double>& values) {
  out += '[';
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0)
      out += ',';
    AddNumber(out, values[i]);
  }
  out += ']';
}

void AddMatlabLine(std::string& out, std::string_view name, const std::vector<double>& values) {
  out += name;
  out += "=[";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0)
      out += ',';
    // Matlab reads NaN, not the "NAN" the export text gives, for a missing computed value.
    out += std::isfinite(values[i]) ? FormatExportValue(values[i]) : std::string("NaN");
  }
  out += "]\r\n";
}

std::string JsonText(const TSweep& sweep, const std::vector<TComputedColumn>& computed) {
  // Every text written here is ASCII or the time base's label, which needs no escape.
  std::string out = "{\"timebase\":\"" + sweep.TimeBaseLabel + "\",\"samplerate\":";
  AddNumber(out, sweep.SampleRate);
  const int source = sweep.Setup.TriggerSource;
  out += ",\"trigger\":{\"source\":";
  out += source > 0 ? std::to_string(source - 1) : "\"key\"";
  out += ",\"edge\":\"";
  out += sweep.Setup.Rising ? "rising" : "falling";
  out += "\",\"level\":";
  AddNumber(out, sweep.Setup.Level);
  out += "},\"pretrigger\":";
  out += sweep.Setup.PreTrigger ? "true" : "false";
  out += ",\"rearmed\":" + std::to_string(sweep.Rearmed) + ",\"channels\":[";
  for (size_t k = 0; k < sweep.Channels.size(); ++k)
    out += (k > 0 ? "," : "") + std::to_string(sweep.Channels[k]);
  out += "],\"t\":";
  AddArray(out, sweep.Time);
  out += ",\"volts\":[";
  for (size_t k = 0; k < sweep.Volts.size(); ++k) {
    if (k > 0)
      out += ',';
    AddArray(out, sweep.Volts[k]);
  }
  out += ']';
  if (!computed.empty()) {
    // Names and units are checked by the model: letters, digits and unit symbols, no quote.
    out += ",\"computed\":[";
    for (size_t k = 0; k < computed.size(); ++k) {
      out += (k > 0 ? ",{\"name\":\"" : "{\"name\":\"") + computed[k].Name + "\",\"unit\":\"" +
             computed[k].Unit + "\",\"values\":";
      AddArray(out, computed[k].Values);
      out += '}';
    }
    out += ']';
  }
  out += "}\n";
  return out;
}

} // namespace

TMeasurement SweepMeasurement(const TSweep& sweep) {
  TMeasurement m;
  m.ProgramVersion = MeasureProgramVersion();
  m.DateTime = MeasureDateNow();
  m.Mode = TMeasureMode::Oscilloscope;
  m.TimeBase = sweep.TimeBaseLabel;
  m.SampleRate = sweep.SampleRate;
  m.TriggerSource = sweep.Setup.TriggerSource - 1;
  m.TriggerEdge = sweep.Setup.Rising ? TMeasureEdge::Rising : TMeasureEdge::Falling;
  m.TriggerLevel = sweep.Setup.Level;
  m.PreTrigger = sweep.Setup.PreTrigger;
  m.Time = sweep.Time;
  for (size_t k = 0; k < sweep.Channels.size(); ++k) {
    const int c = sweep.Channels[k];
    TMeasureChannel channel;
    channel.Channel = c;
    channel.QuantityName = "V" + std::to_string(c);
    channel.Unit = "V";
    channel.Colour = ChannelColour(c); // the trace colour the window gives the channel
    channel.Range = RangeLabel(kRangeVolts[static_cast<size_t>(sweep.Setup.Range[c])]);
    channel.Input = sweep.Setup.InputYD[c] ? TMeasureInput::Yd : TMeasureInput::Bnc;
    if (k < sweep.Clipping.size()) {
      channel.ClippedLow = sweep.Clipping[k].Low;
      channel.ClippedHigh = sweep.Clipping[k].High;
    }
    channel.Values = sweep.Volts[k];
    m.Channels.push_back(std::move(channel));
  }
  return m;
}

std::string SweepText(const TSweep& sweep, TSweepFormat format,
                      const std::vector<TComputedColumn>& computed) {
  switch (format) {
  case TSweepFormat::Csv:
  case TSweepFormat::Qvtm: {
    TMeasurement m = SweepMeasurement(sweep);
    for (const TComputedColumn& c : computed) {
      TMeasureComputed& column = m.Computed.emplace_back();
      column.Definition = c.Definition;
      column.QuantityName = c.Name;
      column.Unit = c.Unit;
      column.Values = c.Values;
      for (double& v : column.Values)
        if (!std::isfinite(v))
          v = kMeasureNoValue; // an empty cell
    }
    return format == TSweepFormat::Csv ? MeasureCsvText(m, TCsvFormat{}) : MeasureFileText(m);
  }
  case TSweepFormat::Matlab: {
    std::string out = "\r\n";
    AddMatlabLine(out, "t", sweep.Time);
    for (size_t k = 0; k < sweep.Channels.size(); ++k)
      AddMatlabLine(out, "V" + std::to_string(sweep.Channels[k]), sweep.Volts[k]);
    for (const TComputedColumn& c : computed)
      AddMatlabLine(out, c.Name, c.Values);
    return out;
  }
  case TSweepFormat::Json:
    return JsonText(sweep, computed);
  }
  return {};
}

std::string NumberedPath(std::string_view path, long number) {
  const auto slash = path.rfind('/');
  auto dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) ||
      dot == (slash == std::string_view::npos ? 0 : slash + 1))
    dot = path.size();
  return std::string(path.substr(0, dot)) + "-" + std::to_string(number) +
         std::string(path.substr(dot));
}

} // namespace qvt::cli
