// SPDX-License-Identifier: GPL-3.0-or-later
// A small recursive-descent reading of the evaluator's grammar (sums, products, DIV, MOD,
// quotients, powers, signs, calls) that carries units instead of values. It only has to agree
// with the evaluator on formulas the evaluator compiles, which are checked first.
#include "formula_unit.h"

#include <cctype>
#include <cmath>
#include <string>

namespace qvt::analysis {

namespace {

bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '(' || c == ')' ||
         c == ',' || c == ' ';
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithWord(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size())
    return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (Upper(text[at + i]) != word[i])
      return false;
  return true;
}

bool IsNumberStart(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}

// A value of the reading: its unit (empty: unknown) and, for a literal, its number.
struct Term {
  std::optional<Tunite> unit;
  std::optional<double> number;
};

Tunite Plain() {
  return Tunite();
}

bool SameUnit(const Tunite& a, const Tunite& b) {
  return a.Dim == b.Dim && a.Pow10 == b.Pow10;
}

class Reader {
public:
  Reader(std::string_view text, const NameUnit& nameUnit) : text_(text), nameUnit_(nameUnit) {}

  std::optional<Tunite> Read() {
    try {
      Term t = Sum();
      if (at_ != text_.size())
        return std::nullopt;
      return t.unit;
    } catch (const std::range_error&) {
      return std::nullopt;
    }
  }

private:
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }

  Term Sum() {
    Term left = Product();
    while (Peek('+') || Peek('-')) {
      ++at_;
      Term right = Product();
      if (left.unit && right.unit && SameUnit(*left.unit, *right.unit))
        left.number.reset();
      else
        left = Term{};
    }
    return left;
  }

  Term Product() {
    Term left = PowerTerm();
    for (;;) {
      if (Peek('*') || Peek('/')) {
        const bool divide = text_[at_++] == '/';
        Term right = PowerTerm();
        if (left.unit && right.unit) {
          Tunite u = *right.unit;
          if (divide)
            u.Invert();
          left.unit->Multiply(u);
        } else {
          left.unit.reset();
        }
        left.number.reset();
      } else if (StartsWithWord(text_, at_, "DIV") || StartsWithWord(text_, at_, "MOD")) {
        at_ += 3;
        PowerTerm();
        left = Term{};
      } else {
        return left;
      }
    }
  }

  Term PowerTerm() {
    Term base = Unary();
    while (Peek('^')) {
      ++at_;
      Term exponent = Unary();
      if (base.unit && exponent.number && std::nearbyint(*exponent.number) == *exponent.number &&
          std::fabs(*exponent.number) <= 64) {
        base.unit->Power(static_cast<int>(*exponent.number));
        base.number.reset();
      } else if (base.unit && exponent.unit && IsPlain(*base.unit)) {
        base = Term{Plain(), std::nullopt};
      } else {
        base = Term{};
      }
    }
    return base;
  }

  static bool IsPlain(const Tunite& u) {
    for (auto d : u.Dim)
      if (d != 0)
        return false;
    return true;
  }

  Term Unary() {
    if (Peek('-') || Peek('+')) {
      const bool negative = text_[at_++] == '-';
      Term t = Unary();
      if (t.number && negative)
        t.number = -*t.number;
      return t;
    }
    return Primary();
  }

  Term Primary() {
    if (Peek('(')) {
      ++at_;
      Term t = Sum();
      if (!Peek(')'))
        return Skip();
      ++at_;
      return t;
    }
    if (at_ < text_.size() && IsNumberStart(text_[at_]))
      return Number();
    const std::size_t begin = at_;
    while (at_ < text_.size() && !IsOperator(text_[at_]))
      ++at_;
    std::string name(text_.substr(begin, at_ - begin));
    std::string upper = name;
    for (char& c : upper)
      c = Upper(c);
    if (Peek('('))
      return Call(upper);
    if (upper == "PI")
      return Term{Plain(), 3.141592653589793};
    if (name.empty())
      return Skip();
    return Term{nameUnit_(name), std::nullopt};
  }

