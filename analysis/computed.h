// SPDX-License-Identifier: GPL-3.0-or-later
// Computed quantities: up to eight curves defined from the channels by a formula of the
// evaluator, a derivative, an integral or a smoothing; checked once when defined, then
// computed sample by sample at each sweep.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "savgol.h"

namespace qvt::analysis {

inline constexpr std::size_t kMaxComputed = 8;
inline constexpr std::size_t kMaxComputedName = 8;

enum class ComputedKind { kFormula, kDerivative, kIntegral, kSmoothing };
enum class SmoothingMethod { kSavitzkyGolay, kMovingAverage };

// One computed quantity. Names and units are the program's 8-bit texts; names are compared
// without regard to the case of ASCII letters, as the evaluator does.
struct ComputedDefinition {
  std::string name; // 1 to 8 bytes: a letter first, no blank nor any of + - * / ^ ( ) , . ; =
  std::string unit; // as typed; empty: from the unit algebra when it can tell
  ComputedKind kind = ComputedKind::kFormula;
  std::string formula; // kFormula: an expression in t, the channels, constants and quantities
  std::string source;  // the other kinds: the name of the channel or quantity they work on
  int points = kDefaultFilterPoints;                        // derivative and smoothing: odd, 3..51
  SmoothingMethod method = SmoothingMethod::kSavitzkyGolay; // smoothing only
  bool operator==(const ComputedDefinition&) const = default;
};

// A constant the formulas read: R = 100 with unit "\x9D". Same naming rules.
struct ComputedConstant {
  std::string name;
  double value = 0;
  std::string unit;
  bool operator==(const ComputedConstant&) const = default;
};

// A channel as the formulas see it: V0..V3 always name channels 0..3; `name` (the quantity
// name of the channel dialog, may be empty) names it too. unit: its unit text ("V").
struct ComputedChannel {
  std::string name;
  std::string unit = "V";
};

// Why a set of definitions was refused: a message in the interface language (UTF-8, the names
// and units inside converted from the code page) and the definition it concerns (an index into
// the definitions, or -1 - k for constant k), and which of its fields is at fault.
struct ComputedError {
  enum Field { kDefinition, kName, kUnit, kPoints, kValue };
  int where = 0;
  std::string message;
  Field field = kDefinition;
};

// The samples of one sweep. samples: how many; channels[k]: channel k in SI units (an empty
// or short span: a channel without values, read as gaps); time: the instant of each sample
// (t in the formulas), or empty for t = t0 + i dt. Derivatives and integrals are taken against
// the even step dt when it is positive, else against `time` (recorded points), or against
// `abscissa` when given (point mode). integralStart: the sample of the left marker, where
// every integral is 0.
struct ComputedInput {
  std::size_t samples = 0;
  std::span<const std::span<const double>> channels;
  double t0 = 0;
  double dt = 1;
  std::span<const double> time;
  std::span<const double> abscissa;
  std::size_t integralStart = 0;
};

// The model. Define checks a whole set and, when it is sound, takes it (else nothing changes);
// Compute fills one curve per definition, in the definitions' order. Formulas compute in the SI
// units of what they read (a constant of 2 k\x9D reads 2000); a value the formula cannot give
// (division by zero, logarithm of a negative number, a gap in what it reads) is kNoValue.
// Derivatives are Savitzky-Golay of degree 2 (SavgolFilter, or SavgolDerivativeAgainst for a
// non-uniform time or an abscissa), integrals CumulativeTrapezoid from integralStart,
// smoothings Savitzky-Golay of degree 2 or MovingAverage. Not thread-safe.
class ComputedModel {
public:
  ComputedModel();
  ~ComputedModel();
  ComputedModel(const ComputedModel&) = delete;
  ComputedModel& operator=(const ComputedModel&) = delete;

  // Refuses with a message: more than eight definitions; a bad, reserved or repeated name, or
  // one that clashes with a channel, a constant, a function or t; a formula that does not
  // compile (the evaluator's message), an unknown name; a quantity that depends on itself, in
  // a cycle; a source that is not a channel or a quantity; points off 3..51 or even; a unit
  // (of a quantity or a constant) that does not parse. `abscissaUnit` is the unit derivatives
  // and integrals are taken against ("s" in time; the abscissa's unit in point mode).
  std::optional<ComputedError> Define(std::span<const ComputedChannel> channels,
                                      std::span<const ComputedConstant> constants,
                                      std::span<const ComputedDefinition> definitions,
                                      std::string_view abscissaUnit = "s");

  // Error for a derivative or smoothing with more points than `samples` (the range holds).
  std::optional<ComputedError> CheckSamples(std::size_t samples) const;

  // Computes every quantity. A quantity CheckSamples refuses is all kNoValue, and the first
  // such error is returned; the others are computed all the same.
  std::optional<ComputedError> Compute(const ComputedInput& input);

  std::size_t Count() const;
  const ComputedDefinition& Definition(std::size_t k) const;
  // The unit shown: the one typed, else the algebra's (empty when it cannot tell).
  const std::string& Unit(std::size_t k) const;
  // The curve of the last Compute, `samples` long (empty before).
  std::span<const double> Values(std::size_t k) const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The text form of a definition or a constant for settings and measurement files: one line of
// "key=value" pairs separated by ';', beginning with the format version:
//   v=1;type=formule;nom=P;unite=W;expr=V0*V1/R
//   v=1;type=derivee;nom=dU;unite=;source=U;points=9
//   v=1;type=lissage;nom=Ul;unite=V;source=U;points=9;methode=sg     (or methode=moyenne)
//   v=1;type=integrale;nom=Q;unite=;source=I
//   v=1;type=constante;nom=R;unite=\x9D;valeur=100
std::string ComputedText(const ComputedDefinition& definition);
std::string ComputedText(const ComputedConstant& constant);

// One line read back: exactly one of the two is set, or error says why (a French UTF-8
// message: a line of a newer version or of an unknown type says it comes from a newer
// program; a missing or repeated key, a bad number say which). Checks the form only: Define
// checks the meaning.
struct ComputedLine {
  std::optional<ComputedDefinition> definition;
  std::optional<ComputedConstant> constant;
  std::string error;
};
ComputedLine ParseComputedText(std::string_view line);

} // namespace qvt::analysis
