#include "FormulaCache.h"

#include "DoubleOperations.h"
#include "EvalonStatus.h"
#include "LiteralValue.h"
#include "OperatorTable.h"
#include "ReferenceResolve.h"
#include "TokenArray.h"
#include "fCalc.h"

#include <cstring>
#include <new>

using formulacache::Entry;
using formulacache::infixOnDoubles;
using formulacache::Op;
using formulacache::prefixOnDouble;
using formulacache::Step;
using formulacache::Token;

namespace {

// Follows fCalc over the tokens with stacks of operator codes and of value counts only,
// writing down each read and each operation in the order the machine would perform them.
// The machine's course depends on the token sequence alone; only the statuses of reads and
// operations depend on values, and any of them ends the evaluation at the same step in
// both. Gives up (false) wherever the machine would refuse the shape of the formula, or
// meet a value that is not a double in double mode: those formulas go through the
// machine itself.
class ProgramBuilder {
public:
  explicit ProgramBuilder(std::vector<Step>& steps) : steps(steps) {}

  bool build(const std::vector<Token>& tokens) {
    for (std::size_t n = 0; n < tokens.size(); ++n) {
      const Token& token = tokens[n];
      if (token.kind == item::Operator) {
        if (!set(token.code)) return false;
      } else if (!operand(token, static_cast<std::int32_t>(n))) {
        return false;
      }
    }
    // term(): everything left is reduced, and exactly one value must remain.
    while (operators > 0)
      if (!calc()) return false;
    return values == 1;
  }

private:
  // In double mode names without "$" are read as doubles and integer literals are doubles.
  bool operand(const Token& token, std::int32_t index) {
    if (values == fCalc::Capacity) return false;
    switch (token.kind) {
    case item::LongName:
    case item::DoubleName:
      steps.push_back({Op::Read, 0, index, 0.0});
      break;
    case item::IntLiteral:
    case item::RealLiteral:
      steps.push_back({Op::Constant, 0, index, token.literal});
      break;
    default:
      return false;
    }
    ++values;
    return true;
  }

  // fCalc::set(int).
  bool set(int code) {
    if (code == OpUnknown) return false;
    if (code == OpOpen) return push(code);
    if (code == OpClose) {
      for (;;) {
        if (operators > 0 && precedenceOf(stack[operators - 1]) == OpOpen) {
          --operators;
          return true;
        }
        if (!calc()) return false;
      }
    }
    const int precedence = precedenceOf(code);
    while (operators > 0 && precedenceOf(stack[operators - 1]) >= precedence)
      if (!calc()) return false;
    return push(code);
  }

  bool push(int code) {
    if (operators == fCalc::Capacity) return false;
    stack[operators++] = code;
    return true;
  }

  // fCalc::calc(), for the operations whose result on doubles is a double.
  bool calc() {
    if (operators == 0 || values == 0) return false;
    const int code = stack[--operators];
    if ((code >= FirstFunction && code <= LastFunction) || code == OpInvert) {
      // An operation on a literal that succeeds is done here, once.
      if (!steps.empty() && steps.back().op == Op::Constant) {
        double value = steps.back().constant;
        if (prefixOnDouble(code, value) == ev::Ok) {
          steps.back().constant = value;
          return true;
        }
      }
      steps.push_back({Op::Prefix, code, -1, 0.0});
      return true;
    }
    const bool arithmetic =
        code == OpPlus || code == OpMinus || code == OpTimes || code == OpDivide || code == OpPower;
    if (!arithmetic || values < 2) return false;
    --values;
    // Every step leaves its result on top, so the two last steps made the two top values.
    const std::size_t n = steps.size();
    if (n >= 2 && steps[n - 1].op == Op::Constant && steps[n - 2].op == Op::Constant) {
      double left = steps[n - 2].constant;
      if (infixOnDoubles(code, left, steps[n - 1].constant) == ev::Ok) {
        steps.pop_back();
        steps.back().constant = left;
        return true;
      }
    }
    // A right operand read or written just before is taken by the operation itself.
    Step& right = steps[n - 1];
    if (right.op == Op::Read || right.op == Op::Constant) {
      right.op = right.op == Op::Read ? Op::InfixRead : Op::InfixConstant;
      right.code = code;
      return true;
    }
    steps.push_back({Op::Infix, code, -1, 0.0});
    return true;
  }

