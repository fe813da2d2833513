// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts. Digits come from std::to_chars, which rounds the exact binary value (ties to
// even) and never looks at the locale; the separator is inserted afterwards, so the only
// locale dependence is DecimalSeparator().
#include "numtext.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "numbers.h"
#include "text8.h"

namespace qvt {

namespace {

std::atomic<char> forcedSeparator{'\0'};

// A rounded decimal number: value = 0.digits x 10^exponent.
struct Decimal {
  bool negative = false;
  std::string digits; // significant digits, no leading or trailing zeros; empty for zero
  int exponent = 0;
  bool IsZero() const { return digits.empty(); }
};

// Builds a Decimal from the digits of a to_chars result ("-ddd.ddd"; any exponent part already
// split off) whose integer part has `intDigits` digits.
Decimal FromDigits(bool negative, std::string digits, int intDigits) {
  Decimal d;
  d.negative = negative;
  const auto first = digits.find_first_not_of('0');
  if (first == std::string::npos)
    return d;
  const auto last = digits.find_last_not_of('0');
  d.digits = digits.substr(first, last - first + 1);
  d.exponent = intDigits - static_cast<int>(first);
  return d;
}

// x (finite) rounded to `precision` significant digits.
Decimal RoundSignificant(double x, int precision) {
  char buf[64];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision - 1);
  const std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
  const bool negative = !text.empty() && text.front() == '-';
  const auto ePos = text.find('e');
  std::string digits;
  for (char c : text.substr(0, ePos))
    if (c >= '0' && c <= '9')
      digits += c;
  int exp10 = 0;
  const auto exponent = text.substr(ePos + 1);
  const char* begin = exponent.data() + (exponent.front() == '+' ? 1 : 0);
  std::from_chars(begin, exponent.data() + exponent.size(), exp10);
  // d.ddd x 10^exp10 is 0.dddd x 10^(exp10 + 1).
  return FromDigits(negative, digits, exp10 + 1);
}

// x (finite, below 1e17 in magnitude) rounded to `decimals` digits after the mark.
Decimal RoundDecimals(double x, int decimals) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  const std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
  const bool negative = !text.empty() && text.front() == '-';
  const auto body = text.substr(negative ? 1 : 0);
  const auto point = body.find('.');
  const int intDigits = static_cast<int>(point == std::string_view::npos ? body.size() : point);
  std::string digits;
  for (char c : body)
    if (c != '.')
      digits += c;
  return FromDigits(negative, digits, intDigits);
}

std::string NonFinite(double x) {
  if (std::isnan(x))
    return "NAN";
  return x < 0 ? "-INF" : "INF";
}

std::string WriteFixed(const Decimal& d, int decimals, char separator) {
  std::string s;
  if (d.negative && !d.IsZero())
    s += '-';
  const int n = static_cast<int>(d.digits.size());
  const int e = d.IsZero() ? 0 : d.exponent;
  auto digitAt = [&](int i) {
    return i >= 0 && i < n ? d.digits[static_cast<std::size_t>(i)] : '0';
  };
  if (e <= 0)
    s += '0';
  for (int i = 0; i < e; ++i)
    s += digitAt(i);
  if (decimals > 0) {
    s += separator;
    for (int i = e; i < e + decimals; ++i)
      s += digitAt(i);
  }
  return s;
}

// "d.dddE-nn" for a non-zero Decimal.
std::string WriteExponent(const Decimal& d, char separator, int minExponentDigits) {
  std::string s;
  if (d.negative)
    s += '-';
  s += d.digits.front();
  if (d.digits.size() > 1) {
    s += separator;
    s += d.digits.substr(1);
  }
  s += 'E';
  const int e = d.exponent - 1;
  if (e < 0)
    s += '-';
  std::string digits = std::to_string(std::abs(e));
  if (static_cast<int>(digits.size()) < minExponentDigits)
    digits.insert(0, static_cast<std::size_t>(minExponentDigits) - digits.size(), '0');
  return s + digits;
}

std::string WriteGeneral(const Decimal& d, int precision, char separator, int minExponentDigits) {
  if (d.IsZero())
    return "0";
  if (d.exponent > precision || d.exponent < -3)
    return WriteExponent(d, separator, minExponentDigits);
  const int decimals = std::max(0, static_cast<int>(d.digits.size()) - d.exponent);
  return WriteFixed(d, decimals, separator);
}

int ClampPrecision(int precision) {
  return std::clamp(precision, 1, 17);
}

