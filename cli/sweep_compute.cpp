// SPDX-License-Identifier: GPL-3.0-or-later
// --compute: the option texts into definitions of the computed-quantity model, and each sweep's
// channels through it. Units are typed and written in UTF-8; the model's unit texts are the
// program's 8-bit ones, so the few symbols that differ are translated both ways.
#include "sweep_compute.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "codepage.h"
#include "command_line.h"
#include "measure_computed.h"
#include "numbers.h"

namespace qvt::cli {

namespace {

struct TSymbol {
  std::string_view Utf8;
  char Byte;
};
constexpr std::array<TSymbol, 4> kSymbols{
    {{"\xC2\xB5", '\xB5'}, {"\xCE\xBC", '\xB5'}, {"\xCE\xA9", '\x9D'}, {"\xC2\xB0", '\xB0'}}};

std::string ToUnitText(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    bool replaced = false;
    for (const TSymbol& s : kSymbols)
      if (utf8.substr(i).starts_with(s.Utf8)) {
        out += s.Byte;
        i += s.Utf8.size();
        replaced = true;
        break;
      }
    if (!replaced)
      out += utf8[i++];
  }
  return out;
}

} // namespace

TSweepCompute::TSweepCompute(const std::vector<std::string>& options) {
  std::vector<analysis::ComputedDefinition> definitions;
  for (const std::string& text : options) {
    const std::size_t equal = text.find('=');
    if (equal == std::string::npos)
      throw TUsageError(Refused(
          "--compute", text,
          Say("NOM=FORMULE[:UNITÉ] (P=V0*V1/100:W)", "NAME=FORMULA[:UNIT] (P=V0*V1/100:W)")));
    analysis::ComputedDefinition d;
    d.name = text.substr(0, equal);
    const std::string rest = text.substr(equal + 1);
    const std::size_t colon = rest.rfind(':');
    d.formula = rest.substr(0, colon);
    if (colon != std::string::npos)
      d.unit = ToUnitText(rest.substr(colon + 1));
    definitions.push_back(std::move(d));
  }
  const std::array<analysis::ComputedChannel, 4> channels{};
  if (const auto error = model_.Define(channels, {}, definitions))
    throw TUsageError("--compute : " + error->message);
}

std::vector<TComputedColumn> TSweepCompute::Columns(const TSweep& sweep) {
  std::array<std::span<const double>, 4> channels{};
  for (std::size_t k = 0; k < sweep.Channels.size(); ++k)
    channels[static_cast<std::size_t>(sweep.Channels[k])] = sweep.Volts[k];
  analysis::ComputedInput input;
  input.samples = sweep.Time.size();
  input.channels = channels;
  input.time = sweep.Time;
  input.dt = sweep.SampleRate > 0 ? 1.0 / sweep.SampleRate : 1.0;
  model_.Compute(input);
  std::vector<TComputedColumn> columns;
  for (std::size_t k = 0; k < model_.Count(); ++k) {
    TComputedColumn c{model_.Definition(k).name,
                      AnsiToUtf8(model_.Unit(k)),
                      {},
                      MeasureComputedText(model_.Definition(k))};
    const auto values = model_.Values(k);
    c.Values.assign(values.begin(), values.end());
    for (double& v : c.Values)
      if (v == kNoValue)
        v = std::nan("");
    columns.push_back(std::move(c));
  }
  return columns;
}

} // namespace qvt::cli
