#include "ParameterSections.h"

#include "IniFile.h"
#include "KeyGroups.h"
#include "NumberFormat.h"
#include "ParameterNames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

const QString NameKey = QStringLiteral("Name");
const QString ValueKey = QStringLiteral("Value");
const QString MinKey = QStringLiteral("Min");
const QString MaxKey = QStringLiteral("Max");

// Made once: every save erases the sections beyond the rows it writes.
const QString& sectionName(int number) {
  static const std::array<QString, GraphParameters::MaxCount + 1> names = [] {
    std::array<QString, GraphParameters::MaxCount + 1> made;
    for (int n = 1; n <= GraphParameters::MaxCount; ++n)
      made[n] = NumberedName("Parameter", n);
    return made;
  }();
  return names.at(std::size_t(number));
}

double readFinite(const IniFile& ini, const QString& section, const QString& key,
                  double defaultValue) {
  const std::optional<long double> value = textToFloat(ini.ReadString(section, key, QString()));
  if (!value) return defaultValue;
  const auto number = static_cast<double>(*value);
  return std::isfinite(number) ? number : defaultValue;
}

// The value, min and max written with a precision.
std::array<QString, 3> rowTexts(const GraphParameter& row, int precision) {
  const auto text = [precision](double value) {
    return formatGeneral(value, precision, QStringLiteral("."));
  };
  return {text(row.value), text(row.min), text(row.max)};
}

// Fifteen digits, as every real of the document, unless they would not read back as a sound
// row: ends so close that they no longer rise, or a number so near the largest double that it
// rounds up beyond it. Then the seventeen digits that give each double exactly.
std::array<QString, 3> rowTexts(const GraphParameter& row) {
  const std::array<QString, 3> texts = rowTexts(row, 15);
  const auto readBack = [](const QString& text) { return static_cast<double>(*textToFloat(text)); };
  const double value = readBack(texts[0]);
  const double min = readBack(texts[1]);
  const double max = readBack(texts[2]);
  const bool sound = std::isfinite(value) && std::isfinite(min) && std::isfinite(max) && min < max;
  return sound ? texts : rowTexts(row, 17);
}

} // namespace

void WriteParameters(IniFile& ini, const GraphParameters& parameters) {
  int number = 0;
  for (const GraphParameter& row : parameters) {
    if (!row.stored) continue;
    const QString& section = sectionName(++number);
    const std::array<QString, 3> texts = rowTexts(row);
    ini.WriteString(section, NameKey, row.name);
    ini.WriteString(section, ValueKey, texts[0]);
    ini.WriteString(section, MinKey, texts[1]);
    ini.WriteString(section, MaxKey, texts[2]);
  }
  while (++number <= GraphParameters::MaxCount)
    ini.EraseSection(sectionName(number));
}

GraphParameters ReadParameters(const IniFile& ini) {
  GraphParameters parameters;
  for (int number = 1; number <= GraphParameters::MaxCount; ++number) {
    const QString& section = sectionName(number);
    const QString name = ini.ReadString(section, NameKey, QString());
    if (!isParameterName(name) || parameters.indexOf(name) >= 0) continue;
    GraphParameter row{name};
    const double min = readFinite(ini, section, MinKey, row.min);
    const double max = readFinite(ini, section, MaxKey, row.max);
    if (min < max) {
      row.min = min;
      row.max = max;
    }
    // Outside the range, the value is still the one saved: the range widens to it.
    row.value = std::clamp(row.value, row.min, row.max);
    parameters.add(row);
    parameters.setValue(parameters.count() - 1, readFinite(ini, section, ValueKey, row.value));
  }
  return parameters;
}
