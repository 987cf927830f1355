// Formula evaluation: the four entry points, and the core that scans a formula, gives
// operator tokens their codes and feeds everything into an evaluation machine.
#include "TCalcSystem.h"

#include "FormulaScanner.h"
#include "LongRange.h"
#include "OperatorTable.h"
#include "ReferenceResolve.h"
#include "TVarSystem.h"
#include "TextBuffer.h"
#include "fCalc.h"

#include <charconv>
#include <cstring>

namespace {

// The most decimal digits whose whole number is always an exact double.
constexpr int ExactDigits = 15;

// The double value of a literal's digits; a second "." ends the number (1.2.3 is 1.2).
// Up to ExactDigits digits, the digits as a whole number and the power of ten of the
// decimals are both exact doubles, so one division gives the correctly rounded value at
// once; longer literals are rounded by from_chars, which unlike strtod does not depend on
// the locale.
double literalValue(const char* text) {
  static constexpr double powersOfTen[ExactDigits + 1] = {
      1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '.') {
      if (point) break;
      point = true;
      continue;
    }
    if (++count > ExactDigits) {
      double value = 0.0;
      std::from_chars(text, text + std::strlen(text), value);
      return value;
    }
    digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    decimals += point ? 1 : 0;
  }
  return static_cast<double>(digits) / powersOfTen[decimals];
}

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

int TCalcSystem::calcFormula(fCalc& machine, const char* formula) {
  TokenArray items;
  int count = 0;
  if (int status = getItems(formula, items, count)) return status;
  if (count < 1) return ev::EmptyFormula;
  convertOperator(items, count);
  for (int n = 0; n < count; ++n) {
    const int status = items[n].getType() == item::Operator ? machine.set(items[n].getOpeType())
                                                            : pushOperand(machine, items[n]);
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
