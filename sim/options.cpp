// SPDX-License-Identifier: LGPL-2.1-or-later
// Parser of the virtual interface's option text. Values are read with std::from_chars so the
// process locale never changes their meaning; every number is range-checked so that the
// model's arithmetic stays finite whatever the text holds.
#include "options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

namespace qvt::sim {
namespace {

constexpr std::string_view kPrefix = "QVTLINK_SIM: ";
constexpr double kMaxFrequency = 1e7; // Hz
constexpr double kMaxVolts = 1000.0;

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && blank(s.back()))
    s.remove_suffix(1);
  return s;
}

// Quotes user text for a one-line message: control bytes become '?', long texts are cut.
std::string Quote(std::string_view s) {
  constexpr size_t kMax = 60;
  std::string q = "\"";
  for (size_t i = 0; i < s.size() && i < kMax; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    q += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  if (s.size() > kMax)
    q += "...";
  q += '"';
  return q;
}

std::optional<double> ParseNumber(std::string_view s) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+')
    s.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<double> ParseInRange(std::string_view s, double low, double high) {
  const auto v = ParseNumber(s);
  if (!v || *v < low || *v > high)
    return std::nullopt;
  return v;
}

std::vector<std::string_view> Split(std::string_view s, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = s.find(separator);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos)
      return parts;
    s.remove_prefix(at + 1);
  }
}

std::optional<SourceSpec> ParseSource(std::string_view s) {
  const auto parts = Split(s, ':');
  const std::string_view kind = Trim(parts[0]);
  if (kind == "gen") {
    if (parts.size() != 1)
      return std::nullopt;
    return SourceSpec{SourceKind::kGenerator, 0.0, 0.0, 0.0};
  }
  if (kind == "dc") {
    if (parts.size() != 2)
      return std::nullopt;
    const auto v = ParseInRange(parts[1], -kMaxVolts, kMaxVolts);
    if (!v)
      return std::nullopt;
    return SourceSpec{SourceKind::kDc, 0.0, 0.0, *v};
  }
  SourceKind periodic;
  if (kind == "sine")
    periodic = SourceKind::kSine;
  else if (kind == "square")
    periodic = SourceKind::kSquare;
  else if (kind == "triangle")
    periodic = SourceKind::kTriangle;
  else
    return std::nullopt;
  if (parts.size() != 3 && parts.size() != 4)
    return std::nullopt;
  const auto f = ParseInRange(parts[1], 0.0, kMaxFrequency);
  const auto a = ParseInRange(parts[2], -kMaxVolts, kMaxVolts);
  const auto o = parts.size() == 4 ? ParseInRange(parts[3], -kMaxVolts, kMaxVolts) : 0.0;
  if (!f || !a || !o)
    return std::nullopt;
  return SourceSpec{periodic, *f, *a, *o};
}

std::optional<std::array<float, 4>> ParseGains(std::string_view s) {
  const auto parts = Split(s, ',');
  if (parts.size() != 4)
    return std::nullopt;
  std::array<float, 4> gains{};
  for (size_t i = 0; i < 4; ++i) {
    const auto g = ParseInRange(parts[i], 0.0, 10.0);
    if (!g || *g == 0.0)
      return std::nullopt;
    gains[i] = static_cast<float>(*g);
  }
  return gains;
}

// A count written as decimal digits only (no sign, no fraction).
std::optional<uint64_t> ParseUnsigned(std::string_view s) {
  s = Trim(s);
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size())
    return std::nullopt;
  return value;
}

// One key: its setter returns false when the value is rejected; `expected` says what it takes.
struct Key {
  std::string_view name;
  std::string_view expected;
  std::function<bool(Options&, std::string_view)> set;
};

template <typename T, typename Parse>
std::function<bool(Options&, std::string_view)> Setter(Parse parse, T Options::*field) {
  return [parse, field](Options& o, std::string_view v) {
    const auto parsed = parse(v);
    if (!parsed)
      return false;
    o.*field = static_cast<T>(*parsed);
    return true;
  };
}

std::function<bool(Options&, std::string_view)> SourceSetter(bool yd, size_t channel) {
  return [yd, channel](Options& o, std::string_view v) {
    const auto source = ParseSource(v);
    if (!source)
      return false;
    (yd ? o.yd : o.bnc)[channel] = *source;
    return true;
  };
}

