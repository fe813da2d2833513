// SPDX-License-Identifier: LGPL-2.1-or-later
// The scene around the interface: what is wired to each of its eight input sockets, the noise
// on every input and the converter's occasional glitch.
#pragma once

#include <array>
#include <cstdint>

#include "options.h"

namespace qvt::sim {

class Scene {
public:
  explicit Scene(const Options& options);

  // Noise-free volts at the BNC (yd false) or YD socket of `channel` at `seconds` of device
  // time, given the generator output G0 at that instant.
  double InputVolts(uint32_t channel, bool yd, double seconds, double generatorVolts) const;

  // True if that socket is wired to G0 (so the caller need not evaluate G0 otherwise).
  bool UsesGenerator(uint32_t channel, bool yd) const;

  // The noise of sample `index` of `channel` in the sequence `salt`: a pure function of its
  // arguments, so a sample reads the same whenever it is computed. Roughly Gaussian with the
  // scene's rms value.
  double Noise(uint64_t salt, uint32_t channel, uint64_t index) const;

  // Whether the converter glitches on that sample (used only after a negative sample).
  bool Glitch(uint64_t salt, uint32_t channel, uint64_t index) const;

  double NoiseRms() const { return noiseRms_; }
  // No noise value exceeds this in magnitude.
  double NoiseBound() const;
  double TriggerOffset() const { return triggerOffset_; }

private:
  std::array<SourceSpec, 4> bnc_;
  std::array<SourceSpec, 4> yd_;
  double noiseRms_;
  double triggerOffset_;
  uint64_t glitchThreshold_; // a hash below it glitches
};

} // namespace qvt::sim
