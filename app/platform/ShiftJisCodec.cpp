#include "ShiftJisCodec.h"

#include "ByteEscapes.h"
#include "Utf8Codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace {

// One iconv conversion state, closed on scope exit.
class Converter {
public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + left) as possible, appending to out; returns 0 when all was
  // converted, else the errno that stopped it (in and left then point at the offending bytes).
  int convert(char*& in, size_t& left, std::string& out) {
    char buffer[4096];
    while (left > 0) {
      char* next = buffer;
      size_t room = sizeof buffer;
      const size_t result = iconv(m_cd, &in, &left, &next, &room);
      out.append(buffer, static_cast<size_t>(next - buffer));
      if (result == static_cast<size_t>(-1) && errno != E2BIG) return errno;
    }
    return 0;
  }

  // Back to the initial state, for a new text.
  void reset() {
    if (valid()) iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
  }

private:
  iconv_t m_cd;
};

// Opening a conversion loads its tables, so each thread keeps one of each direction open.
Converter& toCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  converter.reset();
  return converter;
}

Converter& fromCp932() {
  thread_local Converter converter("UTF-8", "CP932");
  converter.reset();
  return converter;
}

// Encodes text that holds no escapes; characters without a CP932 form become '?'. The bytes of
// QString::toUtf8 are well-formed, so a character's length is told by its lead byte.
void encodeRun(Converter& converter, QStringView text, std::string& out) {
  QByteArray utf8 = text.toUtf8();
  char* in = utf8.data();
  size_t left = static_cast<size_t>(utf8.size());
  while (converter.convert(in, left, out) != 0) {
    const size_t skip = std::min(left, size_t(utf8LengthOfLead(*in)));
    in += skip;
    left -= skip;
    out += '?';
  }
}

// CP932 holds ASCII as it is, so such text needs no conversion.
bool isAscii(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isAscii(const QByteArray& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

} // namespace

QByteArray toShiftJis(const QString& text, bool* lossless) {
  if (lossless) *lossless = true;
  if (isAscii(text)) return text.toLatin1();
  Converter& converter = toCp932();
  if (!converter.valid()) {
    if (lossless) *lossless = false;
    return {};
  }
  std::string out;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const std::optional<char> byte = escapedByte(text, i);
    if (!byte) continue;
    encodeRun(converter, QStringView(text).mid(start, i - start), out);
    out += *byte;
    start = i + 1;
  }
  encodeRun(converter, QStringView(text).mid(start), out);
  QByteArray bytes(out.data(), static_cast<qsizetype>(out.size()));
  // Only what reads back as the same text is lossless, which also tells a character written as
  // '?'. The converter writes some characters that CP932 lacks as a neighbour that reads back as
  // another character (U+00A2 as the code of U+FFE0, U+301C as that of U+FF5E); and an escaped
  // lead byte before a character written in its standard form (read in a duplicate one) can join
  // that form's first byte into another one.
  if (lossless) *lossless = fromShiftJis(bytes) == text;
  return bytes;
}

QString fromShiftJis(const QByteArray& bytes) {
  if (isAscii(bytes)) return QString::fromLatin1(bytes);
  Converter& converter = fromCp932();
  if (!converter.valid()) return QString::fromLatin1(bytes);
  QByteArray copy = bytes;
  char* in = copy.data();
  size_t left = static_cast<size_t>(copy.size());
  std::string out;
  QString text;
  while (converter.convert(in, left, out) != 0) {
    const auto byte = static_cast<unsigned char>(*in);
    text += QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
    out.clear();
    text += byte >= 0x80 ? escapeOfByte(byte) : QChar(QChar::ReplacementCharacter);
    ++in;
    --left;
  }
  return text + QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

bool isShiftJisSingleByte(char32_t character) {
  return character < 0x80 || (character >= 0xFF61 && character <= 0xFF9F);
}

bool isShiftJisPair(char lead, char trail) {
  Converter& converter = fromCp932();
  if (!converter.valid()) return false;
  char pair[] = {lead, trail};
  char* in = pair;
  size_t left = sizeof pair;
  std::string out;
  return converter.convert(in, left, out) == 0;
}
