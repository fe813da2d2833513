// SPDX-License-Identifier: GPL-3.0-or-later
// The trigger-threshold correction: a mean and a plausibility bound.
#include "threshold_correction.h"

#include <cmath>
#include <numeric>

namespace qvt {

double ThresholdCorrection(const std::array<double, kCalibrationLevels>& levels) {
  const double correction = -std::accumulate(levels.begin(), levels.end(), 0.0) / levels.size();
  // Written so that a NaN fails the test and gives 0.
  return std::fabs(correction) < kMaxThresholdCorrection ? correction : 0.0;
}

} // namespace qvt
