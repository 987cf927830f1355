// Formula evaluation: the four entry points, and the core that scans a formula, gives
// operator tokens their codes and feeds everything into an evaluation machine.
#include "TCalcSystem.h"

#include "FormulaCache.h"
#include "FormulaScanner.h"
#include "LiteralValue.h"
#include "LongRange.h"
#include "OperatorTable.h"
#include "ReferenceResolve.h"
#include "TVarSystem.h"
#include "TextBuffer.h"
#include "fCalc.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

int scanFaultStatus(ScanFault fault) {
  switch (fault) {
  case ScanFault::None:
    return ev::Ok;
  case ScanFault::TooManyTokens:
    return ev::TextTooLong;
  case ScanFault::TokenTooLong:
    return ev::LiteralTooLong;
  case ScanFault::UnclosedString:
    return ev::UnclosedString;
  case ScanFault::UnclosedBracket:
    return ev::MissingCloseBracket;
  }
  return ev::Ok;
}

} // namespace

namespace {

int machineResult(fCalc& machine, std::int32_t& out) {
  return machine.getLongResult(out);
}
int machineResult(fCalc& machine, double& out) {
  return machine.getDoubleResult(out);
}
int machineResult(fCalc& machine, char*& out) {
  return machine.getStringResult(out);
}

} // namespace

// The course of every entry point: a fresh machine, the formula, the result in the kind
// asked for. Without a store nothing is evaluated.
template <class Out> int TCalcSystem::evaluate(const char* formula, Out& out) {
  if (!store) return ev::NoSystem;
  fCalc machine;
  const int status = calcFormula(machine, formula);
  return status != ev::Ok ? status : machineResult(machine, out);
}

std::int32_t TCalcSystem::calcLongFormula(const char* formula, std::uint32_t& err) {
  std::int32_t value = 0;
  const int status = evaluate(formula, value);
  err = static_cast<std::uint32_t>(status);
  return status == ev::Ok ? value : 0;
}

double TCalcSystem::calcDoubleFormula(const char* formula, std::uint32_t& err) {
  double value = 0.0;
  const int status = evaluate(formula, value);
  err = static_cast<std::uint32_t>(status);
  return status == ev::Ok ? value : 0.0;
}

// The double mode lasts for this call only: afterwards the flag is off, whatever it was.
double TCalcSystem::calcDoubleFormulaAs(const char* formula, std::uint32_t& err) {
  floatFlag = true;
  const double value = TCalcSystem::calcDoubleFormula(formula, err);
  floatFlag = false;
  return value;
}

// The result buffer is written only on success.
void TCalcSystem::calcStringFormula(char* result, const char* formula, std::uint32_t& err) {
  err = static_cast<std::uint32_t>(evaluate(formula, result));
}

namespace {

// The operations of a double program on doubles, as gValue performs them on two doubles
// (gValue.cpp): "+", "-", "*" directly, "/" after its zero test, "^" through std::pow, so
// that every bit is the same. Codes come from ProgramBuilder (FormulaCache.cpp).
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

// Unary minus and abs directly; the functions through gValue's own operation on a double
// value, which keeps its domain tests and its rounding exactly.
inline int prefixOnDouble(int code, double& operand) {
  if (code == OpInvert) {
    operand = -operand;
    return ev::Ok;
  }
  if (code == OpAbs) {
    if (!(operand >= 0.0)) operand = -operand;
    return ev::Ok;
  }
  gValue value(operand);
  if (int status = operators[static_cast<std::size_t>(code)].prefix(value)) return status;
  return value.getValue(operand);
}

} // namespace

