#include "ShiftJisCodec.h"

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

private:
  iconv_t m_cd;
};

// Length of the UTF-8 sequence that starts with lead (input from QString::toUtf8 is valid).
size_t utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return lead >= 0xC0 ? 2 : 1;
}

} // namespace

QByteArray toShiftJis(const QString& text, bool* lossless) {
  if (lossless) *lossless = true;
  QByteArray utf8 = text.toUtf8();
  Converter converter("CP932", "UTF-8");
  if (!converter.valid()) {
    if (lossless) *lossless = false;
    return {};
  }
  char* in = utf8.data();
  size_t left = static_cast<size_t>(utf8.size());
  std::string out;
  while (converter.convert(in, left, out) != 0) {
    const size_t skip = std::min(left, utf8Length(static_cast<unsigned char>(*in)));
    in += skip;
    left -= skip;
    out += '?';
    if (lossless) *lossless = false;
  }
  return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QString fromShiftJis(const QByteArray& bytes) {
  static const std::string replacement = "\xEF\xBF\xBD";
  Converter converter("UTF-8", "CP932");
  if (!converter.valid()) return QString::fromLatin1(bytes);
  QByteArray copy = bytes;
  char* in = copy.data();
  size_t left = static_cast<size_t>(copy.size());
  std::string out;
  while (converter.convert(in, left, out) != 0) {
    out += replacement;
    ++in;
    --left;
  }
  return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}
