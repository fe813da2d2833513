// SPDX-License-Identifier: GPL-3.0-or-later
// Classification of a formula and planning of its operations.
//
// A text is classified by trying the forms of the grammar in a fixed order; a form that
// splits at an operator takes the first occurrence whose two sides are operands of the kinds
// it accepts. Whether a side is acceptable depends on its own classification, so the
// classification of every substring is remembered: each is worked out once however many
// splits look at it. The term tree is then walked breadth first, allocating one operation per
// operator or call at the depth of its operands; evaluation runs the deepest depth first.
#include "parser_compiler.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <deque>
#include <initializer_list>
#include <memory_resource>
#include <numbers>
#include <unordered_map>
#include <utility>

#include "parser_errors.h"

namespace qvt::parser {

namespace {

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr int kMaxOperationDepth = 20; // a term whose operands would lie at 21 fails
constexpr size_t kMaxOperationsPerDepth = 50;
// The analysis may look at every substring of the text, so its work grows with the cube of the
// length for texts such as T-T-T-...-T. It is charged with the length of every substring it
// classifies and with every look-up of a classification; past this budget the text is too
// complex. Formulas that fit the limits of 20 depths and 50 operations a depth use a small part
// of it, while texts that exhaust it take a few milliseconds; without it, a pasted text of a
// few thousand characters would stop the program for minutes. The budget also bounds the
// nesting of the analysis, whose n levels cost at least n^2/2, to about 780 levels.
constexpr uint64_t kWorkBudget = 300'000;
constexpr uint64_t kLookUpCost = 8;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

enum class Form : uint8_t {
  Invalid,
  Number,
  Variable,
  Bracketed,
  Negation,
  Sum,
  Difference,
  Product,
  Div,
  Mod,
  Quotient,
  Power,
  OneArgCall,
  TwoArgCall,
};

using FormSet = uint32_t;

constexpr FormSet Forms(std::initializer_list<Form> forms) {
  FormSet set = 0;
  for (Form form : forms)
    set |= FormSet{1} << static_cast<int>(form);
  return set;
}

constexpr bool In(Form form, FormSet set) {
  return (set >> static_cast<int>(form)) & 1;
}

constexpr FormSet kCalls = Forms({Form::OneArgCall, Form::TwoArgCall});
constexpr FormSet kValid =
    Forms({Form::Number, Form::Variable, Form::Bracketed, Form::Negation, Form::Sum,
           Form::Difference, Form::Product, Form::Div, Form::Mod, Form::Quotient, Form::Power}) |
    kCalls;
// The sides of a sum.
constexpr FormSet kSumLeft = kValid & ~Forms({Form::Sum});
constexpr FormSet kSumRight = kValid & ~Forms({Form::Negation});
// The left side of a product, DIV, MOD and quotient.
constexpr FormSet kFactorLeft =
    Forms({Form::Number, Form::Variable, Form::Bracketed, Form::Negation, Form::Div, Form::Mod,
           Form::Quotient, Form::Power}) |
    kCalls;
// The right side of a difference and of a product.
constexpr FormSet kFactorRight =
    Forms({Form::Number, Form::Variable, Form::Bracketed, Form::Product, Form::Div, Form::Mod,
           Form::Quotient, Form::Power}) |
    kCalls;
// The right side of DIV, MOD and quotient.
constexpr FormSet kDivisor =
    Forms({Form::Number, Form::Variable, Form::Bracketed, Form::Power}) | kCalls;
// Both sides of a power.
constexpr FormSet kPowerOperand = Forms({Form::Number, Form::Variable, Form::Bracketed}) | kCalls;
// What a leading "-" may negate.
constexpr FormSet kNegated = Forms({Form::Bracketed, Form::Variable, Form::Power}) | kCalls;

// The classification of one substring [begin, end) of the formula.
struct TermClass {
  Form form = Form::Invalid;
  uint32_t at = 0;    // operator or comma
  uint32_t width = 1; // length of the operator
  uint32_t paren = 0; // first "(" of a call
  double number = 0;
  double* variable = nullptr;
  const FunctionEntry* function = nullptr;
};

// The sides of the last split tried on the whole formula, for the syntax error message.
struct LastSplit {
  bool filled = false;
  uint32_t leftBegin = 0, leftEnd = 0, rightBegin = 0, rightEnd = 0;
};

class Classifier {
public:
  Classifier(std::string text, const Grammar& grammar);
  Plan Build();

private:
  std::string_view Text(uint32_t begin, uint32_t end) const {
    return std::string_view(text_).substr(begin, end - begin);
  }
  std::pair<uint32_t, uint32_t> Peel(uint32_t begin, uint32_t end) const;
  TermClass Classify(uint32_t begin, uint32_t end);
  TermClass TryForms(uint32_t begin, uint32_t end, LastSplit* last);
  bool Split(std::string_view op, bool signFirst, uint32_t begin, uint32_t end, FormSet left,
             FormSet right, LastSplit* last, TermClass& term);
  bool ReadNumber(uint32_t begin, uint32_t end, double& value) const;

