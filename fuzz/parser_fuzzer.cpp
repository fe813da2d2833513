// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the expression evaluator: any text either compiles or raises one of the
// EMathParserError family; a compiled formula either evaluates to a finite number or raises
// EEvaluationError. Anything else (another exception, a crash, a read past a buffer, a
// non-finite value handed back) is a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "parser.h"

// Texts up to this length already reach every form, both limits and the analysis budget;
// longer ones only spend more of the budget, which the instrumentation makes slow.
constexpr size_t kMaxText = 160;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > kMaxText + 1)
    return 0;
  // The first byte chooses the number format and whether an error handler swallows failures.
  const uint8_t options = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  qvt::TParser parser;
  parser.SetDotNumberFormat((options & 1) == 0);
  bool handled = false;
  if (options & 2)
    parser.OnParserError = [&](qvt::TCustomParser&, const qvt::EMathParserError&) {
      handled = true;
    };
  try {
    parser.SetExpression(text);
  } catch (const qvt::EMathParserError&) {
    if (!parser.ParseError() || parser.Value() != 0 || (options & 2))
      std::abort();
    return 0;
  }
  if (parser.ParseError() != handled || (handled && parser.Value() != 0))
    std::abort();

  parser.SetRandomSeed(options);
  for (const double t : {0.0, 0.25, 0.5, 0.999, -1.0, 1e6}) {
    parser.T = t;
    parser.X = 1 - t;
    parser.Y = t * t;
    try {
      if (!std::isfinite(parser.Value()))
        std::abort();
    } catch (const qvt::EEvaluationError&) {
    }
  }
  return 0;
}
