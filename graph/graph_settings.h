// SPDX-License-Identifier: GPL-3.0-or-later
// Display settings read by both graphs. They are process-wide: the main window loads, saves and
// edits them (options dialog), the graphs only read them while drawing.
#pragma once

#include <cstdint>

namespace qvt {

// Graduations drawn as a dotted grey grid across the plot instead of ticks on the axes.
inline bool ShowGrid = false;

// Pen width of the traces and of the point marks, 1 to 5 pixels.
inline std::int32_t LineWidth = 1;

// "Affichage rapide": the oscilloscope asks for samples every 15 ms instead of every 110 ms, so
// that fast sweeps follow each other at the screen's pace.
inline bool FastDisplay = false;

// Half-size of a point mark, pixels.
inline std::int32_t PointSize = 2;

} // namespace qvt