const std::vector<Key>& Keys() {
  static const std::vector<Key> keys = [] {
    constexpr std::string_view kSource =
        "gen, sine:<Hz>:<V>[:<offset V>], square:..., triangle:... or dc:<V>";
    std::vector<Key> k{
        {"bus", "full or high",
         [](Options& o, std::string_view v) {
           v = Trim(v);
           if (v != "full" && v != "high")
             return false;
           o.bus = v == "full" ? Bus::kFull : Bus::kHigh;
           return true;
         }},
        {"gains", "four positive numbers up to 10 separated by commas",
         Setter(ParseGains, &Options::gains)},
        {"speed", "a number above 0 and up to 1000",
         Setter(
             [](std::string_view v) -> std::optional<double> {
               const auto s = ParseInRange(v, 0.0, 1000.0);
               if (!s || *s == 0.0)
                 return std::nullopt;
               return s;
             },
             &Options::speed)},
        {"trace", "a file name",
         [](Options& o, std::string_view v) {
           v = Trim(v);
           if (v.empty())
             return false;
           o.trace = std::string(v);
           return true;
         }},
        {"noise", "volts rms from 0 to 10",
         Setter([](std::string_view v) { return ParseInRange(v, 0.0, 10.0); }, &Options::noise)},
        {"trigger_offset", "volts from -15 to 15",
         Setter([](std::string_view v) { return ParseInRange(v, -15.0, 15.0); },
                &Options::triggerOffset)},
        {"seed", "an unsigned integer", Setter(ParseUnsigned, &Options::seed)},
        {"glitch", "a probability from 0 to 1",
         Setter([](std::string_view v) { return ParseInRange(v, 0.0, 1.0); },
                &Options::glitchRate)},
        {"unplug_after", "device seconds from 0 on",
         [](Options& o, std::string_view v) {
           const auto s = ParseNumber(v);
           if (!s || *s < 0.0)
             return false;
           o.unplugAfter = *s;
           return true;
         }},
        {"fail_rate", "a probability from 0 to 1",
         Setter([](std::string_view v) { return ParseInRange(v, 0.0, 1.0); }, &Options::failRate)},
        {"stall_ms", "whole milliseconds from 0 to 600000",
         Setter(
             [](std::string_view v) -> std::optional<uint64_t> {
               const auto ms = ParseUnsigned(v);
               if (!ms || *ms > kMaxStallMs)
                 return std::nullopt;
               return ms;
             },
             &Options::stallMs)},
    };
    static const std::array<std::string_view, 4> bncNames{"y0", "y1", "y2", "y3"};
    static const std::array<std::string_view, 4> ydNames{"yd0", "yd1", "yd2", "yd3"};
    for (size_t i = 0; i < 4; ++i) {
      k.push_back({bncNames[i], kSource, SourceSetter(false, i)});
      k.push_back({ydNames[i], kSource, SourceSetter(true, i)});
    }
    return k;
  }();
  return keys;
}

} // namespace

ParsedOptions ParseOptions(std::string_view text) {
  ParsedOptions result;
  for (std::string_view item : Split(text, ';')) {
    item = Trim(item);
    if (item.empty())
      continue;
    const size_t equals = item.find('=');
    if (equals == std::string_view::npos) {
      result.messages.push_back(std::string(kPrefix) + "item " + Quote(item) +
                                " is not key=value (ignored)");
      continue;
    }
    const std::string_view key = Trim(item.substr(0, equals));
    const std::string_view value = Trim(item.substr(equals + 1));
    const Key* found = nullptr;
    for (const Key& k : Keys())
      if (k.name == key)
        found = &k;
    if (!found) {
      result.messages.push_back(std::string(kPrefix) + "unknown key " + Quote(key) + " (ignored)");
      continue;
    }
    if (!found->set(result.options, value)) {
      result.messages.push_back(std::string(kPrefix) + "bad value " + Quote(value) + " for key " +
                                Quote(key) + ": expected " + std::string(found->expected) +
                                " (default kept)");
    }
  }
  return result;
}

} // namespace qvt::sim
