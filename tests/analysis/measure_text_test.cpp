// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement texts under both decimal marks, in the curve's unit, the missing-value dash, and
// the settings keys.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>

#include "measure_text.h"
#include "separator_fixture.h"

namespace qvt::analysis {
namespace {

class MeasureTextTest : public SeparatorTest {};

TEST_P(MeasureTextTest, ValuesWithPrefixFiguresAndUnit) {
  struct Case {
    Quantity quantity;
    std::optional<double> value;
    const char* text; // with "." for the decimal mark
  };
  const Case cases[] = {
      {Quantity::kFrequency, 1000, "f = 1.000 kHz"},
      {Quantity::kFrequency, 999.96, "f = 1.000 kHz"},
      {Quantity::kFrequency, 49.98765, "f = 49.99 Hz"},
      {Quantity::kPeriod, 0.02, "T = 20.00 ms"},
      {Quantity::kPeakToPeak, 2, "Vpp = 2.00 V"},
      {Quantity::kMean, -0.0123, "Vmoy = -12.3 mV"},
      {Quantity::kMean, 0, "Vmoy = 0.00 V"},
      {Quantity::kRiseTime, 1.234e-6, "Montée = 1.23 µs"},
      {Quantity::kDutyCycle, 50, "Rapport cyclique = 50.0 %"},
      {Quantity::kDutyCycle, 9.999, "Rapport cyclique = 10.0 %"},
      {Quantity::kPhase, -45, "Phase = -45.0 °"},
      {Quantity::kPhase, 180, "Phase = 180 °"},
      {Quantity::kFrequency, std::nullopt, "f = —"},
      {Quantity::kRms, std::numeric_limits<double>::quiet_NaN(), "Veff = —"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MeasureText(c.quantity, c.value), Local(c.text)) << c.text;

  // The levels in the curve's unit (a code-page text), the times and rates in theirs.
  struct UnitCase {
    Quantity quantity;
    const char* unit;
    double value;
    const char* text;
  };
  for (const UnitCase& c : {UnitCase{Quantity::kPeakToPeak, "A", 0.0123, "Vpp = 12.3 mA"},
                            UnitCase{Quantity::kMean, "W", 0.01, "Vmoy = 10.0 mW"},
                            UnitCase{Quantity::kRms, "\x9D", 2200, "Veff = 2.20 k\u03A9"},
                            UnitCase{Quantity::kFrequency, "W", 100, "f = 100.0 Hz"},
                            UnitCase{Quantity::kPhase, "A", 90, "Phase = 90.0 °"}})
    EXPECT_EQ(MeasureText(c.quantity, c.value, c.unit), Local(c.text)) << c.text;
  // A computed quantity typed in "mW" holds watts: 0.005 reads 5 mW, not 5 µW.
  Tunite milliwatts;
  milliwatts.SetText("mW");
  milliwatts.Pow10 = 0;
  EXPECT_EQ(MeasureText(Quantity::kMean, 0.005, milliwatts), Local("Vmoy = 5.00 mW"));
}

QVT_BOTH_SEPARATORS(MeasureTextTest);

TEST(MeasureKeys, EveryQuantityHasOneStableKeyAndItsValue) {
  std::set<std::string> keys;
  Measurements m;
  double v = 1;
  for (const Quantity q : kAllQuantities) {
    const std::string key(Key(q));
    EXPECT_TRUE(keys.insert(key).second) << key;
    EXPECT_EQ(QuantityFromKey(key), q) << key;
    EXPECT_FALSE(ValueOf(m, q)) << key;
  }
  EXPECT_EQ(Key(Quantity::kFrequency), "freq");
  EXPECT_EQ(Key(Quantity::kPeakToPeak), "vpp");
  EXPECT_EQ(Key(Quantity::kPhase), "phase");
  EXPECT_FALSE(QuantityFromKey("Freq"));
  EXPECT_FALSE(QuantityFromKey(""));
  m.dutyCycle = v;
  m.delay = 2 * v;
  EXPECT_EQ(ValueOf(m, Quantity::kDutyCycle), 1.0);
  EXPECT_EQ(ValueOf(m, Quantity::kDelay), 2.0);
}

} // namespace
} // namespace qvt::analysis
