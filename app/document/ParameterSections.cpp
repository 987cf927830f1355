#include "ParameterSections.h"

#include "IniFile.h"
#include "KeyGroups.h"
#include "NumberFormat.h"
#include "ParameterNames.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QString NameKey = QStringLiteral("Name");
const QString ValueKey = QStringLiteral("Value");
const QString MinKey = QStringLiteral("Min");
const QString MaxKey = QStringLiteral("Max");

QString sectionName(int number) {
  return QStringLiteral("Parameter%1").arg(number, 2, 10, QLatin1Char('0'));
}

double readFinite(const IniFile& ini, const QString& section, const QString& key,
                  double defaultValue) {
  const std::optional<long double> value = textToFloat(ini.ReadString(section, key, QString()));
  if (!value) return defaultValue;
  const auto number = static_cast<double>(*value);
  return std::isfinite(number) ? number : defaultValue;
}

} // namespace

void WriteParameters(IniFile& ini, const GraphParameters& parameters) {
  int number = 0;
  for (const GraphParameter& row : parameters) {
    const QString section = sectionName(++number);
    ini.WriteString(section, NameKey, row.name);
    WriteReal(ini, section, ValueKey, row.value);
    WriteReal(ini, section, MinKey, row.min);
    WriteReal(ini, section, MaxKey, row.max);
  }
  while (++number <= GraphParameters::MaxCount)
    ini.EraseSection(sectionName(number));
}

GraphParameters ReadParameters(const IniFile& ini) {
  GraphParameters parameters;
  for (int number = 1; number <= GraphParameters::MaxCount; ++number) {
    const QString section = sectionName(number);
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
