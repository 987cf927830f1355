#include "GraphCurves.h"

#include "Canvas.h"
#include "FuncGraph.h"
#include "SlotCurve.h"

#include <algorithm>
#include <memory>

namespace {

// A used slot as the analysis evaluates it: a copy of the slot, so that the slot's error state
// stays the drawing's, and the engine binding.
struct SlotCopy {
  SlotCopy(const TFuncGraph& graph, int n) : formula(graph.Formula(n)), evalon(graph.Evalon()) {}
  // The value at x, or the engine's reason for having none.
  TableCell cellAt(double x) {
    return withCurve(formula, evalon, [x](GraphCurve& curve) {
      const std::optional<long double> y = curve.valueAt(x);
      if (!y) return TableCell{std::nullopt, curve.reason()};
      return TableCell{static_cast<double>(*y), QString()};
    });
  }
  TFormula formula;
  TEvalon* evalon;
};

std::vector<std::pair<int, std::shared_ptr<SlotCopy>>> usedSlots(const TFuncGraph& graph) {
  std::vector<std::pair<int, std::shared_ptr<SlotCopy>>> copies;
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    if (!graph.Formula(n).Formula.isEmpty())
      copies.emplace_back(n, std::make_shared<SlotCopy>(graph, n));
  return copies;
}

} // namespace

std::vector<Curve> graphCurves(const TFuncGraph& graph) {
  std::vector<Curve> curves;
  for (auto& [n, copy] : usedSlots(graph))
    curves.push_back({n, [copy](double x) { return copy->cellAt(x).value; }});
  return curves;
}

// A plot wider than the picture (a document's margins reach beyond it) is scanned at the
// picture's columns, so that the work stays bounded. The picture is the one the screen draws.
AnalysisRange graphRange(const TFuncGraph& graph) {
  const GraphMapping& mapping = graph.DeviceMapping();
  const std::int64_t picture = std::max(toDevicePixels(graph.width(), graph.RenderScale()), 1);
  return {static_cast<double>(graph.XMin()), static_cast<double>(graph.XMax()),
          static_cast<int>(std::clamp<std::int64_t>(mapping.plotWidth() + 1, 1, picture)),
          mapping};
}

GraphTable graphTable(const TFuncGraph& graph, const TableSpan& span) {
  GraphTable table;
  const auto copies = usedSlots(graph);
  for (const auto& [n, copy] : copies)
    table.slotNumbers.push_back(n);
  table.rows.reserve(std::size_t(span.count));
  for (int row = 0; row < span.count; ++row) {
    TableRow line{span.xAt(row), {}};
    for (const auto& [n, copy] : copies)
      line.cells.push_back(copy->cellAt(line.x));
    table.rows.push_back(std::move(line));
  }
  return table;
}
