// SPDX-License-Identifier: GPL-3.0-or-later
// TPyGenerator: `dev.generator`, the interface's function generator: sine, square, triangle
// and formula waves, and stop. Each start returns the frequency the generator clocks give.
#pragma once

#include <string>

namespace qvt::python {

class TPyDevice;

class TPyGenerator {
public:
  explicit TPyGenerator(TPyDevice& owner) : Owner(owner) {}

  // Waveform: 0 square, 1 triangle, 2 sine (as TGBF numbers them). Arguments are checked
  // (ValueError); returns the frequency obtained, Hz.
  int Start(int waveform, double frequency, double amplitude, double offset, double duty);
  // The arbitrary wave: `text` is a formula of t (0 to 1 over one period) in volts.
  int Formula(const std::string& text, double frequency);
  void Stop();
  bool Running() const;

private:
  int Play();
  TPyDevice& Owner;
};

} // namespace qvt::python
