// SPDX-License-Identifier: GPL-3.0-or-later
// Messages of the evaluator's exceptions. The compilation messages are fixed texts that users
// of earlier versions know; "\r" separates the lines of a message box.
#include "parser_errors.h"

namespace qvt {

namespace {

std::string ParsingMessage(std::string_view first, std::string_view second = {}, bool two = false) {
  std::string text = "Error parsing expression:\r";
  text += first;
  if (two) {
    text += '\r';
    text += second;
  }
  return text;
}

const char* FaultMessage(EEvaluationError::Fault fault) {
  switch (fault) {
  case EEvaluationError::Fault::ZeroDivide:
    return "Floating point division by zero";
  case EEvaluationError::Fault::InvalidOperation:
    return "Invalid floating point operation";
  case EEvaluationError::Fault::Overflow:
    return "Floating point overflow";
  case EEvaluationError::Fault::IntegerDivide:
    return "Division by zero";
  }
  return "Invalid floating point operation";
}

} // namespace

EExpressionHasBlanks::EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}

EMissMatchingBracket::EMissMatchingBracket(char missing)
    : EMathParserError(std::string("Missing brackets in expression (\"") + missing + "\")") {}

ESyntaxError::ESyntaxError(std::string_view term) : EMathParserError(ParsingMessage(term)) {}

ESyntaxError::ESyntaxError(std::string_view left, std::string_view right)
    : EMathParserError(ParsingMessage(left, right, true)) {}

ETooManyNestings::ETooManyNestings() : EMathParserError("Expression contains too many nestings") {}

EExpressionTooComplex::EExpressionTooComplex() : EMathParserError("Expression is too complex") {}

EParserInternalError::EParserInternalError() : EMathParserError("TParser internal error") {}

EEvaluationError::EEvaluationError(Fault fault)
    : std::runtime_error(FaultMessage(fault)), fault_(fault) {}

} // namespace qvt
