// The legend on the graph control: a box over the curves in its corner, cut to the plot, and
// moved by the mouse to the corner nearest to where it is let go.
#include "FuncGraph.h"

#include "Evalon.h"
#include "QtObjects.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr GraphColor Purple = rgbColor(160, 0, 160);

// The main window's graph with f1 = sin(x) and f3 = x in a wide purple pen, legend shown.
struct LegendGraph {
  TEvalon evalon;
  TFuncGraph graph;

  LegendGraph() {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
    graph.setFormulaText(1, QStringLiteral("sin(x)"));
    graph.setFormulaText(3, QStringLiteral("x"));
    graph.FormulaPen(3) = TPen{Purple, PenStyle::Solid, 3};
    graph.CurvesChanged();
    graph.setLegendVisible(true);
    graph.DrawFunctions();
  }

  QRect plot() const {
    const GraphMapping& m = graph.Mapping();
    return QRect(QPoint(m.plotLeft(), m.plotTop()), QPoint(m.plotRight(), m.plotBottom()));
  }

  int pixelsOf(GraphColor color) const {
    const QImage picture = graph.Picture();
    const QRect box = graph.LegendRect();
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x)
        if (picture.pixel(x, y) == toQColor(color).rgb()) ++count;
    return count;
  }
};

TEST(GraphLegend, ItsBoxStandsInTheTopRightCornerOverTheCurvesWithEachPen) {
  LegendGraph g;
  const QRect box = g.graph.LegendRect();
  ASSERT_FALSE(box.isEmpty());
  EXPECT_TRUE(g.plot().contains(box));
  EXPECT_LT(g.plot().right() - box.right(), 10);
  EXPECT_LT(box.top() - g.plot().top(), 10);
  EXPECT_GT(g.pixelsOf(kBlue), 10);
  EXPECT_GT(g.pixelsOf(Purple), 30);
  EXPECT_EQ(g.pixelsOf(kRed), 0); // slot 2 is empty

  // The diagonal runs under the box's lowest row, inside its frame: the box's fill covers it.
  const int row = box.bottom() - 2;
  const int column = g.graph.XToPixel(g.graph.PixelToY(row));
  ASSERT_TRUE(box.contains(column, row));
  EXPECT_NE(g.graph.CurveLayer()->pixel(column, row), 0xFFFFFFFF);
  EXPECT_EQ(g.graph.Picture().pixel(column, row), toQColor(kLightYellow).rgb());

  const QImage shown = g.graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, g.graph.Picture());
}

// Press on the box's middle, move to a point and let go there. The view never pans.
TEST(GraphLegend, ADragMovesTheBoxToTheCornerNearestToWhereItIsLetGo) {
  const struct {
    QPoint offset; // from the box's middle at the press
    LegendCorner corner;
  } drops[] = {
      {{0, 0}, LegendCorner::TopRight},         // a click
      {{-2, 1}, LegendCorner::TopRight},        // within the drag distance
      {{-60, 0}, LegendCorner::TopRight},       // not halfway across
      {{-200, 10}, LegendCorner::TopLeft},      // across
      {{-10, 220}, LegendCorner::BottomRight},  // down
      {{-180, 250}, LegendCorner::BottomLeft},  // both
      {{-180, 1000}, LegendCorner::BottomLeft}, // beyond the graph
      {{-5000, -5000}, LegendCorner::TopLeft},
  };
  for (const auto& drop : drops) {
    SCOPED_TRACE(drop.offset.x());
    LegendGraph g;
    g.graph.show();
    const QRect start = g.graph.LegendRect();
    const QPoint press = start.center();
    QTest::mousePress(&g.graph, Qt::LeftButton, {}, press);
    QTest::mouseMove(&g.graph, press + drop.offset / 2);
    QTest::mouseMove(&g.graph, press + drop.offset);
    if (drop.offset.manhattanLength() > QApplication::startDragDistance())
      EXPECT_EQ(g.graph.LegendRect().topLeft(), start.topLeft() + drop.offset);
    QTest::mouseRelease(&g.graph, Qt::LeftButton, {}, press + drop.offset);
    EXPECT_EQ(g.graph.Legend().corner, drop.corner);
    EXPECT_EQ(g.graph.XMin(), -3.0L);
    EXPECT_EQ(g.graph.YMax(), 3.0L);
    const QRect end = g.graph.LegendRect();
    EXPECT_EQ(end.size(), start.size());
    EXPECT_TRUE(g.plot().contains(end));
  }
}

TEST(GraphLegend, TextsAreCutToThePlotAndNoUsedSlotShowsNoBox) {
  LegendGraph g;
  g.graph.setFormulaText(1, QStringLiteral("x+") + QString(400, QLatin1Char('1')));
  for (const int width : {336, 200, 120}) {
    SCOPED_TRACE(width);
    g.graph.resize(width, 316);
    EXPECT_TRUE(g.plot().contains(g.graph.LegendRect()));
  }
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    g.graph.setFormulaText(n, QString());
  EXPECT_TRUE(g.graph.LegendRect().isEmpty());
  EXPECT_TRUE(g.graph.Legend().visible);
}

// Undo shows a state through RestoreModel, and a model taken through setModel shows at once:
// its legend shows with it, or goes.
TEST(GraphLegend, ATakenOrRestoredModelShowsItsLegend) {
  LegendGraph g;
  GraphModel state = g.graph.Model();
  state.legend = GraphLegend{true, LegendCorner::BottomLeft};
  g.graph.setModel(state);
  const QRect box = g.graph.LegendRect();
  EXPECT_LT(box.left() - g.plot().left(), 10);
  EXPECT_LT(g.plot().bottom() - box.bottom(), 10);
  state.legend.visible = false;
  g.graph.RestoreModel(state);
  EXPECT_TRUE(g.graph.LegendRect().isEmpty());
  EXPECT_EQ(g.graph.Picture().pixel(box.center()), toQColor(kLightYellow).rgb());
}

} // namespace
