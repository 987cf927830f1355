#include "DataSections.h"

#include "IniFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace {

const QString NameKey = QStringLiteral("Name");
const QString ShapeKey = QStringLiteral("MarkerShape");
const QString SizeKey = QStringLiteral("MarkerSize");
const QString ColorKey = QStringLiteral("MarkerColor");
const QString LineKey = QStringLiteral("Line");
const QString PenColorKey = QStringLiteral("LinePenColor");
const QString PenStyleKey = QStringLiteral("LinePenStyle");
const QString PenWidthKey = QStringLiteral("LinePenWidth");
const QString HiddenKey = QStringLiteral("Hidden");
constexpr QLatin1StringView PointsStem("Points");
constexpr std::int32_t MaxPenWidth = 64;

// A document holding the most points a graph holds is read whole: a pair takes at most 49
// bytes and its ';', a key's name and line end add a few in a thousand. Beyond what is read, a
// save would copy the unread rest of an earlier section behind the sections it writes.
static_assert(DataSet::MaxTotalPoints * 52 < std::size_t(IniFile::MaxReadBytes));

// "Data01" .. "Data08", made once.
const QString& sectionName(int number) {
  static const std::array<QString, DataSet::MaxCount + 1> names = [] {
    std::array<QString, DataSet::MaxCount + 1> made;
    for (int n = 1; n <= DataSet::MaxCount; ++n)
      made[std::size_t(n)] = QStringLiteral("Data%1").arg(n, 2, 10, QLatin1Char('0'));
    return made;
  }();
  return names.at(std::size_t(number));
}

// The shortest text that reads back as the same double, with the exponent as the document
// writes reals ("1E-5", "1.5E20": no '+', no leading zeros).
void appendExact(std::string& text, double value) {
  std::array<char, 40> buffer{};
  const std::to_chars_result written =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  const char* begin = buffer.data();
  const char* end = written.ptr;
  const char* e = std::find(begin, end, 'e');
  text.append(begin, e);
  if (e == end) return;
  text += 'E';
  const char* digits = e + 1;
  if (*digits == '+')
    ++digits;
  else if (*digits == '-')
    text += *digits++;
  while (digits + 1 < end && *digits == '0')
    ++digits;
  text.append(digits, end);
}

void writePoints(IniFile& ini, const QString& section, const DataPoints& points) {
  std::string value;
  std::string pair;
  int key = 0;
  const auto flush = [&] {
    ini.WriteString(section, PointsStem + QString::number(++key), QString::fromLatin1(value));
    value.clear();
  };
  for (const DataPoint& point : points) {
    pair.clear();
    appendExact(pair, point.x);
    pair += ',';
    appendExact(pair, point.y);
    // A pair takes at most 49 bytes, so a key always takes one.
    if (!value.empty() && value.size() + 1 + pair.size() > std::size_t(IniFile::MaxValueBytes))
      flush();
    if (!value.empty()) value += ';';
    value += pair;
  }
  if (!value.empty()) flush();
}

void writeSet(IniFile& ini, const QString& section, const DataSet& set) {
  ini.WriteString(section, NameKey, set.name);
  ini.WriteInteger(section, ShapeKey, static_cast<std::int32_t>(set.marker.shape));
  ini.WriteInteger(section, SizeKey, set.marker.size);
  ini.WriteInteger(section, ColorKey, set.marker.color);
  ini.WriteBool(section, LineKey, set.line);
  ini.WriteInteger(section, PenColorKey, set.linePen.Color);
  ini.WriteInteger(section, PenStyleKey, static_cast<std::int32_t>(set.linePen.Style));
  ini.WriteInteger(section, PenWidthKey, set.linePen.Width);
  ini.WriteBool(section, HiddenKey, set.hidden);
  writePoints(ini, section, set.points);
}

