// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic starting values of the built-in models, worked out from the points. Internal to
// qvt_analysis.
#pragma once

#include <span>
#include <vector>

#include "fit.h"

namespace qvt::analysis::fit {

// A few candidate parameter vectors (in the model's order) for a built-in model other than the
// polynomials, from finite points: the levels, the frequency of the measurements or of the
// spectrum, a log-linear fit for the exponentials, log-log for the power law, the half-height
// width for the Gaussian. The parameters that enter linearly once the others are chosen (A, B,
// and A, φ of a sine) are solved by least squares for each candidate, which gives its sum of
// squares at once. Unordered; may hold non-finite values, which the caller drops.
struct StartCandidate {
  std::vector<double> values;
  double cost = 0; // sum of squared residuals
};
std::vector<StartCandidate> StartCandidates(FitModel model, std::span<const double> x,
                                            std::span<const double> y);

} // namespace qvt::analysis::fit
