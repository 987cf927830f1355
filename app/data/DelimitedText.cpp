#include "DelimitedText.h"

#include "ShiftJisCodec.h"
#include "Utf8Codec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

using std::string_view;

// The rows looked at to find the delimiter.
constexpr int SampleRows = 64;
// A name longer than this is cut: it is a caption, not a text.
constexpr qsizetype MaxNameLength = 100;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

string_view trimmed(string_view text) {
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && (isBlank(text.back()) || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// The lines of the text with their 1-based numbers; "\r\n", "\n" and a lone "\r" end a line.
class Lines {
public:
  explicit Lines(string_view text) : m_text(text) {}
  bool next(string_view& line, int& number) {
    if (m_at > m_text.size()) return false;
    std::size_t end = m_at;
    while (end < m_text.size() && m_text[end] != '\n' && m_text[end] != '\r')
      ++end;
    line = m_text.substr(m_at, end - m_at);
    number = ++m_number;
    if (end < m_text.size() && m_text[end] == '\r' && end + 1 < m_text.size() &&
        m_text[end + 1] == '\n')
      ++end;
    m_at = end + 1;
    // No line after a final line break.
    if (m_at == m_text.size()) m_at = m_text.size() + 1;
    return true;
  }

private:
  string_view m_text;
  std::size_t m_at = 0;
  int m_number = 0;
};

// The line without its comment: '#' outside double quotes starts one.
string_view withoutComment(string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      quoted = !quoted;
    else if (line[i] == '#' && !quoted)
      return line.substr(0, i);
  }
  return line;
}

char delimiterChar(DataDelimiter delimiter) {
  switch (delimiter) {
  case DataDelimiter::Tab:
    return '\t';
  case DataDelimiter::Semicolon:
    return ';';
  case DataDelimiter::Comma:
    return ',';
  case DataDelimiter::Blanks:
    break;
  }
  return ' ';
}

// Splits a line into its cells, each trimmed of blanks; a delimiter inside double quotes does
// not split. Cells are views of the line, quotes and all. At most limit cells are kept; the
// count of cells up to the last one that is not empty is returned, so that a delimiter at the
// end of a row ("1,2,") adds no column.
int splitCells(string_view line, DataDelimiter delimiter, std::vector<string_view>& cells,
               int limit) {
  cells.clear();
  int seen = 0;
  int count = 0;
  const auto add = [&](string_view cell) {
    cell = trimmed(cell);
    if (seen < limit) cells.push_back(cell);
    ++seen;
    if (!cell.empty()) count = seen;
  };
  if (delimiter == DataDelimiter::Blanks) {
    std::size_t i = 0;
    while (true) {
      while (i < line.size() && (isBlank(line[i]) || line[i] == '\r'))
        ++i;
      if (i >= line.size()) break;
      const std::size_t start = i;
      bool quoted = false;
      while (i < line.size() && (quoted || !(isBlank(line[i]) || line[i] == '\r'))) {
        if (line[i] == '"') quoted = !quoted;
        ++i;
      }
      add(line.substr(start, i - start));
    }
    return count;
  }
  const char separator = delimiterChar(delimiter);
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      quoted = !quoted;
    else if (line[i] == separator && !quoted) {
      add(line.substr(start, i - start));
      start = i + 1;
    }
  }
  add(line.substr(start));
  return count;
}

// The cell without the double quotes around it.
string_view unquoted(string_view cell) {
  if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
    return trimmed(cell.substr(1, cell.size() - 2));
  return cell;
}

