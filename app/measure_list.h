// SPDX-License-Identifier: GPL-3.0-or-later
// The list of measurements the "Mesures" panel shows, as the settings file keeps it: the
// quantities' keys between commas ("freq,vpp,rms").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "measure_text.h"

namespace qvt {

// The keys joined by commas, in the list's order.
std::string MeasureListText(const std::vector<analysis::Quantity>& list);
// The quantities of a list, in its order; unknown keys (a later version's) and repeats are
// left out, so any text gives a usable list.
std::vector<analysis::Quantity> ParseMeasureList(std::string_view text);

} // namespace qvt