// With the cache on (the store's switch, FormulaCache.h), a formula is scanned once and then
// run from its entry; otherwise, and for subscript expressions evaluated while a formula
// runs from its entry (which must not change under it), it is scanned at every call.
int TCalcSystem::calcFormula(fCalc& machine, const char* formula) {
  const char* text = formula ? formula : "";
  FormulaCache* cache = store->formulaCaching() && nesting == 0 ? &store->formulaCache() : nullptr;
  std::size_t length = 0;
  formulacache::Entry* entry = nullptr;
  if (cache) {
    length = strnlen(text, FormulaCache::MaxKeyLength + 1);
    if (length > FormulaCache::MaxKeyLength)
      cache = nullptr;
    else
      entry = cache->find(text, length);
  }
  if (!entry) {
    TokenArray items;
    int count = 0;
    int status = getItems(text, items, count);
    if (status == ev::Ok && count < 1) status = ev::EmptyFormula;
    if (status == ev::Ok) convertOperator(items, count);
    if (cache) entry = cache->store(text, length, status, items, count);
    if (!entry) {
      if (status) return status;
      for (int n = 0; n < count; ++n) {
        status = items[n].getType() == item::Operator ? machine.set(items[n].getOpeType())
                                                       : pushOperand(machine, items[n]);
        if (status) return status;
      }
      return machine.term();
    }
  }
  if (entry->status) return entry->status;

  // A name read as a fresh scan reads it (pushOperand), except that a plain name the store
  // has found before, in the same generation, is that variable without a lookup.
  auto read = [&](formulacache::Token& token, auto& out) -> int {
    if (token.found && token.foundIn == store->generation()) return token.found->getValue(out);
    const char* name = entry->textOf(token);
    const int status = resolve(name, readInto(out));
    if (token.plainName) {
      token.found = store->find(name, 0, 0);
      token.foundIn = store->generation();
    }
    return status;
  };

  if (floatFlag && entry->hasProgram) {
    double values[FormulaCache::ProgramStack];
    int top = 0;
    for (const formulacache::Step& step : entry->steps) {
      switch (step.op) {
      case formulacache::Op::Read: {
        double value = 0.0;
        if (int status = read(entry->tokens[static_cast<std::size_t>(step.token)], value))
          return status;
        values[top++] = value;
        break;
      }
      case formulacache::Op::Constant:
        values[top++] = step.constant;
        break;
      case formulacache::Op::Prefix:
        if (int status = prefixOnDouble(step.code, values[top - 1])) return status;
        break;
      case formulacache::Op::Infix:
        if (int status = infixOnDoubles(step.code, values[top - 2], values[top - 1]))
          return status;
        --top;
        break;
      }
    }
    return machine.push(values[0]);
  }

  // Otherwise the tokens go into the machine as pushOperand and set would feed them.
  for (formulacache::Token& token : entry->tokens) {
    int status = ev::Ok;
    switch (token.kind) {
    case item::Operator:
      status = machine.set(token.code);
      break;
    case item::LongName:
      if (!floatFlag) {
        std::int32_t value = 0;
        status = read(token, value);
        if (status == ev::Ok) status = machine.push(value);
        break;
      }
      [[fallthrough]];
    case item::DoubleName: {
      double value = 0.0;
      status = read(token, value);
      if (status == ev::Ok) status = machine.push(value);
      break;
    }
    case item::IntLiteral:
      if (floatFlag)
        status = machine.push(token.literal);
      else if (token.literal < LongMin || token.literal > LongMax)
        status = ev::OutOfLongRange;
      else
        status = machine.push(static_cast<std::int32_t>(token.literal));
      break;
    case item::RealLiteral:
      status = machine.push(token.literal);
      break;
    case item::StringName: {
      char value[BufferSize];
      status = read(token, value);
      if (status == ev::Ok) status = machine.push(value);
      break;
    }
    case item::StringLiteral: {
      char value[BufferSize];
      getStringValue(entry->textOf(token), value);
      status = machine.push(value);
      break;
    }
    default:
      status = ev::IllegalCharacter;
      break;
    }
    if (status) return status;
  }
  return machine.term();
}

// A formula that does not scan whole is refused, never evaluated cut short.
int TCalcSystem::getItems(const char* formula, TokenArray& items, int& count) {
  const ScanResult scan = scanFormula(formula ? formula : "", items);
  count = scan.count;
  return scanFaultStatus(scan.fault);
}

int TCalcSystem::getOpeCode(const char* text) {
  return findOperator(text);
}

// A "-" is unary at the start, after "(", after another operator and after a function
// name; function names become prefix operators.
void TCalcSystem::convertOperator(TokenArray& items, int count) {
  for (int n = 0; n < count; ++n) {
    item& token = items[n];
    if (token.getType() == item::Operator) {
      int code = getOpeCode(token.text());
      if (code == OpMinus && (n == 0 || (items[n - 1].getType() == item::Operator &&
                                         items[n - 1].getOpeType() != OpClose)))
        code = OpInvert;
      token.setOpeType(code);
    } else if (token.getType() == item::LongName) {
      const int code = getOpeCode(token.text());
      if (code >= FirstFunction && code <= LastFunction) {
        token.setType(item::Operator);
        token.setOpeType(code);
      }
    }
  }
}

// Names are resolved as the value operations resolve them, inline rather than through the
// table: the plotter reads x at every sample.
int TCalcSystem::pushOperand(fCalc& machine, const item& token) {
  const char* text = token.text();
  switch (token.getType()) {
  case item::LongName:
    if (!floatFlag) {
      std::int32_t value = 0;
      if (int status = resolve(text, readInto(value))) return status;
      return machine.push(value);
    }
    [[fallthrough]];
  case item::DoubleName: {
    double value = 0.0;
    if (int status = resolve(text, readInto(value))) return status;
    return machine.push(value);
  }
  case item::IntLiteral: {
    const double value = literalValue(text);
    if (floatFlag) return machine.push(value);
    if (value < LongMin || value > LongMax) return ev::OutOfLongRange;
    return machine.push(static_cast<std::int32_t>(value));
  }
  case item::RealLiteral:
    return machine.push(literalValue(text));
  case item::StringName: {
    char value[BufferSize];
    if (int status = resolve(text, readInto(value))) return status;
    return machine.push(value);
  }
  case item::StringLiteral: {
    char value[BufferSize];
    getStringValue(text, value);
    return machine.push(value);
  }
  default:
    return ev::IllegalCharacter;
  }
}