// A finite number: an optional sign, digits with an optional point (or the decimal comma), an
// optional exponent. Nothing for anything else, infinities and NaN included.
std::optional<double> parseNumber(string_view cell, bool decimalComma) {
  cell = unquoted(cell);
  if (cell.empty() || cell.size() > 400) return std::nullopt;
  std::array<char, 401> buffer{};
  std::size_t size = 0;
  std::size_t at = 0;
  if (cell[0] == '+') at = 1; // from_chars takes no '+'
  if (at < cell.size() && cell[at] == '-' && at == 1) return std::nullopt;
  bool comma = false;
  for (; at < cell.size(); ++at) {
    char c = cell[at];
    const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' ||
                         c == 'E' || (c == ',' && decimalComma);
    if (!allowed) return std::nullopt;
    if (c == ',') {
      if (comma) return std::nullopt;
      comma = true;
      c = '.';
    }
    buffer[size++] = c;
  }
  // "1,5" with a decimal comma is fine; "1.5,0" mixes the two separators.
  if (comma && std::count(buffer.begin(), buffer.begin() + long(size), '.') != 1)
    return std::nullopt;
  double value = 0;
  const std::from_chars_result result =
      std::from_chars(buffer.data(), buffer.data() + size, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != buffer.data() + size || !std::isfinite(value))
    return std::nullopt;
  return value;
}

struct Detection {
  DataDelimiter delimiter = DataDelimiter::Blanks;
  int columns = 1;
};

// The delimiter under which the sample rows most often have the same number of cells, two or
// more; on a tie the first of tab, ';', ',' and blanks, so that "1,5;2,5" splits at ';' (its
// commas are decimal commas) and "1.5, 2.5" at ',' rather than at the blank. None of them: a
// single column.
Detection detect(const std::vector<string_view>& sample) {
  Detection best;
  double bestShare = 0;
  std::vector<string_view> cells;
  for (const DataDelimiter delimiter : {DataDelimiter::Tab, DataDelimiter::Semicolon,
                                        DataDelimiter::Comma, DataDelimiter::Blanks}) {
    std::vector<int> counts;
    for (const string_view line : sample)
      counts.push_back(splitCells(line, delimiter, cells, 0));
    // The most frequent count, the larger one on a tie.
    int modal = 0;
    int modalRows = 0;
    for (const int count : counts) {
      const auto rows = static_cast<int>(std::count(counts.begin(), counts.end(), count));
      if (rows > modalRows || (rows == modalRows && count > modal)) {
        modal = count;
        modalRows = rows;
      }
    }
    const double share = sample.empty() ? 0 : double(modalRows) / double(sample.size());
    if (modal >= 2 && share > bestShare) {
      best = {delimiter, modal};
      bestShare = share;
    }
  }
  return best;
}

