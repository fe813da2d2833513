// SPDX-License-Identifier: GPL-3.0-or-later
// Values of the expression evaluator: how formulas group, the standard functions, variables,
// constants computed ahead, the random generator and the decimal separator.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <numbers>
#include <string>

#include "parser.h"

namespace qvt {
namespace {

constexpr double kPi = std::numbers::pi;

struct ValueCase {
  const char* formula;
  double expected;
};

// Evaluates with t = 0.5, x = 3, y = 4.
double Evaluate(const char* formula) {
  TParser parser;
  parser.T = 0.5;
  parser.X = 3;
  parser.Y = 4;
  parser.SetExpression(formula);
  return parser.Value();
}

void ExpectValues(std::initializer_list<ValueCase> cases) {
  for (const ValueCase& c : cases) {
    double value = std::nan("");
    EXPECT_NO_THROW(value = Evaluate(c.formula)) << c.formula;
    EXPECT_DOUBLE_EQ(value, c.expected) << c.formula;
  }
}

TEST(ParserGrouping, OperatorsGroupAsTheFormsSay) {
  ExpectValues({
      {"t*5", 2.5},       {"T*5", 2.5},        {"10-4-3", 3},  {"8/4/2", 1},
      {"2*3+4*5", 26},    {"x-y+1", 0},        {"x-2*y", -5},  {"12/x*y", 16},
      {"-x^2", -9},       {"(-x)^2", 9},       {"-x*y", -12},  {"-x-y", -7},
      {"x*-2", -6},       {"x*(-y)", -12},     {"x--2", 5},    {"+5", 5},
      {"7DIV2", 3},       {"-7MOD2", -1},      {"7.9DIV2", 3}, {"7modx+1", 2},
      {"2DIV3*4", 0},     {"PI", kPi},         {"-PI", -kPi},  {"2*PI", 2 * kPi},
      {"((((t))))", 0.5}, {"(x+y)*(x-y)", -7}, {"  t*2  ", 1}, {"1.5E2+2E-1", 150.2},
      {"1E-400", 0},
  });
}

// Sums and products split at their first operator, so a+b+c is a+(b+c): rounding and
// overflow tell the two groupings apart.
TEST(ParserGrouping, SumsAndProductsGroupFromTheRight) {
  EXPECT_EQ(Evaluate("1E16+1+1"), 1e16 + 2);        // (1E16+1)+1 rounds to 1E16
  EXPECT_EQ(Evaluate("1E200*1E200*1E-200"), 1e200); // (1E200*1E200) overflows
}

TEST(ParserFunctions, StandardFunctions) {
  const double u = 1 / 0.63661977236758134;
  ExpectValues({
      {"SIN(PI/2)", 1},
      {"sin(t)", std::sin(0.5)},
      {"COS(0)", 1},
      {"TAN(t)", std::tan(0.5)},
      {"COTAN(t)", 1 / std::tan(0.5)},
      {"ARCTAN(1)", kPi / 4},
      {"SINH(1)", (std::exp(1) - std::exp(-1)) * 0.5},
      {"COSH(1)", (std::exp(1) + std::exp(-1)) * 0.5},
      {"EXP(1)", std::exp(1)},
      {"LN(EXP(2))", 2},
      {"LOG10(1000)", 3},
      {"LOG2(8)", 3},
      {"SQR(-3)", 9},
      {"SQRT(16)", 4},
      {"ABS(-2.5)", 2.5},
      {"TRUNC(-2.7)", -2},
      {"INT(2.7)", 2},
      {"CEIL(-1.5)", -1},
      {"CEIL(1.2)", 2},
      {"FLOOR(-1.5)", -2},
      {"FLOOR(1.7)", 1},
      {"HEAV(0)", 1},
      {"HEAV(-0.1)", 0},
      {"SIGN(0)", 0},
      {"SIGN(-3)", -1},
      {"SIGN(2)", 1},
      {"ZERO(0.5)", 1},
      {"ZERO(0)", 0},
      {"PH(1)", (u - 2) * 2 * kPi},
      {"PH(0)", 0},
      {"MAX(1,MIN(5,3))", 3},
      {"MIN(x,y)", 3},
      {"LOGN(2,8)", 3},
      {"ARG(0,-1)", -kPi / 2},
      {"ARG(0,1)", kPi / 2},
      {"ARG(-1,1)", 3 * kPi / 4},
      {"ARG(1,1)", kPi / 4},
      {"MAX(SIN(0),COS(0))", 1},
  });
}

TEST(ParserFunctions, Powers) {
  ExpectValues({
      {"x^2", 9},
      {"x^3", 27},
      {"x^4", 81},
      {"x^5", 243},
      {"x^0", 1},
      {"y^-1", 0.25},
      {"y^0.5", 2},
      {"y^(2)", 16},
      {"(0-2)^3", -8},
      {"2^31", 2147483648.0},
      {"x^t", std::sqrt(3)},
      {"POWER(0,0)", 1},
      {"POWER(0,2)", 0},
      {"POWER(-2,3)", -8},
      {"POWER(2,-1)", 0.5},
      {"POWER(4,0.5)", 2},
      {"INTPOWER(2,3.9)", 8},
      {"INTPOWER(2,-2)", 0.25},
      {"INTPOWER(-2,3)", -8},
  });
}

TEST(ParserVariables, NamesIgnoreCaseAndFollowTheCaller) {
  TParser parser;
  parser.SetExpression("a+b*c-d/e+i*x-y*t+v");
  parser.A = 1;
  parser.B = 2;
  parser.C = 3;
  parser.D = 8;
  parser.E = 4;
  parser.I = 5;
  parser.X = 6;
  parser.Y = 7;
  parser.T = 2;
  parser.V = 10;
  EXPECT_DOUBLE_EQ(parser.Value(), 1 + 6 - 2 + 30 - 14 + 10);
  parser.T = 0;
  EXPECT_DOUBLE_EQ(parser.Value(), 1 + 6 - 2 + 30 + 10);
}

double Twice(double x) {
  return 2 * x;
}
double Hypot(double x, double y) {
  return std::hypot(x, y);
}

TEST(ParserVariables, CallerVariablesAndFunctions) {
  TParser parser;
  double& gain = parser.DefineVariable("Gain");
  EXPECT_EQ(&parser.DefineVariable("GAIN"), &gain);
  double outside = 3;
  parser.AddVariable("t", outside); // a known name: ignored
  parser.AddVariable("Level", outside);
  parser.AddFunction("TWICE", &Twice);
  parser.AddFunction("HYPOT", &Hypot);
  EXPECT_THROW(parser.AddFunction("sin", &Twice), std::invalid_argument);
  EXPECT_THROW(parser.AddFunction("Hypot", &Hypot), std::invalid_argument);

  parser.SetExpression("twice(gain)+HYPOT(level,4)+t");
  gain = 5;
  parser.T = 1;
  EXPECT_DOUBLE_EQ(parser.Value(), 10 + 5 + 1);
  outside = 0;
  EXPECT_DOUBLE_EQ(parser.Value(), 10 + 4 + 1);
}

TEST(ParserChain, ConstantsAreComputedOnceAndFaultsKept) {
  struct {
    const char* formula;
    size_t operations;
  } cases[] = {
      {"", 0},          {"((((t))))", 0}, {"2*3+4", 0},    {"SIN(2*PI)", 0},
      {"t*5", 1},       {"2*PI*t", 2},    {"(2*PI)*t", 1}, {"RND(10)", 1},
      {"RANDOM(0)", 1}, {"1/0", 1},       {"(1/0)*t", 2},  {"5*SIN(2*PI*t)", 4},
  };
  for (const auto& c : cases) {
    TParser parser;
    parser.SetExpression(c.formula);
    EXPECT_EQ(parser.OperationCount(), c.operations) << c.formula;
  }
}

TEST(ParserChain, EmptyAndReassignedExpressions) {
  TParser parser;
  EXPECT_EQ(parser.Value(), 0);
  parser.X = 2;
  parser.SetExpression("x*x*x");
  EXPECT_EQ(parser.Value(), 8);
  EXPECT_EQ(parser.Expression(), "x*x*x");
  parser.SetExpression("");
  EXPECT_EQ(parser.Value(), 0);
  EXPECT_FALSE(parser.ParseError());
  parser.SetExpression("x");
  parser.X = 7;
  EXPECT_EQ(parser.Value(), 7);
}

// Long formulas mix results handed to the next record with results read back from cells;
// both orders of evaluation must agree with the direct computation.
TEST(ParserChain, DeepFormulasAgreeWithDirectComputation) {
  TParser parser;
  parser.SetExpression("10*EXP(-5*t)*SIN(20*PI*t)+MAX(-5,MIN(5,20*(t-0.5)))-(t+1)*(t-1)/(t+2)");
  TParser random;
  random.SetExpression("10*EXP(-5*t)*SIN(20*PI*t)+RND(0.5)*(t+1)*(t-1)/(t+2)");
  for (double t : {0.0, 0.125, 0.5, 0.9}) {
    parser.T = t;
    random.T = t;
    const double tail = (t + 1) * ((t - 1) / (t + 2));
    const double head = 10 * (std::exp(-5 * t) * std::sin(20 * (kPi * t)));
    EXPECT_NEAR(parser.Value(), head + std::max(-5.0, std::min(5.0, 20 * (t - 0.5))) - tail, 1e-12);
    EXPECT_NEAR(random.Value(), head, 1e-12); // RND(0.5) is 0 times a draw
  }
}

TEST(ParserRandom, SeededDrawsRepeat) {
  TParser parser;
  parser.SetExpression("RANDOM(t)+RND(10)*1000");
  parser.SetRandomSeed(42);
  const double first = parser.Value(), second = parser.Value();
  EXPECT_NE(first, second);
  parser.SetRandomSeed(42);
  EXPECT_EQ(parser.Value(), first);
  EXPECT_EQ(parser.Value(), second);
  for (int i = 0; i < 1000; ++i) {
    const double value = parser.Value();
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 10001);
  }
}

// Restores the numeric locale a test switched to.
class NumericLocale {
public:
  explicit NumericLocale(std::initializer_list<const char*> names)
      : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
    for (const char* name : names)
      if (std::setlocale(LC_NUMERIC, name) != nullptr)
        return;
    failed_ = true;
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
  bool Failed() const { return failed_; }

private:
  std::string saved_;
  bool failed_ = false;
};

TEST(ParserNumbers, DotFormatIgnoresTheLocale) {
  TParser parser;
  parser.SetDotNumberFormat(false);
  parser.SetExpression("2.5*2"); // the C locale's separator is "."
  EXPECT_EQ(parser.Value(), 5);

  NumericLocale comma({"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8"});
  if (comma.Failed())
    GTEST_SKIP() << "no decimal-comma locale installed";
  parser.SetExpression("2,5*2"); // read with the locale's ","
  EXPECT_EQ(parser.Value(), 5);
  EXPECT_THROW(parser.SetExpression("2.5*2"), ESyntaxError);
  parser.SetDotNumberFormat(true);
  parser.SetExpression("2.5*2");
  EXPECT_EQ(parser.Value(), 5);
  parser.SetExpression("MAX(1,2)");
  EXPECT_EQ(parser.Value(), 2);
}

} // namespace
} // namespace qvt