// Trailing prefix letters of typed numbers and the exponents they stand for.
struct SuffixPower {
  char letter;
  const char* exponent;
};
constexpr SuffixPower kSuffixes[] = {
    {'y', "E-24"}, {'z', "E-21"},       {'a', "E-18"}, {'f', "E-15"}, {'p', "E-12"},
    {'n', "E-9"},  {kMicroSign, "E-6"}, {'m', "E-3"},  {'k', "E+3"},  {'M', "E+6"},
    {'G', "E+9"},  {'T', "E+12"},       {'P', "E+15"}, {'E', "E+18"},
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The number in s: blanks around it, an optional sign, digits with at most one `separator`,
// an optional exponent; nothing for anything else or a number beyond the double range.
std::optional<double> ReadNumber(std::string_view s, char separator) {
  // The number, rewritten in the locale-free form that from_chars reads.
  std::size_t i = s.find_first_not_of(' ');
  const std::size_t end = s.find_last_not_of(' ') + 1;
  if (i == std::string::npos)
    return std::nullopt;
  std::string number;
  if (s[i] == '+' || s[i] == '-') {
    if (s[i] == '-')
      number += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < end && IsDigit(s[i])) {
    number += s[i++];
    ++mantissaDigits;
  }
  if (i < end && s[i] == separator) {
    number += '.';
    ++i;
    while (i < end && IsDigit(s[i])) {
      number += s[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0)
    return std::nullopt;
  if (i < end && (s[i] == 'E' || s[i] == 'e')) {
    number += 'e';
    ++i;
    if (i < end && (s[i] == '+' || s[i] == '-'))
      number += s[i++];
    int exponentDigits = 0;
    while (i < end && IsDigit(s[i])) {
      number += s[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0)
      return std::nullopt;
  }
  if (i != end)
    return std::nullopt;

  double value = 0;
  const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec != std::errc() || r.ptr != number.data() + number.size())
    return std::nullopt;
  return value;
}

} // namespace

char DecimalSeparator() {
  if (const char forced = forcedSeparator.load(std::memory_order_relaxed); forced != '\0')
    return forced;
  const std::lconv* conv = std::localeconv();
  if (conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] != '\0' &&
      conv->decimal_point[1] == '\0')
    return conv->decimal_point[0];
  return '.';
}

void ForceDecimalSeparator(char separator) {
  forcedSeparator.store(separator, std::memory_order_relaxed);
}

std::string FormatFixed(double x, int precision, int decimals) {
  if (!std::isfinite(x))
    return NonFinite(x);
  precision = ClampPrecision(precision);
  decimals = std::clamp(decimals, 0, 18);
  const char separator = DecimalSeparator();
  Decimal d = RoundSignificant(x, precision);
  if (!d.IsZero() && d.exponent > precision)
    return WriteExponent(d, separator, 1);
  // Fewer decimals than the significant digits allow: round once, to the decimals.
  if (d.IsZero() || d.exponent + decimals < precision)
    d = RoundDecimals(x, decimals);
  return WriteFixed(d, decimals, separator);
}

std::string FormatGeneral(double x, int precision) {
  if (!std::isfinite(x))
    return NonFinite(x);
  precision = ClampPrecision(precision);
  return WriteGeneral(RoundSignificant(x, precision), precision, DecimalSeparator(), 1);
}

std::string FormatShort(double value) {
  if (value == kNoValue)
    return " ";
  return FormatGeneral(value, 3);
}

std::string FormatExportValue(double value) {
  if (!std::isfinite(value))
    return NonFinite(value);
  return WriteGeneral(RoundSignificant(value, 5), 5, '.', 2);
}

double ParseValue(std::string_view text) {
  std::string s = ShortString(text);
  const char separator = DecimalSeparator();
  // Either mark is accepted: the first one of the other kind stands for the system's.
  if (separator == '.' || separator == ',') {
    const char other = separator == '.' ? ',' : '.';
    if (const auto pos = s.find(other); pos != std::string::npos)
      s[pos] = separator;
  }
  if (!s.empty()) {
    for (const auto& suffix : kSuffixes) {
      if (s.back() == suffix.letter) {
        s.pop_back();
        s += suffix.exponent;
        break;
      }
    }
  }

  return ReadNumber(s, separator).value_or(kNoValue);
}

std::optional<double> ReadDecimal(std::string_view text) {
  return ReadNumber(text, DecimalSeparator());
}

} // namespace qvt
