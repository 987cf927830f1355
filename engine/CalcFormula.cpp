// Formula evaluation: the four entry points, and the core that scans a formula, gives
// operator tokens their codes and feeds everything into an evaluation machine.
#include "TCalcSystem.h"

#include "DoubleOperations.h"
#include "FormulaCache.h"
#include "FormulaScanner.h"
#include "LiteralValue.h"
#include "LongRange.h"
#include "OperatorTable.h"
#include "RealFunctions.h"
#include "ReferenceResolve.h"
#include "TVarSystem.h"
#include "TextBuffer.h"
#include "fCalc.h"

#include <charconv>
#include <cstring>
#include <type_traits>

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

// A name of a cached formula, read as a fresh scan reads it (pushOperand: resolveName),
// except that a plain name the store has found before, in the same generation, is that
// variable without a lookup.
template <class Out, class ResolveName>
int readToken(const TVarSystem& store, const formulacache::Entry& entry, formulacache::Token& token,
              Out& out, ResolveName resolveName) {
  if (token.found && token.foundIn == store.generation()) {
    if constexpr (std::is_same_v<Out, double>) {
      if (token.foundDouble) {
        out = *token.foundDouble;
        return ev::Ok;
      }
    }
    return token.found->getValue(out);
  }
  const char* name = entry.textOf(token);
  const int status = resolveName(name, out);
  if (token.plainName) {
    token.found = store.find(name, 0, 0);
    token.foundDouble = token.found && token.found->who() == 'F'
                            ? static_cast<const doubleVariable*>(token.found)->valueAddress()
                            : nullptr;
    token.foundIn = store.generation();
  }
  return status;
}

// Finds the variables of the program's plain names afresh when the store has changed since
// they were found. Only a lookup: a name not found stays null and is read as a fresh scan
// reads it, with whatever that creates, when its step comes.
inline void resolveProgram(const TVarSystem& store, formulacache::Entry& entry) {
  for (formulacache::Step& step : entry.steps) {
    if (step.op != formulacache::Op::Read && step.op != formulacache::Op::InfixRead) continue;
    const formulacache::Token& token = entry.tokens[static_cast<std::size_t>(step.token)];
    step.found = token.plainName ? store.find(entry.textOf(token), 0, 0) : nullptr;
    step.foundDouble = step.found && step.found->who() == 'F'
                           ? static_cast<const doubleVariable*>(step.found)->valueAddress()
                           : nullptr;
  }
  entry.resolvedIn = store.generation();
}

// Runs the double program of the entry (FormulaCache.h): its reads and operations in the
// order of the machine, each status ending it as it would end the machine. A variable found
// in this generation is the one a lookup would find: variables are removed only all at once,
// which starts a new generation, and one created by a read during the run leaves those found
// before in place.
template <class ResolveName>
int runProgram(const TVarSystem& store, formulacache::Entry& entry, double& result,
               ResolveName resolveName) {
  using formulacache::Run;
  if (entry.resolvedIn != store.generation()) resolveProgram(store, entry);
  // The right operand of a step that reads a variable.
  auto read = [&](const formulacache::Step& step, double& value) -> int {
    if (step.foundDouble) {
      value = *step.foundDouble;
      return ev::Ok;
    }
    if (step.found) return step.found->getValue(value);
    return resolveName(entry.textOf(entry.tokens[static_cast<std::size_t>(step.token)]), value);
  };
  double values[FormulaCache::ProgramStack];
  int top = -1;
  for (const formulacache::Step& step : entry.steps) {
    double right = 0.0;
    int status = ev::Ok;
    switch (step.run) {
    case Run::Read:
      status = read(step, values[++top]);
      break;
    case Run::Constant:
      values[++top] = step.constant;
      break;
    case Run::Negate:
      values[top] = -values[top];
      break;
    case Run::Function:
      status = realfn::apply(step.code - FirstFunction, values[top]);
      break;
    case Run::Add:
      values[top - 1] = values[top - 1] + values[top];
      --top;
      break;
    case Run::Subtract:
      values[top - 1] = values[top - 1] - values[top];
      --top;
      break;
    case Run::Multiply:
      values[top - 1] = values[top - 1] * values[top];
      --top;
      break;
    case Run::Divide:
    case Run::Power:
      status = formulacache::infixOnDoubles(step.code, values[top - 1], values[top]);
      --top;
      break;
    case Run::AddRead:
      status = read(step, right);
      values[top] = values[top] + right;
      break;
    case Run::SubtractRead:
      status = read(step, right);
      values[top] = values[top] - right;
      break;
    case Run::MultiplyRead:
      status = read(step, right);
      values[top] = values[top] * right;
      break;
    case Run::DivideRead:
    case Run::PowerRead:
      status = read(step, right);
      if (status == ev::Ok) status = formulacache::infixOnDoubles(step.code, values[top], right);
      break;
    case Run::AddConstant:
      values[top] = values[top] + step.constant;
      break;
    case Run::SubtractConstant:
      values[top] = values[top] - step.constant;
      break;
    case Run::MultiplyConstant:
      values[top] = values[top] * step.constant;
      break;
    case Run::DivideConstant:
    case Run::PowerConstant:
      status = formulacache::infixOnDoubles(step.code, values[top], step.constant);
      break;
    }
    if (status) return status;
  }
  result = values[0];
  return ev::Ok;
}

// The final value of a double program, taken as the machine takes its final double value.
template <class Out> int programResult(double value, Out& out) {
  if constexpr (std::is_same_v<Out, double>) {
    out = value;
    return ev::Ok;
  } else {
    return gValue(value).getValue(out);
  }
}

} // namespace

// The course of every entry point: a fresh machine, the formula, the result in the kind
// asked for. Without a store nothing is evaluated. A formula cached with a double program
// runs without the machine in double mode (FormulaCache.h).
template <class Out> int TCalcSystem::evaluate(const char* formula, Out& out) {
  if (!store) return ev::NoSystem;
  if (floatFlag && nesting == 0 && store->formulaCaching()) {
    formulacache::Entry* entry = store->formulaCache().find(formula ? formula : "");
    if (entry && entry->hasProgram) {
      double value = 0.0;
      const int status = runProgram(*store, *entry, value, [this](const char* name, auto& read) {
        return this->resolve(name, readInto(read));
      });
      return status != ev::Ok ? status : programResult(value, out);
    }
  }
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

// With the cache on (the store's switch, FormulaCache.h), a formula is scanned once and then
// run from its entry; otherwise, and for subscript expressions evaluated while a formula
// runs from its entry (which must not change under it), it is scanned at every call.
int TCalcSystem::calcFormula(fCalc& machine, const char* formula) {
  const char* text = formula ? formula : "";
  FormulaCache* cache = store->formulaCaching() && nesting == 0 ? &store->formulaCache() : nullptr;
  formulacache::Entry* entry = cache ? cache->find(text) : nullptr;
  if (!entry) {
    // Formulas too long for a key are not cached.
    const std::size_t length = strnlen(text, FormulaCache::MaxKeyLength + 1);
    if (length > FormulaCache::MaxKeyLength) cache = nullptr;
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

  auto read = [&](formulacache::Token& token, auto& out) {
    return readToken(*store, *entry, token, out, [this](const char* name, auto& value) {
      return this->resolve(name, readInto(value));
    });
  };

  // The tokens go into the machine as pushOperand and set would feed them.
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
