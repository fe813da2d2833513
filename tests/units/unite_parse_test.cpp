// SPDX-License-Identifier: GPL-3.0-or-later
// Unit texts read into dimensions and powers of ten, the unit algebra and the prefix powers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "unite.h"
#include "unittables.h"

using namespace qvt;

namespace {

using Dims = std::array<std::int8_t, 7>; // m kg s A K mol cd

Tunite Parsed(const std::string& text) {
  Tunite u;
  u.SetText(text);
  return u;
}

TEST(UnitParse, ValidTexts) {
  struct Case {
    const char* text;
    bool named;
    int pow10;
    Dims dim;
    int kind;
  };
  //                                    m  kg   s   A   K mol cd
  for (const Case& c : {
           Case{"", false, 0, {}, 0},
           Case{"kg", true, 0, {0, 1, 0, 0, 0, 0, 0}, 0},
           Case{"g", false, -3, {0, 1, 0, 0, 0, 0, 0}, 0},
           Case{"mol/l", false, 3, {-3, 0, 0, 0, 0, 1, 0}, 0},
           Case{"mol/L", false, 3, {-3, 0, 0, 0, 0, 1, 0}, 0},
           Case{"cm2", true, -4, {2, 0, 0, 0, 0, 0, 0}, 0},
           Case{"m/s2", true, 0, {1, 0, -2, 0, 0, 0, 0}, 0},
           Case{"m.s-2", true, 0, {1, 0, -2, 0, 0, 0, 0}, 0},
           Case{"m.s^-2", true, 0, {1, 0, -2, 0, 0, 0, 0}, 0},
           Case{"ms-1", true, 3, {0, 0, -1, 0, 0, 0, 0}, 0},
           Case{"mV/ms", true, 0, {2, 1, -4, -1, 0, 0, 0}, 0},
           Case{"J/kg.K", true, 0, {2, 0, -2, 0, -1, 0, 0}, 0},
           Case{"1E-3 m", true, -3, {1, 0, 0, 0, 0, 0, 0}, 0},
           Case{"1E3m", true, 3, {1, 0, 0, 0, 0, 0, 0}, 0},
           Case{"kHz", true, 3, {0, 0, -1, 0, 0, 0, 0}, 0},
           Case{"\xB5\x41", true, -6, {0, 0, 0, 1, 0, 0, 0}, 0}, // µA
           Case{"mmol", true, -3, {0, 0, 0, 0, 0, 1, 0}, 0},
           Case{"kPa", true, 3, {-1, 1, -2, 0, 0, 0, 0}, 0},
           Case{"Vs", true, 0, {2, 1, -2, -1, 0, 0, 0}, 0},
           Case{"\x9Dm", false, 0, {3, 1, -3, -2, 0, 0, 0}, 0},
           Case{"k\x9D", true, 3, {2, 1, -3, -2, 0, 0, 0}, 0}, // kΩ, as UnitText writes it
           Case{"\xB0\x43", false, 0, {0, 0, 0, 0, 1, 0, 0}, 0}, // °C
           Case{"\xB0", false, 0, {}, kKindDegree},
           Case{"mrad", true, -3, {}, kKindRadian},
       }) {
    const Tunite u = Parsed(c.text);
    EXPECT_TRUE(u.Valid) << c.text;
    EXPECT_EQ(u.Named, c.named) << c.text;
    EXPECT_EQ(u.Pow10, c.pow10) << c.text;
    EXPECT_EQ(u.Dim, c.dim) << c.text;
    EXPECT_EQ(u.Kind, c.kind) << c.text;
  }
}

TEST(UnitParse, InvalidTextsAreReportedByValidOnly) {
  // A prefix letter before a letter is always a prefix: "Pa.s" is P + "a", "mol.m-3" m + "ol".
  for (const char* text : {"Pa.s", "mol.m-3", "xyz", "m/", "m^", "m-", "m.", "m s", "1E-+3m",
                           "1E-3", "1E3", "1E99999999999m"}) {
    Tunite u;
    EXPECT_NO_THROW(u.SetText(text)) << text;
    EXPECT_FALSE(u.Valid) << text;
    EXPECT_TRUE(u.Named) << text;
    EXPECT_EQ(u.Text, text);
  }
  // An exponent overflowing while parsing (15 factors of m^9) marks the text invalid as well.
  Tunite u;
  EXPECT_NO_THROW(u.SetText("m9m9m9m9m9m9m9m9m9m9m9m9m9m9m9"));
  EXPECT_FALSE(u.Valid);
}

TEST(UnitParse, TextIsCutTo32Bytes) {
  std::string longText = "cm";
  for (int i = 0; i < 20; ++i)
    longText += ".m";
  const Tunite u = Parsed(longText);
  EXPECT_EQ(u.Text, longText.substr(0, 32));
  EXPECT_TRUE(u.Valid);
  EXPECT_EQ(u.Dim[kMetre], 16);
  EXPECT_EQ(u.Pow10, -2);
}

TEST(UnitAlgebra, KindsCombine) {
  Tunite degree = Parsed("\xB0");
  degree.Multiply(Parsed("\xB0"));
  EXPECT_EQ(degree.Kind, kKindNone);

  Tunite perMetre = Parsed("m");
  perMetre.Multiply(Parsed("\xB0"));
  EXPECT_EQ(perMetre.Kind, kKindDegree);

  Tunite rad = Parsed("rad");
  rad.Power(1);
  EXPECT_EQ(rad.Kind, kKindRadian);
  rad.Power(2);
  EXPECT_EQ(rad.Kind, kKindNone);

  Tunite inverted = Parsed("%");
  inverted.Invert();
  EXPECT_EQ(inverted.Kind, kKindNone);
}

TEST(UnitAlgebra, PowersAndInverses) {
  Tunite u = Parsed("mA");
  u.Power(-2);
  EXPECT_EQ(u.Pow10, 6);
  EXPECT_EQ(u.Dim, (Dims{0, 0, 0, -2, 0, 0, 0}));
  u.Invert();
  EXPECT_EQ(u.Pow10, -6);
  EXPECT_EQ(u.Dim, (Dims{0, 0, 0, 2, 0, 0, 0}));

  Tunite v = Parsed("V");
  v.Multiply(Parsed("A"));
  EXPECT_EQ(v.Dim, Parsed("W").Dim);
}

TEST(UnitAlgebra, InvalidOperandSpreads) {
  Tunite u = Parsed("km");
  u.Multiply(Parsed("xyz"));
  EXPECT_FALSE(u.Valid);
  EXPECT_EQ(u.Pow10, 3);
  u.Power(3); // an invalid unit is left alone
  u.Invert();
  EXPECT_EQ(u.Pow10, 3);
  EXPECT_EQ(u.Dim[kMetre], 1);
}

TEST(UnitAlgebra, ExponentOverflowThrowsAndLeavesTheUnit) {
  Tunite u = Parsed("m");
  u.Power(100);
  EXPECT_THROW(u.Power(2), std::range_error);
  EXPECT_EQ(u.Dim[kMetre], 100);
  EXPECT_THROW(u.Multiply(u), std::range_error);
  EXPECT_EQ(u.Dim[kMetre], 100);
  u.Power(-1);
  EXPECT_EQ(u.Dim[kMetre], -100);
  EXPECT_THROW(u.Power(1 << 30), std::range_error);

  Tunite big = Parsed("km");
  EXPECT_THROW(big.Power(1 << 30), std::range_error); // Pow10 beyond 32 bits
  EXPECT_EQ(big.Pow10, 3);
}

TEST(UnitObject, ResetAndAssign) {
  Tunite source = Parsed("kPa");
  source.QuantityName = "p";
  Tunite copy;
  copy.QuantityName = "q";
  copy.Assign(source);
  EXPECT_EQ(copy.Text, "kPa");
  EXPECT_EQ(copy.Pow10, 3);
  EXPECT_TRUE(copy.Named);
  EXPECT_EQ(copy.QuantityName, "q");

  copy.Reset();
  EXPECT_EQ(copy.Text, "");
  EXPECT_EQ(copy.Pow10, 0);
  EXPECT_EQ(copy.Dim, Dims{});
  EXPECT_TRUE(copy.Valid);
  EXPECT_FALSE(copy.Named);
  EXPECT_EQ(copy.QuantityName, "");
}

TEST(UnitTables, OrderAndPrefixes) {
  EXPECT_EQ(SiUnitTable().size(), 31u);
  EXPECT_EQ(OtherUnitTable().size(), 9u);
  // Shared dimensions resolve to the first entry: J before N.m.
  EXPECT_EQ(FindUnit("N.m")->Dim, FindUnit("J")->Dim);
  EXPECT_EQ(FindUnit("bar")->Pow10, 5);
  EXPECT_EQ(FindUnit("nope"), nullptr);

  for (int n = -21; n <= 21; ++n) {
    const bool expected = n == -2 || n == -1 || n == 2 || (n % 3 == 0 && n >= -18 && n <= 18);
    EXPECT_EQ(IsPrefixPower(n), expected) << n;
    EXPECT_EQ(PrefixLetter(n).has_value(), expected && n != 0) << n;
  }
  EXPECT_EQ(PrefixLetter(-6), '\xB5');
  EXPECT_EQ(PrefixPower('h'), 2);
  EXPECT_FALSE(PrefixPower('D').has_value());
}

} // namespace
