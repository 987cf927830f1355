// The name index of an INI text: an open hash table of its section and key names, so that reads
// look names up instead of scanning the lines, and allocate nothing for a name.
#pragma once

#include <QByteArrayView>

#include <optional>
#include <vector>

namespace ini {

// A name's hash, equal for names that are equal with ASCII case folding, which covers every
// name the program writes. ASCII upper and lower case letters differ only in bit 0x20, so the
// hash takes every byte with that bit set: folded names hash alike with no pass that folds them
// or looks for letters. The name is taken eight bytes at a time, a 64-bit word a step, as names
// are short and a byte a step would cost a multiply a byte. Setting the bit also merges bytes
// that are no letters ('[' with '{', bytes of multibyte characters): such names collide, which
// costs a comparison of the names and a longer probe, never a wrong match, as every lookup
// compares the names it finds.
quint64 nameHash(QByteArrayView name);
// The hash of a key name in the section whose name has the hash section.
quint64 keyHash(quint64 section, QByteArrayView key);
// Whether two names are equal when every single-byte letter is folded to lower case; the second
// bytes of CP932 characters are never folded.
bool sameName(QByteArrayView a, QByteArrayView b, bool utf8);

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
  std::vector<Slot> m_slots; // a power of two in size, at most half full
  qsizetype m_used = 0;
};

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
