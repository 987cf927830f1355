#include "GraphChange.h"

#include "GraphModel.h"

#include <algorithm>
#include <cmath>

namespace {

// The index of the first pair that differs, or -1.
template <class Items, class Differ>
int firstDifference(const Items& before, const Items& after, Differ differ) {
  for (std::size_t i = 0; i < before.size(); ++i)
    if (differ(before[i], after[i])) return static_cast<int>(i);
  return -1;
}

// NaN in a range counts as equal to NaN, so that a range holding one is no change of itself.
bool sameRange(const GraphRange& a, const GraphRange& b) {
  const auto same = [](long double u, long double v) {
    return u == v || (std::isnan(u) && std::isnan(v));
  };
  return same(a.xMin, b.xMin) && same(a.xMax, b.xMax) && same(a.yMin, b.yMin) &&
         same(a.yMax, b.yMax);
}

ChangeTopic labelTopic(const GraphLabels::Slot& before, const GraphLabels::Slot& after) {
  if (!before) return ChangeTopic::LabelAdded;
  if (!after) return ChangeTopic::LabelDeleted;
  const bool moved = before->left != after->left || before->top != after->top;
  return moved ? ChangeTopic::LabelMoved : ChangeTopic::LabelEdited;
}

GraphChange labelChange(const GraphLabels& before, const GraphLabels& after) {
  for (int n = 1; n <= GraphLabels::Count; ++n)
    if (before.slot(n) != after.slot(n)) return {labelTopic(before.slot(n), after.slot(n)), n - 1};
  return {};
}

GraphChange parameterChange(const GraphParameters& before, const GraphParameters& after) {
  if (before.count() != after.count()) return {ChangeTopic::Parameters, -1};
  for (int i = 0; i < before.count(); ++i)
    if (before.at(i) != after.at(i)) return {ChangeTopic::Parameters, i};
  return {};
}

// The first set that differs, or was added or removed; -1 when the sets are the same.
int firstDataDifference(const DataSets& before, const DataSets& after) {
  const std::size_t common = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < common; ++i)
    if (before[i] != after[i]) return static_cast<int>(i);
  return before.size() == after.size() ? -1 : static_cast<int>(common);
}

} // namespace

GraphChange changeBetween(const GraphModel& before, const GraphModel& after) {
  // A slot's kind, texts and t range are all its formula.
  const int formula = firstDifference(before.formulas, after.formulas, [](auto& a, auto& b) {
    TFormula penless = b;
    penless.Pen = a.Pen;
    return !(a == penless);
  });
  if (formula >= 0) return {ChangeTopic::Formula, formula};
  const int pen = firstDifference(before.formulas, after.formulas,
                                  [](auto& a, auto& b) { return a.Pen != b.Pen; });
  if (pen >= 0) return {ChangeTopic::Pen, pen};
  if (!sameRange(before.range, after.range)) return {ChangeTopic::Range};
  if (before.margins != after.margins) return {ChangeTopic::Margins};
  if (before.xAxis != after.xAxis) return {ChangeTopic::Axes, 0};
  if (before.yAxis != after.yAxis) return {ChangeTopic::Axes, 1};
  if (before.backBrush != after.backBrush || before.borderLine != after.borderLine)
    return {ChangeTopic::Background};
  if (const GraphChange labels = labelChange(before.labels, after.labels);
      labels.topic != ChangeTopic::None)
    return labels;
  if (const GraphChange rows = parameterChange(before.parameters, after.parameters);
      rows.topic != ChangeTopic::None)
    return rows;
  if (before.calculus != after.calculus) return {ChangeTopic::Calculus};
  if (before.legend != after.legend) return {ChangeTopic::Legend};
  if (const int set = firstDataDifference(before.dataSets, after.dataSets); set >= 0)
    return {ChangeTopic::Data, set};
  if (before.autoRedraw != after.autoRedraw) return {ChangeTopic::Options};
  return {};
}
