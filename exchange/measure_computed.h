// SPDX-License-Identifier: GPL-3.0-or-later
// The computed quantities of a measurement file as the analysis model takes them, and back:
// the definition and constant lines of TMeasurement (UTF-8) to and from
// analysis::ComputedDefinition and ComputedConstant (the program's code page).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "computed.h"
#include "measure_file.h"

namespace qvt {

struct TMeasureComputedSet {
  // The constant lines that read, in the file's order.
  std::vector<analysis::ComputedConstant> Constants;
  // One per column of TMeasurement::Computed; none where its line does not read (the column's
  // saved values are all there is of it then).
  std::vector<std::optional<analysis::ComputedDefinition>> Definitions;
  // One French message (UTF-8) per line that does not read: a line of a newer program, a
  // missing key, a bad number, a constant given as a definition or the other way round.
  std::vector<std::string> Warnings;
};

// Reads every line with analysis::ParseComputedText; a line that does not read is left out
// with a warning, the others are taken all the same. Checks the lines' form only:
// ComputedModel::Define checks what they mean against the channels.
TMeasureComputedSet ReadMeasureComputed(const TMeasurement& m);

// The line a measurement file holds: analysis::ComputedText in UTF-8.
std::string MeasureComputedText(const analysis::ComputedDefinition& definition);
std::string MeasureComputedText(const analysis::ComputedConstant& constant);

} // namespace qvt
