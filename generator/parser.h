// SPDX-License-Identifier: GPL-3.0-or-later
// The expression evaluator of the arbitrary wave. A formula of variables, numbers, operators
// and functions, such as 5*SIN(2*PI*t), is compiled once when it is assigned and then
// evaluated again and again while the caller changes the variables between evaluations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parser_errors.h"
#include "parser_operation.h"

namespace qvt {

// Orders names without regard to the case of ASCII letters; accepts string views for lookups.
struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// Variable names with the cell that holds each value.
using VariableList = std::map<std::string, double*, CaseInsensitiveLess>;
// Function names with what a call computes.
using FunctionList = std::map<std::string, FunctionEntry, CaseInsensitiveLess>;

// An evaluator with no variables and no functions of its own; TParser is the one the program
// uses. Single-threaded: one thread uses an instance. Not copyable, since the compiled chain
// holds the addresses of the variables.
class TCustomParser {
public:
  // Called with the parser and the exception when a compilation fails; the assignment of the
  // expression then returns normally instead of raising.
  using ParserExceptionEvent =
      std::function<void(TCustomParser& sender, const EMathParserError& error)>;

  TCustomParser();
  virtual ~TCustomParser();
  TCustomParser(const TCustomParser&) = delete;
  TCustomParser& operator=(const TCustomParser&) = delete;

  // The text last assigned, as it was given.
  const std::string& Expression() const { return expression_; }
  // Discards the compiled formula, stores `text` and, unless it is empty, compiles it. Letters
  // may be in either case; blanks are allowed only at both ends. On failure ParseError() is
  // true, nothing stays compiled, and the EMathParserError is raised, or handed to
  // OnParserError when one is set. Exceptions of other classes pass unchanged.
  void SetExpression(std::string_view text);
  // The formula computed with the variables' current values; 0 when nothing is compiled.
  // Allocates nothing and looks nothing up. Raises EEvaluationError on a fault (division by 0,
  // DIV or MOD by 0, logarithm or square root of a negative number, a negative number to a
  // non-integral power, a result beyond the range of a double); no result is then returned.
  double Value() {
    const Operation& first = operations_.front();
    return first.routine(first, 0.0);
  }

  // true (the default): numbers are read with "." as decimal separator; false: with the
  // separator of the C library's current locale. Takes effect at the next SetExpression.
  bool DotNumberFormat() const { return dotNumberFormat_; }
  void SetDotNumberFormat(bool dot) { dotNumberFormat_ = dot; }
  // Whether the last compilation failed.
  bool ParseError() const { return parseError_; }

  ParserExceptionEvent OnParserError;

  // Registers a variable whose storage the caller owns and keeps alive as long as the parser;
  // a name already known is ignored. Lookups ignore the case of letters.
  void AddVariable(std::string_view name, double& cell);
  // Registers a variable stored by the parser (0 at first) and returns its cell; for a name
  // already known, returns the cell it has.
  double& DefineVariable(std::string_view name);
  // Registers a function of one or two arguments; std::invalid_argument for a name already
  // in that list. A formula compiled earlier does not see it.
  void AddFunction(std::string_view name, OneArgFunction function);
  void AddFunction(std::string_view name, TwoArgFunction function);
  // Restarts the generator of RND and RANDOM; the same seed gives the same draws.
  void SetRandomSeed(uint64_t seed) { random_.seed(seed); }

  const VariableList& Variables() const { return variables_; }
  const FunctionList& OneArgFunctions() const { return oneArgFunctions_; }
  const FunctionList& TwoArgFunctions() const { return twoArgFunctions_; }
  // The number of records Value() runs; parts of the formula made of constants alone are
  // computed once at compilation and take none.
  size_t OperationCount() const;

protected:
  void AddOneArgFunction(std::string_view name, const FunctionEntry& entry);
  void AddTwoArgFunction(std::string_view name, const FunctionEntry& entry);

private:
  void Clear();
  void Compile();

  std::string expression_;
  bool dotNumberFormat_ = true;
  bool parseError_ = false;
  VariableList variables_;
  std::vector<std::unique_ptr<double>> ownedVariables_;
  FunctionList oneArgFunctions_;
  FunctionList twoArgFunctions_;
  RandomGenerator random_;

  // The compiled chain: records in evaluation order, the last one computing the formula, and
  // the constant and result cells they read and write. `cells_` is sized once per
  // compilation, so the addresses stay put. With no records, `result_` is the formula's value.
  std::vector<Operation> operations_;
  std::vector<double> cells_;
  const double* result_;
};

// The program's evaluator: the standard functions and ten variables, registered as "A", "B",
// "C", "D", "E", "i", "x", "y", "t" and "V" (so "t" and "T" in a formula are the same).
class TParser : public TCustomParser {
public:
  TParser();

  double A = 0;
  double B = 0;
  double C = 0;
  double D = 0;
  double E = 0;
  double I = 0;
  double X = 0;
  double Y = 0;
  double T = 0;
  double V = 0;
};

} // namespace qvt
