// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in unit tables and the SI prefix letters. The tables are built once, on first use,
// and never change afterwards; lookups take the first entry in table order.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "unite.h"

namespace qvt {

// The 31 coherent SI units and derived units, in lookup order.
const std::vector<Tunite>& SiUnitTable();
// The 9 other units ("L", "rad", "°C", "bar", "dB", "°", "%", "lux", "mol/L"), in lookup order.
const std::vector<Tunite>& OtherUnitTable();

// The first entry named exactly `name` in the SI table, then in the other table; nullptr when
// there is none.
const Tunite* FindUnit(std::string_view name);

// True when `name` is the name of an entry of the other table.
bool IsOtherUnitName(std::string_view name);

// The power of ten of a prefix letter (a f p n µ m c d h k M G T P E), if it is one.
std::optional<int> PrefixPower(char letter);
// The prefix letter of a power of ten, if there is one (no deca, nothing beyond +-18).
std::optional<char> PrefixLetter(int power);

} // namespace qvt
