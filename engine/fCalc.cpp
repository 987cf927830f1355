#include "fCalc.h"

#include "EvalonStatus.h"
#include "OperatorTable.h"

#include <utility>

fCalc::fCalc() : operatorCount(0), valueCount(0) {}

void fCalc::init() {
  operatorCount = 0;
  valueCount = 0;
}

int fCalc::set(gValue value) {
  return push(std::move(value));
}

int fCalc::push(gValue&& value) {
  if (valueCount == Capacity) return ev::TextTooLong;
  valueStack[valueCount++] = std::move(value);
  return ev::Ok;
}

int fCalc::set(int code) {
  if (code == OpUnknown) return ev::UndefinedOperator;
  if (code == OpOpen) {
    if (operatorCount == Capacity) return ev::TextTooLong;
    operatorStack[operatorCount++] = code;
    return ev::Ok;
  }
  if (code == OpClose) {
    for (;;) {
      if (isTopType() == OpOpen) {
        --operatorCount;
        return ev::Ok;
      }
      if (int status = calc()) return status;
    }
  }
  // Reduce everything stacked of at least this class, even for a prefix operator whose
  // operand has not been read yet; the operator is stacked also after a failed reduction.
  const int precedence = isNowType(code);
  int status = ev::Ok;
  while (operatorCount > 0 && isTopType() >= precedence) {
    status = calc();
    if (status) break;
  }
  if (operatorCount == Capacity) return status ? status : static_cast<int>(ev::TextTooLong);
  operatorStack[operatorCount++] = code;
  return status;
}

int fCalc::term() {
  while (operatorCount > 0) {
    if (int status = calc()) return status;
  }
  return valueCount == 1 ? ev::Ok : ev::MissingOperator;
}

int fCalc::isTopType() {
  return operatorCount == 0 ? 0 : isNowType(operatorStack[operatorCount - 1]);
}

int fCalc::isNowType(int code) {
  return precedenceOf(code);
}

int fCalc::calc() {
  if (operatorCount == 0) return ev::MissingOperator;
  const int code = operatorStack[--operatorCount];
  if (valueCount == 0) return ev::MissingOperand;
  if (code == OpUnknown) {
    --valueCount;
    return ev::UndefinedOperator;
  }
  if (code >= 0 && code < OperatorCount && operators[code].form == OpForm::Prefix)
    return applyPrefix(code);
  return applyInfix(code);
}

// The operand is the top value, changed in place (also when the operation fails).
int fCalc::applyPrefix(int code) {
  return (valueStack[valueCount - 1].*operators[code].prefix)();
}

// The right operand is popped; the left one, below it, takes the result in place.
int fCalc::applyInfix(int code) {
  if (valueCount < 2) {
    --valueCount;
    return ev::MissingOperand;
  }
  gValue right = std::move(valueStack[--valueCount]);
  if (code < OpOr || code > OpPower) {
    // An unclosed "(" reduced with two values waiting: both are dropped.
    --valueCount;
    return ev::UndefinedOperator;
  }
  return (valueStack[valueCount - 1].*operators[code].infix)(std::move(right));
}

template <class Out> int fCalc::takeResult(Out& out) {
  if (valueCount != 1) return ev::MissingOperator;
  const int status = valueStack[0].getValue(out);
  valueCount = 0;
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
