#include "IniFile.h"

#include "NumberFormat.h"
#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <utility>

using namespace ini;

namespace {

const QByteArray Utf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

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

void IniFile::reindex() {
  m_index.reset(m_lines.size());
  m_info.resize(m_lines.size());
  std::optional<qsizetype> current; // none in text before the first header and in repeated sections
  quint64 currentHash = 0;
  QByteArrayView currentName;
  for (qsizetype i = 0; i < m_lines.size(); ++i) {
    const LineInfo info = lineInfo(m_lines[i], m_utf8);
    m_info[i] = info;
    if (info.kind == LineKind::Header) {
      currentName = info.name;
      currentHash = nameHash(info.name);
      current = findSection(currentHash, info.name) ? std::nullopt : std::optional(i);
      if (current) m_index.add({currentHash, i, i});
    } else if (info.kind == LineKind::Key && current) {
      const quint64 hash = keyHash(currentHash, info.name);
      if (!findKey(hash, currentName, info.name)) m_index.add({hash, i, *current});
    }
  }
}

std::optional<qsizetype> IniFile::findSection(QByteArrayView name) const {
  return findSection(nameHash(name), name);
}

std::optional<qsizetype> IniFile::findSection(quint64 hash, QByteArrayView name) const {
  return m_index.find(hash, [&](const NameIndex::Slot& slot) {
    return slot.line == slot.header && sameName(m_info[slot.line].name, name, m_utf8);
  });
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
  return m_index.find(hash, [&](const NameIndex::Slot& slot) {
    return slot.line != slot.header && sameName(m_info[slot.line].name, key, m_utf8) &&
           sameName(m_info[slot.header].name, section, m_utf8);
  });
}

// The new key line at line, after every key of its section: the keys of the section keep their
// places, and every later line has moved down by one.
void IniFile::indexInsertedKey(qsizetype line, QByteArrayView section, qsizetype header,
                               quint64 sectionHash) {
  const LineInfo info = lineInfo(m_lines[line], m_utf8);
  const LineInfo& previous = m_info[line - 1];
  // Names that read otherwise (a ']' or '=' inside, blanks around) are found as a reread finds
  // them.
  if (info.kind != LineKind::Key ||
      (previous.kind == LineKind::Header && !sameName(previous.name, section, m_utf8)))
    return reindex();
  // A line added at the end, as a save into an empty text adds all of them, moves nothing.
  if (line < m_lines.size() - 1) m_index.shiftFrom(line);
  m_info.insert(line, info);
  const quint64 hash = keyHash(sectionHash, info.name);
  if (!findKey(hash, section, info.name)) m_index.add({hash, line, header});
}

std::optional<QByteArrayView> IniFile::rawValue(QStringView section, QStringView key) const {
  // findKey finds the section too.
  const std::optional<qsizetype> line =
      findKey(EncodedName(section, m_utf8).view(), EncodedName(key, m_utf8).view());
  if (!line) return std::nullopt;
  return readValue(m_lines[*line], m_utf8);
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
  if (!value) return defaultValue;
  return textToInteger(QLatin1StringView(value->data(), value->size())).value_or(defaultValue);
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
  const QString sectionText = oneLine(section);
  const QString keyText = oneLine(key);
  const QString valueText = oneLine(value);
  const QByteArray encodedValue = encodeValue(sectionText, keyText, valueText);
  const EncodedName sectionName(sectionText, m_utf8);
  const EncodedName keyName(keyText, m_utf8);
  const quint64 sectionHash = nameHash(sectionName.view());
  const std::optional<qsizetype> header = findSection(sectionHash, sectionName.view());
  if (!header)
    return addSection(sectionName.view(), sectionHash,
                      keyLine(keyName.view(), valueText, encodedValue));
  if (const std::optional<qsizetype> line =
          findKey(keyHash(sectionHash, keyName.view()), sectionName.view(), keyName.view()))
    return replaceValue(*line, valueText, encodedValue);
  addKey(*header, sectionName.view(), sectionHash,
         keyLine(keyName.view(), valueText, encodedValue));
}

// A value that is not ASCII is encoded once: the CP932 form made to see whether it has one is
// the one written.
QByteArray IniFile::encodeValue(const QString& section, const QString& key, QStringView value) {
  const bool ascii = isAscii(value);
  if (!m_utf8) {
    bool lossless = true;
    const QByteArray cp932 = ascii ? QByteArray() : toShiftJis(value.toString(), &lossless);
    if (lossless && losslessInShiftJis(section) && losslessInShiftJis(key)) return cp932;
    switchToUtf8();
  }
  return ascii ? QByteArray() : encoded(value, true);
}

void IniFile::addSection(QByteArrayView section, quint64 sectionHash, const QByteArray& line) {
  m_lines << headerLine(section) << line;
  const qsizetype added = m_lines.size() - 2;
  const LineInfo written = lineInfo(m_lines[added], m_utf8);
  // A name that reads otherwise (a ']' inside, blanks around) is found as a reread finds it.
  if (written.kind != LineKind::Header || !sameName(written.name, section, m_utf8))
    return reindex();
  m_info << written;
  m_index.add({sectionHash, added, added});
  indexInsertedKey(added + 1, section, added, sectionHash);
}

void IniFile::replaceValue(qsizetype line, QStringView value, QByteArrayView encoded) {
  QByteArray& text = m_lines[line];
  const qsizetype equals = text.indexOf('=');
  // A save over the opened file writes mostly what it read: such a line stays as it is.
  if (holdsValue(QByteArrayView(text).sliced(equals + 1), value, encoded)) return;
  text = keyLine(QByteArrayView(text).first(equals), value, encoded);
  // A ']' in the value turns a key whose name starts with '[' into a header.
  const LineInfo rewritten = lineInfo(text, m_utf8);
  if (rewritten.kind == LineKind::Header)
    reindex();
  else
    m_info[line] = rewritten; // the same name, in the new line's bytes
}

void IniFile::addKey(qsizetype header, QByteArrayView section, quint64 sectionHash,
                     const QByteArray& line) {
  qsizetype insertAt = header + 1;
  const qsizetype end = sectionEnd(header);
  for (qsizetype i = insertAt; i < end; ++i) {
    if (m_info[i].kind == LineKind::Key) insertAt = i + 1;
  }
  m_lines.insert(insertAt, line);
  indexInsertedKey(insertAt, section, header, sectionHash);
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
