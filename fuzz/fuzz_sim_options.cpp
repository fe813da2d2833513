// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the virtual interface's option parser, then runs what the options
// feed into: the scene's sources, noise and glitches at several instants, and device time
// at the parsed speed, so that any accepted value that breaks the arithmetic shows up.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "clock.h"
#include "device_time.h"
#include "options.h"
#include "scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qvt::sim::ParsedOptions parsed = qvt::sim::ParseOptions(text);
  for (const std::string& message : parsed.messages)
    if (message.empty() || message.find('\n') != std::string::npos)
      __builtin_trap();

  const qvt::sim::Scene scene(parsed.options);
  for (const double seconds : {0.0, 1e-7, 0.3, 4000.0, 3.0e9}) {
    for (uint32_t channel = 0; channel < 4; ++channel) {
      for (const bool yd : {false, true}) {
        const double v = scene.InputVolts(channel, yd, seconds, 1.5) +
                         scene.Noise(parsed.options.seed, channel, static_cast<uint64_t>(seconds));
        if (!(v > -2000.0 && v < 2000.0))
          __builtin_trap();
      }
      scene.Glitch(parsed.options.seed, channel, 7);
    }
  }

  qvt::ManualClock clock;
  qvt::sim::DeviceTime time(clock, parsed.options.speed);
  clock.Advance(int64_t{1} << 62);
  if (time.Now() < 0)
    __builtin_trap();
  return 0;
}
