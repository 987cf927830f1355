// One line of an INI text, scanned and formed: a "[section]" header, a "key=value" line, or any
// other line (comment, blank, garbage). Lines are bytes in the file's encoding, CP932 or UTF-8
// (utf8), without their line end.
#pragma once

#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ini {

enum class LineKind : char { Header, Key, Other };

// What a line is, with the name of a header or key as a view of the line's bytes: lookups
// check a found name against it instead of reading the line again.
struct LineInfo {
  LineKind kind = LineKind::Other;
  QByteArrayView name;
};

LineInfo lineInfo(QByteArrayView line, bool utf8);

// The bytes of the character at i. CP932 lead bytes start double-byte characters whose second
// byte may look like ASCII ('[', ']', letters), so scans and comparisons step over whole
// characters. In UTF-8 no byte of a multibyte character is ASCII. Inline, as are the other
// small helpers here: scans call it for every character, and every write calls the others.
inline qsizetype charLength(QByteArrayView text, qsizetype i, bool utf8) {
  if (!utf8) return isShiftJisLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
  qsizetype end = i + 1;
  while (end < text.size() && isUtf8Continuation(text[end]))
    ++end;
  return end - i;
}

// The value of a key line as it reads: trimmed of blanks and cut to IniFile::MaxValueBytes.
QByteArrayView readValue(QByteArrayView keyLine, bool utf8);

// Whether the bytes after a key's '=' hold the value, whose bytes are encoded unless it is
// ASCII: the bytes written for it, or, for a value without blanks at its ends, bytes that read
// as it, so that a line read and written back unchanged keeps its bytes.
bool holdsValue(QByteArrayView written, QStringView value, QByteArrayView encoded);

// Whether the text holds a line break.
inline bool hasLineBreak(QStringView text) {
  for (const QChar c : text)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) return true;
  return false;
}

// The text with its line breaks as blanks, so that it fits one line.
QString joinedLines(QStringView text);

// Line breaks become blanks, so the text fits one line; a text without them is shared.
inline QString oneLine(const QString& text) {
  return hasLineBreak(text) ? joinedLines(text) : text;
}
inline QString oneLine(QStringView text) {
  return hasLineBreak(text) ? joinedLines(text) : QString::fromRawData(text.data(), text.size());
}

inline bool isAscii(QStringView text) {
  char16_t seen = 0;
  for (const QChar c : text)
    seen |= c.unicode();
  return seen < 0x80;
}

inline bool losslessInShiftJis(const QString& text) {
  bool lossless = true;
  if (!isAscii(text)) toShiftJis(text, &lossless);
  return lossless;
}

// Text in a file's encoding.
QByteArray encoded(QStringView text, bool utf8);

// A CP932 line recoded for a file that has changed to UTF-8, with the same reading.
QByteArray recodedLine(const QByteArray& line);

// A section or key name in the file's encoding. The program's own names are ASCII and are held
// on the stack, copied in the pass that checks them: a load looks up hundreds of them.
class EncodedName {
public:
  EncodedName(QStringView name, bool utf8) {
    if (name.size() <= qsizetype(sizeof m_ascii) && copiedAscii(name)) return;
    m_size = -1;
    m_other = encoded(name, utf8);
  }
  QByteArrayView view() const {
    return m_size < 0 ? QByteArrayView(m_other) : QByteArrayView(m_ascii, m_size);
  }

private:
  bool copiedAscii(QStringView name) {
    char16_t seen = 0;
    const char16_t* chars = name.utf16();
    for (qsizetype i = 0; i < name.size(); ++i) {
      seen |= chars[i];
      m_ascii[i] = static_cast<char>(chars[i]);
    }
    m_size = name.size();
    return seen < 0x80;
  }

  char m_ascii[64];
  qsizetype m_size = 0;
  QByteArray m_other;
};

} // namespace ini
