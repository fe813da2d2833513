// SPDX-License-Identifier: GPL-3.0-or-later
// Failures of the expression evaluator: the formulas it rejects with their exception classes
// and messages, the depth and width limits, the error handler, and the faults of evaluation.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

#include "parser.h"

namespace qvt {
namespace {

// The exception SetExpression raises for `formula`, as its dynamic type name and message.
struct Failure {
  std::string type;
  std::string message;
};

Failure CompileFailure(const std::string& formula) {
  TParser parser;
  try {
    parser.SetExpression(formula);
  } catch (const EMathParserError& error) {
    EXPECT_TRUE(parser.ParseError()) << formula;
    EXPECT_EQ(parser.Value(), 0) << formula;
    return {typeid(error).name(), error.what()};
  }
  ADD_FAILURE() << formula << " compiled";
  return {};
}

template <class Error> std::string TypeName() {
  return typeid(Error).name();
}

TEST(ParserRejects, FormsOutsideTheGrammar) {
  const std::string syntax = TypeName<ESyntaxError>();
  struct {
    const char* formula;
    std::string type;
    const char* message;
  } cases[] = {
      {"t *2", TypeName<EExpressionHasBlanks>(), "Expression has blanks"},
      {"SIN(t", TypeName<EMissMatchingBracket>(), "Missing brackets in expression (\")\")"},
      {"t)", TypeName<EMissMatchingBracket>(), "Missing brackets in expression (\"(\")"},
      {"x^2^3", syntax, "Error parsing expression:\rX^2\r3"},
      {"x*-y", syntax, "Error parsing expression:\rX\r-Y"},
      {"x+-y", syntax, "Error parsing expression:\rX+\rY"},
      {"+x", syntax, "Error parsing expression:\r+X"},
      {"--x", syntax, "Error parsing expression:\r-\rX"},
      {"foo(t)", syntax, "Error parsing expression:\rFOO(T)"},
      {"MAX(t)", syntax, "Error parsing expression:\rMAX(T)"},
      {"SIN(1,2)", syntax, "Error parsing expression:\rSIN(1,2)"},
      {")t(", syntax, "Error parsing expression:\r)T("},
      {"()", syntax, "Error parsing expression:\r()"},
      {"   ", syntax, "Error parsing expression:\r"},
      {"t*", syntax, "Error parsing expression:\rT*"},
      {"2^-t", syntax, "Error parsing expression:\r2\r-T"},
      {"1E400", syntax, "Error parsing expression:\r1E400"},
      {".5", syntax, "Error parsing expression:\r.5"},
      {"5.", syntax, "Error parsing expression:\r5."},
      {"7 DIV 2", TypeName<EExpressionHasBlanks>(), "Expression has blanks"},
  };
  for (const auto& c : cases) {
    const Failure failure = CompileFailure(c.formula);
    EXPECT_EQ(failure.type, c.type) << c.formula;
    EXPECT_EQ(failure.message, c.message) << c.formula;
  }
}

std::string Nested(int calls) {
  std::string formula = "t";
  for (int i = 0; i < calls; ++i)
    formula = "SIN(" + formula + ")";
  return formula;
}

// A full tree of products six levels deep has 64 leaf terms at depth 6; each leaf that is a
// call puts one operation at depth 7.
std::string Wide(int calls) {
  std::function<std::string(int, int&)> tree = [&](int levels, int& left) -> std::string {
    if (levels == 0)
      return left-- > 0 ? "SIN(t)" : "t";
    const std::string a = tree(levels - 1, left);
    return "(" + a + ")*(" + tree(levels - 1, left) + ")";
  };
  return tree(6, calls);
}

TEST(ParserRejects, DepthAndWidthLimits) {
  TParser parser;
  parser.T = 0.5;
  EXPECT_NO_THROW(parser.SetExpression(Nested(20)));
  EXPECT_EQ(parser.OperationCount(), 20u);
  EXPECT_THROW(parser.SetExpression(Nested(21)), ETooManyNestings);
  EXPECT_NO_THROW(
      parser.SetExpression("((((((((((((((((((((((((((((((t))))))))))))))))))))))))))))))"));

  EXPECT_NO_THROW(parser.SetExpression(Wide(50)));
  EXPECT_DOUBLE_EQ(parser.Value(), std::pow(std::sin(0.5), 50) * std::pow(0.5, 14));
  EXPECT_THROW(parser.SetExpression(Wide(51)), EExpressionTooComplex);
  EXPECT_EQ(parser.Value(), 0);

  // a-b-c groups as (a-b)-c, one level deeper per operator.
  auto differences = [](int operators) {
    std::string formula = "t";
    for (int i = 0; i < operators; ++i)
      formula += "-t";
    return formula;
  };
  EXPECT_NO_THROW(parser.SetExpression(differences(20)));
  EXPECT_DOUBLE_EQ(parser.Value(), -9.5);
  EXPECT_THROW(parser.SetExpression(differences(21)), ETooManyNestings);
  // Far too many operators for any reading to fit: refused after a bounded analysis, before
  // the time or the stack runs out.
  EXPECT_THROW(parser.SetExpression(differences(2000)), EExpressionTooComplex);
  std::string chain;
  for (int i = 0; i < 20000; ++i)
    chain += "SIN(";
  chain += "t" + std::string(20000, ')');
  EXPECT_THROW(parser.SetExpression(chain), EExpressionTooComplex);
}

TEST(ParserErrorHandler, SwallowsCompilationFailures) {
  TParser parser;
  parser.T = 1;
  parser.SetExpression("t+1");
  int calls = 0;
  std::string message;
  parser.OnParserError = [&](TCustomParser& sender, const EMathParserError& error) {
    ++calls;
    EXPECT_EQ(&sender, &parser);
    message = error.what();
  };
  EXPECT_NO_THROW(parser.SetExpression("t +1"));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(message, "Expression has blanks");
  EXPECT_TRUE(parser.ParseError());
  EXPECT_EQ(parser.Expression(), "t +1");
  EXPECT_EQ(parser.Value(), 0);

  parser.SetExpression("t+2");
  EXPECT_FALSE(parser.ParseError());
  EXPECT_EQ(parser.Value(), 3);
  EXPECT_EQ(calls, 1);

  // Exceptions of other classes pass through the handler's assignment unchanged.
  parser.OnParserError = [](TCustomParser&, const EMathParserError&) {
    throw std::logic_error("x");
  };
  EXPECT_THROW(parser.SetExpression("t*"), std::logic_error);
  EXPECT_TRUE(parser.ParseError());
}

using Fault = EEvaluationError::Fault;

TEST(ParserFaults, EvaluationFaultsRaiseOneType) {
  struct {
    const char* formula;
    double t;
    Fault fault;
  } cases[] = {
      {"1/t", 0, Fault::ZeroDivide},
      {"t/t", 0, Fault::InvalidOperation},
      {"1/0", 0, Fault::ZeroDivide},
      {"7DIVt", 0.5, Fault::IntegerDivide},
      {"7MODt", 0, Fault::IntegerDivide},
      {"1E19DIV2", 0, Fault::InvalidOperation},
      {"SQRT(t-1)", 0, Fault::InvalidOperation},
      {"LN(t-1)", 0, Fault::InvalidOperation},
      {"LN(t)", 0, Fault::ZeroDivide},
      {"LOG10(t)", 0, Fault::ZeroDivide},
      {"LOG2(-t)", 1, Fault::InvalidOperation},
      {"LOGN(t,8)", 1, Fault::ZeroDivide},
      {"COTAN(t)", 0, Fault::ZeroDivide},
      {"POWER(t-2,0.5)", 0, Fault::InvalidOperation},
      {"(t-9)^(1/3)", 1, Fault::InvalidOperation},
      {"POWER(t,-1)", 0, Fault::ZeroDivide},
      {"t^-2", 0, Fault::ZeroDivide},
      {"INTPOWER(2,1E10*t)", 1, Fault::InvalidOperation},
      {"EXP(1000*t)", 1, Fault::Overflow},
      {"SINH(1000*t)", 1, Fault::Overflow},
      {"1E300*1E300*t", 1, Fault::Overflow},
      {"(1E300*t)^2", 1, Fault::Overflow},
      // A fault inside a function that would hide it is not swallowed.
      {"MAX(SQRT(t-1),3)", 0, Fault::InvalidOperation},
      {"HEAV(1/t)", 0, Fault::ZeroDivide},
  };
  for (const auto& c : cases) {
    TParser parser;
    parser.SetExpression(c.formula);
    parser.T = c.t;
    try {
      parser.Value();
      ADD_FAILURE() << c.formula << " evaluated";
    } catch (const EEvaluationError& error) {
      EXPECT_EQ(error.fault(), c.fault) << c.formula << ": " << error.what();
    }
  }
}

// Integer division at the ends of the 64-bit range, where the hardware instruction traps.
TEST(ParserFaults, IntegerDivisionAtTheLimits) {
  TParser parser;
  parser.X = -9223372036854775808.0;
  parser.SetExpression("xDIV(0-1)");
  EXPECT_EQ(parser.Value(), 9223372036854775808.0);
  parser.SetExpression("xMOD(0-1)");
  EXPECT_EQ(parser.Value(), 0);
  parser.SetExpression("xMOD3");
  EXPECT_EQ(parser.Value(), -2);
  parser.SetExpression("INTPOWER(2,x)");
  EXPECT_THROW(parser.Value(), EEvaluationError);
  parser.SetExpression("2^-2147483648");
  EXPECT_EQ(parser.Value(), 0); // underflows, no fault
}

} // namespace
} // namespace qvt
