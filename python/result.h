// SPDX-License-Identifier: GPL-3.0-or-later
// TResult: a sweep, or a measurement read from a file, as Python sees it: `t` (float64, one
// value per sample), `v` (float64, one row per channel), `channels`, `units` and `meta`. The
// arrays are numpy buffers filled in C++: the time column is the sweep's own vector, handed
// over without a copy; the rows are copied into one contiguous block.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>

#include "acquire.h"
#include "measure_file.h"

namespace qvt::python {

struct TResult {
  pybind11::array_t<double> T;
  pybind11::array_t<double> V;
  pybind11::list Channels;
  pybind11::list Units;
  pybind11::dict Meta;
  // The header and channel descriptions (without values) that a saved file gets.
  TMeasurement Header;
};

// Both need the GIL; they take the samples over.
TResult ResultOfSweep(TSweep&& sweep);
TResult ResultOfMeasurement(TMeasurement&& m);

// Writes the arrays as they stand now, with the header, to a measurement file (.qvtm).
// Throws ValueError for arrays of the wrong shape or non-finite values, OSError when the file
// cannot be written.
void SaveResult(const TResult& result, const std::string& path, const std::string& comment);

// The automatic measurements of every row, with delay and phase against channel `reference`
// (None: the first row): {channel: {"frequency": Hz or None, ...}}. ValueError for a point-mode
// measurement or a reference that is not among the channels.
pybind11::dict MeasureResult(const TResult& result, const pybind11::object& reference);

// The data as a numpy array owning `values` (no copy).
pybind11::array_t<double> ArrayOf(std::vector<double>&& values);

} // namespace qvt::python
