// SPDX-License-Identifier: GPL-3.0-or-later
// The calculus methods of qvt2.Sweep: spectrum, derivative and integral of a channel's row,
// computed by the analysis library the window uses.
#pragma once

#include <pybind11/pybind11.h>

namespace qvt::python {

// Adds Sweep.spectrum, Sweep.derivative and Sweep.integral to the class "Sweep" that `m`
// already holds.
void AddCalculus(pybind11::module_& m);

} // namespace qvt::python
