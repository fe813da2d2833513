// SPDX-License-Identifier: GPL-3.0-or-later
// The time-base table. Sample rate = clock / ((256 - reload) x prescaler); the fast rows run
// on the 10 MHz clock, the middle ones on 6 MHz and the slow ones divide 2 MHz further with
// the prescaler so that every sweep holds 2,500 samples (fewer below 5 ms). The interface
// runs its 10 MHz clock with reload 255 only (the library forces it), so "500 µs" and "1 ms"
// sample at 1.2 MHz on the 6 MHz clock, as "2 ms" does, with as many points as fill their window.
#include "timebases.h"

namespace {
constexpr std::array<TTimeBase, kTimeBaseCount> kTable{{
    {"10 \xB5s", 2, 255, 1, 100, 0.00001},
    {"20 \xB5s", 2, 255, 1, 200, 0.00002},
    {"50 \xB5s", 2, 255, 1, 500, 0.00005},
    {"100 \xB5s", 2, 255, 1, 1000, 0.0001},
    {"200 \xB5s", 2, 255, 1, 2000, 0.0002},
    {"500 \xB5s", 0, 251, 1, 600, 0.0005},
    {"1 ms", 0, 251, 1, 1200, 0.001},
    {"2 ms", 0, 251, 1, 2400, 0.002},
    {"5 ms", 0, 244, 1, 2500, 0.005},
    {"10 ms", 0, 232, 1, 2500, 0.01},
    {"20 ms", 1, 240, 1, 2500, 0.02},
    {"50 ms", 1, 216, 1, 2500, 0.05},
    {"100 ms", 1, 176, 1, 2500, 0.1},
    {"200 ms", 1, 96, 1, 2500, 0.2},
    {"500 ms", 1, 56, 2, 2500, 0.5},
    {"1 s", 1, 56, 4, 2500, 1},
    {"2 s", 1, 56, 8, 2500, 2},
    {" 5 s", 1, 56, 20, 2500, 5},
    {"10 s", 1, 56, 40, 2500, 10},
    {"20 s", 1, 56, 80, 2500, 20},
    {"50 s", 1, 56, 200, 2500, 50},
    {"100 s", 1, 56, 400, 2500, 100},
    {"200 s", 1, 56, 800, 2500, 200},
    {"10 min", 1, 56, 2400, 2500, 600},
    {"20 min", 1, 56, 4800, 2500, 1200},
    {"1 h", 1, 56, 14400, 2500, 3600},
}};
} // namespace

const std::array<TTimeBase, kTimeBaseCount>& TimeBases() {
  return kTable;
}

double SampleClockHz(uint8_t clockSelect) {
  switch (clockSelect) {
  case 0:
    return 6'000'000.0;
  case 1:
    return 2'000'000.0;
  case 2:
    return 10'000'000.0;
  default:
    return 0.0;
  }
}
