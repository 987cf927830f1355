// The Shift-JIS (CP932) text codec of document files: captions, formulas and font names may
// hold Japanese text, and the files are exchanged in that code page.
#pragma once

#include <QByteArray>
#include <QString>

// Encodes text as CP932. A character without a CP932 form becomes '?', and lossless, when
// given, tells whether every character had one. An escaped byte (ByteEscapes.h) is written as
// that byte; it counts as lossless unless the bytes then read back as another text, as an
// escaped lead byte and the next character's bytes can.
QByteArray toShiftJis(const QString& text, bool* lossless = nullptr);

// Decodes CP932 bytes. Never fails: each byte that starts no valid character, and a double-byte
// character cut off at the end, becomes the escape of that byte, so damaged files still show
// their readable text and an unchanged value is written back as it was.
QString fromShiftJis(const QByteArray& bytes);

// Whether byte starts a double-byte CP932 character (0x81..0x9F, 0xE0..0xFC). The byte after it
// may be ASCII, a letter or '[' or ']', though never '=' or a blank.
// Inline: line scans ask it of every byte.
inline bool isShiftJisLeadByte(char byte) {
  const auto u = static_cast<unsigned char>(byte);
  return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
}

// Whether CP932 writes the character in a single byte: ASCII and the half-width katakana
// U+FF61..U+FF9F.
bool isShiftJisSingleByte(char32_t character);

// Whether a lead byte and the byte after it are one CP932 character. When they are not, the
// decoder keeps the lead byte alone and reads on from the next byte.
bool isShiftJisPair(char lead, char trail);
