// SPDX-License-Identifier: GPL-3.0-or-later
// A sweep as qvt2ctl writes it: CSV, the measurement file (.qvtm), the Matlab script text and
// JSON.
#pragma once

#include <string>
#include <string_view>

#include "acquire.h"
#include "measure_file.h"
#include "sweep_compute.h"

namespace qvt::cli {

enum class TSweepFormat { Csv, Qvtm, Matlab, Json };

// The measurement of a sweep: time column and one "Vn (V)" column per channel, with the
// settings of the sweep (time base, rate, trigger, ranges, inputs) in the header.
TMeasurement SweepMeasurement(const TSweep& sweep);

// The text of `sweep` in `format`. CSV: "," and "." whatever the locale, so that scripts read
// it alike everywhere; Matlab: an empty line, "t=[…]" then "Vn=[…]", lines ended by CR LF, as
// the window's export; JSON: one object with the settings, "t" and "volts" (one array per
// channel).
// `computed`: columns written after the channels' (CSV: "NAME (UNIT)" with empty cells where
// there is no value; Matlab: "NAME=[…]"; JSON: "computed", one object per column with name,
// unit and values, null where there is no value). The measurement file takes none.
std::string SweepText(const TSweep& sweep, TSweepFormat format,
                      const std::vector<TComputedColumn>& computed = {});

// `path` with "-<number>" before its extension: "run.csv", 2 → "run-2.csv".
std::string NumberedPath(std::string_view path, long number);

} // namespace qvt::cli
