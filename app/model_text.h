// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the "Modélisation" panel that need no widget: a fitted parameter's symbol, its
// unit from the units of the two axes, and its value with its uncertainty rounded together
// ("τ = 12,50 ms ± 0,10 ms"), all in UTF-8 with the system decimal separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fit.h"

namespace qvt {

// The symbol shown for a parameter name: "τ" for tau, "φ" for phi, "μ" for mu, "σ" for sigma
// (any case), the name itself otherwise.
std::string FitParameterSymbol(std::string_view name);

// The unit text (8-bit, as Tunite writes it) of parameter `name` of a built-in model fitted to
// y in `yUnit` against x in `xUnit`: "V" for A and B of "Charge" on volts, "s" for its τ,
// "Hz" for f against seconds, "rad" for φ. Empty for the parameters of an expression and for
// those whose unit depends on a fitted exponent (A of "Puissance").
std::string FitParameterUnit(const analysis::FitModelSpec& model, std::string_view name,
                             std::string_view xUnit, std::string_view yUnit);

// A value and its uncertainty written at one scale: `value` and `error` are the numbers
// ("12,50", "0,10"), `unit` the unit with the SI prefix chosen for the value ("ms", UTF-8).
// The uncertainty has two significant digits and the value is rounded to the same decimal
// place. Without an uncertainty (undetermined, or a held parameter) the value has four
// significant digits and `error` is empty.
struct TValueText {
  std::string value;
  std::string error;
  std::string unit;
};
TValueText FitValueParts(double value, std::optional<double> error, std::string_view unitText);

// "τ = 12,50 ms ± 0,10 ms"; "τ = 12,50 ms" without an uncertainty.
std::string FitValueText(std::string_view name, double value, std::optional<double> error,
                         std::string_view unitText);

} // namespace qvt
