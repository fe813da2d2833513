// SPDX-License-Identifier: GPL-3.0-or-later
// The operation routines and the standard functions. Each computation (an operation kind or a
// standard function, with its own fault checks) is instantiated into the record routines of
// its RoutineSet, so that a record does its work in one call: no second call through a
// function pointer, no test of where the operands come from.
#include "parser_functions.h"

#include <numbers>

namespace qvt::parser {

using Fault = EEvaluationError::Fault;

void RaiseFault(Fault fault) {
  throw EEvaluationError(fault);
}

void RaiseNonFinite(double value) {
  RaiseFault(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
}

double IntegerPower(double a, int32_t n) {
  // The magnitude in 64 bits: -n overflows a 32-bit integer for n = -2147483648.
  const int64_t wide = n;
  uint64_t remaining = static_cast<uint64_t>(wide < 0 ? -wide : wide);
  double power = 1.0;
  double base = a;
  while (remaining != 0) {
    if (remaining & 1)
      power *= base;
    remaining >>= 1;
    if (remaining != 0)
      base *= base;
  }
  if (wide < 0) {
    if (power == 0)
      RaiseFault(Fault::ZeroDivide);
    // An overflowing a^-n leaves 1 / inf = 0: the true result underflows, which is no fault.
    return Checked(1.0 / power);
  }
  return Checked(power);
}

namespace {

// The logarithm of a negative number is undefined, that of 0 is the limit of a division by 0.
void CheckLogArgument(double x) {
  if (x < 0)
    RaiseFault(Fault::InvalidOperation);
  if (x == 0)
    RaiseFault(Fault::ZeroDivide);
}

double Ln(double x) {
  CheckLogArgument(x);
  return Checked(std::log(x));
}

double Divide(double a, double b) {
  if (b == 0)
    RaiseFault(a == 0 ? Fault::InvalidOperation : Fault::ZeroDivide);
  return Checked(a / b);
}

// The integral part of x as a 64-bit integer; a value outside that range (or a NaN) cannot be
// truncated and is an invalid operation.
int64_t TruncToInt64(double x) {
  if (!(x >= -0x1p63 && x < 0x1p63))
    RaiseFault(Fault::InvalidOperation);
  return static_cast<int64_t>(x);
}

double RoundHalfEven(double u) {
  const double nearest = std::round(u); // halves away from zero
  if (std::fabs(u - std::trunc(u)) == 0.5)
    return 2.0 * std::round(u / 2.0);
  return nearest;
}

// The computations of the operation kinds, on operand values.

struct NegateOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation&, double a, double) { return Checked(-a); }
};
struct SumOp {
  static double Apply(const Operation&, double a, double b) { return Checked(a + b); }
};
struct DifferenceOp {
  static double Apply(const Operation&, double a, double b) { return Checked(a - b); }
};
struct ProductOp {
  static double Apply(const Operation&, double a, double b) { return Checked(a * b); }
};
struct QuotientOp {
  static double Apply(const Operation&, double a, double b) { return Divide(a, b); }
};

struct ModuloOp {
  static double Apply(const Operation&, double x, double y) {
    const int64_t a = TruncToInt64(x);
    const int64_t b = TruncToInt64(y);
    if (b == 0)
      RaiseFault(Fault::IntegerDivide);
    // The hardware division traps on INT64_MIN % -1; the remainder by -1 is always 0.
    return b == -1 ? 0.0 : static_cast<double>(a % b);
  }
};

struct IntegerDivisionOp {
  static double Apply(const Operation&, double x, double y) {
    const int64_t a = TruncToInt64(x);
    const int64_t b = TruncToInt64(y);
    if (b == 0)
      RaiseFault(Fault::IntegerDivide);
    // INT64_MIN DIV -1 does not fit a 64-bit integer but does fit the double result.
    return b == -1 ? -static_cast<double>(a) : static_cast<double>(a / b);
  }
};

struct IntegerPowerOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation& op, double a, double) {
    return IntegerPower(a, op.exponent);
  }
};
struct PowerOp {
  static double Apply(const Operation&, double a, double b) { return GeneralPower(a, b); }
};
struct SquareOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation&, double a, double) { return Checked(a * a); }
};
struct CubeOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation&, double a, double) { return Checked(a * a * a); }
};
struct FourthOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation&, double a, double) {
    const double square = a * a;
    return Checked(square * square);
  }
};

// The standard functions.

constexpr double kPi = std::numbers::pi;

