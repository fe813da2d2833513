// SPDX-License-Identifier: GPL-3.0-or-later
// The grid of the harmonics lists under the spectrum's frequency axis.
#include "harmonic_lists.h"

#include <algorithm>

namespace qvt {

TListsLayout LayOutLists(const std::vector<std::vector<int>>& lineWidths, int linePitch, int gap,
                         const TRect& area, int maxBand) {
  TListsLayout layout;
  std::size_t longest = 0, shown = 0;
  for (const std::vector<int>& list : lineWidths) {
    longest = std::max(longest, list.size());
    shown += list.empty() ? 0 : 1;
  }
  if (shown == 0)
    return layout;
  const int areaWidth = area.Right - area.Left;
  const int count = static_cast<int>(lineWidths.size());
  // Two lines at least: a heading alone says nothing.
  for (std::size_t lines = longest; lines >= 2; --lines) {
    std::vector<int> widths(lineWidths.size(), 0);
    int height = 0;
    for (int i = 0; i < count; ++i) {
      const std::vector<int>& list = lineWidths[static_cast<std::size_t>(i)];
      const std::size_t n = std::min(lines, list.size());
      for (std::size_t j = 0; j < n; ++j)
        widths[static_cast<std::size_t>(i)] =
            std::max(widths[static_cast<std::size_t>(i)], list[j]);
      height = std::max(height, static_cast<int>(n) * linePitch);
    }
    // The most columns the width holds, each as wide as the widest of its lists.
    std::vector<int> order; // the lists shown, in order
    for (int i = 0; i < count; ++i)
      if (!lineWidths[static_cast<std::size_t>(i)].empty())
        order.push_back(i);
    std::vector<int> columnWidths;
    int columns = static_cast<int>(shown);
    for (; columns >= 1; --columns) {
      columnWidths.assign(static_cast<std::size_t>(columns), 0);
      for (std::size_t k = 0; k < order.size(); ++k) {
        int& w = columnWidths[k % static_cast<std::size_t>(columns)];
        w = std::max(w, widths[static_cast<std::size_t>(order[k])]);
      }
      int total = gap;
      for (const int w : columnWidths)
        total += w + gap;
      if (total <= areaWidth)
        break;
    }
    if (columns < 1)
      continue; // the widest line may be one left out below
    const int rows = (static_cast<int>(shown) + columns - 1) / columns;
    const int band = gap + rows * (height + gap);
    if (band > maxBand)
      continue;
    layout.Lines = static_cast<int>(lines);
    layout.BandHeight = band;
    const int top = area.Bottom - band + gap;
    layout.Boxes.assign(lineWidths.size(), TRect{area.Left, top, area.Left, top});
    for (std::size_t k = 0; k < order.size(); ++k) {
      const std::size_t column = k % static_cast<std::size_t>(columns);
      int left = area.Left + gap;
      for (std::size_t c = 0; c < column; ++c)
        left += columnWidths[c] + gap;
      const int rowTop =
          top + static_cast<int>(k / static_cast<std::size_t>(columns)) * (height + gap);
      const std::vector<int>& list = lineWidths[static_cast<std::size_t>(order[k])];
      const int n = static_cast<int>(std::min(lines, list.size()));
      layout.Boxes[static_cast<std::size_t>(order[k])] = TRect{
          left, rowTop, left + widths[static_cast<std::size_t>(order[k])], rowTop + n * linePitch};
    }
    return layout;
  }
  return layout;
}

} // namespace qvt
