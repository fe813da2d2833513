// SPDX-License-Identifier: GPL-3.0-or-later
// The time bases by name, for programs that take them as text ("20 ms", "500 µs", "1 h").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qvt {

// The label of time base `index` in UTF-8, without the padding some labels carry (" 5 s").
std::string TimeBaseLabelUtf8(int index);

// The index of the time base named `label`: spaces are ignored, "µ" (micro sign or Greek mu)
// and "u" are the same prefix. Empty when no time base has that name.
std::optional<int> FindTimeBase(std::string_view label);

} // namespace qvt