double Tan(double x) {
  return Checked(std::tan(x));
}
double Sin(double x) {
  return Checked(std::sin(x));
}
double Cos(double x) {
  return Checked(std::cos(x));
}
double Sinh(double x) {
  return Checked((std::exp(x) - std::exp(-x)) * 0.5);
}
double Cosh(double x) {
  return Checked((std::exp(x) + std::exp(-x)) * 0.5);
}
double ArcTan(double x) {
  return Checked(std::atan(x));
}
double CoTan(double x) {
  return Divide(1.0, Tan(x));
}
double Exp(double x) {
  return Checked(std::exp(x));
}
double Log10(double x) {
  CheckLogArgument(x);
  return Checked(std::log10(x));
}

double Log2(double x) {
  CheckLogArgument(x);
  return Checked(std::log2(x));
}
double Sqr(double x) {
  return Checked(x * x);
}

double Sqrt(double x) {
  if (x < 0)
    RaiseFault(Fault::InvalidOperation);
  return Checked(std::sqrt(x));
}

double Abs(double x) {
  return Checked(std::fabs(x));
}
double Trunc(double x) {
  return Checked(std::trunc(x));
}
// Integral part toward zero, plus 1 for a positive fraction: the ceiling.
double Ceil(double x) {
  return Checked(std::ceil(x));
}
// Integral part toward zero, minus 1 for a negative fraction: the floor.
double Floor(double x) {
  return Checked(std::floor(x));
}
double Heav(double x) {
  return x >= 0 ? 1.0 : 0.0;
}
double Sign(double x) {
  return x < 0 ? -1.0 : (x > 0 ? 1.0 : 0.0);
}
double Zero(double x) {
  return x == 0 ? 0.0 : 1.0;
}

double Ph(double x) {
  const double u = x / 0.63661977236758134;
  return Checked((u - RoundHalfEven(u)) * (2 * kPi));
}

double Arg(double x, double y) {
  if (x < 0)
    return Checked(std::atan(y / x) + kPi);
  if (x > 0)
    return Checked(std::atan(y / x));
  return y > 0 ? kPi / 2 : -kPi / 2;
}

double Max(double x, double y) {
  return x >= y ? x : y;
}
double Min(double x, double y) {
  return x >= y ? y : x;
}

double IntPower(double x, double y) {
  const double n = std::trunc(y);
  if (!(n >= -2147483648.0 && n <= 2147483647.0))
    RaiseFault(Fault::InvalidOperation);
  return IntegerPower(x, static_cast<int32_t>(n));
}

double LogN(double x, double y) {
  return Divide(Ln(y), Ln(x));
}

template <double (*F)(double)> struct OneArgOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation&, double a, double) { return F(a); }
};
template <double (*F)(double, double)> struct TwoArgOp {
  static double Apply(const Operation&, double a, double b) { return F(a, b); }
};
struct RndOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation& op, double a, double) {
    return Checked(std::trunc(a) * UniformDraw(*op.random));
  }
};
struct RandomOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation& op, double, double) { return UniformDraw(*op.random); }
};
struct CallerOneArgOp {
  static constexpr bool kUnary = true;
  static double Apply(const Operation& op, double a, double) { return Checked(op.one(a)); }
};
struct CallerTwoArgOp {
  static double Apply(const Operation& op, double a, double b) { return Checked(op.two(a, b)); }
};

// Whether a computation reads one operand only.
template <class Op> constexpr bool Unary = requires {
  requires Op::kUnary;
};

// One record: fetch the operands, compute, keep the result where a later record needs it,
// and hand the result on to the next record. The hand-over is a tail call, so the chain runs
// as a sequence of jumps from record to record with the value in a register; the last record
// returns the value.
template <class Op, bool FirstIsPrevious, bool SecondIsPrevious, bool Store, bool Chained = true>
double Run(const Operation& op, double previous) {
  const double a = FirstIsPrevious ? previous : *op.arg1;
  double b = 0;
  if constexpr (SecondIsPrevious)
    b = previous;
  else if constexpr (!Unary<Op>)
    b = *op.arg2;
  const double result = Op::Apply(op, a, b);
  if constexpr (Store)
    *op.result = result;
  if constexpr (Chained) {
    const Operation& next = (&op)[1];
    return next.routine(next, result);
  } else {
    return result;
  }
}

