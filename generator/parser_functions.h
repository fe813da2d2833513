// SPDX-License-Identifier: GPL-3.0-or-later
// The computations of the evaluator: the routines of the operation kinds, the standard
// function lists, and the fault checks they share. Internal to qvt_generator.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>

#include "parser_errors.h"
#include "parser_operation.h"

namespace qvt::parser {

[[noreturn]] void RaiseFault(EEvaluationError::Fault fault);
// Raises the fault that a non-finite result stands for: InvalidOperation for a NaN,
// Overflow for an infinity.
[[noreturn]] void RaiseNonFinite(double value);

// Every result of a record passes through here: the evaluation never hands on an infinity or
// a NaN, so a fault deep inside a formula cannot be swallowed by a later MAX or HEAV.
inline double Checked(double value) {
  if (!std::isfinite(value)) [[unlikely]]
    RaiseNonFinite(value);
  return value;
}

// a^n by repeated squaring; n = 0 gives 1, n < 0 gives 1 / a^-n (ZeroDivide for a = 0).
double IntegerPower(double a, int32_t n);
// POWER(x, y): 1 for y = 0; 0 for x = 0 and y > 0; the integer power for an integral y of
// magnitude up to 2147483647; otherwise e^(y ln x), a fault for x <= 0.
double GeneralPower(double x, double y);
// A draw in [0, 1) with 53 random bits.
double UniformDraw(RandomGenerator& generator);

// The only record of a chain without operations: returns its first operand.
double ReadResult(const Operation& op, double previous);

// The routines of kinds Negation to Fourth; nullptr for the other kinds.
const RoutineSet* KindRoutines(OperationKind kind);

struct NamedFunction {
  const char* name;
  FunctionEntry entry;
};
// The functions that TParser registers, in the order of registration.
std::span<const NamedFunction> StandardOneArgFunctions();
std::span<const NamedFunction> StandardTwoArgFunctions();

// Entries for functions added by the caller; they are never computed ahead, since nothing
// says that they give the same result for the same arguments.
FunctionEntry CallerFunction(OneArgFunction function);
FunctionEntry CallerFunction(TwoArgFunction function);

} // namespace qvt::parser
