// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icons, drawn for it as SVG (app/icons) and rendered once per size.
#pragma once

#include <QIcon>

namespace qvt {

// The toolbar image `name` (a file of app/icons without ".svg"), rendered at 20 x 20 and
// 40 x 40 for screens with twice the pixel density. A null icon for an unknown name.
QIcon ToolIcon(const char* name);

// The program's own icon, at the usual sizes from 16 to 256 pixels.
QIcon ProgramIcon();

} // namespace qvt
