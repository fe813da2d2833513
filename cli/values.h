// SPDX-License-Identifier: GPL-3.0-or-later
// The values qvt2ctl reads from its command line: time bases, ranges, trigger settings,
// levels and amounts with units, channel lists and durations. Each parser takes the whole text
// and gives nothing when any part of it is wrong; the caller words the message. Without Qt and
// without the device.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvt::cli {

// A number followed by `unit`, with an optional SI prefix before the unit (p n µ u m k M);
// blanks around and between are allowed, "," is taken as "." ("0,5 V"). The unit may be left
// out when `unitOptional` (then no prefix either: "500" is 500). Finite values only.
std::optional<double> ParseAmount(std::string_view text, std::string_view unit,
                                  bool unitOptional = true);

// A time base by its label as the window shows it ("20 ms", "500 µs", "500us", "1 h"): its
// index. TimeBaseChoices lists the labels: "10 µs, 20 µs, …, 1 h".
std::optional<int> ParseTimeBase(std::string_view text);
std::string TimeBaseChoices();

// An input range by its label ("5 V", "500 mV", "0.5 V"): its index into kRangeVolts.
std::optional<int> ParseRange(std::string_view text);
std::string RangeChoices();

// A channel "0" to "3".
std::optional<int> ParseChannel(std::string_view text);
// A list of distinct channels "0,1,3", in the order given.
std::optional<std::vector<int>> ParseChannels(std::string_view text);

// "CH:RANGE" ("1:500 mV").
struct TChannelRange {
  int Channel = 0;
  int Range = 0;
};
std::optional<TChannelRange> ParseChannelRange(std::string_view text);

// "CH:bnc" or "CH:yd".
struct TChannelInput {
  int Channel = 0;
  bool YD = false;
};
std::optional<TChannelInput> ParseChannelInput(std::string_view text);

// "key" (the sweep starts at once) or "CH:rising|falling[:LEVEL]" with a level in volts
// ("0:rising:0.5 V", "1:falling:-200 mV"; 0 V when left out). Levels beyond ±15 V are refused.
struct TTriggerSpec {
  int Source = 0; // 0: key; 1..4: channel 0..3
  bool Rising = true;
  double Level = 0;
};
std::optional<TTriggerSpec> ParseTrigger(std::string_view text);

// A duration, seconds, above 0: a number and one of "ms", "s", "min", "h" ("500ms", "1 s",
// "2h", "1.5 min"); a bare number is seconds.
std::optional<double> ParseDuration(std::string_view text);

} // namespace qvt::cli
