// SPDX-License-Identifier: GPL-3.0-or-later
// Units written back as text: prefixes, composed texts, values, scaled values, axis titles.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "numbers.h"
#include "separator_fixture.h"
#include "unite.h"

using namespace qvt;

namespace {

Tunite Parsed(const std::string& text, const std::string& quantity = "") {
  Tunite u;
  u.SetText(text);
  u.QuantityName = quantity;
  return u;
}

Tunite Product(const std::string& a, const std::string& b, int power = 1) {
  Tunite u = Parsed(a);
  Tunite v = Parsed(b);
  v.Power(power);
  u.Multiply(v);
  return u;
}

TEST(UnitText, PrefixesAndTables) {
  struct Case {
    Tunite unit;
    int exponent;
    const char* expected;
  };
  for (Case c : std::initializer_list<Case>{
           {Parsed("V"), 0, "V"},
           {Parsed("V"), -3, "mV"},
           {Parsed("V"), 3, "kV"},
           {Parsed("V"), 1, "10^(1)V"},
           {Parsed("mV"), 0, "mV"},
           {Parsed("mV"), 3, "V"},
           {Parsed("g"), 3, "kg"},
           {Parsed("kg"), 0, "kg"},
           {Parsed("s"), -6, "\xB5s"},
           {Parsed("mol/l"), -3, "mmol/l"},
           {Parsed("bar"), -3, "mbar"},
           {Parsed("Hz"), 3, "kHz"},
           {Product("m", "m", 2), -6, "cm3"},
           {Product("m", "m", 2), 0, "m3"},
           {Product("m", "s", -3), 0, "m.s-3"},
           {Product("m", "kg", 2), 3, "10^(3)m.kg2"},
           {Product("V", "Hz"), 0, "V/s"},
           {Product("A", "Hz"), -3, "mA/s"},
           {Parsed("%"), 0, "%"},
       })
    EXPECT_EQ(c.unit.UnitText(c.exponent), c.expected) << c.unit.Text << " at " << c.exponent;
}

TEST(UnitText, InvalidAndDimensionlessRewriteTheirText) {
  Tunite invalid = Product("V", "xyz");
  EXPECT_EQ(invalid.UnitText(3), "10^(3)?");
  EXPECT_EQ(invalid.Text, "?");

  Tunite typed = Parsed("xyz");
  EXPECT_EQ(typed.UnitText(0), "xyz");
  EXPECT_EQ(typed.UnitText(-3), "10^(-3)xyz");

  Tunite percent = Parsed("%");
  percent.Pow10 = -2; // a percentage shows as "%" whatever its power of ten
  EXPECT_EQ(percent.UnitText(0), "%");

  Tunite radians = Product("rad", "m", 0);
  EXPECT_EQ(radians.UnitText(-3), "mrad");
}

TEST(UnitText, PrefixHelpers) {
  EXPECT_EQ(AddPrefix("kPa", 3), "MPa");
  EXPECT_EQ(AddPrefix("mV", 3), "V");
  EXPECT_EQ(AddPrefix("\xB5\x41", -6), "pA"); // µA
  EXPECT_EQ(AddPrefix("mol", 3), "kmol");
  EXPECT_EQ(AddPrefix("V", 5), "10^(5)V");
  EXPECT_EQ(AddPrefix("", 3), "10^(3)");
  EXPECT_EQ(AddPrefix("V", 24), "10^(24)V");
  EXPECT_EQ(PowerText("V", 0), "V");
  EXPECT_EQ(PowerText(std::string(26, 'x'), 3), "10^(3)" + std::string(26, 'x'));
  EXPECT_EQ(PowerText(std::string(27, 'x'), 3), "10^(3)S.I.");
}

class ValueTextTest : public SeparatorTest {};
QVT_BOTH_SEPARATORS(ValueTextTest);

TEST_P(ValueTextTest, FormatValue) {
  struct Case {
    const char* unit;
    double x;
    const char* expected;
  };
  for (const Case& c : {
           Case{"V", 0.0123, "12.3 mV"},
           Case{"Hz", 1500, "1.50 kHz"},
           Case{"V", 0, "0 V"},
           Case{"V", 1e-13, "0 V"},
           Case{"V", 2e12, "???"},
           Case{"V", -0.5, "-500 mV"},
           Case{"V", 999.6, "1.00 kV"},
           Case{"V", 5, "5.00 V"},
           Case{"s", 2.5e-6, "2.50 \xB5s"},
           Case{"hPa", 1013.4, "1013 hPa"},
           Case{"hPa", 1012.5, "1012 hPa"},
       }) {
    Tunite u = Parsed(c.unit);
    EXPECT_EQ(u.FormatValue(c.x), Local(c.expected)) << c.unit << " " << c.x;
  }
  EXPECT_EQ(Parsed("V").FormatValue(std::nan("")), "???");
}

TEST_P(ValueTextTest, FormatScaledAndDescribe) {
  Tunite volt = Parsed("V", "U");
  EXPECT_EQ(volt.FormatScaled(1.5, 1, 3), Local("1.50 V"));
  EXPECT_EQ(volt.FormatScaled(0.5, 1e-3, 2), Local("500.000 mV"));
  EXPECT_EQ(volt.FormatScaled(0.5, 0.01, 3), Local("50.00 V")); // k truncates toward zero
  EXPECT_EQ(volt.FormatScaled(1, 5e-27, 3), "0 V");
  EXPECT_EQ(volt.FormatScaled(1, 0, 3), "???");
  EXPECT_EQ(volt.Describe(0.0123), Local("U=12.3 mV"));
}

TEST(AxisLabel, QuantityAndUnit) {
  EXPECT_EQ(Parsed("s", "t").AxisLabel(0.001), "t/ms");
  EXPECT_EQ(Parsed("V", "U").AxisLabel(1), "U/V");
  EXPECT_EQ(Parsed("m/s", "v").AxisLabel(1), "v(m/s)");
  EXPECT_EQ(Parsed("", "n").AxisLabel(1), "n");
  EXPECT_EQ(Parsed("V", "U").AxisLabel(-1), "U/V"); // a scale that is not positive
}

} // namespace