  Term Number() {
    const std::size_t begin = at_;
    while (at_ < text_.size() && (IsNumberStart(text_[at_]) || Upper(text_[at_]) == 'E')) {
      // An exponent's sign belongs to the number.
      if (Upper(text_[at_]) == 'E' && at_ + 1 < text_.size() &&
          (text_[at_ + 1] == '-' || text_[at_ + 1] == '+'))
        ++at_;
      ++at_;
    }
    try {
      return Term{Plain(), std::stod(std::string(text_.substr(begin, at_ - begin)))};
    } catch (const std::exception&) {
      return Term{Plain(), std::nullopt};
    }
  }

  Term Call(const std::string& function) {
    ++at_; // '('
    std::vector<Term> args{Sum()};
    while (Peek(',')) {
      ++at_;
      args.push_back(Sum());
    }
    if (!Peek(')'))
      return Skip();
    ++at_;
    const Term& a = args[0];
    if (function == "ABS")
      return Term{a.unit, std::nullopt};
    if ((function == "MAX" || function == "MIN") && args.size() == 2) {
      if (a.unit && args[1].unit && SameUnit(*a.unit, *args[1].unit))
        return Term{a.unit, std::nullopt};
      return Term{};
    }
    if (function == "SQR" && a.unit) {
      Tunite u = *a.unit;
      u.Power(2);
      return Term{u, std::nullopt};
    }
    if (function == "SQRT" && a.unit) {
      Tunite u = Plain();
      for (std::size_t i = 0; i < u.Dim.size(); ++i) {
        if (a.unit->Dim[i] % 2 != 0)
          return Term{};
        u.Dim[i] = static_cast<std::int8_t>(a.unit->Dim[i] / 2);
      }
      return Term{u, std::nullopt};
    }
    // Trigonometric, exponential, logarithmic and rounding functions give plain numbers.
    return Term{Plain(), std::nullopt};
  }

  // Gives up on a part the evaluator would refuse; the whole unit is then unknown.
  Term Skip() {
    at_ = text_.size() + 1;
    return Term{};
  }

  std::string_view text_;
  const NameUnit& nameUnit_;
  std::size_t at_ = 0;
};

} // namespace

std::optional<Tunite> FormulaUnit(std::string_view formula, const NameUnit& nameUnit) {
  const std::size_t first = formula.find_first_not_of(' ');
  if (first == std::string_view::npos)
    return std::nullopt;
  formula = formula.substr(first, formula.find_last_not_of(' ') - first + 1);
  std::optional<Tunite> unit = Reader(formula, nameUnit).Read();
  if (!unit || !unit->Valid)
    return std::nullopt;
  unit->Pow10 = 0;
  return unit;
}

FormulaNames NamesOf(std::string_view formula) {
  FormulaNames names;
  std::size_t at = 0;
  while (at < formula.size()) {
    if (IsOperator(formula[at])) {
      ++at;
      continue;
    }
    if (IsNumberStart(formula[at])) {
      while (at < formula.size() && !IsOperator(formula[at])) {
        if (Upper(formula[at]) == 'E' && at + 1 < formula.size() &&
            (formula[at + 1] == '-' || formula[at + 1] == '+'))
          ++at;
        ++at;
      }
      continue;
    }
    if (StartsWithWord(formula, at, "DIV") || StartsWithWord(formula, at, "MOD")) {
      at += 3;
      continue;
    }
    const std::size_t begin = at;
    while (at < formula.size() && !IsOperator(formula[at]))
      ++at;
    std::string word(formula.substr(begin, at - begin));
    std::string upper = word;
    for (char& c : upper)
      c = Upper(c);
    if (at < formula.size() && formula[at] == '(')
      names.functions.push_back(word);
    else if (upper != "PI")
      names.variables.push_back(word);
  }
  return names;
}

} // namespace qvt::analysis
