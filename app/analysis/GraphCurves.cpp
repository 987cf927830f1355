#include "GraphCurves.h"

#include "FuncGraph.h"

#include <memory>

std::vector<Curve> graphCurves(const TFuncGraph& graph) {
  std::vector<Curve> curves;
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n) {
    if (graph.Formula(n).Formula.isEmpty()) continue;
    // A copy of the slot, so that its error flag on the graph stays the drawing's.
    auto formula = std::make_shared<TFormula>(graph.Formula(n));
    TEvalon* evalon = graph.Evalon();
    curves.push_back({n, [formula, evalon](double x) -> std::optional<double> {
                        const long double y = formula->Calculate(evalon, x);
                        if (formula->Error()) return std::nullopt;
                        return static_cast<double>(y);
                      }});
  }
  return curves;
}

AnalysisRange graphRange(const TFuncGraph& graph) {
  const GraphMapping& mapping = graph.DeviceMapping();
  return {static_cast<double>(graph.XMin()), static_cast<double>(graph.XMax()),
          mapping.plotRight() - mapping.plotLeft() + 1};
}
