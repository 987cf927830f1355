// The name index of an INI text: an open hash table of its section and key names, so that reads
// look names up instead of scanning the lines, and allocate nothing for a name.
#pragma once

#include <QByteArrayView>

#include <cstring>
#include <optional>
#include <vector>

namespace ini {

// The low bits, which pick the slot, depend on every bit of the hash.
inline quint64 mixedHash(quint64 h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  return h == 0 ? 1 : h; // 0 marks an empty slot
}

// The last bytes of a name, fewer than eight, gathered in a register: copying them into a
// zeroed word on the stack and loading it whole stalls the load on the byte stores.
inline quint64 tailWord(const char* bytes, qsizetype count) {
  quint64 word = 0;
  for (qsizetype i = 0; i < count; ++i)
    word |= quint64(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return word;
}

// A name's hash, equal for names that are equal with ASCII case folding, which covers every
// name the program writes. ASCII upper and lower case letters differ only in bit 0x20, so the
// hash takes every byte with that bit set: folded names hash alike with no pass that folds them
// or looks for letters. The name is taken eight bytes at a time, a 64-bit word a step, as names
// are short and a byte a step would cost a multiply a byte. Setting the bit also merges bytes
// that are no letters ('[' with '{', bytes of multibyte characters): such names collide, which
// costs a comparison of the names and a longer probe, never a wrong match, as every lookup
// compares the names it finds. Inline, as are the helpers around it: every read and write
// hashes and compares its names, and a call costs as much as the work on a short name.
inline quint64 nameHash(QByteArrayView name) {
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
  return mixedHash(h);
}

// The hash of a key name in the section whose name has the hash section.
inline quint64 keyHash(quint64 section, QByteArrayView key) {
  return mixedHash(section * 0x9E3779B97F4A7C15ULL ^ nameHash(key));
}

// sameName for names of one size whose bytes differ.
bool sameFoldedName(QByteArrayView a, QByteArrayView b, bool utf8);

// Whether two names are equal when every single-byte letter is folded to lower case; the second
// bytes of CP932 characters are never folded. The names a lookup finds are mostly the very
// bytes it looks for.
inline bool sameName(QByteArrayView a, QByteArrayView b, bool utf8) {
  if (a.size() != b.size()) return false;
  return a == b || sameFoldedName(a, b, utf8);
}

class NameIndex {
public:
  // A section (line is its header) or a key of the first section of its name (line is the
  // key's, header its section's). Empty slots have hash 0, which no name's hash is.
  struct Slot {
    quint64 hash = 0;
    qsizetype line = 0;
    qsizetype header = 0;
  };

  // Empties the index, sized for as many names as a text of that many lines holds.
  void reset(qsizetype lines);
  void add(const Slot& slot);
  // The line of the first slot of that hash for which matches(slot) holds.
  template <class Matches> std::optional<qsizetype> find(quint64 hash, Matches matches) const;
  // After a line was inserted at line: every line from there has moved down by one.
  void shiftFrom(qsizetype line);

private:
  // Doubles the table, which keeps the slots it holds.
  void grow();

  std::vector<Slot> m_slots; // a power of two in size, at most half full
  qsizetype m_used = 0;
};

inline void NameIndex::add(const Slot& slot) {
  if (2 * (m_used + 1) > qsizetype(m_slots.size())) grow();
  const std::size_t mask = m_slots.size() - 1;
  std::size_t i = slot.hash & mask;
  while (m_slots[i].hash != 0)
    i = (i + 1) & mask;
  m_slots[i] = slot;
  ++m_used;
}

template <class Matches>
std::optional<qsizetype> NameIndex::find(quint64 hash, Matches matches) const {
  if (m_slots.empty()) return std::nullopt;
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = hash & mask; m_slots[i].hash != 0; i = (i + 1) & mask) {
    if (m_slots[i].hash == hash && matches(m_slots[i])) return m_slots[i].line;
  }
  return std::nullopt;
}

} // namespace ini
