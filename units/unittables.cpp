// SPDX-License-Identifier: GPL-3.0-or-later
// The unit tables in the order lookups rely on: a name that several entries could match (a
// dimension shared by "J" and "N.m", by "cd" and "lm") resolves to the first one.
#include "unittables.h"

#include <array>
#include <initializer_list>
#include <string>

#include "text8.h"

namespace qvt {

namespace {

struct Entry {
  std::string name;
  int pow10;
  std::array<std::int8_t, 7> dim; // m kg s A K mol cd
  std::uint8_t kind;
};

std::vector<Tunite> Build(std::initializer_list<Entry> entries) {
  std::vector<Tunite> table;
  table.reserve(entries.size());
  for (const Entry& e : entries) {
    Tunite u;
    u.Text = e.name;
    u.Pow10 = e.pow10;
    u.Dim = e.dim;
    u.Kind = e.kind;
    table.push_back(u);
  }
  return table;
}

struct Prefix {
  char letter;
  int power;
};
constexpr std::array<Prefix, 15> kPrefixes = {{{'a', -18},
                                               {'f', -15},
                                               {'p', -12},
                                               {'n', -9},
                                               {kMicroSign, -6},
                                               {'m', -3},
                                               {'c', -2},
                                               {'d', -1},
                                               {'h', 2},
                                               {'k', 3},
                                               {'M', 6},
                                               {'G', 9},
                                               {'T', 12},
                                               {'P', 15},
                                               {'E', 18}}};

} // namespace

const std::vector<Tunite>& SiUnitTable() {
  const std::string kOhm(1, kOhmSign);
  //                                          m   kg   s   A   K  mol cd
  static const std::vector<Tunite> table = Build({
      {"m", 0, {1, 0, 0, 0, 0, 0, 0}, kKindNone},
      {"A", 0, {0, 0, 0, 1, 0, 0, 0}, kKindNone},
      {"g", -3, {0, 1, 0, 0, 0, 0, 0}, kKindNone},
      {"K", 0, {0, 0, 0, 0, 1, 0, 0}, kKindNone},
      {"mol", 0, {0, 0, 0, 0, 0, 1, 0}, kKindNone},
      {"cd", 0, {0, 0, 0, 0, 0, 0, 1}, kKindNone},
      {"H", 0, {2, 1, -2, -2, 0, 0, 0}, kKindNone},
      {"mol/l", 3, {-3, 0, 0, 0, 0, 1, 0}, kKindNone},
      {"F", 0, {-2, -1, 4, 2, 0, 0, 0}, kKindNone},
      {"N", 0, {1, 1, -2, 0, 0, 0, 0}, kKindNone},
      {kOhm, 0, {2, 1, -3, -2, 0, 0, 0}, kKindNone},
      {"S", 0, {-2, -1, 3, 2, 0, 0, 0}, kKindNone},
      {"T", 0, {0, 1, -2, -1, 0, 0, 0}, kKindNone},
      {"V", 0, {2, 1, -3, -1, 0, 0, 0}, kKindNone},
      {"Hz", 0, {0, 0, -1, 0, 0, 0, 0}, kKindNone},
      {"s", 0, {0, 0, 1, 0, 0, 0, 0}, kKindNone},
      {"Pa", 0, {-1, 1, -2, 0, 0, 0, 0}, kKindNone},
      {"J", 0, {2, 1, -2, 0, 0, 0, 0}, kKindNone},
      {"W", 0, {2, 1, -3, 0, 0, 0, 0}, kKindNone},
      {"C", 0, {0, 0, 1, 1, 0, 0, 0}, kKindNone},
      {"Wb", 0, {2, 1, -2, -1, 0, 0, 0}, kKindNone},
      {"lm", 0, {0, 0, 0, 0, 0, 0, 1}, kKindNone},
      {"N/m", 0, {0, 1, -2, 0, 0, 0, 0}, kKindNone},
      {"J/K", 0, {2, 1, -2, 0, -1, 0, 0}, kKindNone},
      {"J/(kg.K)", 0, {2, 0, -2, 0, -1, 0, 0}, kKindNone},
      {"V/m", 0, {1, 1, -3, -1, 0, 0, 0}, kKindNone},
      {"S/m", 0, {-3, -1, 3, 2, 0, 0, 0}, kKindNone},
      {"W/(m.K)", 0, {1, 1, -3, 0, -1, 0, 0}, kKindNone},
      {"C.m", 0, {1, 0, 1, 1, 0, 0, 0}, kKindNone},
      {kOhm + "m", 0, {3, 1, -3, -2, 0, 0, 0}, kKindNone},
      {"N.m", 0, {2, 1, -2, 0, 0, 0, 0}, kKindNone},
  });
  return table;
}

const std::vector<Tunite>& OtherUnitTable() {
  const std::string kDegree(1, kDegreeSign);
  static const std::vector<Tunite> table = Build({
      {"L", -3, {3, 0, 0, 0, 0, 0, 0}, kKindNone},
      {"rad", 0, {0, 0, 0, 0, 0, 0, 0}, kKindRadian},
      {kDegree + "C", 0, {0, 0, 0, 0, 1, 0, 0}, kKindNone},
      {"bar", 5, {-1, 1, -2, 0, 0, 0, 0}, kKindNone},
      {"dB", 0, {0, 0, 0, 0, 0, 0, 0}, kKindDecibel},
      {kDegree, 0, {0, 0, 0, 0, 0, 0, 0}, kKindDegree},
      {"%", 0, {0, 0, 0, 0, 0, 0, 0}, kKindPercent},
      {"lux", 0, {-2, 0, 0, 0, 0, 0, 1}, kKindNone},
      {"mol/L", 3, {-3, 0, 0, 0, 0, 1, 0}, kKindNone},
  });
  return table;
}

const Tunite* FindUnit(std::string_view name) {
  for (const auto* table : {&SiUnitTable(), &OtherUnitTable()})
    for (const Tunite& entry : *table)
      if (entry.Text == name)
        return &entry;
  return nullptr;
}

bool IsOtherUnitName(std::string_view name) {
  for (const Tunite& entry : OtherUnitTable())
    if (entry.Text == name)
      return true;
  return false;
}

std::optional<int> PrefixPower(char letter) {
  for (const Prefix& p : kPrefixes)
    if (p.letter == letter)
      return p.power;
  return std::nullopt;
}

std::optional<char> PrefixLetter(int power) {
  for (const Prefix& p : kPrefixes)
    if (p.power == power)
      return p.letter;
  return std::nullopt;
}

bool IsPrefixPower(int n) {
  return n >= -18 && n <= 18 && (n % 3 == 0 || n == -2 || n == -1 || n == 2);
}

} // namespace qvt
