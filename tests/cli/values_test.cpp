// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line values of qvt2ctl: what each parser accepts, with the value it gives, and
// what it refuses.
#include <gtest/gtest.h>

#include <cmath>

#include "values.h"

namespace qvt::cli {
namespace {

TEST(CliValues, AcceptTheWindowsSpellingsAndRefuseTheRest) {
  // Time bases: the labels of the window, spaces and micro spellings free.
  EXPECT_EQ(ParseTimeBase("20 ms"), ParseTimeBase("20ms"));
  EXPECT_EQ(ParseTimeBase("500 \xC2\xB5s"), ParseTimeBase("500us"));
  EXPECT_EQ(ParseTimeBase("10 µs"), 0);
  EXPECT_EQ(ParseTimeBase("1 h"), 25);
  for (const char* bad : {"3 ms", "", "1h30", "ms"})
    EXPECT_FALSE(ParseTimeBase(bad)) << bad;
  EXPECT_TRUE(TimeBaseChoices().starts_with("10 µs, 20 µs,"));
  EXPECT_TRUE(TimeBaseChoices().ends_with(", 1 h"));

  // Ranges: with or without prefix, "," as decimal mark.
  const std::pair<const char*, int> ranges[] = {
      {"50 mV", 0}, {"500 mV", 3}, {"0.5 V", 3}, {"0,5V", 3}, {"5 V", 6}, {"15V", 7}, {"15", 7}};
  for (const auto& [text, index] : ranges)
    EXPECT_EQ(ParseRange(text), index) << text;
  for (const char* bad : {"3 V", "5 A", "V", "5 mm", "-5 V", "5 V x"})
    EXPECT_FALSE(ParseRange(bad)) << bad;
  EXPECT_EQ(RangeChoices(), "50 mV, 100 mV, 200 mV, 500 mV, 1 V, 2 V, 5 V, 15 V");

  // Amounts and levels: prefixes only before the unit.
  const std::tuple<const char*, const char*, double> amounts[] = {
      {"0.5 V", "V", 0.5}, {"500 mV", "V", 0.5},  {"0", "V", 0},         {"-200mV", "V", -0.2},
      {"2V", "V", 2},      {"1e-3 V", "V", 1e-3}, {"440", "Hz", 440},    {"1 kHz", "Hz", 1000},
      {"50 %", "%", 50},   {"20 µV", "V", 2e-5},  {"+1,25 V", "V", 1.25}};
  for (const auto& [text, unit, value] : amounts) {
    const auto parsed = ParseAmount(text, unit);
    ASSERT_TRUE(parsed) << text;
    EXPECT_NEAR(*parsed, value, 1e-12) << text;
  }
  for (const char* bad : {"", "V", "mV", "0.5 W", "5 m", "1e400 V", "nan V", "1..2 V", "--1 V"})
    EXPECT_FALSE(ParseAmount(bad, "V")) << bad;
  EXPECT_FALSE(ParseAmount("5", "V", false)) << "a unit asked for";

  // Channels.
  EXPECT_EQ(ParseChannels("0,1,3"), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(ParseChannels("2"), (std::vector<int>{2}));
  for (const char* bad : {"", "4", "-1", "0,,1", "0,0", "0,1,", "a", "1.0"})
    EXPECT_FALSE(ParseChannels(bad)) << bad;
  ASSERT_TRUE(ParseChannelRange("1:500 mV"));
  EXPECT_EQ(ParseChannelRange("1:500 mV")->Range, 3);
  EXPECT_FALSE(ParseChannelRange("4:5 V"));
  EXPECT_FALSE(ParseChannelRange("1"));
  ASSERT_TRUE(ParseChannelInput("2:YD"));
  EXPECT_TRUE(ParseChannelInput("2:YD")->YD);
  EXPECT_FALSE(ParseChannelInput("2:usb"));

  // Triggers: "key", or a channel, an edge and a level with its unit.
  const auto key = ParseTrigger("key");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->Source, 0);
  const auto edge = ParseTrigger("1:falling:-200 mV");
  ASSERT_TRUE(edge);
  EXPECT_EQ(edge->Source, 2);
  EXPECT_FALSE(edge->Rising);
  EXPECT_NEAR(edge->Level, -0.2, 1e-12);
  EXPECT_TRUE(ParseTrigger("0:rising"));
  for (const char* bad : {"0:up:0", "5:rising:0", "0:rising:V", "0:rising:16 V", "rising", "0"})
    EXPECT_FALSE(ParseTrigger(bad)) << bad;

  // Durations.
  const std::pair<const char*, double> durations[] = {
      {"1s", 1}, {"500ms", 0.5}, {"2h", 7200}, {"1.5 min", 90}, {"10", 10}};
  for (const auto& [text, seconds] : durations)
    EXPECT_DOUBLE_EQ(ParseDuration(text).value_or(-1), seconds) << text;
  for (const char* bad : {"", "0s", "-1s", "5 days", "s", "1e999 h"})
    EXPECT_FALSE(ParseDuration(bad)) << bad;
}

} // namespace
} // namespace qvt::cli
