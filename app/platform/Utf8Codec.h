// The UTF-8 text codec of document files that hold text without a CP932 form. Bytes that are
// not valid UTF-8 are kept as escapes (ByteEscapes.h), so they are written back as they were.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

QByteArray toUtf8KeepingBytes(const QString& text);
// The bytes of the text in a UTF-8 file, which read back as the text. Kept bytes are written as
// they were, but bytes kept from another encoding can join into a character in UTF-8 (0xEB 0x80
// 0x80 reads as U+B000): the first of such bytes is written as '?' instead, as CP932 writes a
// character it lacks, so that the text reads back as written rather than as a character nobody
// typed, and takes the bytes it took in CP932.
QByteArray toUtf8ReadingBack(const QString& text);
// The length of the well-formed UTF-8 sequence at i, or 0 when none starts there: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype i);
QString fromUtf8KeepingBytes(const QByteArray& bytes);

// Whether byte continues a multibyte sequence (0x80..0xBF) rather than starting a character.
inline bool isUtf8Continuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
// The length of the sequence that lead starts in well-formed UTF-8: 1 to 4.
qsizetype utf8LengthOfLead(char lead);
// The character of the well-formed sequence of length bytes at i (utf8SequenceLength).
char32_t utf8Character(QByteArrayView bytes, qsizetype i, qsizetype length);

// An escaped byte (ByteEscapes.h) as the three bytes UTF-8's scheme gives its surrogate: 0xED,
// 0xB2 or 0xB3, and a continuation byte. No well-formed UTF-8 holds them, so bytes that are
// otherwise UTF-8 can keep escapes in this form.
std::array<char, 3> escapeAsUtf8Bytes(QChar escape);
// The escape whose three bytes start at i, or nothing when none does. Inline: a font name is
// searched for escapes byte by byte.
inline std::optional<QChar> escapeOfUtf8Bytes(QByteArrayView bytes, qsizetype i) {
  if (i + 2 >= bytes.size() || bytes[i] != '\xED' || !isUtf8Continuation(bytes[i + 2]))
    return std::nullopt;
  const auto second = static_cast<unsigned char>(bytes[i + 1]);
  if (second != 0xB2 && second != 0xB3) return std::nullopt;
  const auto low = static_cast<unsigned char>(bytes[i + 2]) & 0x3F;
  return QChar(static_cast<char16_t>(0xD000 | ((second & 0x3F) << 6) | low));
}
