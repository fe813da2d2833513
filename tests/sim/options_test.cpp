// SPDX-License-Identifier: GPL-3.0-or-later
// The option parser: accepted texts give the settings they name; rejected items keep the
// defaults and yield one message naming the key or item at fault.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "options.h"

namespace qvt::sim {
namespace {

using ::testing::HasSubstr;

TEST(OptionsTest, EmptyTextGivesTheDefaultScene) {
  const ParsedOptions p = ParseOptions("");
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(p.options.bus, Bus::kHigh);
  EXPECT_EQ(p.options.bnc[0].kind, SourceKind::kGenerator);
  EXPECT_EQ(p.options.bnc[1], (SourceSpec{SourceKind::kSine, 50.0, 2.0, 0.0}));
  EXPECT_EQ(p.options.bnc[2], (SourceSpec{SourceKind::kSquare, 1000.0, 1.0, 0.0}));
  EXPECT_EQ(p.options.bnc[3], (SourceSpec{SourceKind::kTriangle, 0.05, 5.0, 0.0}));
  EXPECT_EQ(p.options.yd[2], (SourceSpec{SourceKind::kDc, 0.0, 0.0, 0.0}));
  EXPECT_FALSE(p.options.unplugAfter.has_value());
  EXPECT_EQ(p.options.failRate, 0.0);
  EXPECT_EQ(p.options.stallMs, 0u);
}

TEST(OptionsTest, AcceptedItemsSetTheirValues) {
  const ParsedOptions p =
      ParseOptions(" bus = full ;gains=1.01,0.99,1,1.02;speed=2.5;trace=/tmp/t.txt;noise=0;"
                   "trigger_offset=-0.1;seed=77;glitch=0.5;y0=dc:-3;y1=sine:10:1.5:+0.5;"
                   "y2=square:2:3;y3=gen;yd0=triangle:1e3:4;unplug_after=2.5;fail_rate=1;"
                   "stall_ms=600000;;");
  ASSERT_TRUE(p.messages.empty()) << p.messages[0];
  const Options& o = p.options;
  EXPECT_EQ(o.bus, Bus::kFull);
  EXPECT_EQ(o.gains, (std::array<float, 4>{1.01f, 0.99f, 1.0f, 1.02f}));
  EXPECT_DOUBLE_EQ(o.speed, 2.5);
  EXPECT_EQ(o.trace, "/tmp/t.txt");
  EXPECT_DOUBLE_EQ(o.noise, 0.0);
  EXPECT_DOUBLE_EQ(o.triggerOffset, -0.1);
  EXPECT_EQ(o.seed, 77u);
  EXPECT_DOUBLE_EQ(o.glitchRate, 0.5);
  EXPECT_EQ(o.bnc[0], (SourceSpec{SourceKind::kDc, 0.0, 0.0, -3.0}));
  EXPECT_EQ(o.bnc[1], (SourceSpec{SourceKind::kSine, 10.0, 1.5, 0.5}));
  EXPECT_EQ(o.bnc[2], (SourceSpec{SourceKind::kSquare, 2.0, 3.0, 0.0}));
  EXPECT_EQ(o.bnc[3].kind, SourceKind::kGenerator);
  EXPECT_EQ(o.yd[0], (SourceSpec{SourceKind::kTriangle, 1000.0, 4.0, 0.0}));
  EXPECT_EQ(o.unplugAfter, 2.5);
  EXPECT_DOUBLE_EQ(o.failRate, 1.0);
  EXPECT_EQ(o.stallMs, 600000u);
  EXPECT_EQ(ParseOptions("unplug_after=0").options.unplugAfter, 0.0); // absent from the start
}

TEST(OptionsTest, LaterItemOverridesEarlier) {
  EXPECT_DOUBLE_EQ(ParseOptions("speed=2;speed=3").options.speed, 3.0);
}

TEST(OptionsTest, RejectedItemsKeepDefaultsAndNameTheKey) {
  struct Case {
    const char* text;
    const char* named; // quoted in the message
  };
  const Case cases[] = {
      {"colour=red", "\"colour\""},
      {"speedy", "\"speedy\""},
      {"bus=medium", "\"bus\""},
      {"gains=1,1,1", "\"gains\""},
      {"gains=1,1,1,0", "\"gains\""},
      {"gains=1,1,1,x", "\"gains\""},
      {"speed=0", "\"speed\""},
      {"speed=-1", "\"speed\""},
      {"speed=inf", "\"speed\""},
      {"speed=1.5.2", "\"speed\""},
      {"noise=nan", "\"noise\""},
      {"trigger_offset=16", "\"trigger_offset\""},
      {"seed=-4", "\"seed\""},
      {"glitch=2", "\"glitch\""},
      {"trace=", "\"trace\""},
      {"y0=sine:50", "\"y0\""},
      {"y1=sine:-5:1", "\"y1\""},
      {"y2=saw:5:1", "\"y2\""},
      {"yd3=dc", "\"yd3\""},
      {"yd1=gen:2", "\"yd1\""},
      {"y3=triangle:1:1:1:1", "\"y3\""},
      {"y0=dc:1e9", "\"y0\""},
      {"unplug_after=-1", "\"unplug_after\""},
      {"unplug_after=inf", "\"unplug_after\""},
      {"unplug_after=2s", "\"unplug_after\""},
      {"fail_rate=1.01", "\"fail_rate\""},
      {"fail_rate=-0.5", "\"fail_rate\""},
      {"stall_ms=600001", "\"stall_ms\""},
      {"stall_ms=2.5", "\"stall_ms\""},
      {"stall_ms=-1", "\"stall_ms\""},
      {"stall_ms=99999999999999999999", "\"stall_ms\""},
  };
  const Options defaults;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedOptions p = ParseOptions(c.text);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_THAT(p.messages[0], HasSubstr("QVTLINK_SIM"));
    EXPECT_THAT(p.messages[0], HasSubstr(c.named));
    EXPECT_EQ(p.options.speed, defaults.speed);
    EXPECT_EQ(p.options.gains, defaults.gains);
    EXPECT_EQ(p.options.bnc, defaults.bnc);
    EXPECT_EQ(p.options.yd, defaults.yd);
    EXPECT_EQ(p.options.noise, defaults.noise);
    EXPECT_EQ(p.options.unplugAfter, defaults.unplugAfter);
    EXPECT_EQ(p.options.failRate, defaults.failRate);
    EXPECT_EQ(p.options.stallMs, defaults.stallMs);
  }
}

TEST(OptionsTest, GoodItemsSurviveBadNeighboursAndMessagesStayOneLine) {
  const ParsedOptions p = ParseOptions("speed=4;wrong\nkey=1;bus=full;noise=\x01");
  EXPECT_DOUBLE_EQ(p.options.speed, 4.0);
  EXPECT_EQ(p.options.bus, Bus::kFull);
  ASSERT_EQ(p.messages.size(), 2u);
  for (const std::string& m : p.messages)
    EXPECT_EQ(m.find('\n'), std::string::npos) << m;
}

} // namespace
} // namespace qvt::sim
