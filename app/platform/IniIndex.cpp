#include "IniIndex.h"

#include "IniLines.h"

#include <QVarLengthArray>

#include <algorithm>
#include <bit>

namespace ini {

namespace {

char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiBytes(QByteArrayView text) {
  const char* bytes = text.data();
  for (qsizetype i = 0; i < text.size(); ++i)
    if (bytes[i] & 0x80) return false;
  return true;
}

// Calls take(byte) for each byte of the name with every single-byte letter in lower case.
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

} // namespace

bool sameFoldedName(QByteArrayView a, QByteArrayView b, bool utf8) {
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

// Sized once for every line at most half full, in the storage already held when it is enough:
// growing slot by slot rehashes a long file several times.
void NameIndex::reset(qsizetype lines) {
  m_slots.assign(std::bit_ceil(std::size_t(std::max<qsizetype>(32, lines + 1)) * 2), Slot());
  m_used = 0;
}

void NameIndex::grow() {
  std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_slots.size()));
  old.swap(m_slots);
  m_used = 0;
  for (const Slot& kept : old)
    if (kept.hash != 0) add(kept);
}

void NameIndex::shiftFrom(qsizetype line) {
  for (Slot& slot : m_slots) {
    if (slot.hash == 0) continue;
    if (slot.line >= line) ++slot.line;
    if (slot.header >= line) ++slot.header;
  }
}

} // namespace ini
