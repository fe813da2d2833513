// SPDX-License-Identifier: GPL-3.0-or-later
// Command-line values of qvt2ctl.
#include "values.h"

#include <array>
#include <charconv>
#include <cmath>

#include "oscillo_rules.h"
#include "timebase_names.h"
#include "timebases.h"

namespace qvt::cli {

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The leading number of `text` (sign, digits, one decimal mark "." or ",", exponent) and what
// follows it. from_chars alone would refuse the comma that French users type.
std::optional<double> LeadingNumber(std::string_view text, std::string_view& rest) {
  std::string number;
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-')
      number += '-';
    ++i;
  }
  bool digits = false;
  bool mark = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      number += c;
    } else if ((c == '.' || c == ',') && !mark) {
      mark = true;
      number += '.';
    } else {
      break;
    }
  }
  if (!digits)
    return std::nullopt;
  // An exponent only when digits follow it: "5e" is not a number, and "2 m" is no exponent.
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (text[j] == '-' || text[j] == '+')
      exponent += text[j++];
    const size_t start = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9')
      exponent += text[j++];
    if (j > start) {
      number += exponent;
      i = j;
    }
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  rest = text.substr(i);
  return value;
}

// The power of ten of an SI prefix at the start of `text`, and its length in bytes.
std::optional<double> Prefix(std::string_view text, size_t& length) {
  static constexpr std::array<std::pair<std::string_view, double>, 9> kPrefixes{{
      {"p", 1e-12},
      {"n", 1e-9},
      {"\xC2\xB5", 1e-6}, // micro sign
      {"\xCE\xBC", 1e-6}, // Greek mu
      {"u", 1e-6},
      {"m", 1e-3},
      {"k", 1e3},
      {"M", 1e6},
      {"G", 1e9},
  }};
  for (const auto& [name, factor] : kPrefixes) {
    if (text.starts_with(name)) {
      length = name.size();
      return factor;
    }
  }
  return std::nullopt;
}

std::optional<int> ParseIndex(std::string_view text, int count) {
  text = Trim(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 ||
      value >= count)
    return std::nullopt;
  return value;
}

// Splits at the first ':'; false when there is none.
bool SplitAtColon(std::string_view text, std::string_view& head, std::string_view& tail) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos)
    return false;
  head = text.substr(0, colon);
  tail = text.substr(colon + 1);
  return true;
}

std::string Lower(std::string_view text) {
  std::string out(Trim(text));
  for (char& c : out)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string RangeLabel(double volts) {
  return volts < 1 ? std::to_string(static_cast<int>(std::lround(volts * 1000))) + " mV"
                   : std::to_string(static_cast<int>(std::lround(volts))) + " V";
}

} // namespace

std::optional<double> ParseAmount(std::string_view text, std::string_view unit, bool unitOptional) {
  std::string_view rest;
  const auto number = LeadingNumber(Trim(text), rest);
  if (!number)
    return std::nullopt;
  rest = Trim(rest);
  if (rest.empty())
    return unitOptional || unit.empty() ? number : std::nullopt;
  if (rest == unit)
    return number;
  size_t length = 0;
  const auto factor = Prefix(rest, length);
  if (!factor || unit.empty() || rest.substr(length) != unit)
    return std::nullopt;
  const double value = *number * *factor;
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> ParseTimeBase(std::string_view text) {
  return FindTimeBase(Trim(text));
}

std::string TimeBaseChoices() {
  std::string out;
  for (int i = 0; i < kTimeBaseCount; ++i) {
    if (i > 0)
      out += ", ";
    out += TimeBaseLabelUtf8(i);
  }
  return out;
}

std::optional<int> ParseRange(std::string_view text) {
  const auto volts = ParseAmount(text, "V");
  if (!volts)
    return std::nullopt;
  for (size_t i = 0; i < kRangeVolts.size(); ++i) {
    if (std::fabs(*volts - kRangeVolts[i]) <= 1e-9 * kRangeVolts[i])
      return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string RangeChoices() {
  std::string out;
  for (double volts : kRangeVolts) {
    if (!out.empty())
      out += ", ";
    out += RangeLabel(volts);
  }
  return out;
}

std::optional<int> ParseChannel(std::string_view text) {
  return ParseIndex(text, 4);
}

std::optional<std::vector<int>> ParseChannels(std::string_view text) {
  std::vector<int> out;
  for (;;) {
    const auto comma = text.find(',');
    const auto channel = ParseChannel(text.substr(0, comma));
    if (!channel)
      return std::nullopt;
    for (int c : out)
      if (c == *channel)
        return std::nullopt;
    out.push_back(*channel);
    if (comma == std::string_view::npos)
      return out;
    text = text.substr(comma + 1);
  }
}

std::optional<TChannelRange> ParseChannelRange(std::string_view text) {
  std::string_view head, tail;
  if (!SplitAtColon(text, head, tail))
    return std::nullopt;
  const auto channel = ParseChannel(head);
  const auto range = ParseRange(tail);
  if (!channel || !range)
    return std::nullopt;
  return TChannelRange{*channel, *range};
}

std::optional<TChannelInput> ParseChannelInput(std::string_view text) {
  std::string_view head, tail;
  if (!SplitAtColon(text, head, tail))
    return std::nullopt;
  const auto channel = ParseChannel(head);
  const std::string input = Lower(tail);
  if (!channel || (input != "bnc" && input != "yd"))
    return std::nullopt;
  return TChannelInput{*channel, input == "yd"};
}

std::optional<TTriggerSpec> ParseTrigger(std::string_view text) {
  if (Lower(text) == "key")
    return TTriggerSpec{};
  std::string_view head, tail;
  if (!SplitAtColon(text, head, tail))
    return std::nullopt;
  const auto channel = ParseChannel(head);
  std::string_view edge = tail, level = "0";
  SplitAtColon(tail, edge, level);
  const std::string edgeName = Lower(edge);
  const auto volts = ParseAmount(level, "V");
  if (!channel || (edgeName != "rising" && edgeName != "falling") || !volts ||
      std::fabs(*volts) > 15)
    return std::nullopt;
  return TTriggerSpec{*channel + 1, edgeName == "rising", *volts};
}

std::optional<double> ParseDuration(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, double>, 5> kUnits{{
      {"ms", 1e-3},
      {"s", 1},
      {"min", 60},
      {"h", 3600},
      {"", 1},
  }};
  std::string_view rest;
  const auto number = LeadingNumber(Trim(text), rest);
  if (!number || !(*number > 0))
    return std::nullopt;
  rest = Trim(rest);
  for (const auto& [name, factor] : kUnits) {
    if (rest == name) {
      const double seconds = *number * factor;
      return std::isfinite(seconds) ? std::optional<double>(seconds) : std::nullopt;
    }
  }
  return std::nullopt;
}

} // namespace qvt::cli
