// SPDX-License-Identifier: GPL-3.0-or-later
// Tunite: a physical unit as seven SI base-unit exponents and a power of ten, parsed from the
// text a user types ('mA', 'm/s2', '1E-3 m'), combined by the unit algebra and written back as
// text with the best SI prefix.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qvt {

// Raised inside unit parsing for a text that is not a unit; SetText catches it. The message
// "Erreur unité" is an 8-bit text like every text of the model.
class EUniteError : public std::runtime_error {
public:
  EUniteError() : std::runtime_error("Erreur unit\xE9") {}
};

// Special dimensionless units, the values of Tunite::Kind.
enum TUnitKind : std::uint8_t {
  kKindNone = 0,
  kKindDegree = 1,
  kKindRadian = 2,
  kKindDecibel = 3,
  kKindPercent = 4,
};

// Positions of the base units in Tunite::Dim.
enum TBaseUnit : std::size_t {
  kMetre = 0,
  kKilogram = 1,
  kSecond = 2,
  kAmpere = 3,
  kKelvin = 4,
  kMole = 5,
  kCandela = 6,
};

// A value of a quantity in SI is number x 10^Pow10 in the unit whose exponents are Dim.
// Texts are 8-bit strings; Text holds at most 32 bytes and QuantityName at most 35 (longer
// texts given to SetText are cut). Every text result is at most 32 bytes.
class Tunite {
public:
  // A reset unit: empty, valid, dimensionless, unnamed.
  Tunite() = default;
  Tunite(const Tunite&) = default;
  Tunite& operator=(const Tunite&) = default;
  virtual ~Tunite() = default;

  // Text empty, Pow10 0, Kind 0, Dim all 0, Valid true, Named false, QuantityName empty.
  void Reset();
  // Copies everything but QuantityName.
  void Assign(const Tunite& source);
  // Parses a unit text. Never throws for a text that is not a unit: the unit is then left
  // with Valid false (and whatever factors were read before the fault). A whole text that
  // names a table entry takes that entry, unnamed; any other non-empty text makes it Named.
  void SetText(std::string_view text);

  // self := self x other. An invalid operand makes self invalid and changes nothing else.
  // Throws std::range_error, leaving self unchanged, when an exponent leaves -128..127 or
  // Pow10 leaves the 32-bit range.
  void Multiply(const Tunite& other);
  // self := 1 / self (when Valid). Throws std::range_error for the exponent -128.
  void Invert();
  // self := self^n (when Valid). Throws std::range_error, leaving self unchanged, when an
  // exponent leaves -128..127 or Pow10 leaves the 32-bit range.
  void Power(int n);

  // The unit's text for values shown divided by 10^exponent. May rewrite Text of an unnamed
  // unit ("?" when invalid, the kind's symbol when dimensionless, a text composed from the
  // base symbols when no table entry fits).
  std::string UnitText(int exponent);
  // A value in SI units with three significant figures, an engineering prefix and the unit:
  // "12.3 mV"; "0 V" below 1e-12 in magnitude; "???" beyond 1e12 or for a non-number.
  std::string FormatValue(double x);
  // x divided by scale (a power of 1000) in fixed notation with 3 digits and 5 - decimals
  // decimals, followed by the unit at that scale. "???" for a scale that is not positive.
  std::string FormatScaled(double x, double scale, int decimals);
  // The axis title for values shown divided by scale: 't/ms', 'U/V', 'v(m/s)'.
  std::string AxisLabel(double scale);
  // QuantityName + "=" + FormatValue(x).
  virtual std::string Describe(double x);

  std::string Text;
  bool Valid = true;
  bool Named = false;
  std::uint8_t Kind = kKindNone;
  std::array<std::int8_t, 7> Dim{};
  std::int32_t Pow10 = 0;
  std::string QuantityName;

private:
  void Parse(std::string_view text);
};

// True when n is the power of one of the 15 SI prefix letters: -18..18 and a multiple of 3,
// or -2, -1, 2.
bool IsPrefixPower(int n);

// The name with the prefix letter for 10^exponent ("m" + "V" for -3); a prefix letter already
// heading the name is folded in first ('mV' at 3 is "V"). Without a prefix for the power, the
// power is written explicitly (PowerText).
std::string AddPrefix(std::string_view name, std::int64_t exponent);

// The name preceded by "10^(exponent)"; "10^(exponent)S.I." when both together exceed 32 bytes;
// the name alone for exponent 0.
std::string PowerText(std::string_view name, std::int64_t exponent);

} // namespace qvt
