// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the "Modélisation" panel. Units come from Tunite's algebra on the units of the two
// axes, so that a voltage against time gives V, s and Hz, and volts per second where a slope
// is fitted; the prefix is the one of the value, shared by its uncertainty.
#include "model_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "codepage.h"
#include "numtext.h"
#include "text8.h"
#include "unite.h"

namespace qvt {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

Tunite UnitOf(std::string_view text) {
  Tunite u;
  u.SetText(text);
  return u;
}

// y · x^power as a unit text; empty when the algebra fails.
std::string Derived(std::string_view yUnit, std::string_view xUnit, int power) {
  try {
    Tunite y = UnitOf(yUnit);
    if (power != 0) {
      Tunite x = UnitOf(xUnit);
      x.Power(power);
      y.Multiply(x);
    }
    if (!y.Valid)
      return {};
    return y.UnitText(0);
  } catch (const std::exception&) {
    return {};
  }
}

// x with `digits` significant figures for 1 <= |x| < 1000 (or 0), as the measurements write
// them.
std::string Figures(double x, int digits) {
  const double a = std::fabs(x);
  const double carry = 0.5 * std::pow(10.0, 1 - digits);
  const int integerDigits = a < 10 - carry ? 1 : a < 100 - 10 * carry ? 2 : 3;
  return FormatFixed(x, digits, std::max(0, digits - integerDigits));
}

} // namespace

std::string FitParameterSymbol(std::string_view name) {
  const std::string n = Lower(name);
  if (n == "tau")
    return "\xCF\x84";
  if (n == "phi")
    return "\xCF\x86";
  if (n == "mu")
    return "\xCE\xBC";
  if (n == "sigma")
    return "\xCF\x83";
  return std::string(name);
}

std::string FitParameterUnit(const analysis::FitModelSpec& model, std::string_view name,
                             std::string_view xUnit, std::string_view yUnit) {
  using analysis::FitModel;
  const std::string n = Lower(name);
  switch (model.model) {
  case FitModel::kProportional:
  case FitModel::kAffine:
    return n == "a" ? Derived(yUnit, xUnit, -1) : Derived(yUnit, xUnit, 0);
  case FitModel::kParabola:
    return Derived(yUnit, xUnit, n == "a" ? -2 : n == "b" ? -1 : 0);
  case FitModel::kPolynomial:
    if (n.size() == 2 && n[0] == 'a' && std::isdigit(static_cast<unsigned char>(n[1])))
      return Derived(yUnit, xUnit, -(n[1] - '0'));
    return {};
  case FitModel::kExponential:
  case FitModel::kCharge:
  case FitModel::kSine:
  case FitModel::kDampedSine:
  case FitModel::kGaussian:
    if (n == "tau" || n == "mu" || n == "sigma")
      return Derived("", xUnit, 1);
    if (n == "f")
      return Derived("", xUnit, -1);
    if (n == "phi")
      return "rad";
    return Derived(yUnit, xUnit, 0);
  case FitModel::kPower:
  case FitModel::kExpression:
    return {};
  }
  return {};
}

TValueText FitValueParts(double value, std::optional<double> error, std::string_view unitText) {
  TValueText out;
  Tunite unit = UnitOf(unitText);
  const bool withError = error.has_value() && std::isfinite(*error) && *error > 0;
  if (!std::isfinite(value)) {
    out.value = FormatFixed(value, 4, 0);
    out.unit = AnsiToUtf8(unit.UnitText(0));
    return out;
  }
  // The prefix of the larger of the value and its uncertainty, held to the SI prefixes; a
  // unit-less parameter keeps plain numbers.
  const double magnitude = std::max(std::fabs(value), withError ? *error : 0.0);
  int k = 0;
  if (!unitText.empty() && magnitude > 0) {
    k = static_cast<int>(std::floor(std::log10(magnitude) / 3));
    k = std::clamp(k, -8, 8);
  }
  const double scale = std::pow(1000.0, k);
  out.unit = AnsiToUtf8(unit.UnitText(3 * k));
  const double v = value / scale;
  if (!withError) {
    out.value = k == 0 && (std::fabs(v) >= 1000 || (v != 0 && std::fabs(v) < 1))
                    ? FormatGeneral(v, 4)
                    : Figures(v, 4);
    return out;
  }
  const double e = *error / scale;
  // The place of the uncertainty's second significant digit, moved up when rounding carries
  // (0,0996 is 0,10).
  int place = static_cast<int>(std::floor(std::log10(e))) - 1;
  if (std::nearbyint(e / std::pow(10.0, place)) >= 100)
    ++place;
  const double step = std::pow(10.0, place);
  const int decimals = std::max(0, -place);
  const double roundedValue = std::nearbyint(v / step) * step;
  const double roundedError = std::nearbyint(e / step) * step;
  out.value = FormatFixed(roundedValue == 0 ? 0.0 : roundedValue, 17, decimals);
  out.error = FormatFixed(roundedError, 17, decimals);
  return out;
}

std::string FitValueText(std::string_view name, double value, std::optional<double> error,
                         std::string_view unitText) {
  const TValueText parts = FitValueParts(value, error, unitText);
  std::string text = FitParameterSymbol(name) + " = " + parts.value;
  const std::string unit = parts.unit.empty() ? std::string() : " " + parts.unit;
  text += unit;
  if (!parts.error.empty())
    text += " \xC2\xB1 " + parts.error + unit;
  return text;
}

} // namespace qvt
