// Bytes that a text encoding cannot decode are kept in the text as escapes, so that a value
// read and not changed is written back byte for byte. Byte b (0x80..0xFF) reads as the lone
// low surrogate U+DC00 + b, which no valid text holds, and is written back as b by both
// codecs of document files.
#pragma once

#include <QChar>
#include <QString>

#include <optional>

inline QChar escapeOfByte(unsigned char byte) {
  return QChar(static_cast<char16_t>(0xDC00 + byte));
}

// The byte that text[i] stands for, or nothing when it is an ordinary character. A low
// surrogate after a high one is half of a real character, not an escape.
inline std::optional<char> escapedByte(const QString& text, qsizetype i) {
  const char16_t unit = text[i].unicode();
  if (unit < 0xDC80 || unit > 0xDCFF) return std::nullopt;
  if (i > 0 && text[i - 1].isHighSurrogate()) return std::nullopt;
  return static_cast<char>(unit - 0xDC00);
}
