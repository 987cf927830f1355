#include "IniFile.h"

#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
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

qsizetype charLength(const QByteArray& text, qsizetype i, bool utf8) {
  if (!utf8) return isLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
  qsizetype end = i + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    ++end;
  return end - i;
}

char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The name with every single-byte letter in lower case, so that equal folded names match.
QByteArray folded(QByteArray name, bool utf8) {
  if (std::none_of(name.cbegin(), name.cend(), [](char c) { return c & 0x80; }))
    return name.toLower();
  for (qsizetype i = 0; i < name.size(); i += charLength(name, i, utf8))
    if (charLength(name, i, utf8) == 1) name[i] = foldAscii(name[i]);
  return name;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isBlank(text[begin]))
    ++begin;
  while (end > begin && isBlank(text[end - 1]))
    --end;
  return text.mid(begin, end - begin);
}

// The name of a "[name]" header line, or nothing for any other line.
std::optional<QByteArray> headerName(const QByteArray& line, bool utf8) {
  const QByteArray text = trimBlanks(line);
  if (!text.startsWith('[')) return std::nullopt;
  for (qsizetype i = 1; i < text.size(); i += charLength(text, i, utf8)) {
    if (text[i] == ']') return trimBlanks(text.mid(1, i - 1));
  }
  return std::nullopt;
}

// The key name of a "key=value" line; '=' never occurs inside a double-byte character.
std::optional<QByteArray> keyName(const QByteArray& line) {
  const qsizetype equals = line.indexOf('=');
  if (equals < 0 || trimBlanks(line).startsWith(';')) return std::nullopt;
  return trimBlanks(line.left(equals));
}

// The bytes of the character at i, and the bytes it takes in CP932. A UTF-8 file measures its
// values in CP932 bytes, so that a value keeps all of its text when its file changes to UTF-8:
// half-width katakana and undecodable bytes count one, every other character two, also one that
// CP932 lacks.
std::pair<qsizetype, qsizetype> charExtent(const QByteArray& text, qsizetype i, bool utf8) {
  if (!utf8) return {charLength(text, i, false), charLength(text, i, false)};
  const qsizetype length = utf8SequenceLength(text, i);
  if (length <= 1) return {1, 1};
  const auto second = static_cast<unsigned char>(text[i + 1]);
  const auto third = length == 3 ? static_cast<unsigned char>(text[i + 2]) : 0;
  const bool halfWidth = length == 3 && text[i] == '\xEF' &&
                         ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F));
  return {length, halfWidth ? 1 : 2};
}

