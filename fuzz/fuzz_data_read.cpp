// Arbitrary bytes as a data file or clipboard text, through the delimited-text reader; the sets
// read then go through their document sections and back. The first byte chooses the room the
// reader is given (sets and points), the rest is the text. Checked: no more sets and points than
// that room, every point finite and every set with points, problems within their bounds and in
// line order, an error exactly when there is no set, names cut to their length; the sets written
// into a document read back bit for bit, in values within the 1023-byte limit. The same bytes as
// clipboard text (UTF-8 decoded) are read too.
#include "DataSections.h"
#include "DelimitedText.h"
#include "IniFile.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A broken invariant names its line, so that a crash report tells which one.
void require(bool holds, int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: fuzz_data_read.cpp:%d\n", line);
  std::abort();
}

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkImport(const DataImport& import, const DataReadOptions& options, qsizetype size) {
  require(import.ok() == !import.sets.empty());
  require(import.sets.size() <= std::size_t(std::max(0, options.maxSets)));
  require(totalPoints(import.sets) <= options.maxPoints);
  for (const DataSet& set : import.sets) {
    require(!set.points.empty());
    require(!set.name.isEmpty() && set.name.size() <= 100);
    for (const DataPoint& point : set.points)
      require(std::isfinite(point.x) && std::isfinite(point.y));
  }
  require(import.problems.size() <= DataImport::MaxProblemsKept);
  require(import.problemCount >= import.problems.size());
  int line = 0;
  for (const DataProblem& problem : import.problems) {
    // A line per byte at most, and one more for the last line.
    require(problem.line >= 1 && problem.line <= size + 1);
    require(problem.line >= line);
    line = problem.line;
    require(!problem.message().isEmpty());
  }
}

void checkDocument(const DataSets& sets) {
  IniFile ini;
  WriteDataSets(ini, sets);
  const QByteArray text = ini.Contents();
  for (const QByteArray& written : text.split('\n'))
    require(written.size() <= 1023 + 64);
  const DataSets read = ReadDataSets(IniFile::FromBytes(text));
  require(read.size() == sets.size());
  for (std::size_t s = 0; s < sets.size(); ++s) {
    require(read[s].name == sets[s].name);
    require(read[s].marker == sets[s].marker && read[s].linePen == sets[s].linePen);
    require(read[s].points.size() == sets[s].points.size());
    for (std::size_t i = 0; i < sets[s].points.size(); ++i) {
      require(sameBits(read[s].points[i].x, sets[s].points[i].x));
      require(sameBits(read[s].points[i].y, sets[s].points[i].y));
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DataReadOptions options;
  if (size > 0) {
    // Low bits: the sets there is room for (0..8); high bits: a small point limit or none.
    options.maxSets = data[0] % 9;
    const int points = data[0] >> 4;
    options.maxPoints = points == 0 ? DataSet::MaxTotalPoints : std::size_t(points * 3);
    options.firstIndex = data[0] & 7;
    ++data;
    --size;
  }
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DataImport import = readDelimitedText(bytes, options);
  checkImport(import, options, bytes.size());
  checkDocument(import.sets);

  const QString text = QString::fromUtf8(bytes);
  const DataImport clipboard = readDelimitedText(text, options);
  checkImport(clipboard, options, text.toUtf8().size());
  return 0;
}
