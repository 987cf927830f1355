#include "GraphParameters.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

bool soundRange(double min, double max) {
  return std::isfinite(min) && std::isfinite(max) && min < max;
}

} // namespace

const GraphParameter& GraphParameters::at(int index) const {
  if (index < 0 || index >= count()) throw std::out_of_range("parameter row out of range");
  return rows[static_cast<std::size_t>(index)];
}

GraphParameter& GraphParameters::row(int index) {
  return const_cast<GraphParameter&>(at(index));
}

int GraphParameters::indexOf(const QString& name) const {
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [&name](const GraphParameter& row) { return row.name == name; });
  return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

int GraphParameters::add(const QStringList& names) {
  int added = 0;
  for (const QString& name : names) {
    if (add(GraphParameter{name})) ++added;
  }
  return added;
}

int GraphParameters::addFound(const QStringList& names) {
  int added = 0;
  for (const QString& name : names) {
    if (add(GraphParameter{name, GraphParameter::FoundValue, GraphParameter::DefaultMin,
                           GraphParameter::DefaultMax, false}))
      ++added;
  }
  return added;
}

bool GraphParameters::add(const GraphParameter& row) {
  if (count() >= MaxCount || indexOf(row.name) >= 0 || !soundRange(row.min, row.max) ||
      !(row.min <= row.value && row.value <= row.max))
    return false;
  rows.push_back(row);
  return true;
}

int GraphParameters::removeUnusedDefaults(const QStringList& used) {
  const auto unusedDefault = [&used](const GraphParameter& row) {
    return !used.contains(row.name) && (!row.stored || row == GraphParameter{row.name});
  };
  const auto removed = std::remove_if(rows.begin(), rows.end(), unusedDefault);
  const int count = static_cast<int>(rows.end() - removed);
  rows.erase(removed, rows.end());
  return count;
}

bool GraphParameters::setValue(int index, double value) {
  GraphParameter& target = row(index);
  if (!std::isfinite(value)) return false;
  target.value = value;
  target.min = std::min(target.min, value);
  target.max = std::max(target.max, value);
  target.stored = true;
  return true;
}

bool GraphParameters::setRange(int index, double min, double max) {
  GraphParameter& target = row(index);
  if (!soundRange(min, max)) return false;
  target.min = min;
  target.max = max;
  target.value = std::clamp(target.value, min, max);
  target.stored = true;
  return true;
}
