// SPDX-License-Identifier: GPL-3.0-or-later
// The definition and constant lines of measurement files read and written. The lines are
// parsed in UTF-8, so that the reader's messages show the names as the user typed them, and
// their texts are converted to the code page afterwards.
#include "measure_computed.h"

#include "codepage.h"
#include "numbers.h"
#include "translate.h"

namespace qvt {

static_assert(kMeasureNoValue == kNoValue);

namespace {

// UTF-8 to the code page; a character it has not, a character outside the 16-bit range and a
// byte that is no part of a well-formed sequence each give '?'.
std::string Utf8ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      out += '?';
      ++i;
      continue;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    bool wellFormed = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      wellFormed = wellFormed && (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (!wellFormed || overlong) {
      out += '?';
      ++i;
      continue;
    }
    out += c > 0xFFFF ? '?' : UnicodeToAnsi(static_cast<char16_t>(c));
    i += static_cast<std::size_t>(length);
  }
  return out;
}

} // namespace

TMeasureComputedSet ReadMeasureComputed(const TMeasurement& m) {
  TMeasureComputedSet set;
  for (std::size_t k = 0; k < m.ComputedConstants.size(); ++k) {
    analysis::ComputedLine line = analysis::ParseComputedText(m.ComputedConstants[k]);
    const std::string where = std::to_string(k + 1);
    if (!line.error.empty()) {
      set.Warnings.push_back(TrArg(translate("MeasureFile", "Constante %1 : %2"), {where, line.error}));
    } else if (!line.constant) {
      set.Warnings.push_back(
          TrArg(translate("MeasureFile", "Constante %1 : la ligne n'est pas une constante"), {where}));
    } else {
      line.constant->name = Utf8ToAnsi(line.constant->name);
      line.constant->unit = Utf8ToAnsi(line.constant->unit);
      set.Constants.push_back(*line.constant);
    }
  }
  for (std::size_t j = 0; j < m.Computed.size(); ++j) {
    const TMeasureComputed& column = m.Computed[j];
    analysis::ComputedLine line = analysis::ParseComputedText(column.Definition);
    const std::string where =
        TrArg(translate("MeasureFile", "Grandeur calculée « %1 » (colonne %2)"),
              {column.QuantityName, std::to_string(m.Channels.size() + j + 2)});
    std::optional<analysis::ComputedDefinition>& definition = set.Definitions.emplace_back();
    if (!line.error.empty()) {
      set.Warnings.push_back(TrArg(translate("MeasureFile", "%1 : %2"), {where, line.error}));
    } else if (!line.definition) {
      set.Warnings.push_back(
          TrArg(translate("MeasureFile", "%1 : la ligne est celle d'une constante"), {where}));
    } else {
      definition = std::move(line.definition);
      for (std::string* text :
           {&definition->name, &definition->unit, &definition->formula, &definition->source})
        *text = Utf8ToAnsi(*text);
    }
  }
  return set;
}

std::string MeasureComputedText(const analysis::ComputedDefinition& definition) {
  return AnsiToUtf8(analysis::ComputedText(definition));
}

std::string MeasureComputedText(const analysis::ComputedConstant& constant) {
  return AnsiToUtf8(analysis::ComputedText(constant));
}

} // namespace qvt
