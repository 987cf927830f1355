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
#include <string>
#include <vector>

class variable;
class TokenArray;

namespace formulacache {

struct Token {
  std::int32_t kind;    // item kind after operator conversion (functions are operators)
  std::int32_t code;    // operator code of an operator token
  double literal;       // the value of an integer or real literal's digits
  std::uint32_t text;   // offset of the token's terminated text in Entry::texts
  bool plainName;       // a name that is resolved as it stands: no subscript, no blank
  const variable* found; // the variable the plain name found, in generation foundIn
  std::uint64_t foundIn;
};

// One step of a double program.
enum class Op : std::uint8_t {
  Read,     // the double value of the variable of token `token`
  Constant, // the literal `constant`
  Prefix,   // the one-operand operation of `code` on the top value
  Infix,    // the two-operand operation of `code` on the two top values
};

struct Step {
  Op op;
  std::int32_t code;
  std::int32_t token;
  double constant;
};

struct Entry {
  bool valid = false;
  std::string key;
  int status = 0; // non-zero: the formula's scan status (or "no tokens"); nothing to run
  std::vector<Token> tokens;
  std::string texts;
  bool hasProgram = false; // steps hold the double-mode program
  std::vector<Step> steps;
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

  // The entry of exactly these bytes, or null.
  formulacache::Entry* find(const char* formula, std::size_t length);

  // Stores what the scan gave (a non-zero status, or the converted tokens) in the least
  // recently used entry and returns it; null when memory for it cannot be had (the entry is
  // then left empty).
  formulacache::Entry* store(const char* formula, std::size_t length, int status,
                             TokenArray& items, int count);

  void clear();
  int size() const; // entries in use

private:
  formulacache::Entry* victim();

  std::array<formulacache::Entry, Entries> entries;
  std::uint64_t clock = 0;
  int mostRecent = 0;
};
