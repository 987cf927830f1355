// The operations of a double program (FormulaCache.h) on doubles, with the bits and statuses
// that gValue's operations give two double values (gValue.cpp): "+", "-", "*" directly, "/"
// after its zero test, "^" through std::pow, unary minus as a sign change, the functions as
// gValue's operations compute them (RealFunctions.h). Only the codes that ProgramBuilder
// emits arrive here.
#pragma once

#include "EvalonStatus.h"
#include "OperatorTable.h"
#include "RealFunctions.h"

#include <cmath>

namespace formulacache {

inline int infixOnDoubles(int code, double& left, double right) {
  switch (code) {
  case OpPlus:
    left = left + right;
    return ev::Ok;
  case OpMinus:
    left = left - right;
    return ev::Ok;
  case OpTimes:
    left = left * right;
    return ev::Ok;
  case OpDivide:
    if (right == 0.0) return ev::DivisionByZero;
    left = left / right;
    return ev::Ok;
  default: // OpPower
    left = std::pow(left, right);
    return ev::Ok;
  }
}

inline int prefixOnDouble(int code, double& operand) {
  if (code == OpInvert) {
    operand = -operand;
    return ev::Ok;
  }
  return realfn::apply(code - FirstFunction, operand);
}

} // namespace formulacache
