#include "GraphParameters.h"

#include "Evalon.h"
#include "FuncGraph.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr QRgb White = 0xFFFFFFFF;

TEST(GraphParameters, NewRowsStartAtOneOnMinusTenToTenAndComeOnce) {
  GraphParameters rows;
  EXPECT_EQ(rows.add(QStringList{"a", "k#", "a"}), 2);
  EXPECT_EQ(rows.add(QStringList{"k#", "b"}), 1);
  ASSERT_EQ(rows.count(), 3);
  EXPECT_EQ(rows.at(0), (GraphParameter{"a", 1.0, -10.0, 10.0}));
  EXPECT_EQ(rows.at(2).name, "b");
  EXPECT_EQ(rows.indexOf("k#"), 1);
  EXPECT_EQ(rows.indexOf("c"), -1);
  EXPECT_THROW(rows.at(3), std::out_of_range);
  EXPECT_THROW(rows.at(-1), std::out_of_range);
}

TEST(GraphParameters, HoldAtMostThirtyTwo) {
  GraphParameters rows;
  QStringList names;
  for (int n = 0; n < 40; ++n)
    names << QStringLiteral("p%1").arg(n);
  EXPECT_EQ(rows.add(names), GraphParameters::MaxCount);
  EXPECT_EQ(rows.count(), 32);
  EXPECT_EQ(rows.at(31).name, "p31");
  EXPECT_FALSE(rows.add(GraphParameter{"q"}));
}

TEST(GraphParameters, AValueOutsideWidensTheRangeAndNonFiniteOnesAreRefused) {
  GraphParameters rows;
  rows.add(QStringList{"a"});
  EXPECT_TRUE(rows.setValue(0, 25.5));
  EXPECT_EQ(rows.at(0), (GraphParameter{"a", 25.5, -10.0, 25.5}));
  EXPECT_TRUE(rows.setValue(0, -40.0));
  EXPECT_EQ(rows.at(0), (GraphParameter{"a", -40.0, -40.0, 25.5}));
  const GraphParameter before = rows.at(0);
  for (double bad : {NaN, Inf, -Inf})
    EXPECT_FALSE(rows.setValue(0, bad));
  EXPECT_EQ(rows.at(0), before);
}

TEST(GraphParameters, ARangeMustBeFiniteAndRising) {
  GraphParameters rows;
  rows.add(QStringList{"a"});
  const GraphParameter before = rows.at(0);
  for (auto [min, max] : {std::pair{1.0, 1.0}, {2.0, 1.0}, {NaN, 1.0}, {0.0, Inf}, {-Inf, 0.0}})
    EXPECT_FALSE(rows.setRange(0, min, max)) << min << " " << max;
  EXPECT_EQ(rows.at(0), before);
  // The value stays inside the range it belongs to.
  EXPECT_TRUE(rows.setRange(0, 2.0, 3.0));
  EXPECT_EQ(rows.at(0), (GraphParameter{"a", 2.0, 2.0, 3.0}));
  // A whole row from elsewhere is taken only when it is sound.
  EXPECT_FALSE(rows.add(GraphParameter{"b", 5.0, 0.0, 1.0}));
  EXPECT_FALSE(rows.add(GraphParameter{"b", 0.5, 1.0, 0.0}));
  EXPECT_FALSE(rows.add(GraphParameter{"a", 0.5, 0.0, 1.0}));
  EXPECT_TRUE(rows.add(GraphParameter{"b", 0.5, 0.0, 1.0}));
}

TEST(GraphParameters, OnlyUnusedRowsWithTheDefaultsAreRemoved) {
  GraphParameters rows;
  rows.add(QStringList{"a", "b", "c", "d"});
  rows.setValue(1, 2.0);
  rows.setRange(2, 0.0, 1.0);
  EXPECT_EQ(rows.removeUnusedDefaults(QStringList{"d"}), 1);
  ASSERT_EQ(rows.count(), 3);
  EXPECT_EQ(rows.at(0).name, "b");
  EXPECT_EQ(rows.at(1).name, "c");
  EXPECT_EQ(rows.at(2).name, "d");
}

// A graph of the main window's size with the engine loaded.
struct Graph {
  TEvalon evalon;
  TFuncGraph graph;

  Graph() {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
  }
  QStringList names() const {
    QStringList list;
    for (const GraphParameter& row : graph.Parameters())
      list << row.name;
    return list;
  }
  // Whether the curve of a*x passes through its pixel at x.
  bool onLine(long double x, long double a) const {
    const int column = graph.XToPixel(x);
    const int row = graph.YToPixel(a * graph.PixelToX(column));
    return graph.CurveLayer()->pixel(column, row) != White;
  }
};

