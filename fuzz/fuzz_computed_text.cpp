// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the lines of computed-quantity definitions, as a settings or measurement file
// holds them: each line is read, what reads is written back and must read the same, and the
// set is defined and computed over a few samples made from the same bytes. Nothing may crash,
// and every value computed is a number or the no-value marker.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "computed.h"
#include "numbers.h"

using namespace qvt::analysis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ComputedDefinition> definitions;
  std::vector<ComputedConstant> constants;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const ComputedLine line = ParseComputedText(text.substr(at, end - at));
    at = end + 1;
    if (line.definition) {
      const ComputedLine again = ParseComputedText(ComputedText(*line.definition));
      if (!again.definition || !(*again.definition == *line.definition))
        std::abort();
      definitions.push_back(*line.definition);
    } else if (line.constant) {
      const ComputedLine again = ParseComputedText(ComputedText(*line.constant));
      if (!again.constant || !(*again.constant == *line.constant))
        std::abort();
      constants.push_back(*line.constant);
    } else if (line.error.empty()) {
      std::abort();
    }
  }
  const std::array<ComputedChannel, 4> channels{{{"U", "V"}, {"I", "A"}, {"", "V"}, {"", "V"}}};
  ComputedModel model;
  if (model.Define(channels, constants, definitions))
    return 0;
  std::vector<double> a(64), b(64);
  for (std::size_t i = 0; i < a.size(); ++i) {
    a[i] = size ? static_cast<double>(data[i % size]) - 128 : 0;
    b[i] = i % 7 == 3 ? qvt::kNoValue : std::sin(0.1 * static_cast<double>(i));
  }
  const std::array<std::span<const double>, 2> in{a, b};
  ComputedInput input;
  input.samples = a.size();
  input.channels = in;
  input.dt = 1e-3;
  input.integralStart = size % a.size();
  model.Compute(input);
  for (std::size_t k = 0; k < model.Count(); ++k)
    for (double v : model.Values(k))
      if (std::isnan(v))
        std::abort();
  return 0;
}
