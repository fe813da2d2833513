// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts: fixed and general notations, the short and export forms and the parser of typed
// numbers, under a point and a comma decimal mark, plus the system locale path.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "numbers.h"
#include "numtext.h"
#include "separator_fixture.h"

using namespace qvt;

namespace {

class NumberTextTest : public SeparatorTest {};
QVT_BOTH_SEPARATORS(NumberTextTest);

TEST_P(NumberTextTest, FixedNotationRoundsOnceAndPadsDecimals) {
  struct Case {
    double x;
    int precision, decimals;
    const char* expected;
  };
  for (const Case& c : {
           Case{1.5, 3, 2, "1.50"}, Case{12.3, 4, 1, "12.3"},
           Case{0.0123 * 1000, 4, 1, "12.3"}, // 12.299999... must not show as 12.2
           Case{9.996, 3, 1, "10.0"}, Case{9.94, 3, 1, "9.9"},
           Case{0.125, 3, 2, "0.12"}, // an exact tie goes to even
           Case{2.5, 5, 0, "2"}, Case{3.5, 5, 0, "4"},
           Case{-0.004, 3, 2, "0.00"}, // no negative zero
           Case{-1.5, 3, 2, "-1.50"}, Case{0, 3, 2, "0.00"}, Case{500, 3, 3, "500.000"},
           Case{123456, 3, 0, "1.23E5"}, // more digits before the mark than the precision
       })
    EXPECT_EQ(FormatFixed(c.x, c.precision, c.decimals), Local(c.expected))
        << c.x << " P" << c.precision << " D" << c.decimals;
}

TEST_P(NumberTextTest, GeneralAndShortFormats) {
  struct Case {
    double x;
    const char* expected;
  };
  for (const Case& c : {
           Case{2.5, "2.5"},
           Case{0, "0"},
           Case{-1.25, "-1.25"},
           Case{100, "100"},
           Case{0.0001, "0.0001"},
           Case{0.0000999, "9.99E-5"},
           Case{999.5, "1E3"},
           Case{12345, "1.23E4"},
           Case{1e-11, "1E-11"},
           Case{2.5e12, "2.5E12"},
       })
    EXPECT_EQ(FormatShort(c.x), Local(c.expected)) << c.x;
  EXPECT_EQ(FormatShort(kNoValue), " ");
  EXPECT_EQ(FormatGeneral(0.006, 3), Local("0.006"));
  EXPECT_EQ(FormatGeneral(std::nan(""), 3), "NAN");
  EXPECT_EQ(FormatFixed(-INFINITY, 3, 2), "-INF");
}

TEST_P(NumberTextTest, ExportValueAlwaysUsesPoint) {
  struct Case {
    double x;
    const char* expected;
  };
  for (const Case& c : {
           Case{0.000123456, "0.00012346"},
           Case{0.0000123, "1.23E-05"},
           Case{1234567, "1.2346E06"},
           Case{2.5, "2.5"},
           Case{0, "0"},
           Case{-2.5, "-2.5"},
           Case{99999.9, "1E05"}, // rounds up to 100000, which takes the exponent form
           Case{100000, "1E05"},
           Case{99999, "99999"},
           Case{0.0001, "0.0001"},
           Case{-1.5e-300, "-1.5E-300"},
           Case{kNoValue, "1E-26"},
       })
    EXPECT_EQ(FormatExportValue(c.x), c.expected) << c.x;
}

TEST_P(NumberTextTest, ParseValueAcceptsEitherMarkAndAPrefix) {
  struct Case {
    const char* text;
    double expected;
  };
  for (const Case& c : {
           Case{"4,7k", 4700},
           Case{"4.7k", 4700},
           Case{"2.5\xB5", 2.5e-6},
           Case{"-3,5m", -0.0035},
           Case{"1e3", 1000},
           Case{"1E", 1e18},
           Case{" 12 ", 12},
           Case{"+7", 7},
           Case{"1.5E-3", 1.5e-3},
           Case{".5", 0.5},
       })
    EXPECT_DOUBLE_EQ(ParseValue(c.text), c.expected) << c.text;
  for (const char* bad : {"", "   ", "abc", "k", "1.2.3", "1,5,5", "1e", "1e+", "--1", "1 2",
                          "1e400", "inf", "nan", "0x10", "4.7 k"})
    EXPECT_EQ(ParseValue(bad), kNoValue) << bad;
  // Only the first 32 bytes are read.
  EXPECT_EQ(ParseValue(std::string(32, '1') + "k"), ParseValue(std::string(32, '1')));
}

// A typed setting takes the system's mark only, and no prefix letter.
TEST_P(NumberTextTest, ReadDecimalTakesTheSystemMarkOnly) {
  const char mark = DecimalSeparator();
  const char other = mark == '.' ? ',' : '.';
  EXPECT_EQ(ReadDecimal(std::string(" -1") + mark + "5 "), -1.5);
  EXPECT_EQ(ReadDecimal("2e-3"), 2e-3);
  EXPECT_EQ(ReadDecimal("1e-26"), 1e-26); // the no-value marker is still a number typed
  for (const std::string& bad : {std::string("1") + other + "5", std::string("4k"), std::string(""),
                                std::string("x"), std::string("1e999")})
    EXPECT_FALSE(ReadDecimal(bad).has_value()) << bad;
}

// The separator comes from the C locale when nothing is forced.
TEST(SystemSeparator, FollowsTheCLocale) {
  ForceDecimalSeparator('\0');
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
  EXPECT_EQ(DecimalSeparator(), '.');
  if (std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr)
    GTEST_SKIP() << "no fr_FR.UTF-8 locale on this machine";
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_EQ(FormatShort(2.5), "2,5");
  EXPECT_EQ(FormatExportValue(2.5), "2.5");
  EXPECT_DOUBLE_EQ(ParseValue("4.7k"), 4700);
  std::setlocale(LC_NUMERIC, "C");
}

TEST(NumberHelpers, Power10AndOrderPair) {
  EXPECT_EQ(Power10(0), 1.0);
  EXPECT_EQ(Power10(3), 1000.0);
  EXPECT_EQ(Power10(22), 1e22);
  EXPECT_EQ(Power10(-3), 0.001);
  EXPECT_EQ(Power10(-22), 1e-22);
  EXPECT_DOUBLE_EQ(Power10(-27), 1e-27);
  EXPECT_DOUBLE_EQ(Power10(100), 1e100);

  double a = 5, b = -5;
  OrderPair(a, b);
  EXPECT_EQ(a, -5);
  EXPECT_EQ(b, 5);
  OrderPair(a, b);
  EXPECT_EQ(a, -5);
}

} // namespace
