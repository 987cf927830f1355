#include "Utf8Codec.h"

#include "ByteEscapes.h"

#include <QStringDecoder>

namespace {

bool inRange(QByteArrayView bytes, qsizetype i, unsigned char low, unsigned char high) {
  if (i >= bytes.size()) return false;
  const auto byte = static_cast<unsigned char>(bytes[i]);
  return byte >= low && byte <= high;
}

} // namespace

qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  if (lead < 0x80) return 1;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  qsizetype length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (!inRange(bytes, i + 1, low, high)) return 0;
  for (qsizetype k = 2; k < length; ++k) {
    if (!inRange(bytes, i + k, 0x80, 0xBF)) return 0;
  }
  return length;
}

qsizetype utf8LengthOfLead(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xF0) return 4;
  if (byte >= 0xE0) return 3;
  return byte >= 0xC0 ? 2 : 1;
}

char32_t utf8Character(QByteArrayView bytes, qsizetype i, qsizetype length) {
  static constexpr unsigned char LeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t character = static_cast<unsigned char>(bytes[i]) & LeadBits[length];
  for (qsizetype k = 1; k < length; ++k)
    character = character << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
  return character;
}

std::array<char, 3> escapeAsUtf8Bytes(QChar escape) {
  const char16_t unit = escape.unicode();
  return {'\xED', static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
          static_cast<char>(0x80 | (unit & 0x3F))};
}

QByteArray toUtf8KeepingBytes(const QString& text) {
  QByteArray bytes;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const std::optional<char> byte = escapedByte(text, i);
    if (!byte) continue;
    bytes += QStringView(text).mid(start, i - start).toUtf8();
    bytes += *byte;
    start = i + 1;
  }
  return bytes + QStringView(text).mid(start).toUtf8();
}

QByteArray toUtf8ReadingBack(const QString& text) {
  QString mended;
  for (qsizetype i = 0; i < text.size(); ++i) {
    QByteArray run;
    for (qsizetype k = i; k < text.size() && run.size() < 4; ++k) {
      const std::optional<char> byte = escapedByte(text, k);
      if (!byte) break;
      run += *byte;
    }
    if (run.size() < 2 || utf8SequenceLength(run, 0) < 2) continue;
    if (mended.isEmpty()) mended = text;
    mended[i] = QLatin1Char('?');
  }
  return toUtf8KeepingBytes(mended.isEmpty() ? text : mended);
}

namespace {

// QString::fromUtf8 drops a byte-order mark at the start of its bytes; inside a value it is a
// character (a zero-width no-break space) and is kept.
QString decodeRun(const QByteArray& bytes, qsizetype start, qsizetype end) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(QByteArrayView(bytes.constData() + start, end - start));
}

} // namespace

QString fromUtf8KeepingBytes(const QByteArray& bytes) {
  QString text;
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < bytes.size()) {
    const qsizetype length = utf8SequenceLength(bytes, i);
    if (length > 0) {
      i += length;
      continue;
    }
    text += decodeRun(bytes, start, i);
    text += escapeOfByte(static_cast<unsigned char>(bytes[i]));
    start = ++i;
  }
  // Text without a byte to keep, as nearly all is, is decoded in one piece.
  if (start == 0) return decodeRun(bytes, 0, bytes.size());
  return text + decodeRun(bytes, start, bytes.size());
}
