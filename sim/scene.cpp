// SPDX-License-Identifier: LGPL-2.1-or-later
// The scene's sources and noise. Noise and glitches are drawn from a hash of (sequence,
// channel, sample index) instead of a stream generator: the acquisition computes samples in
// two passes (the trigger comparator first, the pre-trigger frames after the edge), and both
// must see the same noisy value of a sample.
#include "scene.h"

#include <cmath>
#include <numbers>

namespace qvt::sim {
namespace {

// SplitMix64's finaliser: a fast, well-mixed 64-bit hash.
constexpr uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

constexpr uint64_t Key(uint64_t salt, uint32_t channel, uint64_t index, uint64_t stream) {
  return Mix(Mix(salt ^ (stream << 56) ^ (uint64_t{channel} << 60)) ^ index);
}

double Periodic(const SourceSpec& s, double seconds) {
  // Frequencies up to 10 MHz over device times below 2^62 ns stay far below 2^63 cycles, so
  // truncation (much cheaper than floor on the baseline instruction set) takes the whole part.
  const double cycles = s.frequency * seconds;
  const double phase = cycles - static_cast<double>(static_cast<int64_t>(cycles)); // 0..1
  switch (s.kind) {
  case SourceKind::kSine:
    return s.offset + s.amplitude * std::sin(2.0 * std::numbers::pi * phase);
  case SourceKind::kSquare:
    return s.offset + (phase < 0.5 ? s.amplitude : -s.amplitude);
  case SourceKind::kTriangle:
    // -amplitude at phase 0, +amplitude at phase 1/2.
    return s.offset + s.amplitude * (1.0 - 4.0 * std::fabs(phase - 0.5));
  default:
    return s.offset;
  }
}

// The hash value below which a sample glitches, for a probability 0..1.
uint64_t GlitchThreshold(double rate) {
  constexpr double kTwoTo64 = 18446744073709551616.0;
  const double scaled = rate * kTwoTo64;
  if (!(scaled > 0.0))
    return 0;
  return scaled >= kTwoTo64 ? UINT64_MAX : static_cast<uint64_t>(scaled);
}

} // namespace

Scene::Scene(const Options& options)
    : bnc_(options.bnc), yd_(options.yd), noiseRms_(options.noise),
      triggerOffset_(options.triggerOffset), glitchThreshold_(GlitchThreshold(options.glitchRate)) {
}

bool Scene::UsesGenerator(uint32_t channel, bool yd) const {
  return (yd ? yd_ : bnc_)[channel & 3].kind == SourceKind::kGenerator;
}

double Scene::InputVolts(uint32_t channel, bool yd, double seconds, double generatorVolts) const {
  const SourceSpec& s = (yd ? yd_ : bnc_)[channel & 3];
  switch (s.kind) {
  case SourceKind::kGenerator:
    return generatorVolts;
  case SourceKind::kDc:
    return s.offset;
  default:
    return Periodic(s, seconds);
  }
}

double Scene::Noise(uint64_t salt, uint32_t channel, uint64_t index) const {
  if (noiseRms_ == 0.0)
    return 0.0;
  // The sum of four uniform 16-bit draws (Irwin-Hall) has mean 2 and variance 1/3 in units of
  // 65536; scaled by sqrt(3) it has unit variance, a close enough bell for input noise.
  const uint64_t h = Key(salt, channel, index, 1);
  const double sum =
      static_cast<double>((h & 0xFFFF) + ((h >> 16) & 0xFFFF) + ((h >> 32) & 0xFFFF) + (h >> 48)) /
      65536.0;
  return (sum - 2.0) * std::numbers::sqrt3 * noiseRms_;
}

double Scene::NoiseBound() const {
  return 2.0 * std::numbers::sqrt3 * noiseRms_;
}

bool Scene::Glitch(uint64_t salt, uint32_t channel, uint64_t index) const {
  return glitchThreshold_ != 0 && Key(salt, channel, index, 2) < glitchThreshold_;
}

} // namespace qvt::sim
