// Tests of the change state of a graph: every kind of document content counts, undoing a change
// makes the graph unchanged again, and loading and saving mark it unchanged.
#include "FuncGraph.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtTest/QTest>

#include <functional>

namespace {

class GraphChangesTest : public ::testing::Test {
protected:
  GraphChangesTest() {
    graph.resize(336, 316);
    graph.setGraphName(dir.filePath(QStringLiteral("graph.kvx")));
    graph.AddLabel(50, 50);
    graph.MarkUnchanged();
  }

  QTemporaryDir dir;
  TFuncGraph graph;
};

TEST_F(GraphChangesTest, LoadAndSaveMarkTheGraphUnchanged) {
  EXPECT_FALSE(graph.IsChanged());
  graph.setFormulaText(1, QStringLiteral("x*x"));
  EXPECT_TRUE(graph.IsChanged());
  graph.SaveToFile();
  EXPECT_FALSE(graph.IsChanged());

  graph.setFormulaText(1, QStringLiteral("x"));
  graph.setMarginLeft(40);
  graph.LoadFromFile();
  EXPECT_FALSE(graph.IsChanged());
  EXPECT_EQ(graph.FormulaText(1), QStringLiteral("x*x"));

  TFuncGraph other;
  other.setGraphName(graph.GraphName());
  other.LoadFromFile();
  EXPECT_FALSE(other.IsChanged());
}

TEST_F(GraphChangesTest, EveryKindOfContentCountsAndUndoingItDoesNot) {
  struct Change {
    const char* what;
    std::function<void(TFuncGraph&)> make;
    std::function<void(TFuncGraph&)> undo;
  };
  const Change changes[] = {
      {"formula", [](TFuncGraph& g) { g.setFormulaText(3, QStringLiteral("sin(x)")); },
       [](TFuncGraph& g) { g.setFormulaText(3, QString()); }},
      {"pen colour", [](TFuncGraph& g) { g.FormulaPen(2).Color = 7; },
       [](TFuncGraph& g) { g.FormulaPen(2).Color = 255; }},
      {"range", [](TFuncGraph& g) { g.setYMax(3.5L); }, [](TFuncGraph& g) { g.setYMax(3); }},
      {"margin", [](TFuncGraph& g) { g.setMarginBottom(21); },
       [](TFuncGraph& g) { g.setMarginBottom(20); }},
      {"axis", [](TFuncGraph& g) { g.YAxis().ValXDist = 4; },
       [](TFuncGraph& g) { g.YAxis().ValXDist = 0; }},
      {"back brush",
       [](TFuncGraph& g) {
         g.setBackBrush({1, BrushStyle::Solid});
       },
       [](TFuncGraph& g) {
         g.setBackBrush({TFuncGraph::DefaultBackColor, BrushStyle::Solid});
       }},
      {"label moved", [](TFuncGraph& g) { g.Label(1)->move(51, 50); },
       [](TFuncGraph& g) { g.Label(1)->move(50, 50); }},
      {"label caption", [](TFuncGraph& g) { g.Label(1)->setCaption(QStringLiteral("a")); },
       [](TFuncGraph& g) { g.Label(1)->setCaption(QStringLiteral("GraphLabel01")); }},
      {"automatic redraw", [](TFuncGraph& g) { g.setAutoRedraw(true); },
       [](TFuncGraph& g) { g.setAutoRedraw(false); }},
      {"legend", [](TFuncGraph& g) { g.setLegendVisible(true); },
       [](TFuncGraph& g) { g.setLegendVisible(false); }},
      {"label hidden", [](TFuncGraph& g) { g.Label(1)->hide(); },
       [](TFuncGraph& g) { g.Label(1)->show(); }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    change.make(graph);
    EXPECT_TRUE(graph.IsChanged());
    change.undo(graph);
    EXPECT_FALSE(graph.IsChanged());
  }
}

TEST_F(GraphChangesTest, TheNameAloneIsNoChange) {
  graph.setGraphName(dir.filePath(QStringLiteral("other.kvx")));
  EXPECT_FALSE(graph.IsChanged());
}

// A pan is an edit of the range like any other: the graph counts as changed, and the saved
// document holds the range the drag left, with its fifteen digits.
TEST_F(GraphChangesTest, APanChangesTheGraphAndASaveWritesTheNewRange) {
  graph.show();
  QTest::mousePress(&graph, Qt::LeftButton, {}, QPoint(200, 200));
  QTest::mouseMove(&graph, QPoint(170, 230));
  QTest::mouseRelease(&graph, Qt::LeftButton, {}, QPoint(170, 230));
  ASSERT_NE(graph.XMin(), -3.0L);
  EXPECT_TRUE(graph.IsChanged());

  graph.SaveToFile();
  const IniFile ini(graph.GraphName());
  EXPECT_EQ(ini.ReadString(QStringLiteral("GraphRange"), QStringLiteral("XMin"), QString()),
            QStringLiteral("-2.43037974683544")); // -3 + 30 pixels / (316 / 6)
  EXPECT_EQ(ini.ReadString(QStringLiteral("GraphRange"), QStringLiteral("YMax"), QString()),
            QStringLiteral("3.62937062937063")); // 3 + 30 pixels / (286 / 6)
  EXPECT_FALSE(graph.IsChanged());
}

} // namespace
