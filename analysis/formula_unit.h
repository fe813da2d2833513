// SPDX-License-Identifier: GPL-3.0-or-later
// The unit of an evaluator formula from the units of the names it reads, by the unit algebra
// of Tunite: U*I with U in V and I in A gives W.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unite.h"

namespace qvt::analysis {

// The unit of a name in the formula, empty when unknown.
using NameUnit = std::function<std::optional<Tunite>(std::string_view name)>;

// Products, quotients and integral powers multiply the units; a sum or difference keeps the
// unit its terms share; ABS, MAX, MIN, SQR and SQRT (of even exponents) follow their argument;
// the other functions give a plain number. Numbers and PI have no unit. Empty when the formula
// mixes units in a sum, raises a unit to a power that is not a whole number, or reads a name
// whose unit is unknown. Pow10 stays 0: formulas compute in SI units.
std::optional<Tunite> FormulaUnit(std::string_view formula, const NameUnit& nameUnit);

// The names a formula reads (the words that are not numbers, PI, DIV, MOD, nor followed by a
// bracket) and the functions it calls (followed by a bracket), as written.
struct FormulaNames {
  std::vector<std::string> variables;
  std::vector<std::string> functions;
};
FormulaNames NamesOf(std::string_view formula);

} // namespace qvt::analysis
