// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of the trigger-threshold calibration, apart from its dialog so that it can be
// checked without a display.
#pragma once

#include <array>

namespace qvt {

// Acquisitions counted by a calibration (a first one runs before them and is not counted).
inline constexpr int kCalibrationLevels = 6;

// Largest correction the calibration stores, volts (exclusive). The comparator's offset is a
// few tens of millivolts; a larger mean means the generator was not looped back to Y0.
inline constexpr double kMaxThresholdCorrection = 0.5;

// The correction for ThresholdOffset from the levels of channel 0 at the trigger instant of
// the counted acquisitions, taken with a 0 V threshold: minus their mean, in volts, when its
// magnitude is below kMaxThresholdCorrection, otherwise 0 (nothing is corrected). A level
// that is not a number gives 0 as well.
double ThresholdCorrection(const std::array<double, kCalibrationLevels>& levels);

} // namespace qvt
