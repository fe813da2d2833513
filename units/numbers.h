// SPDX-License-Identifier: GPL-3.0-or-later
// Small number helpers shared by the whole program: the no-value marker, exact powers of ten
// and ordering a pair.
#pragma once

namespace qvt {

// Stands for a missing number in sample arrays, current values and failed conversions.
inline constexpr double kNoValue = 1e-26;

// 10^n as a double: exact for 0 <= n <= 22, correctly rounded for -22 <= n < 0, within an ulp
// beyond.
// Underflows to 0 and overflows to infinity like any double.
double Power10(int n);

// Swaps a and b when a is the larger, so that afterwards a <= b.
inline void OrderPair(double& a, double& b) {
  if (a > b) {
    const double t = a;
    a = b;
    b = t;
  }
}

} // namespace qvt
