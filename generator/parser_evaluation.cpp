// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the plan of a compiled formula into the chain of records that Value() runs.
//
// Every constant and every result gets a cell of its own in one array sized up front. A record
// whose operands are all constants, and whose computation is pure, is computed here once and
// its result cell becomes a constant: 2*PI costs nothing per evaluation. A record that faults
// on its constants (1/0) is kept, so that the fault reaches the caller of Value() as any other
// evaluation fault does.
//
// Each routine hands its result to the next record as a value, so an operand computed by the
// record just before needs no trip through memory, and a result cell is written only when a
// later record reads it from there; the last record returns the value of the formula. When
// every record is pure the records run in depth-first order, which puts an operand just
// before its user as often as it can; the order of pure computations changes nothing in the
// value. Formulas with RND, RANDOM or a function added by the caller keep the breadth-first
// order of the plan, so their calls come in that order.
#include <clocale>
#include <functional>

#include "parser.h"
#include "parser_compiler.h"
#include "parser_functions.h"

namespace qvt {

namespace {

using parser::OperandRef;
using parser::PlannedOperation;

char LocaleDecimalSeparator() {
  const char* point = std::localeconv()->decimal_point;
  return point != nullptr && point[0] != '\0' ? point[0] : '.';
}

bool ReadsSecondOperand(OperationKind kind) {
  switch (kind) {
  case OperationKind::Negation:
  case OperationKind::IntegerPower: // the exponent is in the record
  case OperationKind::Square:
  case OperationKind::Cube:
  case OperationKind::Fourth:
  case OperationKind::OneArgCall:
    return false;
  default:
    return true;
  }
}

size_t ConstantCount(const parser::Plan& plan) {
  auto constant = [](const OperandRef& ref) {
    return ref.source == OperandRef::Source::Constant ? 1 : 0;
  };
  size_t count = constant(plan.result);
  for (const PlannedOperation& op : plan.operations)
    count += constant(op.arg1) + (ReadsSecondOperand(op.kind) ? constant(op.arg2) : 0);
  return count;
}

const RoutineSet& RoutinesOf(const PlannedOperation& planned) {
  const RoutineSet* routines =
      planned.function != nullptr ? planned.function->routines : parser::KindRoutines(planned.kind);
  if (routines == nullptr)
    throw EParserInternalError();
  return *routines;
}

} // namespace

void TCustomParser::Compile() {
  const parser::Grammar grammar{variables_, oneArgFunctions_, twoArgFunctions_, dotNumberFormat_,
                                LocaleDecimalSeparator()};
  const parser::Plan plan = parser::Compile(expression_, grammar);

  // Cells 0 .. n-1 hold the results of the planned operations, the rest the constants.
  const size_t count = plan.operations.size();
  cells_.assign(count + ConstantCount(plan), 0.0);
  std::vector<bool> known(count, false); // the result was computed here
  size_t nextConstant = count;
  auto cell = [&](const OperandRef& ref, bool& constant) -> double* {
    switch (ref.source) {
    case OperandRef::Source::Constant:
      cells_[nextConstant] = ref.value;
      return &cells_[nextConstant++];
    case OperandRef::Source::Variable:
      constant = false;
      return ref.cell;
    case OperandRef::Source::Result:
      constant = constant && known[ref.operation];
      return &cells_[ref.operation];
    }
    return nullptr;
  };

  // Operand cells, and the computation of what is constant.
  std::vector<Operation> records(count);
  bool allPure = true;
  for (size_t i = 0; i < count; ++i) {
    const PlannedOperation& planned = plan.operations[i];
    Operation& op = records[i];
    op.kind = planned.kind;
    bool constant = true;
    op.arg1 = cell(planned.arg1, constant);
    if (ReadsSecondOperand(planned.kind))
      op.arg2 = cell(planned.arg2, constant);
    op.result = &cells_[i];
    bool pure = true;
    if (planned.function != nullptr) {
      if (planned.function->random)
        op.random = &random_;
      else if (planned.kind == OperationKind::OneArgCall)
        op.one = planned.function->one;
      else
        op.two = planned.function->two;
      pure = planned.function->pure;
    } else if (planned.kind == OperationKind::IntegerPower) {
      op.exponent = planned.exponent;
    }
    if (constant && pure) {
      try {
        RoutinesOf(planned).alone(op, 0.0);
        known[i] = true;
        continue;
      } catch (const EEvaluationError&) {
        // Kept in the chain: the fault belongs to the evaluation.
      }
    }
    allPure = allPure && pure;
  }

  bool unused = true;
  result_ = cell(plan.result, unused);

  // The order of the records that remain.
  std::vector<uint32_t> order;
  order.reserve(count);
  auto reads = [&](uint32_t i, const OperandRef& ref) {
    return ref.source == OperandRef::Source::Result && !known[ref.operation] &&
           (&ref == &plan.operations[i].arg1 || ReadsSecondOperand(plan.operations[i].kind));
  };
  if (allPure) {
    std::function<void(uint32_t)> visit = [&](uint32_t i) {
      const PlannedOperation& planned = plan.operations[i];
      if (reads(i, planned.arg1))
        visit(planned.arg1.operation);
      if (reads(i, planned.arg2))
        visit(planned.arg2.operation);
      order.push_back(i);
    };
    if (plan.result.source == OperandRef::Source::Result && !known[plan.result.operation])
      visit(plan.result.operation);
  } else {
    for (uint32_t i = 0; i < count; ++i)
      if (!known[i])
        order.push_back(i);
  }

  // An operand that the record just before computed comes as `previous`; any other result is
  // read from its cell, which its record then writes.
  std::vector<bool> stored(count, false);
  std::vector<uint8_t> fromPrevious(count, 0); // bit 0: first operand, bit 1: second
  for (size_t k = 0; k < order.size(); ++k) {
    const uint32_t i = order[k];
    const PlannedOperation& planned = plan.operations[i];
    const OperandRef* operands[2] = {&planned.arg1, &planned.arg2};
    for (int which = 0; which < 2; ++which) {
      if (!reads(i, *operands[which]))
        continue;
      const uint32_t source = operands[which]->operation;
      if (k > 0 && order[k - 1] == source)
        fromPrevious[i] |= static_cast<uint8_t>(1 << which);
      else
        stored[source] = true;
    }
  }
  std::vector<Operation> chain;
  chain.reserve(order.size() + 1);
  for (size_t k = 0; k < order.size(); ++k) {
    const uint32_t i = order[k];
    Operation op = records[i];
    const bool first = fromPrevious[i] & 1, second = fromPrevious[i] & 2;
    if (first)
      op.arg1 = nullptr;
    if (second)
      op.arg2 = nullptr;
    if (!stored[i])
      op.result = nullptr;
    const RoutineSet& routines = RoutinesOf(plan.operations[i]);
    op.routine = k + 1 == order.size() ? routines.last[first][second]
                                       : routines.variant[first][second][stored[i]];
    chain.push_back(op);
  }
  if (chain.empty()) {
    Operation only;
    only.routine = &parser::ReadResult;
    only.arg1 = result_;
    chain.push_back(only);
  }
  operations_ = std::move(chain);
}

} // namespace qvt
