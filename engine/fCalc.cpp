#include "fCalc.h"

#include "EvalonStatus.h"
#include "OperatorTable.h"

#include <utility>

void fCalc::init() {
  operatorStack.clear();
  valueStack.clear();
}

int fCalc::set(gValue value) {
  if (valueStack.full()) return ev::TextTooLong;
  valueStack.push(std::move(value));
  return ev::Ok;
}

int fCalc::pushOperator(int code) {
  if (operatorStack.full()) return ev::TextTooLong;
  operatorStack.push(code);
  return ev::Ok;
}

int fCalc::set(int code) {
  if (code == OpUnknown) return ev::UndefinedOperator;
  if (code == OpOpen) return pushOperator(code);
  if (code == OpClose) {
    for (;;) {
      if (isTopType() == OpOpen) {
        operatorStack.drop();
        return ev::Ok;
      }
      if (int status = calc()) return status;
    }
  }
  // Reduce everything stacked of at least this class, even for a prefix operator whose
  // operand has not been read yet; the operator is stacked also after a failed reduction.
  const int precedence = isNowType(code);
  int status = ev::Ok;
  while (!operatorStack.empty() && isTopType() >= precedence) {
    status = calc();
    if (status) break;
  }
  const int pushed = pushOperator(code);
  return status ? status : pushed;
}

int fCalc::term() {
  while (!operatorStack.empty()) {
    if (int status = calc()) return status;
  }
  return valueStack.size() == 1 ? ev::Ok : ev::MissingOperator;
}

int fCalc::isTopType() {
  return operatorStack.empty() ? 0 : isNowType(operatorStack.top());
}

int fCalc::isNowType(int code) {
  return precedenceOf(code);
}

int fCalc::calc() {
  if (operatorStack.empty()) return ev::MissingOperator;
  const int code = operatorStack.pop();
  if (valueStack.empty()) return ev::MissingOperand;
  if (code == OpUnknown) {
    valueStack.drop();
    return ev::UndefinedOperator;
  }
  if (code >= 0 && code < OperatorCount && operators[code].form == OpForm::Prefix)
    return applyPrefix(code);
  return applyInfix(code);
}

// The operand is the top value, changed in place (also when the operation fails).
int fCalc::applyPrefix(int code) {
  return operators[code].prefix(valueStack.top());
}

// The right operand is taken from the top; the left one, below it, takes the result in
// place.
int fCalc::applyInfix(int code) {
  if (valueStack.size() < 2) {
    valueStack.drop();
    return ev::MissingOperand;
  }
  if (code < OpOr || code > OpPower) {
    // An unclosed "(" reduced with two values waiting: both are dropped.
    valueStack.drop();
    valueStack.drop();
    return ev::UndefinedOperator;
  }
  const int status = operators[code].infix(valueStack.below(), valueStack.top());
  valueStack.drop();
  return status;
}

// The last value is converted; a stack that does not hold exactly one value gives 8, and
// then nothing is written.
template <class Out> int fCalc::takeResult(Out& out) {
  if (valueStack.size() != 1) return ev::MissingOperator;
  const int status = valueStack.top().getValue(out);
  valueStack.drop();
  return status;
}

int fCalc::getLongResult(std::int32_t& out) {
  return takeResult(out);
}
int fCalc::getDoubleResult(double& out) {
  return takeResult(out);
}
int fCalc::getStringResult(char* out) {
  return takeResult(out);
}
