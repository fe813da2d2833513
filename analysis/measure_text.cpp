// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement texts. The unit and its prefix come from Tunite, whose texts are in the
// program's 8-bit code page; the measurement texts are UTF-8 for the widgets, the command line
// and Python alike, so the prefix byte (µ) is converted here.
#include "measure_text.h"

#include <cmath>

#include "codepage.h"
#include "numtext.h"
#include "translate.h"
#include "unite.h"

namespace qvt::analysis {

namespace {

struct Entry {
  Quantity quantity;
  std::string_view key;
  std::string_view label;
  std::string_view unit; // a Tunite text, "%" / "°" shown without prefix, or empty: a level,
                         // in the unit of the curve measured
  int digits;
};

constexpr std::array<Entry, kAllQuantities.size()> kEntries = {{
    {Quantity::kFrequency, "freq", QT_TRANSLATE_NOOP("Measures", "f"), "Hz", 4},
    {Quantity::kPeriod, "period", QT_TRANSLATE_NOOP("Measures", "T"), "s", 4},
    {Quantity::kPeakToPeak, "vpp", QT_TRANSLATE_NOOP("Measures", "Vpp"), "", 3},
    {Quantity::kMin, "min", QT_TRANSLATE_NOOP("Measures", "Vmin"), "", 3},
    {Quantity::kMax, "max", QT_TRANSLATE_NOOP("Measures", "Vmax"), "", 3},
    {Quantity::kMean, "mean", QT_TRANSLATE_NOOP("Measures", "Vmoy"), "", 3},
    {Quantity::kRms, "rms", QT_TRANSLATE_NOOP("Measures", "Veff"), "", 3},
    {Quantity::kAmplitude, "ampl", QT_TRANSLATE_NOOP("Measures", "Vamp"), "", 3},
    {Quantity::kDutyCycle, "duty", QT_TRANSLATE_NOOP("Measures", "Rapport cyclique"), "%", 3},
    {Quantity::kRiseTime, "rise", QT_TRANSLATE_NOOP("Measures", "Montée"), "s", 3},
    {Quantity::kFallTime, "fall", QT_TRANSLATE_NOOP("Measures", "Descente"), "s", 3},
    {Quantity::kDelay, "delay", QT_TRANSLATE_NOOP("Measures", "Retard"), "s", 3},
    {Quantity::kPhase, "phase", QT_TRANSLATE_NOOP("Measures", "Phase"), "°", 3},
}};

const Entry& EntryOf(Quantity quantity) {
  return kEntries[static_cast<std::size_t>(quantity)];
}

// x with `digits` significant figures, as FormatFixed writes them.
std::string Figures(double x, int digits) {
  const double a = std::fabs(x);
  // Where rounding to `digits` figures carries into one more integer digit: 9.995 for three.
  const double carry = 0.5 * std::pow(10.0, 1 - digits);
  const int integerDigits = a < 10 - carry ? 1 : a < 100 - 10 * carry ? 2 : 3;
  return FormatFixed(x, digits, digits - integerDigits);
}

// x in the unit with the engineering prefix that leaves 1 to 999 before the separator.
std::string WithPrefix(double x, Tunite unit, int digits) {
  if (x == 0)
    return Figures(0, digits) + " " + AnsiToUtf8(unit.UnitText(0));
  const double top = 1000 - 0.5 * std::pow(10.0, 3 - digits);
  double a = std::fabs(x);
  int k = 0;
  while (a >= top && k < 8) {
    a /= 1000;
    ++k;
  }
  while (a < top / 1000 && k > -8) {
    a *= 1000;
    --k;
  }
  return Figures(std::copysign(a, x), digits) + " " + AnsiToUtf8(unit.UnitText(3 * k));
}

} // namespace

std::string_view Key(Quantity quantity) {
  return EntryOf(quantity).key;
}

std::optional<Quantity> QuantityFromKey(std::string_view key) {
  for (const Entry& e : kEntries)
    if (e.key == key)
      return e.quantity;
  return std::nullopt;
}

std::string_view Label(Quantity quantity) {
  return TrView("Measures", EntryOf(quantity).label.data());
}

std::optional<double> ValueOf(const Measurements& m, Quantity quantity) {
  switch (quantity) {
  case Quantity::kFrequency:
    return m.frequency;
  case Quantity::kPeriod:
    return m.period;
  case Quantity::kPeakToPeak:
    return m.peakToPeak;
  case Quantity::kMin:
    return m.min;
  case Quantity::kMax:
    return m.max;
  case Quantity::kMean:
    return m.mean;
  case Quantity::kRms:
    return m.rms;
  case Quantity::kAmplitude:
    return m.amplitude;
  case Quantity::kDutyCycle:
    return m.dutyCycle;
  case Quantity::kRiseTime:
    return m.riseTime;
  case Quantity::kFallTime:
    return m.fallTime;
  case Quantity::kDelay:
    return m.delay;
  case Quantity::kPhase:
    return m.phase;
  }
  return std::nullopt;
}

std::string MeasureText(Quantity quantity, std::optional<double> value, std::string_view unit) {
  Tunite u;
  u.SetText(unit);
  return MeasureText(quantity, value, u);
}

std::string MeasureText(Quantity quantity, std::optional<double> value, const Tunite& unit) {
  const Entry& e = EntryOf(quantity);
  std::string text = std::string(Label(quantity)) + " = ";
  if (!value || !std::isfinite(*value))
    return text + "\u2014";
  if (e.unit == "%" || e.unit == "°")
    return text + Figures(*value, e.digits) + " " + std::string(e.unit);
  if (!e.unit.empty()) {
    Tunite own;
    own.SetText(e.unit);
    return text + WithPrefix(*value, own, e.digits);
  }
  return text + WithPrefix(*value, unit, e.digits);
}

} // namespace qvt::analysis
