// SPDX-License-Identifier: GPL-3.0-or-later
// Powers of ten computed from exact doubles so that graduation steps and display scales
// come out as the decimal numbers they stand for.
#include "numbers.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace qvt {

namespace {

// 10^0 .. 10^22 are exactly representable; dividing 1 by one of them is correctly rounded.
constexpr std::array<double, 23> kExact = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

double Power10(int n) {
  if (n >= 0 && n < static_cast<int>(kExact.size()))
    return kExact[static_cast<std::size_t>(n)];
  if (n < 0 && n > -static_cast<int>(kExact.size()))
    return 1.0 / kExact[static_cast<std::size_t>(-n)];
  return std::pow(10.0, n);
}

} // namespace qvt
