// SPDX-License-Identifier: GPL-3.0-or-later
// The exceptions of the expression evaluator: the compilation failures (the EMathParserError
// family, with their fixed English messages) and the one type of evaluation fault.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qvt {

// Base of every failure to compile a formula.
class EMathParserError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A blank remains between the first and the last symbol: "Expression has blanks".
class EExpressionHasBlanks : public EMathParserError {
public:
  EExpressionHasBlanks();
};

// More "(" than ")" or the reverse: "Missing brackets in expression (\")\")" names the
// missing bracket.
class EMissMatchingBracket : public EMathParserError {
public:
  explicit EMissMatchingBracket(char missing);
};

// No form of the grammar applies: "Error parsing expression:\r<term>" when no split of the
// term was tried, otherwise "Error parsing expression:\r<left>\r<right>" with the two sides of
// the last split tried.
class ESyntaxError : public EMathParserError {
public:
  explicit ESyntaxError(std::string_view term);
  ESyntaxError(std::string_view left, std::string_view right);
};

// Operations would lie 21 levels deep or more: "Expression contains too many nestings".
class ETooManyNestings : public EMathParserError {
public:
  ETooManyNestings();
};

// More than 50 operations at one depth: "Expression is too complex".
class EExpressionTooComplex : public EMathParserError {
public:
  EExpressionTooComplex();
};

// A term of unknown kind during compilation: "TParser internal error".
class EParserInternalError : public EMathParserError {
public:
  EParserInternalError();
};

// A fault while evaluating a compiled formula: the only exception Value() raises.
class EEvaluationError : public std::runtime_error {
public:
  enum class Fault {
    ZeroDivide,       // "Floating point division by zero": x / 0, LN(0), COTAN(0), 0^-n
    InvalidOperation, // "Invalid floating point operation": 0 / 0, SQRT(-1), LN(-1), (-8)^(1/3)
    Overflow,         // "Floating point overflow": a result beyond the range of a double
    IntegerDivide,    // "Division by zero": DIV or MOD by a divisor that truncates to 0
  };
  explicit EEvaluationError(Fault fault);
  Fault fault() const { return fault_; }

private:
  Fault fault_;
};

} // namespace qvt