TEST(GraphParameterUse, FormulasBringTheirNamesAndKeepThemUntilANewGraph) {
  Graph g;
  QSignalSpy changed(&g.graph, &TFuncGraph::ParametersChanged);
  g.graph.setFormulaText(1, QStringLiteral("a*sin(k#*x)+s$"));
  g.graph.setFormulaText(2, QStringLiteral("b+a"));
  EXPECT_EQ(g.names(), (QStringList{"a", "k#", "b"}));
  EXPECT_EQ(changed.count(), 2);
  // Deleting and retyping a formula keeps the row and its value; a row nobody set goes with
  // the last formula that used it.
  ASSERT_TRUE(g.graph.setParameterValue(0, 3.0));
  ASSERT_TRUE(g.graph.setParameterRange(1, 0.0, 5.0));
  g.graph.setFormulaText(1, QString());
  EXPECT_EQ(g.names(), (QStringList{"a", "k#", "b"}));
  EXPECT_EQ(changed.count(), 2);
  g.graph.setFormulaText(2, QString());
  EXPECT_EQ(g.names(), (QStringList{"a", "k#"}));
  EXPECT_EQ(changed.count(), 3);
  g.graph.setFormulaText(1, QStringLiteral("a*x"));
  EXPECT_EQ(g.names(), (QStringList{"a", "k#"}));
  EXPECT_EQ(g.graph.Parameters().at(0).value, 3.0);
  EXPECT_EQ(changed.count(), 3);
  g.graph.ResetGraph();
  EXPECT_TRUE(g.graph.Parameters().isEmpty());
  EXPECT_EQ(changed.count(), 4);
}

// Typed a key at a time, "sin" passes through the names "s" and "si": they leave no rows.
TEST(GraphParameterUse, NamesTypedHalfwayLeaveNoRows) {
  Graph g;
  const QString formula = QStringLiteral("a*sin(b*x)");
  for (int length = 1; length <= formula.size(); ++length)
    g.graph.setFormulaText(1, formula.left(length));
  EXPECT_EQ(g.names(), (QStringList{"a", "b"}));
}

TEST(GraphParameterUse, AValueReachesTheCurveAtOnce) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("a*x"));
  // A new parameter is in the engine at once: a = 1.
  bool failed = true;
  EXPECT_EQ(g.evalon.CalcValue(QStringLiteral("a"), failed), 1.0);
  ASSERT_TRUE(g.graph.DrawFunctions());
  EXPECT_TRUE(g.onLine(1.0L, 1.0L));
  ASSERT_TRUE(g.graph.setParameterValue(0, 2.0));
  EXPECT_TRUE(g.onLine(1.0L, 2.0L));
  EXPECT_FALSE(g.onLine(1.0L, 1.0L));
  EXPECT_FALSE(g.graph.setParameterValue(0, NaN));
  EXPECT_TRUE(g.onLine(1.0L, 2.0L));
  // A narrower range that leaves the value outside moves it in, and the curve with it.
  ASSERT_TRUE(g.graph.setParameterRange(0, -1.0, 0.5));
  EXPECT_TRUE(g.onLine(2.0L, 0.5L));
  EXPECT_FALSE(g.onLine(1.0L, 2.0L));
  EXPECT_FALSE(g.graph.setParameterRange(0, 3.0, 3.0));
  EXPECT_EQ(g.graph.Parameters().at(0), (GraphParameter{"a", 0.5, -1.0, 0.5}));
}

// The engine holds one store: whatever else wrote the variable, a drawing uses the row's value.
TEST(GraphParameterUse, EveryDrawingWritesTheValuesIntoTheEngine) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("a*x"));
  ASSERT_TRUE(g.graph.setParameterValue(0, -2.0));
  g.evalon.SetVariable(QStringLiteral("a"), 1.5);
  ASSERT_TRUE(g.graph.DrawFunctions());
  EXPECT_TRUE(g.onLine(1.0L, -2.0L));
  EXPECT_FALSE(g.onLine(1.0L, 1.5L));
}

TEST(GraphParameterUse, AddingByNameTakesOnlyParameterNames) {
  Graph g;
  QSignalSpy changed(&g.graph, &TFuncGraph::ParametersChanged);
  EXPECT_EQ(g.graph.addParameter(QStringLiteral("k#")), 0);
  EXPECT_EQ(g.graph.addParameter(QStringLiteral("k#")), 0);
  EXPECT_EQ(changed.count(), 1);
  for (const char* bad : {"x", "pi", "s$", "a[1]", "1a", "a b", "sin", ""})
    EXPECT_EQ(g.graph.addParameter(QString::fromUtf8(bad)), -1) << bad;
  EXPECT_EQ(g.graph.Parameters().count(), 1);
}

} // namespace