std::optional<double> parseFinite(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

// Appends the pairs of one key's value, skipping those that are not two finite numbers, until
// the budget of points is spent.
void readPairs(std::string_view value, std::vector<DataPoint>& points, std::size_t& budget) {
  while (!value.empty() && budget > 0) {
    const std::size_t end = std::min(value.find(';'), value.size());
    const std::string_view pair = value.substr(0, end);
    value.remove_prefix(std::min(end + 1, value.size()));
    const std::size_t comma = pair.find(',');
    if (comma == std::string_view::npos) continue;
    const std::optional<double> x = parseFinite(pair.substr(0, comma));
    const std::optional<double> y = parseFinite(pair.substr(comma + 1));
    if (!x || !y) continue;
    points.push_back({*x, *y});
    --budget;
  }
}

// The numbers of the section's points keys ("Points12", any case) with their names, in number
// order; the first key of a number counts.
std::vector<std::pair<int, QString>> pointsKeys(const IniFile& ini, const QString& section) {
  std::vector<std::pair<int, QString>> keys;
  for (const QString& key : ini.ReadSection(section)) {
    if (key.size() <= PointsStem.size() || key.size() > PointsStem.size() + 9 ||
        !key.startsWith(PointsStem, Qt::CaseInsensitive))
      continue;
    bool ok = false;
    const int number = QStringView(key).sliced(PointsStem.size()).toInt(&ok);
    if (ok && number >= 1 && key.at(PointsStem.size()).isDigit()) keys.emplace_back(number, key);
  }
  std::stable_sort(keys.begin(), keys.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  keys.erase(std::unique(keys.begin(), keys.end(),
                         [](const auto& a, const auto& b) { return a.first == b.first; }),
             keys.end());
  return keys;
}

DataSet readSet(const IniFile& ini, const QString& section, int index, std::size_t& budget) {
  DataSet set = DataSet::withDefaults(index);
  set.name = ini.ReadString(section, NameKey, QString());
  set.marker.shape = markerShapeFromStored(
      ini.ReadInteger(section, ShapeKey, static_cast<std::int32_t>(set.marker.shape)));
  set.marker.size = std::clamp(ini.ReadInteger(section, SizeKey, set.marker.size),
                               DataMarker::MinSize, DataMarker::MaxSize);
  set.marker.color = ini.ReadInteger(section, ColorKey, set.marker.color);
  set.line = ini.ReadBool(section, LineKey, false);
  set.linePen.Color = ini.ReadInteger(section, PenColorKey, set.linePen.Color);
  set.linePen.Style = penStyleFromStored(ini.ReadInteger(section, PenStyleKey, 0));
  set.linePen.Width = std::clamp(ini.ReadInteger(section, PenWidthKey, 1), 1, MaxPenWidth);
  set.hidden = ini.ReadBool(section, HiddenKey, false);
  std::vector<DataPoint> points;
  QByteArray bytes;
  for (const auto& [number, key] : pointsKeys(ini, section)) {
    if (budget == 0) break;
    bytes = ini.ReadString(section, key, QString()).toLatin1();
    readPairs(std::string_view(bytes.constData(), std::size_t(bytes.size())), points, budget);
  }
  set.points = DataPoints(std::move(points));
  return set;
}

} // namespace

void WriteDataSets(IniFile& ini, const DataSets& sets) {
  const int count = std::min(int(sets.size()), DataSet::MaxCount);
  for (int n = 1; n <= DataSet::MaxCount; ++n) {
    const QString& section = sectionName(n);
    // Rewritten whole; erasing a section that is not there changes nothing.
    ini.EraseSection(section);
    if (n <= count) writeSet(ini, section, sets[std::size_t(n - 1)]);
  }
}

DataSets ReadDataSets(const IniFile& ini) {
  DataSets sets;
  std::size_t budget = DataSet::MaxTotalPoints;
  for (int n = 1; n <= DataSet::MaxCount; ++n) {
    const QString& section = sectionName(n);
    if (!ini.SectionExists(section)) continue;
    sets.push_back(readSet(ini, section, int(sets.size()), budget));
  }
  return sets;
}
