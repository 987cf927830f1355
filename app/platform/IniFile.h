// The INI service of document files: "[section]" headers followed by "key=value" lines, in
// CP932 with CR LF line ends. The file is read once; writes change the lines in memory and
// UpdateFile saves them.
//
// Text without a CP932 form (a caption with characters outside the code page) is never turned
// into '?': writing it switches the whole file to UTF-8 behind a byte-order mark, which this
// service reads as well, so nothing typed is lost. Files that CP932 can hold stay CP932.
// Bytes that the file's encoding cannot decode are read as escapes (ByteEscapes.h) and written
// back unchanged; they never switch a file to UTF-8.
#pragma once

#include "IniIndex.h"
#include "IniLines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

// Section and key names match with ASCII case folding, which covers every name the program
// writes. Lines that are neither headers nor keys (comments, blank lines, garbage) are kept and
// ignored, so a save changes only the keys written. For duplicates the first one counts.
class IniFile {
public:
  // Only this much of a file is read, which bounds the memory a huge or hostile file can take;
  // the rest is neither seen nor lost: UpdateFile copies it unchanged. A document with the most
  // data points a graph holds (a million, about 50 bytes each at most) fits.
  static constexpr qint64 MaxReadBytes = 64 * 1024 * 1024;
  static constexpr qsizetype MaxValueBytes = 1023;

  // Reads the file; a missing or unreadable file reads as empty, and ReadFailed tells it.
  explicit IniFile(const QString& fileName);
  // Empty and tied to no file: the text is built in memory and taken with Contents.
  IniFile() = default;
  // The text of a document held in memory, read as a file with these bytes would be, all of
  // it; tied to no file.
  static IniFile FromBytes(const QByteArray& data);

  const QString& FileName() const { return m_fileName; }
  // True when the file could not be opened or read: missing, a folder, not permitted, an
  // input error.
  bool ReadFailed() const { return m_readFailed; }

  bool SectionExists(QStringView section) const;
  // The key names of the section in file order.
  QStringList ReadSection(QStringView section) const;

  // The value trimmed of blanks and cut to MaxValueBytes, or defaultValue when the section or
  // key is missing. A UTF-8 file counts the bytes its value would take in CP932.
  QString ReadString(QStringView section, QStringView key, const QString& defaultValue) const;
  // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$" (up to 8 digits, taken
  // as the 32-bit pattern so that system colours read back); else defaultValue.
  int ReadInteger(QStringView section, QStringView key, int defaultValue) const;
  bool ReadBool(QStringView section, QStringView key, bool defaultValue) const;

  // Replaces the value of an existing key in place, else adds the key after the last key of the
  // section, else adds the section at the end. Line breaks in value become blanks; blanks at its
  // ends are written, though a read trims them. A key line that holds the value's bytes, or reads
  // as a value without blanks at its ends, is left as it is, so that a text read and written
  // back unchanged keeps its bytes.
  void WriteString(QStringView section, QStringView key, const QString& value);
  void WriteInteger(QStringView section, QStringView key, int value);
  void WriteBool(QStringView section, QStringView key, bool value);
  // Removes every section of that name with all its lines up to the next header.
  void EraseSection(QStringView section);

  // Saves all lines with CR LF ends through a temporary file renamed over the old one, so a
  // failure leaves the old file as it was; then returns false and sets error when given.
  bool UpdateFile(QString* error = nullptr);
  // The text that UpdateFile writes, without the unread rest of a huge file.
  QByteArray Contents() const;
  // Whether the file is, or will be saved as, UTF-8 with a byte-order mark.
  bool IsUtf8() const { return m_utf8; }

private:
  void load();
  void parse(QByteArray data);
  QString decode(QByteArrayView bytes) const;
  // A new line's bytes, held in m_blocks. "key=value": an ASCII value as it is, any other as
  // encoded in the file's encoding.
  QByteArray keyLine(QByteArrayView key, QStringView value, QByteArrayView encoded);
  QByteArray headerLine(QByteArrayView name);
  QByteArray& blockWithRoom(qsizetype bytes);
  void switchToUtf8();
  // The steps of WriteString. The value's bytes when it is not ASCII, after the file has
  // changed to UTF-8 if the value or a name has no CP932 form.
  QByteArray encodeValue(const QString& section, const QString& key, QStringView value);
  void addSection(QByteArrayView section, quint64 sectionHash, const QByteArray& line);
  void replaceValue(qsizetype line, QStringView value, QByteArrayView encoded);
  // Adds the key line after the last key of the section whose header is at header.
  void addKey(qsizetype header, QByteArrayView section, quint64 sectionHash,
              const QByteArray& line);
  // The lines are parsed once, when read and when written: reads look names up in the index
  // instead of scanning the text.
  void reindex();
  // The new key line at line, in the section whose header is at header.
  void indexInsertedKey(qsizetype line, QByteArrayView section, qsizetype header,
                        quint64 sectionHash);
  std::optional<qsizetype> findSection(QByteArrayView name) const;
  // With the name's hash already made.
  std::optional<qsizetype> findSection(quint64 hash, QByteArrayView name) const;
  qsizetype sectionEnd(qsizetype header) const;
  std::optional<qsizetype> findKey(QByteArrayView section, QByteArrayView key) const;
  // With the key's hash already made.
  std::optional<qsizetype> findKey(quint64 hash, QByteArrayView section, QByteArrayView key) const;
  std::optional<QByteArrayView> rawValue(QStringView section, QStringView key) const;
  // Copies the unread rest of the file; reason tells why the old file could not be read.
  bool copyTail(QIODevice& target, QString* reason) const;

  QString m_fileName;
  QByteArray m_text; // the bytes read; unchanged lines point into them
  QList<QByteArray> m_blocks; // the bytes of written lines; those lines point into them
  QList<QByteArray> m_lines;
  QList<ini::LineInfo> m_info; // of each line
  ini::NameIndex m_index;
  qint64 m_tailOffset = -1; // where the unread rest of the file starts; -1 when all was read
  bool m_utf8 = false;
  bool m_readFailed = false;
};
