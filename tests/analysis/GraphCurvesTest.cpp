// The analysis of a graph's slots through the real engine, as the program runs it.
#include "GraphCurves.h"

#include "Evalon.h"
#include "FuncGraph.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GraphCurves, FindsTheRootsOfACubicThroughTheEngine) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.resize(TFuncGraph::StartSize);
  graph.UpdateGraph();
  graph.setFormulaText(2, QStringLiteral("x^3-2*x"));
  graph.setFormulaText(4, QStringLiteral("sqrt(x)"));
  const std::vector<Curve> curves = graphCurves(graph);
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].slot, 2);
  EXPECT_FALSE(curves[1].f(-1)); // the engine's failure

  const AnalysisRange range = graphRange(graph);
  EXPECT_EQ(range.xMin, double(graph.XMin()));
  EXPECT_EQ(range.pixelColumns, graph.Mapping().plotRight() - graph.Mapping().plotLeft() + 1);
  std::vector<double> roots;
  for (const CurvePoint& p : CurveAnalysis::points({curves[0]}, range))
    if (p.kind == PointKind::Root) roots.push_back(p.x);
  ASSERT_EQ(roots.size(), 3u);
  EXPECT_NEAR(roots[0], -std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(roots[1], 0, 1e-12);
  EXPECT_NEAR(roots[2], std::sqrt(2.0), 1e-12);
  // The graph's own slot keeps the error flag of its drawing.
  EXPECT_FALSE(graph.Formula(4).Error());
}

// The window and kurvo-render both print this table: used slots only, each x from its row
// number, and the engine's reason where a slot has no value.
TEST(GraphCurves, TheValueTableHoldsTheUsedSlotsAndTheReasonsForMissingValues) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.setFormulaText(3, QStringLiteral("sqrt(x)"));
  graph.setFormulaText(5, QStringLiteral("1/x"));
  const GraphTable table = graphTable(graph, TableSpan{-1, 0.5, 5});
  ASSERT_EQ(table.columns.size(), 2u);
  EXPECT_EQ(table.columns[0].name, QStringLiteral("f3"));
  EXPECT_EQ(table.columns[1].name, QStringLiteral("f5"));
  EXPECT_EQ(table.runningName, QStringLiteral("x"));
  ASSERT_EQ(table.rows.size(), 5u);
  EXPECT_EQ(table.rows[4].x, 1.0);
  EXPECT_FALSE(table.rows[0].cells[0].value);
  EXPECT_FALSE(table.rows[0].cells[0].reason.isEmpty());
  EXPECT_EQ(table.rows[0].cells[1].value, -1.0);
  EXPECT_EQ(table.rows[2].cells[0].value, 0.0);
  EXPECT_FALSE(table.rows[2].cells[1].value); // 1/0
  EXPECT_EQ(table.rows[4].cells[0].value, 1.0);
}

} // namespace
