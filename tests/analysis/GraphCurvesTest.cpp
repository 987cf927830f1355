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

// Curves of the other kinds: where they cross the axes, to full precision and never at a pole;
// their table columns and the name of the running value.
TEST(GraphCurves, OtherKindsCrossTheAxesAndTabulateOverTheirOwnValue) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.resize(336, 316);
  const struct {
    CurveKind kind;
    const char* x;
    const char* y;
    std::vector<std::pair<double, double>> crossings;
  } cases[] = {
      {CurveKind::Parametric, "cos(t)", "sin(t)", {{-1, 0}, {0, -1}, {0, 1}, {1, 0}}},
      {CurveKind::XOfY, "y^2-2", "", {{-2, 0}, {0, -std::sqrt(2.0)}, {0, std::sqrt(2.0)}}},
      // Two branches split at poles: they cross the x axis, and never the y axis.
      {CurveKind::Parametric, "1/cos(t)", "tan(t)/cos(t)", {{-1, 0}, {1, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    graph.setFormulaKind(1, c.kind);
    graph.setFormulaText(1, QString::fromLatin1(c.x));
    graph.setFormulaYText(1, QString::fromLatin1(c.y));
    std::vector<std::pair<double, double>> found;
    for (const CurvePoint& p : graphPoints(graph))
      found.emplace_back(p.x, p.y);
    ASSERT_EQ(found.size(), c.crossings.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_NEAR(found[i].first, c.crossings[i].first, 1e-15);
      EXPECT_NEAR(found[i].second, c.crossings[i].second, 1e-15);
    }
  }
  const GraphTable polar = graphTable(graph, TableSpan{0, 1, 2});
  EXPECT_EQ(polar.runningName, QStringLiteral("t"));
  ASSERT_EQ(polar.columns.size(), 2u);
  EXPECT_EQ(polar.columns[1].name, QStringLiteral("f1.y"));
  EXPECT_NEAR(*polar.rows[1].cells[0].value, 1 / std::cos(1.0), 1e-15);
  graph.setFormulaText(2, QStringLiteral("x"));
  EXPECT_EQ(graphTable(graph, TableSpan{0, 1, 2}).runningName, QStringLiteral("v"));
}