  std::vector<Step>& steps;
  int stack[fCalc::Capacity] = {};
  int operators = 0;
  int values = 0;
};

// The run-time operation of a built step.
formulacache::Run runOf(const Step& step) {
  using formulacache::Run;
  switch (step.op) {
  case Op::Read:
    return Run::Read;
  case Op::Constant:
    return Run::Constant;
  case Op::Prefix:
    return step.code == OpInvert ? Run::Negate : Run::Function;
  default:
    break;
  }
  const int base = step.op == Op::Infix       ? static_cast<int>(Run::Add)
                   : step.op == Op::InfixRead ? static_cast<int>(Run::AddRead)
                                              : static_cast<int>(Run::AddConstant);
  const int offset = step.code == OpPlus     ? 0
                     : step.code == OpMinus  ? 1
                     : step.code == OpTimes  ? 2
                     : step.code == OpDivide ? 3
                                             : 4;
  return static_cast<Run>(base + offset);
}

bool isName(int kind) {
  return kind == item::LongName || kind == item::DoubleName || kind == item::StringName;
}

// Fills the entry from the scan; may throw std::bad_alloc.
void fill(Entry& entry, const char* formula, std::size_t length, int status, TokenArray& items,
          int count) {
  entry.key.assign(formula, length);
  entry.status = status;
  entry.tokens.clear();
  entry.texts.clear();
  entry.steps.clear();
  entry.hasProgram = false;
  if (status != ev::Ok) return;
  for (int n = 0; n < count; ++n) {
    const item& record = items[n];
    Token token{};
    token.kind = record.getType();
    token.code = record.getOpeType();
    token.text = static_cast<std::uint32_t>(entry.texts.size());
    const char* text = record.text();
    if (token.kind == item::IntLiteral || token.kind == item::RealLiteral)
      token.literal = literalValue(text);
    token.plainName = isName(token.kind) && isBareName(text);
    entry.texts.append(text, std::strlen(text) + 1);
    entry.tokens.push_back(token);
  }
  ProgramBuilder builder(entry.steps);
  entry.hasProgram = builder.build(entry.tokens);
  entry.resolvedIn = Entry::NotResolved;
  if (!entry.hasProgram) entry.steps.clear();
  for (Step& step : entry.steps)
    step.run = runOf(step);
}

} // namespace

Entry* FormulaCache::findOther(const char* formula) {
  for (int n = 0; n < Entries; ++n) {
    Entry& entry = entries[static_cast<std::size_t>(n)];
    if (entry.valid && matches(entry.key, formula)) {
      entry.lastUse = ++clock;
      mostRecent = n;
      return &entry;
    }
  }
  return nullptr;
}

Entry* FormulaCache::victim() {
  Entry* oldest = &entries[0];
  for (Entry& entry : entries) {
    if (!entry.valid) return &entry;
    if (entry.lastUse < oldest->lastUse) oldest = &entry;
  }
  return oldest;
}

Entry* FormulaCache::store(const char* formula, std::size_t length, int status, TokenArray& items,
                           int count) {
  Entry* entry = victim();
  entry->valid = false;
  try {
    fill(*entry, formula, length, status, items, count);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  entry->valid = true;
  entry->lastUse = ++clock;
  mostRecent = static_cast<int>(entry - entries.data());
  return entry;
}

void FormulaCache::clear() {
  for (Entry& entry : entries)
    entry.valid = false;
}

int FormulaCache::size() const {
  int used = 0;
  for (const Entry& entry : entries)
    used += entry.valid ? 1 : 0;
  return used;
}
