#include "IniFile.h"

#include "ByteEscapes.h"
#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <QFile>
#include <QSaveFile>
#include <QVarLengthArray>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>
#include <utility>

namespace {

const QByteArray Utf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// CP932 lead bytes start double-byte characters whose second byte may look like ASCII ('[', ']',
// letters), so scans and comparisons step over whole characters. In UTF-8 no byte of a
// multibyte character is ASCII, and whole characters matter only where a value is cut.
bool isLeadByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
}

qsizetype charLength(QByteArrayView text, qsizetype i, bool utf8) {
  if (!utf8) return isLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
  qsizetype end = i + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    ++end;
  return end - i;
}

char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiBytes(QByteArrayView text) {
  const char* bytes = text.data();
  for (qsizetype i = 0; i < text.size(); ++i)
    if (bytes[i] & 0x80) return false;
  return true;
}

// Calls take(byte) for each byte of the name with every single-byte letter in lower case, so
// that names equal when folded match.
template <class Take> void forEachFolded(QByteArrayView name, bool utf8, Take take) {
  if (isAsciiBytes(name)) {
    const char* bytes = name.data();
    for (qsizetype i = 0; i < name.size(); ++i)
      take(foldAscii(bytes[i]));
    return;
  }
  for (qsizetype i = 0; i < name.size();) {
    const qsizetype length = charLength(name, i, utf8);
    if (length == 1)
      take(foldAscii(name[i]));
    else
      for (qsizetype k = 0; k < length; ++k)
        take(name[i + k]);
    i += length;
  }
}

// A name's hash, equal for names that are equal when folded: folding sets bit 0x20 of a letter,
// so the hash takes every byte with that bit set, and needs no scan for characters. Eight bytes
// are mixed at a time; the low bits, which pick the slot, depend on every byte.
quint64 mixed(quint64 h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  return h == 0 ? 1 : h; // 0 marks an empty slot
}

// The last bytes of a name, fewer than eight, gathered in a register: copying them into a
// zeroed word on the stack and loading it whole stalls the load on the byte stores.
quint64 tailWord(const char* bytes, qsizetype count) {
  quint64 word = 0;
  for (qsizetype i = 0; i < count; ++i)
    word |= quint64(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return word;
}

quint64 nameHash(QByteArrayView name) {
  constexpr quint64 Fold = 0x2020202020202020ULL;
  quint64 h = 0xCBF29CE484222325ULL ^ quint64(name.size());
  const auto take = [&h](quint64 word) {
    h = (h ^ (word | Fold)) * 0x100000001B3ULL;
    h ^= h >> 29;
  };
  const char* bytes = name.data();
  qsizetype left = name.size();
  for (; left >= 8; bytes += 8, left -= 8) {
    quint64 word;
    std::memcpy(&word, bytes, sizeof word);
    take(word);
  }
  if (left > 0) take(tailWord(bytes, left));
  return mixed(h);
}

quint64 keyHash(quint64 section, QByteArrayView key) {
  return mixed(section * 0x9E3779B97F4A7C15ULL ^ nameHash(key));
}

bool sameName(QByteArrayView a, QByteArrayView b, bool utf8) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  if (isAsciiBytes(a) && isAsciiBytes(b)) {
    for (qsizetype i = 0; i < a.size(); ++i)
      if (foldAscii(a.data()[i]) != foldAscii(b.data()[i])) return false;
    return true;
  }
  QVarLengthArray<char, 64> folded;
  forEachFolded(a, utf8, [&folded](char c) { folded.append(c); });
  qsizetype i = 0;
  bool same = true;
  forEachFolded(b, utf8, [&](char c) { same = same && folded[i++] == c; });
  return same;
}

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
// half-width katakana and undecodable bytes count one, every other character two, also one that
// CP932 lacks. A CP932 lead byte whose pair is no character counts one, as the decoder keeps it
// alone; it is one kept byte in UTF-8, and a cut at a pair would end a byte earlier there.
std::pair<qsizetype, qsizetype> charExtent(QByteArrayView text, qsizetype i, bool utf8) {
  if (!utf8) {
    const qsizetype length =
        charLength(text, i, false) == 2 && isShiftJisPair(text[i], text[i + 1]) ? 2 : 1;
    return {length, length};
  }
  const qsizetype length = utf8SequenceLength(text, i);
  if (length <= 1) return {1, 1};
  const auto second = static_cast<unsigned char>(text[i + 1]);
  const auto third = length == 3 ? static_cast<unsigned char>(text[i + 2]) : 0;
  const bool halfWidth = length == 3 && text[i] == '\xEF' &&
                         ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F));
  return {length, halfWidth ? 1 : 2};
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

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = foldAscii(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : 16;
}

