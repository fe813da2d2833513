// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte string through every command-line value parser of qvt2ctl. What a parser accepts
// must lie within what the tool can use: a time base and a range inside their tables, distinct
// channels 0 to 3, finite amounts, positive durations, trigger levels within ±15 V.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "timebase_names.h"
#include "values.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qvt::cli;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto index = ParseTimeBase(text)) {
    Check(*index >= 0 && *index < 26);
    Check(ParseTimeBase(qvt::TimeBaseLabelUtf8(*index)) == index);
  }
  if (const auto range = ParseRange(text))
    Check(*range >= 0 && *range < 8);
  for (std::string_view unit : {"V", "Hz", "%", ""}) {
    if (const auto value = ParseAmount(text, unit, unit != "%"))
      Check(std::isfinite(*value));
  }
  if (const auto channels = ParseChannels(text)) {
    Check(!channels->empty() && channels->size() <= 4);
    unsigned seen = 0;
    for (int c : *channels) {
      Check(c >= 0 && c < 4 && (seen & (1u << c)) == 0);
      seen |= 1u << c;
    }
  }
  if (const auto r = ParseChannelRange(text))
    Check(r->Channel >= 0 && r->Channel < 4 && r->Range >= 0 && r->Range < 8);
  if (const auto i = ParseChannelInput(text))
    Check(i->Channel >= 0 && i->Channel < 4);
  if (const auto t = ParseTrigger(text))
    Check(t->Source >= 0 && t->Source <= 4 && std::fabs(t->Level) <= 15);
  if (const auto seconds = ParseDuration(text))
    Check(*seconds > 0 && std::isfinite(*seconds));
  return 0;
}
