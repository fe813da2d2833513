// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a fit: a model (a built-in one, or a formula made of the evaluator's tokens or
// of raw text), starting and fixed values, a range, and up to 48 points, either raw doubles
// (NaN, infinities, 1e308) or small integers (shapes the fuzzer can steer). Every fit must end
// with a status and sane figures, and the model's values must compute at what it returns.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fit.h"

namespace {

using namespace qvt::analysis;

using qvt::fuzz::Take;

constexpr const char* kTokens[] = {"a",    "b",   "c",     "tau",    "x", "t",    "+",
                                   "-",    "*",   "/",     "^",      "(", ")",    "EXP(",
                                   "SIN(", "LN(", "SQRT(", "1",      "2", "0.5",  "1E300",
                                   "PI",   "MOD", "DIV",   "POWER(", ",", "ABS(", "1000"};

// A value: a raw double, or a small number steered by the fuzzer.
double Value(const std::uint8_t*& data, std::size_t& size, bool raw) {
  if (raw)
    return Take<double>(data, size);
  return Take<std::int16_t>(data, size) / 100.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto modelByte = Take<std::uint8_t>(data, size);
  const auto flags = Take<std::uint8_t>(data, size);
  FitModelSpec model;
  model.model = static_cast<FitModel>(modelByte % 11);
  model.degree = 2 + modelByte / 11 % 5; // 2 to 6, the ends refused
  if (model.model == FitModel::kExpression) {
    const auto length = Take<std::uint8_t>(data, size) % 24;
    for (int i = 0; i < length && size > 0; ++i) {
      const auto token = Take<std::uint8_t>(data, size);
      if (flags & 1)
        model.expression += static_cast<char>(token);
      else
        model.expression += kTokens[token % std::size(kTokens)];
    }
  }
  const bool raw = flags & 2;
  FitRequest request;
  request.model = model;
  if (flags & 4)
    request.start.push_back({flags & 8 ? "tau" : "a", Value(data, size, raw)});
  if (flags & 16)
    request.fixed.push_back({flags & 8 ? "B" : "b", Value(data, size, raw)});
  if (flags & 32) {
    request.from = Value(data, size, raw);
    request.to = Value(data, size, raw);
  }
  std::vector<double> x, y;
  while (size > 0 && x.size() < 48) {
    x.push_back(flags & 64 ? static_cast<double>(x.size()) : Value(data, size, raw));
    y.push_back(Value(data, size, raw));
  }
  request.x = x;
  request.y = y;
  FitOptions options;
  options.maxIterations = 60;
  options.timeLimit = 1;

  const FitResult r = Fit(request, options);
  CHECK(!FitStatusText(r).empty());
  CHECK(r.points + r.leftOut <= x.size());
  CHECK(r.iterations >= 0 && r.iterations <= options.maxIterations);
  if (r.status == FitStatus::kBadExpression || r.status == FitStatus::kBadInput)
    return 0;
  if (r.Ok()) {
    CHECK(r.chi2 >= 0 && r.rms >= 0);
    CHECK(!r.r2 || *r.r2 <= 1 + 1e-9);
    std::vector<double> values;
    for (const FitParameter& p : r.parameters) {
      CHECK(std::isfinite(p.value));
      CHECK(!p.error || (std::isfinite(*p.error) && *p.error >= 0));
      CHECK(!(p.fixed && p.error));
      values.push_back(p.value);
    }
    std::vector<double> curve(x.size());
    CHECK(FitModelValues(model, values, x, curve));
  }
  return 0;
}