// Cuts at MaxValueBytes without leaving part of a multibyte character.
QByteArray cutValue(const QByteArray& value, bool utf8) {
  if (value.size() <= IniFile::MaxValueBytes) return value;
  qsizetype end = 0;
  qsizetype width = 0;
  while (end < value.size()) {
    const auto [length, cp932] = charExtent(value, end, utf8);
    if (width + cp932 > IniFile::MaxValueBytes) break;
    width += cp932;
    end += length;
  }
  return value.left(end);
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = foldAscii(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : 16;
}

std::optional<int> parseDigits(const QByteArray& digits, int base, qint64 limit) {
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

std::optional<int> parseInteger(QByteArray text) {
  const bool negative = text.startsWith('-');
  if (negative || text.startsWith('+')) text.remove(0, 1);
  std::optional<int> value;
  if (text.startsWith("0x") || text.startsWith("0X")) {
    value = parseDigits(text.mid(2), 16, 0xFFFFFFFFLL);
  } else if (text.startsWith('$')) {
    value = parseDigits(text.mid(1), 16, 0xFFFFFFFFLL);
  } else {
    const qint64 limit = std::numeric_limits<int>::max() + qint64(negative ? 1 : 0);
    value = parseDigits(text, 10, limit);
  }
  if (!value) return std::nullopt;
  return negative ? static_cast<int>(0u - static_cast<quint32>(*value)) : *value;
}

QString oneLine(const QString& value) {
  QString text = value;
  return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
      .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

IniFile::IniFile(const QString& fileName) : m_fileName(fileName) {
  load();
}

QByteArray IniFile::encode(const QString& text) const {
  return m_utf8 ? toUtf8KeepingBytes(text) : toShiftJis(text);
}

QString IniFile::decode(const QByteArray& bytes) const {
  return m_utf8 ? fromUtf8KeepingBytes(bytes) : fromShiftJis(bytes);
}

// The lines read so far are recoded, so the file stays in one encoding. Text after the part
// that is read is copied unchanged on saving, as it always is.
void IniFile::switchToUtf8() {
  for (QByteArray& line : m_lines)
    line = toUtf8KeepingBytes(fromShiftJis(line));
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

void IniFile::parse(QByteArray data) {
  if (data.startsWith(Utf8Mark)) {
    m_utf8 = true;
    data.remove(0, Utf8Mark.size());
  }
  if (data.endsWith('\n')) data.chop(1);
  if (data.isEmpty()) return;
  m_lines = data.split('\n');
  for (QByteArray& line : m_lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  reindex();
}

void IniFile::reindex() {
  m_sections.clear();
  m_kinds.clear();
  m_kinds.reserve(m_lines.size());
  Section* current = nullptr; // null in text before the first header and in repeated sections
  for (qsizetype i = 0; i < m_lines.size(); ++i) {
    if (const std::optional<QByteArray> header = headerName(m_lines[i], m_utf8)) {
      m_kinds << LineKind::Header;
      const QByteArray name = folded(*header, m_utf8);
      current = m_sections.contains(name) ? nullptr : &m_sections.insert(name, {i, {}}).value();
    } else if (const std::optional<QByteArray> key = keyName(m_lines[i])) {
      m_kinds << LineKind::Key;
      const QByteArray name = folded(*key, m_utf8);
      if (current && !current->keys.contains(name)) current->keys.insert(name, i - current->header);
    } else {
      m_kinds << LineKind::Other;
    }
  }
}

std::optional<qsizetype> IniFile::findSection(const QByteArray& name) const {
  const auto found = m_sections.constFind(folded(name, m_utf8));
  return found == m_sections.cend() ? std::nullopt : std::optional(found->header);
}

qsizetype IniFile::sectionEnd(qsizetype header) const {
  qsizetype i = header + 1;
  while (i < m_lines.size() && m_kinds[i] != LineKind::Header)
    ++i;
  return i;
}

std::optional<qsizetype> IniFile::findKey(const QByteArray& section, const QByteArray& key) const {
  const auto found = m_sections.constFind(folded(section, m_utf8));
  if (found == m_sections.cend()) return std::nullopt;
  const auto line = found->keys.constFind(folded(key, m_utf8));
  return line == found->keys.cend() ? std::nullopt : std::optional(found->header + *line);
}

// The new key line at line, after every key of its section: the keys of the section keep their
// places, and every later section has moved down by one.
void IniFile::indexInsertedKey(qsizetype line, const QByteArray& section) {
  const std::optional<QByteArray> key = keyName(m_lines[line]);
  const std::optional<QByteArray> header = headerName(m_lines[line - 1], m_utf8);
  // Names that read otherwise (a ']' or '=' inside, blanks around) are found as a reread finds
  // them.
  if (!key || headerName(m_lines[line], m_utf8) ||
      (m_kinds[line - 1] == LineKind::Header && folded(*header, m_utf8) != folded(section, m_utf8)))
    return reindex();
  for (Section& later : m_sections)
    if (later.header >= line) ++later.header;
  m_kinds.insert(line, LineKind::Key);
  Section& target = m_sections[folded(section, m_utf8)];
  const QByteArray name = folded(*key, m_utf8);
  if (!target.keys.contains(name)) target.keys.insert(name, line - target.header);
}

std::optional<QByteArray> IniFile::rawValue(const QString& section, const QString& key) const {
  // findKey finds the section too.
  const std::optional<qsizetype> line = findKey(encode(section), encode(key));
  if (!line) return std::nullopt;
  const QByteArray& text = m_lines[*line];
  return cutValue(trimBlanks(text.mid(text.indexOf('=') + 1)), m_utf8);
}

bool IniFile::SectionExists(const QString& section) const {
  return findSection(encode(section)).has_value();
}

QStringList IniFile::ReadSection(const QString& section) const {
  QStringList keys;
  const std::optional<qsizetype> header = findSection(encode(section));
  if (!header) return keys;
  const qsizetype end = sectionEnd(*header);
  for (qsizetype i = *header + 1; i < end; ++i) {
    if (m_kinds[i] == LineKind::Key) keys << decode(*keyName(m_lines[i]));
  }
  return keys;
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  const std::optional<QByteArray> value = rawValue(section, key);
  return value ? decode(*value) : defaultValue;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
  const std::optional<QByteArray> value = rawValue(section, key);
  return value ? parseInteger(*value).value_or(defaultValue) : defaultValue;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  const QString texts[] = {oneLine(section), oneLine(key), oneLine(value)};
  for (const QString& text : texts) {
    bool lossless = true;
    if (!m_utf8) toShiftJis(text, &lossless);
    if (!lossless) switchToUtf8();
  }
  const QByteArray sectionName = encode(texts[0]);
  const QByteArray keyText = encode(texts[1]);
  // Blanks at either end would not read back; no byte of a multibyte character is a blank.
  const QByteArray valueText = trimBlanks(encode(texts[2]));
  const std::optional<qsizetype> header = findSection(sectionName);
  if (!header) {
    m_lines << '[' + sectionName + ']';
    m_kinds << LineKind::Header;
    m_sections.insert(folded(sectionName, m_utf8), {m_lines.size() - 1, {}});
    m_lines << keyText + '=' + valueText;
    return indexInsertedKey(m_lines.size() - 1, sectionName);
  }
  if (const std::optional<qsizetype> line = findKey(sectionName, keyText)) {
    QByteArray& text = m_lines[*line];
    text = text.left(text.indexOf('=') + 1) + valueText;
    // A ']' in the value turns a key whose name starts with '[' into a header.
    if (headerName(text, m_utf8)) reindex();
    return;
  }
  qsizetype insertAt = *header + 1;
  const qsizetype end = sectionEnd(*header);
  for (qsizetype i = insertAt; i < end; ++i) {
    if (m_kinds[i] == LineKind::Key) insertAt = i + 1;
  }
  m_lines.insert(insertAt, keyText + '=' + valueText);
  indexInsertedKey(insertAt, sectionName);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::EraseSection(const QString& section) {
  const QByteArray name = encode(section);
  // Only the first section of a name is indexed: after each removal the next one becomes it.
  while (const std::optional<qsizetype> header = findSection(name)) {
    m_lines.remove(*header, sectionEnd(*header) - *header);
    reindex();
  }
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
  QByteArray text = m_utf8 ? Utf8Mark : QByteArray();
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
