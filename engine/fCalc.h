// fCalc: the evaluation machine. Operands and operator codes are fed in formula order;
// an operator first reduces every stacked operator of at least its precedence class, so
// operators of one class group from the left.
#pragma once

#include "EvalonStatus.h"
#include "FixedStack.h"
#include "gValue.h"

#include <cstdint>

class fCalc final {
public:
  // Each stack holds this many entries; one more is refused with ev::TextTooLong.
  static constexpr int Capacity = 20;

  virtual void init();
  virtual int set(int code);
  virtual int set(gValue value);
  virtual int term();
  virtual int getLongResult(std::int32_t& out);
  virtual int getDoubleResult(double& out);
  virtual int getStringResult(char* out);
  virtual int isTopType();
  virtual int isNowType(int code);
  virtual int calc();

  // Pushes a value made in place from a long, a double or a text, without the copies
  // that set(gValue) makes.
  template <class Content> int push(Content content) {
    if (valueStack.full()) return ev::TextTooLong;
    valueStack.push(content);
    return ev::Ok;
  }

private:
  int pushOperator(int code);
  int applyPrefix(int code);
  int applyInfix(int code);
  template <class Out> int takeResult(Out& out);

  FixedStack<int, Capacity> operatorStack;
  FixedStack<gValue, Capacity> valueStack;
};
