// SPDX-License-Identifier: LGPL-2.1-or-later
// The options of a virtual interface and their parser: the text of QVTLINK_SIM turned into
// settings plus one message per rejected item.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvt::sim {

enum class Bus { kFull, kHigh };

enum class SourceKind { kGenerator, kSine, kSquare, kTriangle, kDc };

// What is wired to one input socket. Periodic sources swing by `amplitude` volts (peak)
// around `offset`; `dc` holds `offset`; `generator` is the generator output G0.
struct SourceSpec {
  SourceKind kind = SourceKind::kDc;
  double frequency = 0.0; // Hz
  double amplitude = 0.0; // V
  double offset = 0.0;    // V
  friend bool operator==(const SourceSpec&, const SourceSpec&) = default;
};

struct Options {
  Bus bus = Bus::kHigh;
  // The factory calibration factors the interface reports for channels 0..3.
  std::array<float, 4> gains{1.002f, 0.998f, 1.000f, 1.001f};
  double speed = 1.0; // device seconds per clock second
  std::string trace;  // trace file; empty: no trace
  std::array<SourceSpec, 4> bnc{
      SourceSpec{SourceKind::kGenerator, 0.0, 0.0, 0.0},
      SourceSpec{SourceKind::kSine, 50.0, 2.0, 0.0},
      SourceSpec{SourceKind::kSquare, 1000.0, 1.0, 0.0},
      SourceSpec{SourceKind::kTriangle, 0.05, 5.0, 0.0},
  };
  std::array<SourceSpec, 4> yd{}; // 0 V
  double noise = 0.002;           // V rms on every input
  double triggerOffset = 0.08;    // V, added to the trigger comparator's threshold
  uint64_t seed = 1;              // noise and glitch sequences
  double glitchRate = 0.0005;     // chance that a sample after a negative one reads 0x2000

  // Faults. From device second `unplugAfter` on (none: never) the interface is unplugged;
  // each request fails with the chance `failRate`, drawn from a sequence of `seed`; a
  // committed sample packet becomes ready `stallMs` ms of device time late.
  std::optional<double> unplugAfter;
  double failRate = 0.0;
  uint32_t stallMs = 0;
};

// The longest stall `stall_ms` takes, in ms.
inline constexpr uint32_t kMaxStallMs = 600'000;

struct ParsedOptions {
  Options options;
  std::vector<std::string> messages; // one line each, naming the key or item at fault
};

// Parses "key=value;key=value...". Blanks around keys and values and empty items are
// ignored; a later item overrides an earlier one. An unknown key, an item without "=" or a
// malformed or out-of-range value leaves the default in place and adds a message. Never
// throws for any input.
ParsedOptions ParseOptions(std::string_view text);

} // namespace qvt::sim
