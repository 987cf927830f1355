// What the document targets share: how a text reads back once it is written.
#pragma once

#include "Utf8Codec.h"

#include <QChar>
#include <QString>

namespace fuzz {

inline bool isBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A text as it reads back after writing: line breaks written as blanks, which the reader then
// trims at both ends.
inline QString asRewritten(QString value) {
  value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  while (!value.isEmpty() && isBlank(value.back()))
    value.chop(1);
  while (!value.isEmpty() && isBlank(value.front()))
    value.remove(0, 1);
  return value;
}

// A text as a file in UTF-8 reads it back once written: bytes kept from CP932 that would join
// into a character there are mended (Utf8Codec.h).
inline QString asReadBackInUtf8(const QString& text) {
  return fromUtf8KeepingBytes(toUtf8ReadingBack(text));
}

} // namespace fuzz
