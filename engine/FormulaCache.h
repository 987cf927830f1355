// FormulaCache: the scanned, converted and resolved form of the formulas a calculation
// system evaluated most recently, so that the plotter's "set x, evaluate" does not scan the
// same text at every sample.
//
// An entry is keyed by the formula's exact bytes (up to its terminator) and holds what
// scanning and operator conversion made of them, which depends on nothing else: the scan
// status of a formula that does not scan (or has no tokens), otherwise its tokens in order,
// with their kinds, operator codes, texts and literal values. Evaluating the entry feeds the
// tokens to the machine in the same order with the same calls as a fresh scan would, so the
// result and the status are the same; the values of variables are read at every
// evaluation.
//
// What an entry remembers beyond the text is the variable that a plain name (no subscript)
// found. It is used only while the store's generation (TVarSystem::generation) is the one it
// was found in; the store moves to a new generation whenever a variable is created or
// destroyed, so a remembered variable is still the one a lookup of the name would find.
// Any other reference (a subscripted name, a name not found) is resolved afresh each time,
// exactly as without the cache.
//
// A formula that is pure double arithmetic in double mode (no strings, no comparisons or
// logic, nothing that the machine refuses for its shape) also gets a straight-line program:
// the reads and operations in exactly the order the machine would perform them, computed
// once by following the machine's stacks symbolically. It runs on plain doubles with the
// very operations of gValue.
//
// Memory is bounded: a fixed number of entries, each of a formula of at most MaxKeyLength
// bytes, at most 128 tokens of at most 255 bytes. Entries are reused in place, so once the
// formulas of a plot are cached, evaluating them allocates nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class variable;
class TokenArray;

namespace formulacache {

struct Token {
  std::int32_t kind;         // item kind after operator conversion (functions are operators)
  std::int32_t code;         // operator code of an operator token
  double literal;            // the value of an integer or real literal's digits
  std::uint32_t text;        // offset of the token's terminated text in Entry::texts
  bool plainName;            // a name that is resolved as it stands: no subscript, no blank
  const variable* found;     // the variable the plain name found, in generation foundIn
  const double* foundDouble; // its value, when it is a double variable
  std::uint64_t foundIn;
};

// One step of a double program.
enum class Op : std::uint8_t {
  Read,          // the double value of the variable of token `token`
  Constant,      // the literal `constant`
  Prefix,        // the one-operand operation of `code` on the top value
  Infix,         // the two-operand operation of `code` on the two top values
  InfixRead,     // Read, then Infix: the variable is the right operand
  InfixConstant, // Constant, then Infix
};

// What a step does at run time: the operation is part of the step, so that one dispatch
// does it (Step::run, derived from op and code when the program is built).
enum class Run : std::uint8_t {
  Read,
  Constant,
  Negate,
  Function,
  // Infix, by operation
  Add,
  Subtract,
  Multiply,
  Divide,
  Power,
  // InfixRead
  AddRead,
  SubtractRead,
  MultiplyRead,
  DivideRead,
  PowerRead,
  // InfixConstant
  AddConstant,
  SubtractConstant,
  MultiplyConstant,
  DivideConstant,
  PowerConstant,
};

struct Step {
  Op op;
  std::int32_t code;
  std::int32_t token;
  double constant;
  Run run = Run::Read;
  // Read and InfixRead of a plain name: the variable found in Entry::resolvedIn (null if
  // none), and its value if it is a double variable.
  const variable* found = nullptr;
  const double* foundDouble = nullptr;
};

struct Entry {
  bool valid = false;
  std::string key;
  int status = 0; // non-zero: the formula's scan status (or "no tokens"); nothing to run
  std::vector<Token> tokens;
  std::string texts;
  bool hasProgram = false; // steps hold the double-mode program
  std::vector<Step> steps;
  std::uint64_t resolvedIn = NotResolved; // the store generation the steps' variables are of
  static constexpr std::uint64_t NotResolved = ~std::uint64_t{0};
  std::uint64_t lastUse = 0;

  const char* textOf(const Token& token) const { return texts.data() + token.text; }
};

} // namespace formulacache

class FormulaCache {
public:
  static constexpr int Entries = 8;
  // Longer formulas are evaluated without the cache, so that an entry stays small.
  static constexpr std::size_t MaxKeyLength = 1024;
  // The most values the double program keeps at once (the machine's capacity).
  static constexpr int ProgramStack = 20;

  FormulaCache() = default;
  FormulaCache(const FormulaCache&) = delete;
  FormulaCache& operator=(const FormulaCache&) = delete;

  // The entry whose key is the terminated formula, or null. Reads the formula only as far
  // as its terminator or the first byte that differs from a key.
  formulacache::Entry* find(const char* formula) {
    formulacache::Entry& recent = entries[static_cast<std::size_t>(mostRecent)];
    if (recent.valid && matches(recent.key, formula)) {
      recent.lastUse = ++clock;
      return &recent;
    }
    return findOther(formula);
  }

  // Stores what the scan gave (a non-zero status, or the converted tokens) in the least
  // recently used entry and returns it; null when memory for it cannot be had (the entry is
  // then left empty).
  formulacache::Entry* store(const char* formula, std::size_t length, int status, TokenArray& items,
                             int count);

  void clear();
  int size() const; // entries in use

private:
  // The key and the formula are the same bytes: the key holds no terminator, so a shorter
  // formula differs at its terminator, and a longer one does not end after the key.
  // A long key is compared by the library's word-wise routines, once the formula is known
  // to be as long.
  static bool matches(const std::string& key, const char* formula) {
    const char* k = key.data();
    const std::size_t length = key.size();
    if (length > 16)
      return strnlen(formula, length + 1) == length && std::memcmp(k, formula, length) == 0;
    for (std::size_t n = 0; n < length; ++n)
      if (k[n] != formula[n]) return false;
    return formula[length] == '\0';
  }
  formulacache::Entry* findOther(const char* formula);
  formulacache::Entry* victim();

  std::array<formulacache::Entry, Entries> entries;
  std::uint64_t clock = 0;
  int mostRecent = 0;
};
