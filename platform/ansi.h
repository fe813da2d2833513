// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit code page of the model's texts (codepage.h) to and from QString, at the widget
// boundary.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "codepage.h"

namespace qvt {

// Whole texts. AnsiFromQString(AnsiToQString(s)) == s for every byte string s; characters
// outside the Basic Multilingual Plane (surrogate pairs) become a single '?'.
QString AnsiToQString(std::string_view bytes);
std::string AnsiFromQString(const QString& text);

} // namespace qvt
