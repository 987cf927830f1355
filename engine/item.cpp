#include "item.h"

#include <cstring>

// Only the terminator is set: clearing the whole 256-byte text would cost more than
// scanning a short token into it.
item::item() : type(Stray), opeType(0) {
  itemText[0] = '\0';
}

item::item(const int kind, const char* src, const int code) : type(kind), opeType(code) {
  setItem(src);
}

void item::setItem(const char* src) {
  // Measure only as far as the buffer can hold: the source need not be a short text.
  std::size_t length = 0;
  if (src != nullptr) {
    while (length < TextSize - 1 && src[length] != '\0')
      ++length;
  }
  setItem(src, length);
}

void item::getItem(char* out) const {
  std::memcpy(out, itemText, std::strlen(itemText) + 1);
}

// Tokens are a few bytes long, so a plain loop beats a library call. It copies forward,
// so a source inside this record's own text (always at or after its start) is safe.
void item::setItem(const char* src, std::size_t length) {
  if (src == nullptr) length = 0;
  if (length > TextSize - 1) length = TextSize - 1;
  for (std::size_t n = 0; n < length; ++n)
    itemText[n] = src[n];
  itemText[length] = '\0';
}
