#include "FormulaScanner.h"

#include "CharClass.h"

#include <cstddef>

namespace {

// The bytes of one token, found by walking the formula; nothing is copied until the
// token is known to fit.
struct Extent {
  const char* end; // one past the token's last byte
  int kind;
  ScanFault fault; // UnclosedString or UnclosedBracket when the token ran to the end
};

// A name takes name characters, and while inside brackets every byte, so that an index
// expression stays part of its variable reference. The last sigil decides the kind.
Extent scanName(const char* p) {
  int kind = item::LongName;
  int depth = 0;
  for (++p;; ++p) {
    const char c = *p;
    if (depth <= 0) {
      // Letters, digits and "_" need no further look: the usual name goes fast.
      if (charclass::isAlnum(c) || c == '_') continue;
      if (!isVarName(c)) break;
    } else if (c == '\0') {
      break;
    }
    if (c == '$')
      kind = item::StringName;
    else if (c == '#')
      kind = item::DoubleName;
    else if (c == '[')
      ++depth;
    else if (c == ']')
      --depth;
  }
  return {p, kind, depth > 0 ? ScanFault::UnclosedBracket : ScanFault::None};
}

// Digits and points; a single point makes it a real literal. Signs and exponents are
// not part of a number.
Extent scanNumber(const char* p) {
  int kind = item::IntLiteral;
  for (; charclass::isDigit(*p) || *p == '.'; ++p) {
    if (*p == '.') kind = item::RealLiteral;
  }
  return {p, kind, ScanFault::None};
}

// The longest run of operator characters is one token, whatever it spells.
Extent scanOperatorRun(const char* p) {
  while (isOperator(*p))
    ++p;
  return {p, item::Operator, ScanFault::None};
}

// A literal runs to the next double quote; there are no escapes.
Extent scanString(const char* p) {
  ++p;
  while (*p != '\0' && *p != '"')
    ++p;
  if (*p == '\0') return {p, item::StringLiteral, ScanFault::UnclosedString};
  return {p + 1, item::StringLiteral, ScanFault::None};
}

// p is not at the terminator.
Extent scanToken(const char* p) {
  if (charclass::isLetter(*p)) return scanName(p);
  if (charclass::isDigit(*p)) return scanNumber(p);
  if (isOperator(*p)) return scanOperatorRun(p);
  if (*p == '"') return scanString(p);
  if (*p == '(' || *p == ')') return {p + 1, item::Operator, ScanFault::None};
  return {p + 1, item::Stray, ScanFault::None};
}

} // namespace

const char* strSkip(const char* p) {
  while (charclass::isSpace(*p))
    ++p;
  return p;
}

char* strSkip(char* p) {
  return const_cast<char*>(strSkip(static_cast<const char*>(p)));
}

bool isCalcOperator(char c) {
  return charclass::is(c, charclass::CalcOp);
}

bool isOperator(char c) {
  return charclass::is(c, charclass::CalcOp | charclass::LogicOp);
}

bool isVarName(char c) {
  return charclass::isAlnum(c) || charclass::is(c, charclass::NameSign);
}

void getStringValue(const char* src, char* dst) {
  bool quoted = false;
  for (; *src != '\0'; ++src) {
    if (*src == '"')
      quoted = !quoted;
    else if (quoted)
      *dst++ = *src;
  }
  *dst = '\0';
}

ScanResult scanFormula(const char* formula, TokenArray& tokens) {
  ScanResult result{0, ScanFault::None};
  if (formula == nullptr) return result;
  for (const char* p = strSkip(formula); *p != '\0'; p = strSkip(p)) {
    if (result.count >= TokenArray::Capacity) {
      result.fault = ScanFault::TooManyTokens;
      break;
    }
    const Extent token = scanToken(p);
    const auto length = static_cast<std::size_t>(token.end - p);
    if (length >= item::TextSize) {
      // An unclosed token tells the user more than its length does.
      result.fault = token.fault != ScanFault::None ? token.fault : ScanFault::TokenTooLong;
      break;
    }
    item& record = tokens.make(result.count++);
    record.setType(token.kind);
    record.setItem(p, length);
    // An unclosed token ends at the terminator, so the loop ends with this fault.
    result.fault = token.fault;
    p = token.end;
  }
  return result;
}