std::optional<int> parseDigits(QByteArrayView digits, int base, qint64 limit) {
  if (digits.isEmpty()) return std::nullopt;
  qint64 value = 0;
  for (const char c : digits) {
    const int digit = digitValue(c);
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<int>(static_cast<quint32>(value));
}

std::optional<int> parseInteger(QByteArrayView text) {
  const bool negative = text.startsWith('-');
  if (negative || text.startsWith('+')) text = text.sliced(1);
  std::optional<int> value;
  if (text.startsWith("0x") || text.startsWith("0X")) {
    value = parseDigits(text.sliced(2), 16, 0xFFFFFFFFLL);
  } else if (text.startsWith('$')) {
    value = parseDigits(text.sliced(1), 16, 0xFFFFFFFFLL);
  } else {
    const qint64 limit = std::numeric_limits<int>::max() + qint64(negative ? 1 : 0);
    value = parseDigits(text, 10, limit);
  }
  if (!value) return std::nullopt;
  return negative ? static_cast<int>(0u - static_cast<quint32>(*value)) : *value;
}

// Line breaks become blanks; a text without them is shared, not copied.
QString oneLine(const QString& value) {
  if (!value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n'))) return value;
  QString text = value;
  return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
      .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString oneLine(QStringView name) {
  return oneLine(QString::fromRawData(name.data(), name.size()));
}

bool isAscii(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool losslessInShiftJis(const QString& text) {
  bool lossless = true;
  if (!isAscii(text)) toShiftJis(text, &lossless);
  return lossless;
}

// A CP932 line in UTF-8. A lead byte whose pair CP932 cannot decode still hides its second byte
// from the line's reading; in UTF-8 that byte ('[' or ']') would show and make or change a
// header, so such a pair is written as one U+FFFD and the file keeps its sections.
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

// Text in a file's encoding.
QByteArray encoded(QStringView text, bool utf8) {
  if (isAscii(text)) return text.toLatin1();
  return utf8 ? toUtf8ReadingBack(text.toString()) : toShiftJis(text.toString());
}

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

// Whether the bytes after a key's '=' are those keyLine writes for the value.
bool holdsValue(QByteArrayView written, QStringView value, QByteArrayView encoded) {
  if (!encoded.isEmpty()) return written == encoded;
  if (written.size() != value.size()) return false;
  for (qsizetype i = 0; i < value.size(); ++i)
    if (written[i] != static_cast<char>(value[i].unicode())) return false;
  return true;
}

} // namespace

IniFile::IniFile(const QString& fileName) : m_fileName(fileName) {
  load();
}

QString IniFile::decode(QByteArrayView bytes) const {
  const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
  return m_utf8 ? fromUtf8KeepingBytes(data) : fromShiftJis(data);
}

// The lines read so far are recoded, so the file stays in one encoding. Text after the part
// that is read is copied unchanged on saving, as it always is.
void IniFile::switchToUtf8() {
  for (QByteArray& line : m_lines)
    line = recodedLine(line);
  m_utf8 = true;
  reindex();
}

void IniFile::load() {
  QFile file(m_fileName);
  m_readFailed = !file.open(QIODevice::ReadOnly);
  if (m_readFailed) return;
  QByteArray data = file.read(MaxReadBytes);
  m_readFailed = file.error() != QFileDevice::NoError;
  if (m_readFailed) return;
  if (!file.atEnd()) {
    // Stop at the last whole line; the rest is kept for the save.
    data.truncate(data.lastIndexOf('\n') + 1);
    m_tailOffset = data.size();
  }
  parse(std::move(data));
}

IniFile IniFile::FromBytes(const QByteArray& data) {
  IniFile ini;
  ini.parse(data);
  return ini;
}

// Unchanged lines are views of the bytes read, which the file keeps; a line that is written
// gets its own bytes.
void IniFile::parse(QByteArray data) {
  m_text = std::move(data);
  QByteArrayView text = m_text;
  if (text.startsWith(Utf8Mark)) {
    m_utf8 = true;
    text = text.sliced(Utf8Mark.size());
  }
  if (text.endsWith('\n')) text.chop(1);
  if (text.isEmpty()) return;
  m_lines.reserve(text.count('\n') + 1);
  for (qsizetype start = 0; start <= text.size();) {
    qsizetype end = text.indexOf('\n', start);
    if (end < 0) end = text.size();
    QByteArrayView line = text.sliced(start, end - start);
    if (line.endsWith('\r')) line.chop(1);
    m_lines << QByteArray::fromRawData(line.data(), line.size());
    start = end + 1;
  }
  reindex();
}

void IniFile::addSlot(const Slot& slot) {
  if (2 * (m_indexed + 1) > qsizetype(m_index.size())) {
    std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_index.size()));
    old.swap(m_index);
    m_indexed = 0;
    for (const Slot& kept : old)
      if (kept.hash != 0) addSlot(kept);
  }
  const std::size_t mask = m_index.size() - 1;
  std::size_t i = slot.hash & mask;
  while (m_index[i].hash != 0)
    i = (i + 1) & mask;
  m_index[i] = slot;
  ++m_indexed;
}

void IniFile::reindex() {
  // Sized once for every line at most half full, in the storage already held when it is enough:
  // growing slot by slot rehashes a long file several times.
  m_index.assign(std::bit_ceil(std::size_t(std::max<qsizetype>(32, m_lines.size() + 1)) * 2),
                 Slot());
  m_indexed = 0;
  m_info.resize(m_lines.size());
  std::optional<qsizetype> current; // none in text before the first header and in repeated sections
  quint64 currentHash = 0;
  QByteArrayView currentName;
  for (qsizetype i = 0; i < m_lines.size(); ++i) {
    const LineInfo info = lineInfo(m_lines[i]);
    m_info[i] = info;
    if (info.kind == LineKind::Header) {
      currentName = info.name;
      currentHash = nameHash(info.name);
      current = findSection(currentHash, info.name) ? std::nullopt : std::optional(i);
      if (current) addSlot({currentHash, i, i});
    } else if (info.kind == LineKind::Key && current) {
      const quint64 hash = keyHash(currentHash, info.name);
      if (!findKey(hash, currentName, info.name)) addSlot({hash, i, *current});
    }
  }
}

IniFile::LineInfo IniFile::lineInfo(QByteArrayView line) const {
  if (const std::optional<QByteArrayView> header = headerName(line, m_utf8))
    return {LineKind::Header, *header};
  if (const std::optional<QByteArrayView> key = keyName(line)) return {LineKind::Key, *key};
  return {LineKind::Other, {}};
}

std::optional<qsizetype> IniFile::findSection(QByteArrayView name) const {
  return findSection(nameHash(name), name);
}

std::optional<qsizetype> IniFile::findSection(quint64 hash, QByteArrayView name) const {
  if (m_index.empty()) return std::nullopt;
  const std::size_t mask = m_index.size() - 1;
  for (std::size_t i = hash & mask; m_index[i].hash != 0; i = (i + 1) & mask) {
    const Slot& slot = m_index[i];
    if (slot.hash == hash && slot.line == slot.header &&
        sameName(m_info[slot.line].name, name, m_utf8))
      return slot.line;
  }
  return std::nullopt;
}

qsizetype IniFile::sectionEnd(qsizetype header) const {
  qsizetype i = header + 1;
  while (i < m_lines.size() && m_info[i].kind != LineKind::Header)
    ++i;
  return i;
}

std::optional<qsizetype> IniFile::findKey(QByteArrayView section, QByteArrayView key) const {
  return findKey(keyHash(nameHash(section), key), section, key);
}

std::optional<qsizetype> IniFile::findKey(quint64 hash, QByteArrayView section,
                                          QByteArrayView key) const {
  if (m_index.empty()) return std::nullopt;
  const std::size_t mask = m_index.size() - 1;
  for (std::size_t i = hash & mask; m_index[i].hash != 0; i = (i + 1) & mask) {
    const Slot& slot = m_index[i];
    if (slot.hash == hash && slot.line != slot.header &&
        sameName(m_info[slot.line].name, key, m_utf8) &&
        sameName(m_info[slot.header].name, section, m_utf8))
      return slot.line;
  }
  return std::nullopt;
}

// The new key line at line, after every key of its section: the keys of the section keep their
// places, and every later line has moved down by one.
void IniFile::indexInsertedKey(qsizetype line, QByteArrayView section, qsizetype header,
                               quint64 sectionHash) {
  const LineInfo info = lineInfo(m_lines[line]);
  const LineInfo& previous = m_info[line - 1];
  // Names that read otherwise (a ']' or '=' inside, blanks around) are found as a reread finds
  // them.
  if (info.kind != LineKind::Key ||
      (previous.kind == LineKind::Header && !sameName(previous.name, section, m_utf8)))
    return reindex();
  // A line added at the end, as a save into an empty text adds all of them, moves nothing.
  if (line < m_lines.size() - 1)
    for (Slot& slot : m_index) {
      if (slot.hash == 0) continue;
      if (slot.line >= line) ++slot.line;
      if (slot.header >= line) ++slot.header;
    }
  m_info.insert(line, info);
  const quint64 hash = keyHash(sectionHash, info.name);
  if (!findKey(hash, section, info.name)) addSlot({hash, line, header});
}

std::optional<QByteArrayView> IniFile::rawValue(QStringView section, QStringView key) const {
  // findKey finds the section too.
  const std::optional<qsizetype> line =
      findKey(EncodedName(section, m_utf8).view(), EncodedName(key, m_utf8).view());
  if (!line) return std::nullopt;
  const QByteArrayView text = m_lines[*line];
  // A cut can end at a blank, which is trimmed too: the value reads as it is written back.
  return trimBlanks(cutValue(trimBlanks(text.sliced(text.indexOf('=') + 1)), m_utf8));
}

bool IniFile::SectionExists(QStringView section) const {
  return findSection(EncodedName(section, m_utf8).view()).has_value();
}

QStringList IniFile::ReadSection(QStringView section) const {
  QStringList keys;
  const std::optional<qsizetype> header = findSection(EncodedName(section, m_utf8).view());
  if (!header) return keys;
  const qsizetype end = sectionEnd(*header);
  for (qsizetype i = *header + 1; i < end; ++i) {
    if (m_info[i].kind == LineKind::Key) keys << decode(m_info[i].name);
  }
  return keys;
}

QString IniFile::ReadString(QStringView section, QStringView key,
                            const QString& defaultValue) const {
  const std::optional<QByteArrayView> value = rawValue(section, key);
  return value ? decode(*value) : defaultValue;
}

int IniFile::ReadInteger(QStringView section, QStringView key, int defaultValue) const {
  const std::optional<QByteArrayView> value = rawValue(section, key);
  return value ? parseInteger(*value).value_or(defaultValue) : defaultValue;
}

bool IniFile::ReadBool(QStringView section, QStringView key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

// Written lines are packed into blocks that the file holds, so that a save of hundreds of keys
// takes a few allocations instead of one a line. A block grows only in place, and only while
// this file alone holds it (a copy of the file shares its blocks), so a line never moves.
QByteArray& IniFile::blockWithRoom(qsizetype bytes) {
  constexpr qsizetype BlockBytes = 4096;
  if (m_blocks.isEmpty() || !m_blocks.back().isDetached() ||
      m_blocks.back().capacity() - m_blocks.back().size() < bytes) {
    QByteArray block;
    block.reserve(std::max(BlockBytes, bytes));
    m_blocks << std::move(block);
  }
  return m_blocks.back();
}

QByteArray IniFile::headerLine(QByteArrayView name) {
  QByteArray& block = blockWithRoom(name.size() + 2);
  const qsizetype start = block.size();
  block.append('[').append(name).append(']');
  return QByteArray::fromRawData(block.constData() + start, block.size() - start);
}

// A value that is not ASCII comes encoded.
QByteArray IniFile::keyLine(QByteArrayView key, QStringView value, QByteArrayView encoded) {
  QByteArray& block =
      blockWithRoom(key.size() + 1 + (encoded.isEmpty() ? value.size() : encoded.size()));
  const qsizetype start = block.size();
  block.append(key).append('=');
  if (!encoded.isEmpty())
    block.append(encoded);
  else
    for (const QChar c : value)
      block.append(static_cast<char>(c.unicode()));
  return QByteArray::fromRawData(block.constData() + start, block.size() - start);
}

void IniFile::WriteString(QStringView section, QStringView key, const QString& value) {
  const QString texts[] = {oneLine(section), oneLine(key), oneLine(value)};
  // Blanks at either end would not read back; no character that an escape or a multibyte form
  // stands for is a blank.
  const QStringView valueText = trimBlanks(QStringView(texts[2]));
  // A value that is not ASCII is encoded once: the CP932 form made to see whether it has one is
  // the one written.
  QByteArray encodedValue;
  if (!m_utf8) {
    bool valueLossless = true;
    if (!isAscii(valueText)) encodedValue = toShiftJis(valueText.toString(), &valueLossless);
    if (!valueLossless || !losslessInShiftJis(texts[0]) || !losslessInShiftJis(texts[1]))
      switchToUtf8();
  }
  if (m_utf8 && !isAscii(valueText)) encodedValue = encoded(valueText, true);
  const EncodedName encodedSection(texts[0], m_utf8);
  const QByteArrayView sectionName = encodedSection.view();
  const EncodedName keyText(texts[1], m_utf8);
  const QByteArrayView keyBytes = keyText.view();
  const quint64 sectionHash = nameHash(sectionName);
  const std::optional<qsizetype> header = findSection(sectionHash, sectionName);
  if (!header) {
    m_lines << headerLine(sectionName);
    m_lines << keyLine(keyBytes, valueText, encodedValue);
    const qsizetype added = m_lines.size() - 2;
    const LineInfo written = lineInfo(m_lines[added]);
    if (written.kind != LineKind::Header || !sameName(written.name, sectionName, m_utf8))
      return reindex();
    m_info << written;
    addSlot({sectionHash, added, added});
    return indexInsertedKey(added + 1, sectionName, added, sectionHash);
  }
  if (const std::optional<qsizetype> line =
          findKey(keyHash(sectionHash, keyBytes), sectionName, keyBytes)) {
    QByteArray& text = m_lines[*line];
    const qsizetype equals = text.indexOf('=');
    // A save over the opened file writes mostly what it read: such a line stays as it is.
    if (holdsValue(QByteArrayView(text).sliced(equals + 1), valueText, encodedValue)) return;
    text = keyLine(QByteArrayView(text).first(equals), valueText, encodedValue);
    // A ']' in the value turns a key whose name starts with '[' into a header.
    const LineInfo rewritten = lineInfo(text);
    if (rewritten.kind == LineKind::Header)
      reindex();
    else
      m_info[*line] = rewritten; // the same name, in the new line's bytes
    return;
  }
  qsizetype insertAt = *header + 1;
  const qsizetype end = sectionEnd(*header);
  for (qsizetype i = insertAt; i < end; ++i) {
    if (m_info[i].kind == LineKind::Key) insertAt = i + 1;
  }
  m_lines.insert(insertAt, keyLine(keyBytes, valueText, encodedValue));
  indexInsertedKey(insertAt, sectionName, *header, sectionHash);
}

void IniFile::WriteInteger(QStringView section, QStringView key, int value) {
  char digits[12];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  QChar text[sizeof digits];
  std::copy(digits, end.ptr, text);
  WriteString(section, key, QString::fromRawData(text, end.ptr - digits));
}

void IniFile::WriteBool(QStringView section, QStringView key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::EraseSection(QStringView section) {
  const EncodedName encoded(section, m_utf8);
  const QByteArrayView name = encoded.view();
  if (!findSection(name)) return;
  // Every section of the name goes, each with its lines up to the next header.
  QList<QByteArray> kept;
  kept.reserve(m_lines.size());
  bool erasing = false;
  for (qsizetype i = 0; i < m_lines.size(); ++i) {
    if (m_info[i].kind == LineKind::Header) erasing = sameName(m_info[i].name, name, m_utf8);
    if (!erasing) kept << m_lines[i];
  }
  m_lines = std::move(kept);
  reindex();
}

bool IniFile::copyTail(QIODevice& target, QString* reason) const {
  if (m_tailOffset < 0) return true;
  QFile source(m_fileName);
  if (!source.open(QIODevice::ReadOnly) || !source.seek(m_tailOffset)) {
    *reason = source.errorString();
    return false;
  }
  while (!source.atEnd()) {
    const QByteArray chunk = source.read(1024 * 1024);
    if (chunk.isEmpty()) *reason = source.errorString();
    if (chunk.isEmpty() || target.write(chunk) != chunk.size()) return false;
  }
  return true;
}

QByteArray IniFile::Contents() const {
  qsizetype size = m_utf8 ? Utf8Mark.size() : 0;
  for (const QByteArray& line : m_lines)
    size += line.size() + 2;
  QByteArray text;
  text.reserve(size);
  if (m_utf8) text.append(Utf8Mark);
  for (const QByteArray& line : m_lines)
    text.append(line).append("\r\n");
  return text;
}

bool IniFile::UpdateFile(QString* error) {
  const QByteArray text = Contents();
  QString reason;
  QSaveFile file(m_fileName);
  // Unbuffered, so that every short write (full disk, file size limit) is seen here and the
  // save fails instead of committing a truncated file.
  const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                       file.write(text) == text.size() && copyTail(file, &reason);
  if (written && file.commit()) {
    if (m_tailOffset >= 0) m_tailOffset = text.size();
    return true;
  }
  if (error)
    *error = m_fileName + QStringLiteral(": ") + (reason.isEmpty() ? file.errorString() : reason);
  return false;
}
