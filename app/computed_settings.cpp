// SPDX-License-Identifier: GPL-3.0-or-later
// The computed quantities in the settings file. The lines of the set go through the same
// reader as the measurement files' (ParseComputedText); the displays have a small text of
// their own, read leniently because a wrong colour must not cost the user a definition.
#include "computed_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "inifile.h"

namespace qvt {
namespace {

constexpr char kSection[] = "Calculs";
constexpr char kConstantCount[] = "Constantes";
constexpr char kDefinitionCount[] = "Nombre";

std::string Key(const char* stem, std::size_t k) {
  return stem + std::to_string(k + 1);
}

std::string Shortest(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

bool ReadDouble(std::string_view text, double& v) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(v);
}

} // namespace

std::string ComputedDisplayText(const TComputedDisplay& display) {
  char colour[8];
  std::snprintf(colour, sizeof colour, "%06x", static_cast<unsigned>(display.Colour & 0xFFFFFF));
  std::string text = std::string("couleur=") + colour + ";echelle=";
  text += display.AutoScale ? std::string("auto")
                            : Shortest(display.Mini) + ":" + Shortest(display.Maxi);
  text += display.Visible ? ";visible=1" : ";visible=0";
  return text;
}

TComputedDisplay ParseComputedDisplay(std::string_view text) {
  TComputedDisplay display;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(';'), text.size());
    const std::string_view pair = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos)
      continue;
    const std::string_view key = pair.substr(0, eq), value = pair.substr(eq + 1);
    if (key == "couleur") {
      unsigned colour = 0;
      const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), colour, 16);
      if (ec == std::errc() && p == value.data() + value.size() && value.size() == 6)
        display.Colour = colour;
    } else if (key == "echelle") {
      const std::size_t colon = value.find(':');
      double lo = 0, hi = 0;
      if (value == "auto") {
        // The last "echelle" counts, and an automatic scale has no range of its own.
        const TComputedDisplay automatic;
        display.AutoScale = true;
        display.Mini = automatic.Mini;
        display.Maxi = automatic.Maxi;
      } else if (colon != std::string_view::npos && ReadDouble(value.substr(0, colon), lo) &&
                 ReadDouble(value.substr(colon + 1), hi) && lo != hi) {
        display.AutoScale = false;
        display.Mini = std::min(lo, hi);
        display.Maxi = std::max(lo, hi);
      }
    } else if (key == "visible") {
      if (value == "0" || value == "1")
        display.Visible = value == "1";
    }
  }
  return display;
}

TComputedSettings LoadComputedSettings(const TIniFile& ini) {
  TComputedSettings s;
  if (!ini.SectionExists(kSection))
    return s;
  const auto count = [&](const char* key, std::size_t most) {
    return static_cast<std::size_t>(
        std::clamp<std::int32_t>(ini.ReadInteger(kSection, key, 0), 0, static_cast<int>(most)));
  };
  // Constants are few; a settings file edited by hand may hold any number of them.
  constexpr std::size_t kMostConstants = 64;
  for (std::size_t k = 0, n = count(kConstantCount, kMostConstants); k < n; ++k) {
    const analysis::ComputedLine line =
        analysis::ParseComputedText(ini.ReadString(kSection, Key("Constante", k), ""));
    if (line.constant)
      s.Constants.push_back(*line.constant);
    else
      s.Errors.push_back(line.error.empty() ? Key("Constante", k) : line.error);
  }
  for (std::size_t k = 0, n = count(kDefinitionCount, analysis::kMaxComputed); k < n; ++k) {
    const analysis::ComputedLine line =
        analysis::ParseComputedText(ini.ReadString(kSection, Key("Grandeur", k), ""));
    if (!line.definition) {
      s.Errors.push_back(line.error.empty() ? Key("Grandeur", k) : line.error);
      continue;
    }
    s.Definitions.push_back(*line.definition);
    s.Displays.push_back(ParseComputedDisplay(ini.ReadString(kSection, Key("Affichage", k), "")));
  }
  return s;
}

void SaveComputedSettings(TIniFile& ini, const std::vector<analysis::ComputedConstant>& constants,
                          const std::vector<analysis::ComputedDefinition>& definitions,
                          const std::vector<TComputedDisplay>& displays) {
  if (constants.empty() && definitions.empty() && !ini.SectionExists(kSection))
    return;
  ini.WriteInteger(kSection, kConstantCount, static_cast<std::int32_t>(constants.size()));
  for (std::size_t k = 0; k < constants.size(); ++k)
    ini.WriteString(kSection, Key("Constante", k), analysis::ComputedText(constants[k]));
  ini.WriteInteger(kSection, kDefinitionCount, static_cast<std::int32_t>(definitions.size()));
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    ini.WriteString(kSection, Key("Grandeur", k), analysis::ComputedText(definitions[k]));
    ini.WriteString(kSection, Key("Affichage", k),
                    ComputedDisplayText(k < displays.size() ? displays[k] : TComputedDisplay{}));
  }
}

} // namespace qvt
