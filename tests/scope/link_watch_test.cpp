// SPDX-License-Identifier: GPL-3.0-or-later
// The loss watch on a clock the test moves: a streaming sweep's silence, and the questions
// asked while a sweep waits for its edge.
#include <gtest/gtest.h>

#include "link_watch.h"

namespace qvt {
namespace {

using namespace std::chrono_literals;
using Clock = TLinkWatch::Clock;

TEST(LinkWatch, AStreamingSweepIsLostAfterThreeSecondsWithoutSamples) {
  TLinkWatch watch;
  const Clock::time_point t0{};
  watch.Start(t0, true);
  int asked = 0;
  const auto probe = [&] { ++asked; return false; };
  EXPECT_FALSE(watch.Lost(100, 1e5, t0 + 1s, probe));
  EXPECT_FALSE(watch.Lost(100, 1e5, t0 + 3900ms, probe));
  EXPECT_TRUE(watch.Lost(100, 1e5, t0 + 4100ms, probe));
  EXPECT_EQ(asked, 0) << "samples tell enough once they flow";
}

TEST(LinkWatch, WaitingForAnEdgeIsLostOnlyAfterUnansweredQuestionsInARow) {
  TLinkWatch watch;
  const Clock::time_point t0{};
  watch.Start(t0, false);
  bool answers = true;
  int asked = 0;
  const auto probe = [&] { ++asked; return answers; };
  // An interface that answers may wait for its edge for ever.
  auto t = t0;
  for (; t < t0 + 60s; t += 110ms)
    ASSERT_FALSE(watch.Lost(0, 125e3, t, probe));
  EXPECT_GT(asked, 100);
  // One lost question among answered ones is not an unplug.
  answers = false;
  for (int i = 0; i < 3; ++i, t += 300ms)
    EXPECT_FALSE(watch.Lost(0, 125e3, t, probe));
  answers = true;
  EXPECT_FALSE(watch.Lost(0, 125e3, t, probe));
  // Gone: told within the 3 s a user may wait.
  answers = false;
  const auto unplug = t + 10ms;
  t = unplug;
  while (!watch.Lost(0, 125e3, t, probe))
    t += 110ms;
  EXPECT_LT(t - unplug, 3s);
}

} // namespace
} // namespace qvt
