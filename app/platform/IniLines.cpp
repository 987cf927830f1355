#include "IniLines.h"

#include "ByteEscapes.h"
#include "IniFile.h"
#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <utility>

namespace ini {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView text) {
  while (!text.isEmpty() && isBlank(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && isBlank(text.back()))
    text.chop(1);
  return text;
}

QStringView trimBlanks(QStringView text) {
  const auto blank = [](QChar c) { return c.unicode() < 0x80 && isBlank(char(c.unicode())); };
  while (!text.isEmpty() && blank(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && blank(text.back()))
    text.chop(1);
  return text;
}

// The name of a "[name]" header line, or nothing for any other line.
std::optional<QByteArrayView> headerName(QByteArrayView line, bool utf8) {
  const QByteArrayView text = trimBlanks(line);
  if (!text.startsWith('[')) return std::nullopt;
  for (qsizetype i = 1; i < text.size(); i += charLength(text, i, utf8)) {
    if (text[i] == ']') return trimBlanks(text.sliced(1, i - 1));
  }
  return std::nullopt;
}

// The key name of a "key=value" line; '=' never occurs inside a double-byte character.
std::optional<QByteArrayView> keyName(QByteArrayView line) {
  const qsizetype equals = line.indexOf('=');
  if (equals < 0 || trimBlanks(line).startsWith(';')) return std::nullopt;
  return trimBlanks(line.first(equals));
}

// The bytes of the character at i, and the bytes it takes in CP932. A UTF-8 file measures its
// values in CP932 bytes, so that a value keeps all of its text when its file changes to UTF-8:
// undecodable bytes and the characters CP932 writes in one byte count one, every other
// character two, also one that CP932 lacks. A CP932 lead byte whose pair is no character counts one, as the decoder keeps it
// alone; it is one kept byte in UTF-8, and a cut at a pair would end a byte earlier there.
std::pair<qsizetype, qsizetype> charExtent(QByteArrayView text, qsizetype i, bool utf8) {
  if (!utf8) {
    const qsizetype length =
        charLength(text, i, false) == 2 && isShiftJisPair(text[i], text[i + 1]) ? 2 : 1;
    return {length, length};
  }
  const qsizetype length = utf8SequenceLength(text, i);
  if (length <= 1) return {1, 1};
  return {length, isShiftJisSingleByte(utf8Character(text, i, length)) ? 1 : 2};
}

// Cuts at MaxValueBytes without leaving part of a multibyte character.
QByteArrayView cutValue(QByteArrayView value, bool utf8) {
  if (value.size() <= IniFile::MaxValueBytes) return value;
  qsizetype end = 0;
  qsizetype width = 0;
  while (end < value.size()) {
    const auto [length, cp932] = charExtent(value, end, utf8);
    if (width + cp932 > IniFile::MaxValueBytes) break;
    width += cp932;
    end += length;
  }
  return value.first(end);
}

// Whether the bytes are those written for the value.
bool sameBytes(QByteArrayView written, QStringView value, QByteArrayView encoded) {
  if (!encoded.isEmpty()) return written == encoded;
  if (written.size() != value.size()) return false;
  for (qsizetype i = 0; i < value.size(); ++i)
    if (written[i] != static_cast<char>(value[i].unicode())) return false;
  return true;
}

} // namespace

LineInfo lineInfo(QByteArrayView line, bool utf8) {
  if (const std::optional<QByteArrayView> header = headerName(line, utf8))
    return {LineKind::Header, *header};
  if (const std::optional<QByteArrayView> key = keyName(line)) return {LineKind::Key, *key};
  return {LineKind::Other, {}};
}

QByteArrayView readValue(QByteArrayView keyLine, bool utf8) {
  // A cut can end at a blank, which is trimmed too.
  return trimBlanks(cutValue(trimBlanks(keyLine.sliced(keyLine.indexOf('=') + 1)), utf8));
}

// Blanks are ASCII in both encodings and never the second byte of a CP932 character, so the
// trimmed bytes read as the trimmed value.
bool holdsValue(QByteArrayView written, QStringView value, QByteArrayView encoded) {
  if (sameBytes(written, value, encoded)) return true;
  return trimBlanks(value).size() == value.size() && sameBytes(trimBlanks(written), value, encoded);
}

QString joinedLines(QStringView text) {
  QString line = text.toString();
  return line.replace(QLatin1Char('\r'), QLatin1Char(' '))
      .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QByteArray encoded(QStringView text, bool utf8) {
  if (isAscii(text)) return text.toLatin1();
  return utf8 ? toUtf8ReadingBack(text.toString()) : toShiftJis(text.toString());
}

// A lead byte whose pair CP932 cannot decode still hides its second byte from the line's
// reading; in UTF-8 that byte ('[' or ']') would show and make or change a header, so such a
// pair is written as one U+FFFD and the file keeps its sections.
QByteArray recodedLine(const QByteArray& line) {
  QByteArray recoded = toUtf8ReadingBack(fromShiftJis(line));
  const std::optional<QByteArrayView> before = headerName(line, false);
  const std::optional<QByteArrayView> after = headerName(recoded, true);
  if (before.has_value() == after.has_value() &&
      (!before || toUtf8ReadingBack(fromShiftJis(before->toByteArray())) == *after))
    return recoded;
  QString text;
  for (qsizetype i = 0; i < line.size(); i += charLength(line, i, false)) {
    const QString character = fromShiftJis(line.mid(i, charLength(line, i, false)));
    const bool broken = character.size() == 2 && escapedByte(character, 0).has_value();
    text += broken ? QString(QChar::ReplacementCharacter) : character;
  }
  return toUtf8ReadingBack(text);
}

} // namespace ini
