// The delimited-text reader: the bytes of a file, or the text of the clipboard, read into data
// sets. It takes CSV, TSV and semicolon- or blank-separated columns (the delimiter is
// detected), an optional header row that names the sets, '#' comments, and a decimal comma
// where the delimiter is ';' or a tab. The first column is x and every further column a set of
// its own sharing it; a file whose only numbers are in one column, or whose first column is
// text, gives y against the row's position (1, 2, 3, ... — see readDelimitedText).
//
// Rows that are not numbers are problems with their line numbers, not failures: the reader
// gives the sets of every other row together with the problems, and the caller keeps those
// sets or drops the lot. Only a text that yields no point at all is an error. Any bytes are
// safe to read (fuzz/fuzz_data_read.cpp).
#pragma once

#include "DataSet.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <vector>

enum class DataDelimiter {
  Tab,
  Semicolon,
  Comma,
  Blanks, // runs of spaces and tabs
};

struct DataProblem {
  enum class Kind {
    NotNumber,      // a cell of a number column holds text; column tells which
    MissingX,       // the x cell is empty while the row has y values
    TooManyFields,  // more cells than the file's columns; column is the first extra one
    TooManySets,    // number columns beyond the sets the graph has room for; column is the first
    TooManyColumns, // columns beyond ReadLimits::MaxColumns are not looked at
    TooManyPoints,  // the point limit reached at this line; it and the rest are not read
  };
  int line = 0; // 1-based line of the text
  Kind kind = Kind::NotNumber;
  int column = 0; // 1-based, 0 where no column is meant
  int limit = 0;  // for TooManySets and TooManyPoints: the limit
  bool operator==(const DataProblem&) const = default;

  // The problem in the program's words, with its line: "12 行目: 3 列目が数値ではありません".
  QString message() const;
};

struct DataReadOptions {
  // The sets the graph still has room for, and the points.
  int maxSets = DataSet::MaxCount;
  std::size_t maxPoints = DataSet::MaxTotalPoints;
  // Names the sets that the header does not name (the file's base name); may be empty.
  QString baseName;
  // The index in the graph of the first new set, for the colours of the new sets.
  int firstIndex = 0;
};

struct DataImport {
  static constexpr std::size_t MaxProblemsKept = 1000;
  static constexpr int MaxColumns = 64;

  DataSets sets;
  // The first MaxProblemsKept problems in line order; problemCount counts all of them.
  std::vector<DataProblem> problems;
  std::size_t problemCount = 0;
  // Empty unless nothing could be read: then sets is empty and this says why.
  QString error;

  // What the reader found, for the window to show.
  DataDelimiter delimiter = DataDelimiter::Blanks;
  bool header = false;
  bool decimalComma = false;
  bool indexAsX = false; // x is the row's position

  bool ok() const { return error.isEmpty(); }
};

// The text of a file or of the clipboard as bytes: UTF-8 (a byte-order mark is skipped),
// Shift-JIS (CP932) where the header is not UTF-8, or UTF-16 behind its byte-order mark.
DataImport readDelimitedText(QByteArrayView bytes, const DataReadOptions& options = {});
// Clipboard text.
DataImport readDelimitedText(const QString& text, const DataReadOptions& options = {});

// The file read and then its bytes as above; the error names the file. A file larger than
// MaxDataFileBytes is refused before it is read.
inline constexpr qint64 MaxDataFileBytes = 64 * 1024 * 1024;
DataImport readDataFile(const QString& fileName, DataReadOptions options = {});
