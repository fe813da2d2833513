// SPDX-License-Identifier: GPL-3.0-or-later
// The place of the spectrum graph's harmonics lists: a band along the bottom of the picture,
// under the frequency axis and its labels, so that the lists never cover the plot, its traces
// or the axes. Plain arithmetic on the lists' measured sizes, no drawing.
#pragma once

#include <vector>

#include "graphe_base.h"

namespace qvt {

struct TListsLayout {
  int Lines = 0;            // lines shown of each list, from its heading down; 0: no list
  int BandHeight = 0;       // rows of the area the band takes, from its bottom up
  std::vector<TRect> Boxes; // one per list, in the order given; empty when no list is shown
};

// Lays out lists whose lines measure `lineWidths[i][j]` pixels (the heading first), each line
// `linePitch` pixels high. The lists stand in a grid whose columns are each as wide as their
// widest list, `gap` pixels apart and from the area's left and bottom edges and from the
// band's top, as many columns as the area's width holds, the lists given in order along the
// rows. When the
// band would be higher than `maxBand`, the lists are shortened alike (their heading and first
// lines kept) down to two lines, the heading and the fundamental; below that no list is shown.
// Empty lists take no place (an empty rectangle at the band's top left).
TListsLayout LayOutLists(const std::vector<std::vector<int>>& lineWidths, int linePitch, int gap,
                         const TRect& area, int maxBand);

} // namespace qvt
