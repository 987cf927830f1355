#include "GraphCurves.h"

#include "Canvas.h"
#include "FuncGraph.h"
#include "SlotCurve.h"

#include "PathCrossings.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

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
  // The table's cells at the running value v: x and y for a parametric or polar slot, x for
  // an x = f(y) slot, y for a y = f(x) slot.
  std::vector<TableCell> cellsAt(double v) {
    return withCurve(formula, evalon, [this, v](GraphCurve& curve) {
      const std::optional<PlanePoint> p = curve.pointAt(v);
      const std::size_t count = runsOverT(formula.Kind) ? 2 : 1;
      if (!p) return std::vector<TableCell>(count, TableCell{std::nullopt, curve.reason()});
      const TableCell x{static_cast<double>(p->x), QString()};
      const TableCell y{static_cast<double>(p->y), QString()};
      if (count == 2) return std::vector<TableCell>{x, y};
      return std::vector<TableCell>{formula.Kind == CurveKind::XOfY ? x : y};
    });
  }
  std::optional<std::pair<double, double>> pointAt(double v) {
    return withCurve(formula, evalon, [v](GraphCurve& curve) -> std::optional<std::pair<double, double>> {
      const std::optional<PlanePoint> p = curve.pointAt(v);
      if (!p || !std::isfinite(p->x) || !std::isfinite(p->y)) return std::nullopt;
      return std::pair{static_cast<double>(p->x), static_cast<double>(p->y)};
    });
  }
  TFormula formula;
  TEvalon* evalon;
};

std::vector<std::pair<int, std::shared_ptr<SlotCopy>>> usedSlots(const TFuncGraph& graph) {
  std::vector<std::pair<int, std::shared_ptr<SlotCopy>>> copies;
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    if (graph.Formula(n).Used()) copies.emplace_back(n, std::make_shared<SlotCopy>(graph, n));
  return copies;
}

// The running values of a slot of another kind than y = f(x): its t range, or the graph's
// y range.
std::pair<double, double> runningRange(const TFuncGraph& graph, const TFormula& slot) {
  if (slot.Kind == CurveKind::XOfY) return {double(graph.YMin()), double(graph.YMax())};
  const auto [first, last] = std::minmax(slot.TMin, slot.TMax);
  return {double(first), double(last)};
}

QString runningNameOf(CurveKind kind) {
  return QLatin1String(runningVariable(kind));
}

} // namespace

std::vector<Curve> graphCurves(const TFuncGraph& graph) {
  std::vector<Curve> curves;
  for (auto& [n, copy] : usedSlots(graph))
    if (copy->formula.Kind == CurveKind::Function)
      curves.push_back({n, [copy](double x) { return copy->cellAt(x).value; }});
  return curves;
}

std::vector<CurvePoint> graphPoints(const TFuncGraph& graph) {
  const AnalysisRange range = graphRange(graph);
  std::vector<CurvePoint> points = CurveAnalysis::points(graphCurves(graph), range);
  const int count = CurveAnalysis::SamplesPerColumn * std::max(1, range.pixelColumns);
  for (auto& [n, copy] : usedSlots(graph)) {
    if (copy->formula.Kind == CurveKind::Function || copy->formula.Kind == CurveKind::Relation)
      continue;
    const auto [first, last] = runningRange(graph, copy->formula);
    const PathPointFunction point = [copy](double v) { return copy->pointAt(v); };
    for (const CurvePoint& p : axisCrossings(n, point, first, last, count))
      points.push_back(p);
  }
  std::stable_sort(points.begin(), points.end(), [](const CurvePoint& a, const CurvePoint& b) {
    return std::tie(a.slot, a.otherSlot, a.x, a.y) < std::tie(b.slot, b.otherSlot, b.x, b.y);
  });
  return points;
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
  for (const auto& [n, copy] : copies) {
    if (copy->formula.Kind == CurveKind::Relation) continue;
    const QString name = runningNameOf(copy->formula.Kind);
    table.runningName = table.runningName.isEmpty() || table.runningName == name
                            ? name
                            : QStringLiteral("v");
    if (runsOverT(copy->formula.Kind)) {
      table.columns.push_back({n, QStringLiteral("f%1.x").arg(n)});
      table.columns.push_back({n, QStringLiteral("f%1.y").arg(n)});
    } else {
      table.columns.push_back({n, QStringLiteral("f%1").arg(n)});
    }
  }
  if (table.runningName.isEmpty()) table.runningName = QStringLiteral("x");
  table.rows.reserve(std::size_t(span.count));
  for (int row = 0; row < span.count; ++row) {
    TableRow line{span.xAt(row), {}};
    for (const auto& [n, copy] : copies)
      if (copy->formula.Kind != CurveKind::Relation)
        for (TableCell& cell : copy->cellsAt(line.x))
        line.cells.push_back(std::move(cell));
    table.rows.push_back(std::move(line));
  }
  return table;
}

std::vector<int> relationSlots(const TFuncGraph& graph) {
  std::vector<int> found;
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    if (graph.Formula(n).Used() && graph.Formula(n).Kind == CurveKind::Relation)
      found.push_back(n);
  return found;
}
