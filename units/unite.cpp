// SPDX-License-Identifier: GPL-3.0-or-later
// Tunite: reset, copy, the unit algebra and the parser of unit texts.
#include "unite.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

#include "text8.h"
#include "unittables.h"

namespace qvt {

namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::int8_t CheckedExponent(long long e) {
  if (e < std::numeric_limits<std::int8_t>::min() || e > std::numeric_limits<std::int8_t>::max())
    throw std::range_error("unit exponent out of range");
  return static_cast<std::int8_t>(e);
}

std::int32_t CheckedPow10(long long e) {
  if (e < std::numeric_limits<std::int32_t>::min() || e > std::numeric_limits<std::int32_t>::max())
    throw std::range_error("unit power of ten out of range");
  return static_cast<std::int32_t>(e);
}

[[noreturn]] void Fail(Tunite& unit) {
  unit.Valid = false;
  throw EUniteError();
}

} // namespace

void Tunite::Reset() {
  Text.clear();
  Pow10 = 0;
  Kind = kKindNone;
  Dim.fill(0);
  Valid = true;
  Named = false;
  QuantityName.clear();
}

void Tunite::Assign(const Tunite& source) {
  Text = source.Text;
  Pow10 = source.Pow10;
  Kind = source.Kind;
  Dim = source.Dim;
  Valid = source.Valid;
  Named = source.Named;
}

void Tunite::Multiply(const Tunite& other) {
  Valid = Valid && other.Valid;
  if (!Valid)
    return;
  // Everything is checked before anything changes, so an overflow leaves the unit as it was.
  std::array<std::int8_t, 7> dim{};
  for (std::size_t i = 0; i < dim.size(); ++i)
    dim[i] = CheckedExponent(static_cast<long long>(Dim[i]) + other.Dim[i]);
  Pow10 = CheckedPow10(static_cast<long long>(Pow10) + other.Pow10);
  Dim = dim;
  if (other.Kind != kKindNone)
    Kind = Kind != kKindNone ? std::uint8_t{kKindNone} : other.Kind;
}

void Tunite::Invert() {
  if (!Valid)
    return;
  std::array<std::int8_t, 7> dim{};
  for (std::size_t i = 0; i < dim.size(); ++i)
    dim[i] = CheckedExponent(-static_cast<long long>(Dim[i]));
  Pow10 = CheckedPow10(-static_cast<long long>(Pow10));
  Dim = dim;
  Kind = kKindNone;
}

void Tunite::Power(int n) {
  if (!Valid)
    return;
  std::array<std::int8_t, 7> dim{};
  for (std::size_t i = 0; i < dim.size(); ++i)
    dim[i] = CheckedExponent(static_cast<long long>(Dim[i]) * n);
  Pow10 = CheckedPow10(static_cast<long long>(Pow10) * n);
  Dim = dim;
  if (n != 1)
    Kind = kKindNone;
}

void Tunite::SetText(std::string_view text) {
  text = text.substr(0, kShortText);
  Text = std::string(text);
  Kind = kKindNone;
  Pow10 = 0;
  Valid = true;
  Dim.fill(0);
  Named = !text.empty();
  if (text.empty())
    return;
  if (const Tunite* entry = FindUnit(text)) {
    Assign(*entry);
    return;
  }
  // A text that is not a unit is a normal outcome here: the unit is marked invalid. Exponents
  // that overflow while parsing (a long run of 'm9m9...') are treated the same way, since a
  // typed text must not bring the dialog down.
  try {
    Parse(text);
  } catch (const EUniteError&) {
    Valid = false;
  } catch (const std::range_error&) {
    Valid = false;
  }
}

// The text is read as an optional power-of-ten head ("1E-3 ") and a run of factors, each an
// optional "/" (which turns every following factor into a denominator), an optional prefix
// letter, a symbol of the tables and an optional one-digit exponent, separated by ".".
void Tunite::Parse(std::string_view s) {
  const std::size_t length = s.size();
  std::size_t i = 0;
  bool denominator = false;

  if (s.substr(0, 2) == "1E") {
    i = 2;
    // The last byte is never part of the head: "1E3m" is 10^3 m.
    while (i + 1 < length && (IsDigit(s[i]) || s[i] == '+' || s[i] == '-'))
      ++i;
    if (i > 2) {
      std::string_view head = s.substr(2, i - 2);
      if (head.front() == '+')
        head.remove_prefix(1);
      std::int32_t power = 0;
      const auto r = std::from_chars(head.data(), head.data() + head.size(), power);
      // A head that is not one integer ("1E-+3", "1E-" followed by a symbol) is not a unit.
      if (head.empty() || r.ec != std::errc() || r.ptr != head.data() + head.size())
        Fail(*this);
      Pow10 = power;
    }
    if (i < length && s[i] == ' ')
      ++i;
  }

  while (i < length) {
    Tunite factor;
    if (s[i] == '/') {
      ++i;
      denominator = true;
    }
    // The ohm sign is a symbol of its own, so a prefix may stand before it as before a
    // letter: UnitText writes "k\x9D", and the same text typed back must read as kilo-ohm.
    if (i + 1 < length) {
      if (const auto power = PrefixPower(s[i]);
          power && (IsLetter(s[i + 1]) || s[i + 1] == kMicroSign || s[i + 1] == kOhmSign)) {
        factor.Pow10 = *power;
        ++i;
      }
    }
    // A text ending in "/" has no symbol to read.
    if (i >= length)
      Fail(*this);

    // Greedy reading first: the longest run of letters ("Hz", "mol"); then one byte at a time,
    // stopping at the first name found ('Vs' reads "V", and "s" as the next factor).
    const std::size_t start = i;
    std::string word(1, s[i++]);
    while (i < length && IsLetter(s[i]))
      word += s[i++];
    const Tunite* symbol = FindUnit(word);
    if (symbol == nullptr) {
      i = start;
      word.clear();
      while (true) {
        word += s[i++];
        symbol = FindUnit(word);
        if (symbol != nullptr || i >= length || !IsLetter(s[i]))
          break;
      }
      if (symbol == nullptr)
        Fail(*this);
    }
    factor.Multiply(*symbol);

    if (i < length) {
      if (s[i] == '^' && ++i >= length)
        Fail(*this);
      bool negative = false;
      if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        if (++i >= length)
          Fail(*this);
      }
      int exponent = 1;
      if (IsDigit(s[i])) {
        exponent = s[i++] - '0';
        if (negative)
          exponent = -exponent;
      }
      factor.Power(denominator ? -exponent : exponent);
    } else if (denominator) {
      factor.Invert();
    }

    Multiply(factor);
    if (i + 1 < length && s[i] == '.')
      ++i;
  }
}

} // namespace qvt
