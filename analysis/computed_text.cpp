// SPDX-License-Identifier: GPL-3.0-or-later
// The one-line text form of computed quantities and constants, written and read back. The
// reader checks the form strictly, since the lines come from files anyone may edit.
#include <charconv>
#include <cmath>
#include <map>
#include <system_error>

#include "computed.h"
#include "translate.h"

namespace qvt::analysis {

namespace {

constexpr int kVersion = 1;

const char* KindKey(ComputedKind kind) {
  switch (kind) {
  case ComputedKind::kFormula:
    return "formule";
  case ComputedKind::kDerivative:
    return "derivee";
  case ComputedKind::kIntegral:
    return "integrale";
  case ComputedKind::kSmoothing:
    return "lissage";
  }
  return "formule";
}

std::string NumberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

template <class T> bool ReadNumber(std::string_view text, T& value) {
  if (text.empty())
    return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::string Newer() {
  return translate("Computed", "définition d'une version plus récente du programme");
}

} // namespace

std::string ComputedText(const ComputedDefinition& d) {
  std::string line =
      "v=1;type=" + std::string(KindKey(d.kind)) + ";nom=" + d.name + ";unite=" + d.unit;
  if (d.kind == ComputedKind::kFormula)
    return line + ";expr=" + d.formula;
  line += ";source=" + d.source;
  if (d.kind == ComputedKind::kIntegral)
    return line;
  line += ";points=" + std::to_string(d.points);
  if (d.kind == ComputedKind::kSmoothing)
    line += d.method == SmoothingMethod::kMovingAverage ? ";methode=moyenne" : ";methode=sg";
  return line;
}

std::string ComputedText(const ComputedConstant& c) {
  return "v=1;type=constante;nom=" + c.name + ";unite=" + c.unit + ";valeur=" + NumberText(c.value);
}

ComputedLine ParseComputedText(std::string_view line) {
  ComputedLine result;
  auto fail = [&](std::string message) {
    result.definition.reset();
    result.constant.reset();
    result.error = std::move(message);
    return result;
  };
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
    line.remove_suffix(1);
  for (const char c : line)
    if (static_cast<unsigned char>(c) < 0x20)
      return fail(translate("Computed", "définition de grandeur illisible (caractère de contrôle)"));
  std::map<std::string, std::string, std::less<>> keys;
  std::size_t at = 0;
  while (at <= line.size()) {
    const std::size_t end = std::min(line.find(';', at), line.size());
    const std::string_view pair = line.substr(at, end - at);
    const std::size_t equal = pair.find('=');
    if (equal == std::string_view::npos || equal == 0)
      return fail(TrArg(translate("Computed", "définition de grandeur illisible : %1"), {pair}));
    if (!keys.emplace(std::string(pair.substr(0, equal)), std::string(pair.substr(equal + 1)))
             .second)
      return fail(TrArg(translate("Computed", "définition de grandeur : clé %1 répétée"),
                        {pair.substr(0, equal)}));
    at = end + 1;
  }
  // The version first: a newer line may use keys this reader does not know.
  int version = 0;
  if (auto v = keys.find("v"); v == keys.end() || !ReadNumber(v->second, version) || version < 1)
    return fail(translate("Computed", "définition de grandeur sans version (v=1)"));
  if (version > kVersion)
    return fail(Newer());
  auto take = [&](std::string_view key) -> std::optional<std::string> {
    auto found = keys.find(key);
    if (found == keys.end())
      return std::nullopt;
    std::string value = std::move(found->second);
    keys.erase(found);
    return value;
  };
  take("v");
  const std::optional<std::string> type = take("type");
  const std::optional<std::string> name = take("nom");
  const std::optional<std::string> unit = take("unite");
  if (!type || !name || !unit)
    return fail(translate("Computed", "définition de grandeur incomplète (type, nom, unite)"));
  auto missing = [&](std::string_view key) {
    return fail(TrArg(translate("Computed", "définition de %1 : clé %2 manquante"), {*name, key}));
  };
  if (*type == "constante") {
    ComputedConstant c{*name, 0, *unit};
    const std::optional<std::string> value = take("valeur");
    if (!value)
      return missing("valeur");
    if (!ReadNumber(*value, c.value) || !std::isfinite(c.value))
      return fail(TrArg(translate("Computed", "constante %1 : valeur incorrecte %2"), {*name, *value}));
    result.constant = c;
  } else {
    ComputedDefinition d;
    d.name = *name;
    d.unit = *unit;
    if (*type == "formule")
      d.kind = ComputedKind::kFormula;
    else if (*type == "derivee")
      d.kind = ComputedKind::kDerivative;
    else if (*type == "integrale")
      d.kind = ComputedKind::kIntegral;
    else if (*type == "lissage")
      d.kind = ComputedKind::kSmoothing;
    else
      return fail(TrArg(translate("Computed", "%1 (type %2)"), {Newer(), *type}));
    if (d.kind == ComputedKind::kFormula) {
      const std::optional<std::string> formula = take("expr");
      if (!formula)
        return missing("expr");
      d.formula = *formula;
    } else {
      const std::optional<std::string> source = take("source");
      if (!source)
        return missing("source");
      d.source = *source;
    }
    if (d.kind == ComputedKind::kDerivative || d.kind == ComputedKind::kSmoothing) {
      const std::optional<std::string> points = take("points");
      if (!points)
        return missing("points");
      if (!ReadNumber(*points, d.points))
        return fail(TrArg(translate("Computed", "définition de %1 : points incorrects %2"), {*name, *points}));
    }
    if (d.kind == ComputedKind::kSmoothing) {
      const std::optional<std::string> method = take("methode");
      if (!method)
        return missing("methode");
      if (*method == "sg")
        d.method = SmoothingMethod::kSavitzkyGolay;
      else if (*method == "moyenne")
        d.method = SmoothingMethod::kMovingAverage;
      else
        return fail(TrArg(translate("Computed", "%1 (méthode %2)"), {Newer(), *method}));
    }
    result.definition = d;
  }
  if (!keys.empty())
    return fail(TrArg(translate("Computed", "définition de %1 : clé inconnue %2"),
                      {*name, keys.begin()->first}));
  return result;
}

} // namespace qvt::analysis