template <class Op> constexpr RoutineSet MakeRoutines() {
  return {{{{&Run<Op, false, false, false>, &Run<Op, false, false, true>},
            {&Run<Op, false, true, false>, &Run<Op, false, true, true>}},
           {{&Run<Op, true, false, false>, &Run<Op, true, false, true>},
            {&Run<Op, true, true, false>, &Run<Op, true, true, true>}}},
          {{&Run<Op, false, false, false, false>, &Run<Op, false, true, false, false>},
           {&Run<Op, true, false, false, false>, &Run<Op, true, true, false, false>}},
          &Run<Op, false, false, true, false>};
}

template <class Op> constexpr RoutineSet kRoutines = MakeRoutines<Op>();

template <double (*F)(double)> constexpr NamedFunction One(const char* name) {
  return {name, FunctionEntry{&kRoutines<OneArgOp<F>>, F, nullptr, false, true}};
}

template <double (*F)(double, double)> constexpr NamedFunction Two(const char* name) {
  return {name, FunctionEntry{&kRoutines<TwoArgOp<F>>, nullptr, F, false, true}};
}

const NamedFunction kOneArgFunctions[] = {
    One<Tan>("TAN"),
    One<Sin>("SIN"),
    One<Cos>("COS"),
    One<Sinh>("SINH"),
    One<Cosh>("COSH"),
    One<ArcTan>("ARCTAN"),
    One<CoTan>("COTAN"),
    One<Exp>("EXP"),
    One<Ln>("LN"),
    One<Log10>("LOG10"),
    One<Log2>("LOG2"),
    One<Sqr>("SQR"),
    One<Sqrt>("SQRT"),
    One<Abs>("ABS"),
    One<Trunc>("TRUNC"),
    One<Trunc>("INT"),
    One<Ceil>("CEIL"),
    One<Floor>("FLOOR"),
    One<Heav>("HEAV"),
    One<Sign>("SIGN"),
    One<Zero>("ZERO"),
    One<Ph>("PH"),
    {"RND", FunctionEntry{&kRoutines<RndOp>, nullptr, nullptr, true, false}},
    {"RANDOM", FunctionEntry{&kRoutines<RandomOp>, nullptr, nullptr, true, false}},
};

const NamedFunction kTwoArgFunctions[] = {
    Two<Arg>("ARG"),           Two<Max>("MAX"),   Two<Min>("MIN"), Two<GeneralPower>("POWER"),
    Two<IntPower>("INTPOWER"), Two<LogN>("LOGN"),
};

} // namespace

double GeneralPower(double x, double y) {
  if (y == 0)
    return 1.0;
  if (x == 0 && y > 0)
    return 0.0;
  if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0)
    return IntegerPower(x, static_cast<int32_t>(y));
  // e^(y ln x), with the faults of ln x; the library's pow computes it without the rounding
  // error that the product y ln x carries into the exponential.
  CheckLogArgument(x);
  return Checked(std::pow(x, y));
}

double UniformDraw(RandomGenerator& generator) {
  return static_cast<double>(generator() >> 11) * 0x1p-53;
}

double ReadResult(const Operation& op, double) {
  return *op.arg1;
}

const RoutineSet* KindRoutines(OperationKind kind) {
  switch (kind) {
  case OperationKind::Negation:
    return &kRoutines<NegateOp>;
  case OperationKind::Sum:
    return &kRoutines<SumOp>;
  case OperationKind::Difference:
    return &kRoutines<DifferenceOp>;
  case OperationKind::Product:
    return &kRoutines<ProductOp>;
  case OperationKind::Quotient:
    return &kRoutines<QuotientOp>;
  case OperationKind::Modulo:
    return &kRoutines<ModuloOp>;
  case OperationKind::IntegerDivision:
    return &kRoutines<IntegerDivisionOp>;
  case OperationKind::IntegerPower:
    return &kRoutines<IntegerPowerOp>;
  case OperationKind::Power:
    return &kRoutines<PowerOp>;
  case OperationKind::Square:
    return &kRoutines<SquareOp>;
  case OperationKind::Cube:
    return &kRoutines<CubeOp>;
  case OperationKind::Fourth:
    return &kRoutines<FourthOp>;
  default:
    return nullptr;
  }
}

std::span<const NamedFunction> StandardOneArgFunctions() {
  return kOneArgFunctions;
}
std::span<const NamedFunction> StandardTwoArgFunctions() {
  return kTwoArgFunctions;
}

FunctionEntry CallerFunction(OneArgFunction function) {
  return FunctionEntry{&kRoutines<CallerOneArgOp>, function, nullptr, false, false};
}

FunctionEntry CallerFunction(TwoArgFunction function) {
  return FunctionEntry{&kRoutines<CallerTwoArgOp>, nullptr, function, false, false};
}

} // namespace qvt::parser