  std::string text_;
  const Grammar& grammar_;
  char separator_;
  bool nested_ = true;          // every ")" closes an earlier "("
  std::vector<uint32_t> match_; // for each "(", its ")"
  // Classifications by (begin << 32 | end), in an arena: one analysis makes many small entries
  // and frees them all at once.
  std::pmr::monotonic_buffer_resource arena_;
  std::pmr::unordered_map<uint64_t, TermClass> memo_{&arena_};
  uint64_t work_ = 0;
};

Classifier::Classifier(std::string text, const Grammar& grammar)
    : text_(std::move(text)), grammar_(grammar),
      separator_(grammar.dotNumberFormat ? '.' : grammar.decimalSeparator) {
  const uint32_t n = static_cast<uint32_t>(text_.size());
  match_.assign(n, n);
  std::vector<uint32_t> open;
  for (uint32_t i = 0; i < n; ++i) {
    if (text_[i] == '(') {
      open.push_back(i);
    } else if (text_[i] == ')') {
      if (open.empty()) {
        nested_ = false;
      } else {
        match_[open.back()] = i;
        open.pop_back();
      }
    }
  }
  if (!open.empty())
    nested_ = false;
}

// Removes every pair of brackets that encloses the whole of [begin, end).
std::pair<uint32_t, uint32_t> Classifier::Peel(uint32_t begin, uint32_t end) const {
  while (end - begin >= 2 && text_[begin] == '(' && match_[begin] == end - 1) {
    ++begin;
    --end;
  }
  return {begin, end};
}

TermClass Classifier::Classify(uint32_t begin, uint32_t end) {
  if (begin >= end)
    return {};
  if ((work_ += kLookUpCost) > kWorkBudget)
    throw EExpressionTooComplex();
  const uint64_t key = (uint64_t{begin} << 32) | end;
  if (auto found = memo_.find(key); found != memo_.end())
    return found->second;
  TermClass term;
  if (text_[begin] == '(' && match_[begin] == end - 1) {
    // A bracketed term is valid when what the brackets enclose is.
    auto [coreBegin, coreEnd] = Peel(begin, end);
    if (Classify(coreBegin, coreEnd).form != Form::Invalid)
      term.form = Form::Bracketed;
  } else {
    term = TryForms(begin, end, nullptr);
  }
  memo_.emplace(key, term);
  return term;
}

// Looks for `op` from left to right, outside brackets (an occurrence inside would leave both
// sides unbalanced); fills `term` with the first occurrence whose sides are operands of the
// kinds in `left` and `right`. An occurrence at the first or the last character ends the
// search, except that with `signFirst` one at the first character is a sign and passed by.
bool Classifier::Split(std::string_view op, bool signFirst, uint32_t begin, uint32_t end,
                       FormSet left, FormSet right, LastSplit* last, TermClass& term) {
  const auto width = static_cast<uint32_t>(op.size());
  for (uint32_t at = begin; at + width <= end;) {
    if (text_[at] == '(') {
      at = match_[at] + 1;
      continue;
    }
    if (text_[at] != op[0] || (width > 1 && text_.compare(at, width, op) != 0)) {
      ++at;
      continue;
    }
    if (at == begin && signFirst) {
      ++at;
      continue;
    }
    if (at == begin || at + width == end)
      return false;
    if (last)
      *last = {true, begin, at, at + width, end};
    if (In(Classify(begin, at).form, left) && In(Classify(at + width, end).form, right)) {
      term.at = at;
      term.width = width;
      return true;
    }
    ++at;
  }
  return false;
}

TermClass Classifier::TryForms(uint32_t begin, uint32_t end, LastSplit* last) {
  TermClass term;
  const std::string_view text = Text(begin, end);
  if (text.empty())
    return term;
  if ((work_ += text.size()) > kWorkBudget)
    throw EExpressionTooComplex();

  if (ReadNumber(begin, end, term.number)) {
    term.form = Form::Number;
    return term;
  }
  if (auto found = grammar_.variables.find(text); found != grammar_.variables.end()) {
    term.form = Form::Variable;
    term.variable = found->second;
    return term;
  }
  if (text.front() == '-' && In(Classify(begin + 1, end).form, kNegated)) {
    term.form = Form::Negation;
    return term;
  }

  struct BinaryForm {
    Form form;
    std::string_view op;
    bool signFirst; // an occurrence at the first character is a sign, passed by
    FormSet left, right;
  };
  static constexpr BinaryForm kBinaryForms[] = {
      {Form::Sum, "+", false, kSumLeft, kSumRight},
      {Form::Difference, "-", true, kSumLeft, kFactorRight},
      {Form::Product, "*", false, kFactorLeft, kFactorRight},
      {Form::Div, "DIV", false, kFactorLeft, kDivisor},
      {Form::Mod, "MOD", false, kFactorLeft, kDivisor},
      {Form::Quotient, "/", false, kFactorLeft, kDivisor},
      {Form::Power, "^", false, kPowerOperand, kPowerOperand},
  };
  for (const BinaryForm& form : kBinaryForms) {
    if (Split(form.op, form.signFirst, begin, end, form.left, form.right, last, term)) {
      term.form = form.form;
      return term;
    }
  }

  const size_t paren = text.find('(');
  if (paren == std::string_view::npos || paren == 0)
    return term;
  const std::string_view name = text.substr(0, paren);
  term.paren = begin + static_cast<uint32_t>(paren);
  if (auto found = grammar_.oneArgFunctions.find(name);
      found != grammar_.oneArgFunctions.end() &&
      Classify(term.paren, end).form == Form::Bracketed) {
    term.form = Form::OneArgCall;
    term.function = &found->second;
    return term;
  }
  if (auto found = grammar_.twoArgFunctions.find(name);
      found != grammar_.twoArgFunctions.end() && match_[term.paren] == end - 1) {
    const uint32_t argsBegin = term.paren + 1;
    const uint32_t argsEnd = end - 1;
    for (uint32_t at = argsBegin; at < argsEnd; ++at) {
      if (text_[at] == '(')
        at = match_[at];
      if (text_[at] != ',')
        continue;
      if (last)
        *last = {true, argsBegin, at, at + 1, argsEnd};
      if (Classify(argsBegin, at).form != Form::Invalid &&
          Classify(at + 1, argsEnd).form != Form::Invalid) {
        term.form = Form::TwoArgCall;
        term.function = &found->second;
        term.at = at;
        return term;
      }
    }
  }
  return term;
}

// A real literal: an optional sign, digits, an optional separator with fraction digits, an
// optional "E" with an optional sign and digits; or PI and -PI.
bool Classifier::ReadNumber(uint32_t begin, uint32_t end, double& value) const {
  const std::string_view text = Text(begin, end);
  if (text == "PI" || text == "-PI") {
    value = text[0] == '-' ? -std::numbers::pi : std::numbers::pi;
    return true;
  }
  size_t i = 0;
  const size_t n = text.size();
  auto digits = [&] {
    const size_t start = i;
    while (i < n && IsDigit(text[i]))
      ++i;
    return i - start;
  };
  const bool negative = i < n && text[i] == '-';
  if (i < n && (text[i] == '+' || text[i] == '-'))
    ++i;
  const size_t integerBegin = i;
  const size_t integerDigits = digits();
  if (integerDigits == 0)
    return false;
  if (i < n && text[i] == separator_) {
    ++i;
    if (digits() == 0)
      return false;
  }
  const size_t mantissaEnd = i;
  long exponent = 0;
  if (i < n && text[i] == 'E') {
    ++i;
    const bool negativeExponent = i < n && text[i] == '-';
    if (i < n && (text[i] == '+' || text[i] == '-'))
      ++i;
    const size_t exponentBegin = i;
    if (digits() == 0)
      return false;
    for (size_t k = exponentBegin; k < i && exponent < 100000; ++k)
      exponent = exponent * 10 + (text[k] - '0');
    if (negativeExponent)
      exponent = -exponent;
  }
  if (i != n)
    return false;

  std::string literal(text.substr(text[0] == '+' ? 1 : 0));
  std::replace(literal.begin(), literal.end(), separator_, '.');
  const auto [ptr, error] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
  if (error == std::errc())
    return ptr == literal.data() + literal.size();
  if (error != std::errc::result_out_of_range)
    return false;
  // Out of range: below the smallest double it reads as zero; above the largest it is no
  // number a double can hold.
  long magnitude = static_cast<long>(integerDigits) + exponent;
  for (size_t k = integerBegin; k < mantissaEnd; ++k) {
    if (text[k] == separator_)
      continue;
    if (text[k] != '0')
      break;
    --magnitude;
  }
  if (magnitude > 0)
    return false;
  value = negative ? -0.0 : 0.0;
  return true;
}

OperandRef ResultRef(int depth, size_t index) {
  OperandRef ref;
  ref.source = OperandRef::Source::Result;
  ref.operation = static_cast<uint32_t>(depth) << 16 | static_cast<uint32_t>(index);
  return ref;
}

Plan Classifier::Build() {
  const auto n = static_cast<uint32_t>(text_.size());
  if (!nested_ || n == 0)
    throw ESyntaxError(text_);

  // The whole formula loses its enclosing brackets when what they enclose is valid.
  uint32_t rootBegin = 0, rootEnd = n;
  TermClass root;
  if (auto [coreBegin, coreEnd] = Peel(0, n); coreBegin != 0) {
    const TermClass core = Classify(coreBegin, coreEnd);
    if (core.form != Form::Invalid) {
      root = core;
      rootBegin = coreBegin;
      rootEnd = coreEnd;
    }
  }
  if (root.form == Form::Invalid) {
    LastSplit last;
    root = TryForms(0, n, &last);
    if (root.form == Form::Invalid) {
      if (last.filled)
        throw ESyntaxError(Text(last.leftBegin, last.leftEnd),
                           Text(last.rightBegin, last.rightEnd));
      throw ESyntaxError(text_);
    }
  }

  struct Pending {
    uint32_t begin, end;
    TermClass term;
    int depth;
    OperandRef* slot; // where the operand goes; stable, the levels are reserved
  };
  std::array<std::vector<PlannedOperation>, kMaxOperationDepth + 1> levels;
  for (auto& level : levels)
    level.reserve(kMaxOperationsPerDepth);
  Plan plan;
  std::deque<Pending> pending{{rootBegin, rootEnd, root, 0, &plan.result}};

  while (!pending.empty()) {
    const Pending item = pending.front();
    pending.pop_front();
    const TermClass& term = item.term;
    if (term.form == Form::Number) {
      item.slot->source = OperandRef::Source::Constant;
      item.slot->value = term.number;
      continue;
    }
    if (term.form == Form::Variable) {
      item.slot->source = OperandRef::Source::Variable;
      item.slot->cell = term.variable;
      continue;
    }
    const int depth = item.depth + 1;
    if (depth > kMaxOperationDepth)
      throw ETooManyNestings();
    std::vector<PlannedOperation>& level = levels[depth];
    if (level.size() >= kMaxOperationsPerDepth)
      throw EExpressionTooComplex();
    *item.slot = ResultRef(depth, level.size());
    PlannedOperation& op = level.emplace_back();

    auto operand = [&](uint32_t begin, uint32_t end, OperandRef* slot) {
      auto [coreBegin, coreEnd] = Peel(begin, end);
      pending.push_back({coreBegin, coreEnd, Classify(coreBegin, coreEnd), depth, slot});
    };
    const uint32_t b = item.begin, e = item.end;
    switch (term.form) {
    case Form::Negation:
      op.kind = OperationKind::Negation;
      operand(b + 1, e, &op.arg1);
      break;
    case Form::Sum:
    case Form::Difference:
    case Form::Product:
    case Form::Div:
    case Form::Mod:
    case Form::Quotient:
      op.kind = term.form == Form::Sum          ? OperationKind::Sum
                : term.form == Form::Difference ? OperationKind::Difference
                : term.form == Form::Product    ? OperationKind::Product
                : term.form == Form::Div        ? OperationKind::IntegerDivision
                : term.form == Form::Mod        ? OperationKind::Modulo
                                                : OperationKind::Quotient;
      operand(b, term.at, &op.arg1);
      operand(term.at + term.width, e, &op.arg2);
      break;
    case Form::Power: {
      op.kind = OperationKind::Power;
      const TermClass exponent = Classify(term.at + 1, e);
      const double value = exponent.number;
      if (exponent.form == Form::Number && value == std::trunc(value)) {
        if (value == 2)
          op.kind = OperationKind::Square;
        else if (value == 3)
          op.kind = OperationKind::Cube;
        else if (value == 4)
          op.kind = OperationKind::Fourth;
        else if (value >= -2147483647.0 - 1 && value <= 2147483647.0) {
          op.kind = OperationKind::IntegerPower;
          op.exponent = static_cast<int32_t>(value);
        }
        // An integral exponent beyond 32 bits is taken as a general power.
      }
      operand(b, term.at, &op.arg1);
      if (op.kind == OperationKind::IntegerPower || op.kind == OperationKind::Power)
        operand(term.at + 1, e, &op.arg2);
      break;
    }
    case Form::OneArgCall:
      op.kind = OperationKind::OneArgCall;
      op.function = term.function;
      operand(term.paren + 1, e - 1, &op.arg1);
      break;
    case Form::TwoArgCall:
      op.kind = OperationKind::TwoArgCall;
      op.function = term.function;
      operand(term.paren + 1, term.at, &op.arg1);
      operand(term.at + 1, e - 1, &op.arg2);
      break;
    default:
      throw EParserInternalError();
    }
  }

  // Evaluation order: the deepest depth first, each depth in allocation order.
  std::array<uint32_t, kMaxOperationDepth + 1> offset{};
  uint32_t count = 0;
  for (int depth = kMaxOperationDepth; depth >= 1; --depth) {
    offset[depth] = count;
    count += static_cast<uint32_t>(levels[depth].size());
  }
  auto resolve = [&](OperandRef& ref) {
    if (ref.source == OperandRef::Source::Result)
      ref.operation = offset[ref.operation >> 16] + (ref.operation & 0xFFFF);
  };
  plan.operations.reserve(count);
  for (int depth = kMaxOperationDepth; depth >= 1; --depth) {
    for (PlannedOperation& op : levels[depth]) {
      resolve(op.arg1);
      resolve(op.arg2);
      plan.operations.push_back(op);
    }
  }
  resolve(plan.result);
  return plan;
}

} // namespace

Plan Compile(std::string_view text, const Grammar& grammar) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
  const size_t first = upper.find_first_not_of(' ');
  if (first == std::string::npos)
    upper.clear();
  else
    upper = upper.substr(first, upper.find_last_not_of(' ') - first + 1);
  if (upper.find(' ') != std::string::npos)
    throw EExpressionHasBlanks();
  const auto open = std::count(upper.begin(), upper.end(), '(');
  const auto close = std::count(upper.begin(), upper.end(), ')');
  if (open > close)
    throw EMissMatchingBracket(')');
  if (open < close)
    throw EMissMatchingBracket('(');
  return Classifier(std::move(upper), grammar).Build();
}

} // namespace qvt::parser
