// SPDX-License-Identifier: GPL-3.0-or-later
// A fixture that runs each test under a forced decimal mark, "." and then ",".
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "numtext.h"

class SeparatorTest : public ::testing::TestWithParam<char> {
protected:
  void SetUp() override { qvt::ForceDecimalSeparator(GetParam()); }
  void TearDown() override { qvt::ForceDecimalSeparator('\0'); }

  // The expected text written with "." turned into the mark under test.
  static std::string Local(std::string text) {
    for (char& c : text)
      if (c == '.')
        c = GetParam();
    return text;
  }
};

inline std::string SeparatorName(const ::testing::TestParamInfo<char>& info) {
  return info.param == '.' ? "point" : "comma";
}

#define QVT_BOTH_SEPARATORS(suite)                                                                 \
  INSTANTIATE_TEST_SUITE_P(Marks, suite, ::testing::Values('.', ','), SeparatorName)
