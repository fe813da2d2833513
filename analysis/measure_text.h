// SPDX-License-Identifier: GPL-3.0-or-later
// The measured quantities by name: stable keys for settings files, the French labels, and the
// texts shown to the user ("f = 1,000 kHz", "Vpp = 2,00 V", "f = —").
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "measurer.h"
#include "unite.h"

namespace qvt::analysis {

enum class Quantity {
  kFrequency,
  kPeriod,
  kPeakToPeak,
  kMin,
  kMax,
  kMean,
  kRms,
  kAmplitude,
  kDutyCycle,
  kRiseTime,
  kFallTime,
  kDelay,
  kPhase,
};

inline constexpr std::array<Quantity, 13> kAllQuantities = {
    Quantity::kFrequency, Quantity::kPeriod,   Quantity::kPeakToPeak, Quantity::kMin,
    Quantity::kMax,       Quantity::kMean,     Quantity::kRms,        Quantity::kAmplitude,
    Quantity::kDutyCycle, Quantity::kRiseTime, Quantity::kFallTime,   Quantity::kDelay,
    Quantity::kPhase};

// The key stored in settings files and given on command lines: lowercase ASCII, never
// changed once released ("freq", "period", "vpp", "min", "max", "mean", "rms", "ampl",
// "duty", "rise", "fall", "delay", "phase").
std::string_view Key(Quantity quantity);
// The quantity of a key (exact match); nothing for an unknown key.
std::optional<Quantity> QuantityFromKey(std::string_view key);

// The short label (UTF-8) in the interface language; in French: "f", "T", "Vpp", "Vmin", "Vmax",
// "Vmoy", "Veff", "Vamp", "Rapport cyclique", "Montée", "Descente", "Retard", "Phase". MeasureText
// writes it too: the measurement texts are for reading, never for files read back.
std::string_view Label(Quantity quantity);

// The quantity's value in a set of measurements.
std::optional<double> ValueOf(const Measurements& measurements, Quantity quantity);

// "label = value unit" in UTF-8, with the system decimal separator: frequency and period with
// four significant figures, the others with three; the levels (Vpp, min, max, mean, RMS,
// amplitude) in `unit`, the measured curve's unit (a Tunite text in the program's code page:
// "V", "A", "W"), seconds and hertz, all with the SI prefix of the program's units (Tunite);
// the duty cycle in % and the phase in degrees without prefix. The labels stay "Vpp"... in any
// unit. A missing value reads "—" ("f = —").
std::string MeasureText(Quantity quantity, std::optional<double> value,
                        std::string_view unit = "V");
// The same with the curve's unit itself: its power of ten says what the values are counted in
// (a channel's "mA": milliamperes; a computed quantity's "mW": watts, its values being SI).
std::string MeasureText(Quantity quantity, std::optional<double> value, const Tunite& unit);

} // namespace qvt::analysis
