// SPDX-License-Identifier: GPL-3.0-or-later
// The --compute option of qvt2ctl sweep: "NAME=FORMULA[:UNIT]" quantities computed from the
// channels of each sweep, written as columns after them.
#pragma once

#include <string>
#include <vector>

#include "acquire.h"
#include "computed.h"

namespace qvt::cli {

// A computed column as the writers take it: name, unit (UTF-8) and one value per sample, NaN
// where the formula gives none.
struct TComputedColumn {
  std::string Name;
  std::string Unit;
  std::vector<double> Values;
  std::string Definition; // the line a measurement file keeps (UTF-8)
};

// The quantities of the --compute options, checked once before any sweep: the formula reads
// t, V0 to V3 and the quantities given before or after it; the unit, when left out, comes from
// the unit algebra (V0*V1 in V2). Throws TUsageError with the model's message for a bad one.
class TSweepCompute {
public:
  explicit TSweepCompute(const std::vector<std::string>& options);
  bool Empty() const { return model_.Count() == 0; }
  // The columns of one sweep; a channel not recorded reads as no value.
  std::vector<TComputedColumn> Columns(const TSweep& sweep);

private:
  analysis::ComputedModel model_;
};

} // namespace qvt::cli
