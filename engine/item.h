// item: one scanned token of a formula (kind, text, operator code).
#pragma once

#include "TextBuffer.h"

#include <cstddef>
#include <cstdint>

class item final {
public:
  // A token is built in a text buffer: at most 255 bytes and the terminator.
  static constexpr std::size_t TextSize = BufferSize;

  // The token kinds of the scanner.
  enum Kind : std::int32_t {
    Stray = 0,    // one character that starts no other token
    LongName = 1, // a name without "#" and "$" (function names arrive as this too)
    IntLiteral = 2,
    DoubleName = 3, // a name containing "#"
    RealLiteral = 4,
    StringName = 5, // a name containing "$"
    StringLiteral = 6,
    Operator = 7, // a run of operator characters, "(" or ")"
  };

  item();
  item(const int type, const char* text, const int opeType);

  // The small accessors are defined here so that the evaluator's calls on its (final)
  // records inline.
  virtual void setType(const int kind) { type = kind; }
  virtual void setItem(const char* text); // keeps at most 255 bytes
  virtual void setOpeType(const int code) { opeType = code; }
  virtual int getType() const { return type; }
  virtual void getItem(char* out) const; // out holds 256 bytes
  virtual int getOpeType() const { return opeType; }

  // Sets the text from a run of bytes that need not be terminated (at most 255 are kept).
  void setItem(const char* text, std::size_t length);
  // The terminated text, for readers that need no copy.
  const char* text() const { return itemText; }

private:
  std::int32_t type;
  char itemText[TextSize];
  std::int32_t opeType;
};

// Tokens are a few bytes long, so a plain loop beats a library call. It copies forward,
// so a source inside this record's own text (always at or after its start) is safe.
inline void item::setItem(const char* src, std::size_t length) {
  if (src == nullptr) length = 0;
  if (length > TextSize - 1) length = TextSize - 1;
  for (std::size_t n = 0; n < length; ++n)
    itemText[n] = src[n];
  itemText[length] = '\0';
}

// Only the terminator is set: clearing the whole 256-byte text would cost more than
// scanning a short token into it.
inline item::item() : type(Stray), opeType(0) {
  itemText[0] = '\0';
}
