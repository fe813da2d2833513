// SPDX-License-Identifier: GPL-3.0-or-later
// One step of a compiled formula: the record that Value() runs, its kinds, and the entries of
// the function lists from which compilation builds the function records.
#pragma once

#include <cstdint>
#include <random>

namespace qvt {

// What a term of a formula is; also the kind of the record built for it (kinds 2 to 15).
enum class OperationKind : uint8_t {
  Variable = 0,        // the operand itself
  Constant = 1,        // the operand itself
  Negation = 2,        // -a
  Sum = 3,             // a + b
  Difference = 4,      // a - b
  Product = 5,         // a * b
  Quotient = 6,        // a / b
  Modulo = 7,          // a MOD b on the 64-bit integral parts, sign of the dividend
  IntegerDivision = 8, // a DIV b on the 64-bit integral parts, toward zero
  IntegerPower = 9,    // a ^ n, n an integral constant other than 2, 3 and 4
  Power = 10,          // a ^ b, any other exponent, as POWER
  Square = 11,         // a ^ 2 = a * a
  Cube = 12,           // a ^ 3 = a * a * a
  Fourth = 13,         // a ^ 4 = (a * a) * (a * a)
  OneArgCall = 14,     // NAME(a)
  TwoArgCall = 15,     // NAME(a,b)
};

struct Operation;
// A record's computation. `previous` is the value the record just before returned (0 for the
// first); a routine reads each operand from its cell or, where the operand is that result,
// from `previous`, writes its result cell when a later record reads it from there, returns
// the result, and raises EEvaluationError on a fault.
using OperationRoutine = double (*)(const Operation& op, double previous);
using OneArgFunction = double (*)(double);
using TwoArgFunction = double (*)(double, double);
// The pseudo-random generator behind RND and RANDOM; each parser owns one.
using RandomGenerator = std::mt19937_64;

struct Operation {
  OperationRoutine routine = nullptr;
  const double* arg1 = nullptr; // nullptr when the operand is `previous`
  const double* arg2 = nullptr; // the same; unused by one-operand kinds
  double* result = nullptr;     // nullptr when no later record reads the result cell
  union {
    OneArgFunction one = nullptr; // functions added by the caller
    TwoArgFunction two;
    int32_t exponent;        // kind IntegerPower
    RandomGenerator* random; // RND and RANDOM
  };
  OperationKind kind = OperationKind::Constant;
};

// The variants of one computation, for a record inside a chain: [first operand from
// previous][second operand from previous][writes its result cell]. Choosing the variant when
// compiling keeps the tests out of the evaluation.
struct RoutineSet {
  OperationRoutine variant[2][2][2];
  // The last record of a chain: [first operand from previous][second from previous]; returns
  // the value of the formula instead of handing it on.
  OperationRoutine last[2][2];
  OperationRoutine alone; // operands from cells, writes its result cell, calls no next record
};

// An entry of a function list. For the standard functions the routines compute the function
// themselves, so a record costs one call; for a function added by the caller they call `one`
// or `two`.
struct FunctionEntry {
  const RoutineSet* routines = nullptr;
  OneArgFunction one = nullptr;
  TwoArgFunction two = nullptr;
  bool random = false; // the record gets the parser's generator
  bool pure = false;   // same arguments, same result: computed ahead on constant arguments
};

} // namespace qvt
