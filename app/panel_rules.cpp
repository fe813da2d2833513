// SPDX-License-Identifier: GPL-3.0-or-later
// Rules of the generator panel and of point-by-point mode.
#include "panel_rules.h"

#include <algorithm>
#include <cmath>

#include "courbe.h"

namespace qvt {

int SteppedFrequency(int hertz, int power, bool minus) {
  int step = 1;
  for (int i = 0; i < power; ++i)
    step *= 10;
  if (!minus)
    return std::min(hertz + step, 9999);
  if (step >= hertz)
    return hertz;
  // 150 - 100 would fall far below the frequency's own order: step by the next decade down.
  if (hertz < 2 * step)
    step /= 10;
  return std::max(hertz - step, 1);
}

bool PointMoved(const std::array<TCourbePoint, 4>& curves, int pointCount, int percent) {
  if (pointCount <= 0)
    return true;
  double sum = 0;
  for (const TCourbePoint& c : curves) {
    if (!c.Visible)
      continue;
    const double span = c.Maxi - c.Mini;
    if (span == 0)
      continue;
    sum += std::abs((c.Current - c.Value[pointCount - 1]) / span);
  }
  return 100 * sum > percent;
}

} // namespace qvt
