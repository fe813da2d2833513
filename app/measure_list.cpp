// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement list of the settings file.
#include "measure_list.h"

#include <algorithm>

namespace qvt {

std::string MeasureListText(const std::vector<analysis::Quantity>& list) {
  std::string text;
  for (const analysis::Quantity q : list) {
    if (!text.empty())
      text += ',';
    text += analysis::Key(q);
  }
  return text;
}

std::vector<analysis::Quantity> ParseMeasureList(std::string_view text) {
  std::vector<analysis::Quantity> list;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos)
      end = text.size();
    if (const auto q = analysis::QuantityFromKey(text.substr(start, end - start));
        q && std::find(list.begin(), list.end(), *q) == list.end())
      list.push_back(*q);
    start = end + 1;
  }
  return list;
}

} // namespace qvt
