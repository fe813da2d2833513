// SPDX-License-Identifier: GPL-3.0-or-later
// Tunite written as text: unit texts with the best SI prefix, values with three significant
// figures, axis titles and descriptions.
#include <cmath>
#include <cstdlib>

#include "numtext.h"
#include "text8.h"
#include "unite.h"
#include "unittables.h"

namespace qvt {

namespace {

// Second bytes after which a leading prefix letter of a unit name is taken as a prefix
// already present ('mV', 'kPa' but not "mol").
bool FollowsPrefix(char c) {
  static constexpr std::string_view kHeads = "ACFHJKLNPSTVWbcdglmrs";
  return c == kOhmSign || kHeads.find(c) != std::string_view::npos;
}

std::string KindSymbol(std::uint8_t kind) {
  switch (kind) {
  case kKindDegree:
    return std::string(1, kDegreeSign);
  case kKindRadian:
    return "rad";
  case kKindDecibel:
    return "dB";
  case kKindPercent:
    return "%";
  default:
    return "";
  }
}

constexpr std::array<const char*, 7> kBaseSymbols = {"m", "kg", "s", "A", "K", "mol", "cd"};

// The unit written from its base symbols: 'm2.kg.s-2.A-1'.
std::string ComposedText(const std::array<std::int8_t, 7>& dim) {
  std::string positive;
  std::string negative;
  for (std::size_t i = 0; i < dim.size(); ++i) {
    const int e = dim[i];
    if (e > 0) {
      if (!positive.empty())
        positive += '.';
      positive += kBaseSymbols[i];
      if (e > 1)
        positive += std::to_string(e);
    } else if (e < 0) {
      if (!negative.empty())
        negative += '.';
      negative += kBaseSymbols[i];
      negative += std::to_string(e);
    }
  }
  if (!positive.empty() && !negative.empty())
    return ShortString(positive + "." + negative);
  return ShortString(positive + negative);
}

// x rounded to the nearest integer, ties to even. |x| must stay below 9e18.
std::string RoundedInteger(double x) {
  return std::to_string(static_cast<long long>(std::nearbyint(x)));
}

} // namespace

std::string PowerText(std::string_view name, std::int64_t exponent) {
  if (exponent == 0)
    return ShortString(name);
  const std::string head = "10^(" + std::to_string(exponent) + ")";
  if (head.size() + name.size() <= kShortText)
    return head + std::string(name);
  return ShortString(head + "S.I.");
}

std::string AddPrefix(std::string_view name, std::int64_t exponent) {
  if (name.size() > 1 && FollowsPrefix(name[1])) {
    if (const auto power = PrefixPower(name[0])) {
      exponent += *power;
      name.remove_prefix(1);
    }
  }
  if (name.empty())
    return PowerText("", exponent);
  if (exponent >= -18 && exponent <= 18) {
    if (const auto letter = PrefixLetter(static_cast<int>(exponent))) {
      // Appended rather than joined with operator+ (and assign() below rather than "= literal"):
      // GCC 12 at -O3 inlines those into std::string's replace and reports a -Wrestrict overlap
      // that cannot happen (a false positive of that compiler), pages of it per build.
      std::string prefixed(1, *letter);
      prefixed += name;
      return ShortString(prefixed);
    }
  }
  if (exponent == 0)
    return ShortString(name);
  return PowerText(name, exponent);
}

std::string Tunite::UnitText(int exponent) {
  if (Named && exponent == 0)
    return ShortString(Text);
  if (!Valid) {
    if (!Named)
      Text.assign(1, '?');
    return PowerText(Text, exponent);
  }
  bool dimensionless = true;
  for (const auto d : Dim)
    dimensionless = dimensionless && d == 0;
  if (dimensionless) {
    if (!Named)
      Text = KindSymbol(Kind);
    return AddPrefix(Text, exponent);
  }

  const std::int64_t e = static_cast<std::int64_t>(Pow10) + exponent;

  // A pure power of the metre keeps its exponent after the prefixed symbol: 'cm3', 'mm2'.
  const int metre = Dim[kMetre];
  bool onlyMetre = metre != 0 && metre != 1;
  for (std::size_t i = 1; i < Dim.size(); ++i)
    onlyMetre = onlyMetre && Dim[i] == 0;
  if (onlyMetre && e % metre == 0) {
    const std::int64_t q = e / metre;
    if (q >= -18 && q <= 18 && IsPrefixPower(static_cast<int>(q)))
      return ShortString(AddPrefix("m", q) + std::to_string(metre));
  }

  if (IsOtherUnitName(Text))
    return AddPrefix(Text, exponent);

  if (Kind == kKindNone) {
    for (const Tunite& entry : SiUnitTable())
      if (entry.Dim == Dim)
        return AddPrefix(entry.Text, e - entry.Pow10);
    // A unit per second of a table unit: 'V/s', 'mA/s'.
    for (const Tunite& entry : SiUnitTable()) {
      if (entry.Text == "Hz")
        continue;
      bool match = Dim[kSecond] == entry.Dim[kSecond] - 1;
      for (std::size_t i = 0; i < Dim.size(); ++i)
        match = match && (i == kSecond || Dim[i] == entry.Dim[i]);
      if (match)
        return ShortString(AddPrefix(entry.Text, e - entry.Pow10) + "/s");
    }
  }

  if (!Named)
    Text = ComposedText(Dim);
  return PowerText(Text, e);
}

std::string Tunite::FormatValue(double x) {
  if (std::isnan(x))
    return "???";
  if (std::fabs(x) < 1e-12)
    return ShortString("0 " + UnitText(0));
  if (std::fabs(x) > 1e12)
    return "???";
  if (Text == "hPa")
    return ShortString(RoundedInteger(x) + " hPa");

  // Engineering notation: a mantissa in 0.999..999 and a prefix power of 1000.
  const bool negative = x < 0;
  double a = std::fabs(x);
  int k = 0;
  while (a >= 999 && k < 9) {
    a /= 1000;
    ++k;
  }
  while (a < 0.999 && k > -9) {
    a *= 1000;
    --k;
  }
  const int decimals = a < 10 ? 2 : a < 100 ? 1 : 0;
  const std::string number = FormatFixed(a, 5 - decimals, decimals);
  return ShortString((negative ? "-" : "") + number + " " + UnitText(3 * k));
}

std::string Tunite::FormatScaled(double x, double scale, int decimals) {
  if (Text == "hPa") {
    if (!std::isfinite(x) || std::fabs(x) >= 9e18)
      return "???";
    return ShortString(RoundedInteger(x) + " hPa");
  }
  if (!std::isfinite(scale) || !(scale > 0))
    return "???";
  // Truncated toward zero: a scale of 0.01 shows at k = 0, not at the milli prefix.
  const int k = static_cast<int>(std::floor(std::log10(scale))) / 3;
  if (k == -9)
    return ShortString("0 " + UnitText(0));
  return ShortString(FormatFixed(x / scale, 3, 5 - decimals) + " " + UnitText(3 * k));
}

std::string Tunite::AxisLabel(double scale) {
  int e = 0;
  if (std::isfinite(scale) && scale > 0)
    e = static_cast<int>(std::nearbyint(std::log10(scale)));
  const std::string unit = UnitText(e);
  if (unit.empty())
    return ShortString(QuantityName);
  if (unit.find('/') != std::string::npos)
    return ShortString(QuantityName + "(" + unit + ")");
  return ShortString(QuantityName + "/" + unit);
}

std::string Tunite::Describe(double x) {
  return ShortString(QuantityName + "=" + FormatValue(x));
}

} // namespace qvt
