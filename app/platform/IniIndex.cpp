#include "IniIndex.h"

#include "IniLines.h"

#include <QVarLengthArray>

#include <algorithm>
#include <bit>
#include <cstring>

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

// The low bits, which pick the slot, depend on every bit of the hash.
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

} // namespace

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

// Sized once for every line at most half full, in the storage already held when it is enough:
// growing slot by slot rehashes a long file several times.
void NameIndex::reset(qsizetype lines) {
  m_slots.assign(std::bit_ceil(std::size_t(std::max<qsizetype>(32, lines + 1)) * 2), Slot());
  m_used = 0;
}

void NameIndex::add(const Slot& slot) {
  if (2 * (m_used + 1) > qsizetype(m_slots.size())) {
    std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_slots.size()));
    old.swap(m_slots);
    m_used = 0;
    for (const Slot& kept : old)
      if (kept.hash != 0) add(kept);
  }
  const std::size_t mask = m_slots.size() - 1;
  std::size_t i = slot.hash & mask;
  while (m_slots[i].hash != 0)
    i = (i + 1) & mask;
  m_slots[i] = slot;
  ++m_used;
}

void NameIndex::shiftFrom(qsizetype line) {
  for (Slot& slot : m_slots) {
    if (slot.hash == 0) continue;
    if (slot.line >= line) ++slot.line;
    if (slot.header >= line) ++slot.header;
  }
}

} // namespace ini
