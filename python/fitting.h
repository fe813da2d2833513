// SPDX-License-Identifier: GPL-3.0-or-later
// The fits of the Python module: qvt2.fit, Sweep.fit and qvt2.FitResult.
#pragma once

#include <pybind11/pybind11.h>

namespace qvt::python {

// Adds fit, FitResult and Sweep.fit to the module; Sweep must be defined already.
void DefineFit(pybind11::module_& m);

} // namespace qvt::python
