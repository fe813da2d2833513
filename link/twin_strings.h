// SPDX-License-Identifier: LGPL-2.1-or-later
// Conversion of the exports' counted strings (8-bit for plain twins, UTF-16 for underscored
// ones) into 8-bit names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qvt::link {

// The name held by a counted string, or nullopt when it is longer than maxLength characters.
// Reads no character unless the stored count is within the limit; null is "".
std::optional<std::string> CountedName8(const char* text, size_t maxLength);
// UTF-16 form: the low byte of each unit.
std::optional<std::string> CountedName16(const char16_t* text, size_t maxLength);

} // namespace qvt::link
