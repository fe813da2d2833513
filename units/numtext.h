// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts used everywhere in the program: the two display notations, the short and the
// export forms, and the parser of typed numbers. The decimal separator is read in one place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qvt {

// The system decimal separator: the first byte of localeconv()->decimal_point of the current C
// locale (LC_NUMERIC), "." when the locale's mark is not a single byte. A separator forced with
// ForceDecimalSeparator takes precedence.
char DecimalSeparator();

// Makes DecimalSeparator() return `separator` whatever the locale; '\0' follows the locale again.
// Meant for tests, which run the number texts under both marks.
void ForceDecimalSeparator(char separator);

// Fixed notation: x rounded to `precision` significant digits and written with exactly
// `decimals` digits after the system separator (zeros appended; rounded further when the
// decimals are fewer than the significant digits allow). A value with more than `precision`
// digits before the separator is written in exponent form (as FormatGeneral does).
// precision is held within 1..17 and decimals within 0..18. Non-finite values give "NAN",
// "INF" or "-INF".
std::string FormatFixed(double x, int precision, int decimals);

// General format: x rounded to `precision` significant digits, without exponent and without
// trailing zeros, unless the rounded value 0.d1d2... x 10^e has e > precision or e < -3: then
// "d1.d2...E-n" with as few exponent digits as needed ("-" for negative exponents only).
// Zero is "0". Same limits and non-finite texts as FormatFixed.
std::string FormatGeneral(double x, int precision);

// The no-value marker gives " "; anything else FormatGeneral with 3 significant digits.
std::string FormatShort(double value);

// The export form, always with "." whatever the locale: 5 significant digits, fixed notation
// from 0.0001 up to below 100000 (trailing zeros and a bare mark removed), otherwise
// "d.ddddE-nn" with at least two exponent digits. Examples: 0.00012346, 1.23E-05, 1.2346E06.
std::string FormatExportValue(double value);

// A typed number: at most the first 32 bytes are read; either decimal mark is accepted (the
// first mark that is not the system's is taken for it); a trailing prefix letter
// (y z a f p n µ m k M G T P E) stands for its power of ten; blanks around the number are
// allowed. Anything else, or a number out of the double range, gives kNoValue.
double ParseValue(std::string_view text);

// A number typed in a setting: blanks around it, an optional sign, digits with the system
// decimal separator only, an optional exponent ("1,5", "-2e-3" under a comma). Nothing for
// any other text or a number beyond the double range.
std::optional<double> ReadDecimal(std::string_view text);

} // namespace qvt
