#include "item.h"

#include <cstring>

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
