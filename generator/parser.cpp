// SPDX-License-Identifier: GPL-3.0-or-later
// TCustomParser's lists and the assignment of a formula, with its error handling; TParser's
// standard functions and variables.
#include "parser.h"

#include <algorithm>
#include <stdexcept>

#include "parser_functions.h"

namespace qvt {

namespace {

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// What Value() returns while nothing is compiled.
constexpr double kNothingCompiled = 0.0;

} // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

TCustomParser::TCustomParser() : result_(&kNothingCompiled) {
  Clear();
}

TCustomParser::~TCustomParser() = default;

void TCustomParser::Clear() {
  operations_.clear();
  cells_.clear();
  result_ = &kNothingCompiled;
  Operation only;
  only.routine = &parser::ReadResult;
  only.arg1 = result_;
  operations_.push_back(only);
}

void TCustomParser::SetExpression(std::string_view text) {
  Clear();
  expression_ = text;
  parseError_ = false;
  if (expression_.empty())
    return;
  try {
    Compile();
  } catch (const EMathParserError& error) {
    Clear();
    parseError_ = true;
    if (!OnParserError)
      throw;
    OnParserError(*this, error);
  }
}

size_t TCustomParser::OperationCount() const {
  // A chain without operations is the one record that reads the value.
  return operations_.size() == 1 && operations_[0].routine == &parser::ReadResult
             ? 0
             : operations_.size();
}

void TCustomParser::AddVariable(std::string_view name, double& cell) {
  variables_.try_emplace(std::string(name), &cell);
}

double& TCustomParser::DefineVariable(std::string_view name) {
  if (auto found = variables_.find(name); found != variables_.end())
    return *found->second;
  double* cell = ownedVariables_.emplace_back(std::make_unique<double>(0.0)).get();
  variables_.emplace(std::string(name), cell);
  return *cell;
}

void TCustomParser::AddOneArgFunction(std::string_view name, const FunctionEntry& entry) {
  if (!oneArgFunctions_.try_emplace(std::string(name), entry).second)
    throw std::invalid_argument("Duplicate function name " + std::string(name));
}

void TCustomParser::AddTwoArgFunction(std::string_view name, const FunctionEntry& entry) {
  if (!twoArgFunctions_.try_emplace(std::string(name), entry).second)
    throw std::invalid_argument("Duplicate function name " + std::string(name));
}

void TCustomParser::AddFunction(std::string_view name, OneArgFunction function) {
  AddOneArgFunction(name, parser::CallerFunction(function));
}

void TCustomParser::AddFunction(std::string_view name, TwoArgFunction function) {
  AddTwoArgFunction(name, parser::CallerFunction(function));
}

TParser::TParser() {
  for (const parser::NamedFunction& function : parser::StandardOneArgFunctions())
    AddOneArgFunction(function.name, function.entry);
  for (const parser::NamedFunction& function : parser::StandardTwoArgFunctions())
    AddTwoArgFunction(function.name, function.entry);
  AddVariable("A", A);
  AddVariable("B", B);
  AddVariable("C", C);
  AddVariable("D", D);
  AddVariable("E", E);
  AddVariable("i", I);
  AddVariable("x", X);
  AddVariable("y", Y);
  AddVariable("t", T);
  AddVariable("V", V);
}

} // namespace qvt