// Whether the bytes are UTF-8 throughout.
bool isUtf8(string_view bytes) {
  const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
  for (qsizetype i = 0; i < view.size();) {
    const qsizetype length = utf8SequenceLength(view, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// A header cell as a set's name: unquoted ("" stands for "), in UTF-8 or else CP932, control
// characters as blanks, cut to MaxNameLength characters.
QString nameOf(string_view cell) {
  std::string text;
  if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
    const string_view inner = cell.substr(1, cell.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
      text += inner[i];
      if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
    }
  } else {
    text = cell;
  }
  const QByteArray bytes(text.data(), qsizetype(text.size()));
  QString name = isUtf8(text) ? QString::fromUtf8(bytes) : fromShiftJis(bytes);
  for (QChar& c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
  if (name.size() > MaxNameLength) {
    // Not between the two halves of a surrogate pair.
    name.truncate(name.at(MaxNameLength - 1).isHighSurrogate() ? MaxNameLength - 1 : MaxNameLength);
  }
  return name.trimmed();
}

enum class CellKind : std::uint8_t { Empty, Number, Text };

struct Row {
  int line = 0;
  int cellCount = 0;     // all cells, also beyond the columns looked at
  std::size_t first = 0; // index of its first cell in the table
};

struct Fault {
  DataProblem::Kind kind;
  int column;
};

// The reader's state: the rows after the header, cell by cell over the columns looked at.
class Reader {
public:
  Reader(string_view text, const DataReadOptions& options) : m_text(text), m_options(options) {}

  DataImport read();

private:
  void problem(int line, DataProblem::Kind kind, int column, int limit = 0) {
    ++m_import.problemCount;
    if (m_import.problems.size() < DataImport::MaxProblemsKept)
      m_import.problems.push_back({line, kind, column, limit});
  }
  void findForm();
  void readCells();
  void chooseColumns();
  std::optional<Fault> fault(const Row& row) const;
  std::vector<std::vector<DataPoint>> collectPoints();
  void makeSets(std::vector<std::vector<DataPoint>> points);
  QString defaultName(int column) const;

  string_view m_text;
  const DataReadOptions& m_options;
  DataImport m_import;
  // The lines that hold cells (without comments and blank lines), with their numbers.
  std::vector<string_view> m_lines;
  std::vector<int> m_numbers;
  int m_detectedColumns = 1;
  int m_columns = 1; // looked at: at most DataImport::MaxColumns
  std::vector<Row> m_rows;
  std::vector<CellKind> m_kinds;
  std::vector<double> m_values;
  std::vector<QString> m_names;
  std::vector<int> m_yColumns;
};

void Reader::findForm() {
  Lines lines(m_text);
  string_view line;
  int number = 0;
  while (lines.next(line, number)) {
    const string_view content = trimmed(withoutComment(line));
    if (content.empty()) continue;
    m_lines.push_back(content);
    m_numbers.push_back(number);
  }
  const std::size_t sampled = std::min<std::size_t>(SampleRows, m_lines.size());
  const Detection detection =
      detect(std::vector<string_view>(m_lines.begin(), m_lines.begin() + long(sampled)));
  m_import.delimiter = detection.delimiter;
  // Only where the comma cannot be the delimiter: with ';' and with tabs (spreadsheets of
  // locales with a decimal comma write these two). Blank-separated text with decimal commas
  // would be read as comma-separated columns, so it is not taken.
  m_import.decimalComma =
      detection.delimiter == DataDelimiter::Semicolon || detection.delimiter == DataDelimiter::Tab;
  m_detectedColumns = detection.columns;
  m_columns = std::min(detection.columns, DataImport::MaxColumns);
  if (detection.columns > DataImport::MaxColumns)
    problem(m_numbers.front(), DataProblem::Kind::TooManyColumns, DataImport::MaxColumns + 1);
}

void Reader::readCells() {
  std::vector<string_view> cells;
  const bool comma = m_import.decimalComma;
  for (std::size_t r = 0; r < m_lines.size(); ++r) {
    const int count = splitCells(m_lines[r], m_import.delimiter, cells, m_columns);
    if (r == 0) {
      // The first row names the columns when it holds text that is not a number.
      const bool text = std::any_of(cells.begin(), cells.end(), [comma](string_view cell) {
        return !unquoted(cell).empty() && !parseNumber(cell, comma);
      });
      if (text) {
        m_import.header = true;
        for (const string_view cell : cells)
          m_names.push_back(nameOf(cell));
        continue;
      }
    }
    m_rows.push_back({m_numbers[r], count, m_kinds.size()});
    for (int c = 0; c < m_columns; ++c) {
      const string_view cell = c < int(cells.size()) ? cells[std::size_t(c)] : string_view();
      const std::optional<double> value = parseNumber(cell, comma);
      m_kinds.push_back(unquoted(cell).empty() ? CellKind::Empty
                        : value                ? CellKind::Number
                                               : CellKind::Text);
      m_values.push_back(value.value_or(0));
    }
  }
}

void Reader::chooseColumns() {
  // A column of numbers holds more numbers than text; the others (dates, remarks) are left out
  // without a problem per row.
  std::vector<bool> numeric(std::size_t(m_columns), false);
  for (int c = 0; c < m_columns; ++c) {
    std::size_t numbers = 0;
    std::size_t texts = 0;
    for (const Row& row : m_rows) {
      const CellKind kind = m_kinds[row.first + std::size_t(c)];
      numbers += kind == CellKind::Number;
      texts += kind == CellKind::Text;
    }
    numeric[std::size_t(c)] = numbers > texts;
  }
  // The first column is x when it holds numbers and so does another; otherwise every column of
  // numbers is a y against the row's position, counted 1, 2, 3, ... over the rows after the
  // header (as a spreadsheet numbers them, and as a person counts measurements). A row that is
  // left out keeps its position, so x still tells which row a point came from.
  const auto numericCount = std::count(numeric.begin(), numeric.end(), true);
  m_import.indexAsX = !(numeric[0] && numericCount >= 2);
  for (int c = m_import.indexAsX ? 0 : 1; c < m_columns; ++c) {
    if (!numeric[std::size_t(c)]) continue;
    if (int(m_yColumns.size()) >= std::max(0, m_options.maxSets)) {
      problem(m_rows.empty() ? 1 : m_rows.front().line, DataProblem::Kind::TooManySets, c + 1,
              m_options.maxSets);
      break;
    }
    m_yColumns.push_back(c);
  }
}

// What keeps a row out, the first of: text in a column that is read, more cells than the
// file's columns, an empty x beside y values, nothing but text in columns that are not read.
std::optional<Fault> Reader::fault(const Row& row) const {
  const CellKind* kinds = &m_kinds[row.first];
  if (!m_import.indexAsX && kinds[0] == CellKind::Text)
    return Fault{DataProblem::Kind::NotNumber, 1};
  for (const int c : m_yColumns)
    if (kinds[c] == CellKind::Text) return Fault{DataProblem::Kind::NotNumber, c + 1};
  if (row.cellCount > m_detectedColumns && m_detectedColumns < DataImport::MaxColumns)
    return Fault{DataProblem::Kind::TooManyFields, m_detectedColumns + 1};
  const bool anyY = std::any_of(m_yColumns.begin(), m_yColumns.end(),
                                [kinds](int c) { return kinds[c] == CellKind::Number; });
  if (!m_import.indexAsX && kinds[0] == CellKind::Empty && anyY)
    return Fault{DataProblem::Kind::MissingX, 0};
  const bool anyCell =
      std::any_of(kinds, kinds + m_columns, [](CellKind kind) { return kind != CellKind::Empty; });
  if (!anyY && anyCell)
    return Fault{DataProblem::Kind::NotNumber, m_yColumns.empty() ? 1 : m_yColumns.front() + 1};
  return std::nullopt;
}

std::vector<std::vector<DataPoint>> Reader::collectPoints() {
  std::vector<std::vector<DataPoint>> points(m_yColumns.size());
  std::size_t total = 0;
  std::size_t position = 0;
  for (const Row& row : m_rows) {
    ++position;
    if (const std::optional<Fault> found = fault(row)) {
      problem(row.line, found->kind, found->column);
      continue;
    }
    const CellKind* kinds = &m_kinds[row.first];
    const double* values = &m_values[row.first];
    const std::size_t rowPoints =
        std::size_t(std::count_if(m_yColumns.begin(), m_yColumns.end(),
                                  [kinds](int c) { return kinds[c] == CellKind::Number; }));
    if (total + rowPoints > m_options.maxPoints) {
      problem(row.line, DataProblem::Kind::TooManyPoints, 0,
              int(std::min<std::size_t>(m_options.maxPoints, INT32_MAX)));
      break;
    }
    total += rowPoints;
    const double x = m_import.indexAsX ? double(position) : values[0];
    for (std::size_t s = 0; s < m_yColumns.size(); ++s)
      if (kinds[m_yColumns[s]] == CellKind::Number) points[s].push_back({x, values[m_yColumns[s]]});
  }
  return points;
}

QString Reader::defaultName(int column) const {
  const QString base = m_options.baseName;
  if (m_yColumns.size() == 1) return base.isEmpty() ? QStringLiteral("データ") : base;
  const QString numbered = QStringLiteral("列%1").arg(column + 1);
  return base.isEmpty() ? numbered : base + QLatin1Char(' ') + numbered;
}

void Reader::makeSets(std::vector<std::vector<DataPoint>> points) {
  for (std::size_t s = 0; s < m_yColumns.size(); ++s) {
    if (points[s].empty()) continue;
    const int column = m_yColumns[s];
    const int index = m_options.firstIndex + int(m_import.sets.size());
    QString name = std::size_t(column) < m_names.size() ? m_names[std::size_t(column)] : QString();
    if (name.isEmpty()) name = defaultName(column);
    DataSet set = DataSet::withDefaults(index, name);
    set.points = DataPoints(std::move(points[s]));
    m_import.sets.push_back(std::move(set));
  }
}

DataImport Reader::read() {
  findForm();
  readCells();
  chooseColumns();
  makeSets(collectPoints());
  if (m_import.sets.empty())
    m_import.error = m_options.maxSets <= 0
                         ? QStringLiteral("データは %1 組までです").arg(DataSet::MaxCount)
                         : QStringLiteral("数値の行がありません");
  return std::move(m_import);
}

QString problemText(const DataProblem& problem) {
  switch (problem.kind) {
  case DataProblem::Kind::NotNumber:
    return QStringLiteral("%1 列目が数値ではありません").arg(problem.column);
  case DataProblem::Kind::MissingX:
    return QStringLiteral("x の値がありません");
  case DataProblem::Kind::TooManyFields:
    return QStringLiteral("列が多すぎます (%1 列目から後)").arg(problem.column);
  case DataProblem::Kind::TooManySets:
    return QStringLiteral("データは %1 組までです。%2 列目から後は読みません")
        .arg(problem.limit)
        .arg(problem.column);
  case DataProblem::Kind::TooManyColumns:
    return QStringLiteral("%1 列目から後は読みません").arg(problem.column);
  case DataProblem::Kind::TooManyPoints:
    return QStringLiteral("点は全部で %1 個までです。ここから後は読みません").arg(problem.limit);
  }
  return QString();
}

} // namespace

QString DataProblem::message() const {
  return QStringLiteral("%1 行目: %2").arg(line).arg(problemText(*this));
}

DataImport readDelimitedText(QByteArrayView bytes, const DataReadOptions& options) {
  // UTF-16 (a spreadsheet's "Unicode text") behind its byte-order mark is read as UTF-8.
  if (bytes.size() >= 2 &&
      ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    const bool little = bytes[0] == '\xFF';
    QString text;
    text.reserve((bytes.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]);
      const auto b = static_cast<unsigned char>(bytes[i + 1]);
      text.append(QChar(char16_t(little ? a | b << 8 : b | a << 8)));
    }
    const QByteArray utf8 = text.toUtf8();
    return Reader(string_view(utf8.constData(), std::size_t(utf8.size())), options).read();
  }
  string_view text(bytes.data(), std::size_t(bytes.size()));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return Reader(text, options).read();
}

DataImport readDelimitedText(const QString& text, const DataReadOptions& options) {
  return readDelimitedText(QByteArrayView(text.toUtf8()), options);
}

DataImport readDataFile(const QString& fileName, DataReadOptions options) {
  DataImport failed;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    failed.error = QStringLiteral("%1 を読めません").arg(fileName);
    return failed;
  }
  if (file.size() > MaxDataFileBytes) {
    failed.error = QStringLiteral("%1 は大きすぎて読めません").arg(fileName);
    return failed;
  }
  // Read to the end, also where the size is not known beforehand (a pipe), but no further than
  // the limit.
  const QByteArray bytes = file.read(MaxDataFileBytes + 1);
  if (file.error() != QFileDevice::NoError) {
    failed.error = QStringLiteral("%1 を読めません").arg(fileName);
    return failed;
  }
  if (bytes.size() > MaxDataFileBytes) {
    failed.error = QStringLiteral("%1 は大きすぎて読めません").arg(fileName);
    return failed;
  }
  if (options.baseName.isEmpty()) options.baseName = QFileInfo(fileName).completeBaseName();
  DataImport import = readDelimitedText(QByteArrayView(bytes), options);
  if (!import.ok() && options.maxSets > 0) {
    // Bytes with NULs that are not UTF-16 are no text at all.
    const bool binary =
        bytes.contains('\0') && !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF");
    import.error = binary ? QStringLiteral("%1 はテキストのファイルではありません").arg(fileName)
                          : QStringLiteral("%1 に数値の行がありません").arg(fileName);
  }
  return import;
}
