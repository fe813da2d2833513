// SPDX-License-Identifier: GPL-3.0-or-later
// The text analysis of the evaluator: classifies a formula by the forms of its grammar and
// plans the chain of operations that computes it. Internal to qvt_generator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parser.h"
#include "parser_operation.h"

namespace qvt::parser {

// Where an operand comes from.
struct OperandRef {
  enum class Source : uint8_t { Constant, Variable, Result };
  Source source = Source::Constant;
  double value = 0;       // Constant
  double* cell = nullptr; // Variable
  uint32_t operation = 0; // Result: index in Plan::operations
};

struct PlannedOperation {
  OperationKind kind = OperationKind::Constant;
  OperandRef arg1;
  OperandRef arg2; // unused by Negation, Square, Cube, Fourth and OneArgCall
  const FunctionEntry* function = nullptr; // OneArgCall, TwoArgCall
  int32_t exponent = 0;                    // IntegerPower
};

// The operations in evaluation order (the deepest first); each Result operand refers to an
// earlier operation. `result` is the value of the formula: the last operation, or the constant
// or variable that the whole formula is.
struct Plan {
  std::vector<PlannedOperation> operations;
  OperandRef result;
};

struct Grammar {
  const VariableList& variables;
  const FunctionList& oneArgFunctions;
  const FunctionList& twoArgFunctions;
  bool dotNumberFormat = true;
  char decimalSeparator = '.'; // used when dotNumberFormat is false
};

// Compiles a non-empty text. Raises the EMathParserError family; the function entries and
// variable cells of the plan point into the grammar's lists.
Plan Compile(std::string_view text, const Grammar& grammar);

} // namespace qvt::parser
