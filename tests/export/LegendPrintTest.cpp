// The legend: its box over the curves in its corner, cut to the plot, moved by the mouse to the
// corner nearest to where it is let go, in the vector scene and the PNG; and the graph printed
// through Qt's printer to a PDF file, read back with poppler's pdftotext.
#include "GraphExport.h"
#include "GraphPrint.h"
#include "GraphScene.h"

#include "Evalon.h"
#include "FuncGraph.h"
#include "QtObjects.h"

#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr GraphColor Purple = rgbColor(160, 0, 160);

// The main window's graph with f1 = sin(x) and f3 = x in a wide purple pen, legend shown.
struct LegendGraph {
  TEvalon evalon;
  TFuncGraph graph;
  QTemporaryDir dir;

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
};

TEST(Legend, ItsBoxCoversTheCurvesInTheTopRightCornerWithEachPen) {
  LegendGraph g;
  const QRect box = g.graph.LegendRect();
  ASSERT_TRUE(g.plot().contains(box));
  EXPECT_LT(g.plot().right() - box.right() + box.top() - g.plot().top(), 20);
  const QImage picture = g.graph.Picture();
  const auto shows = [&picture, &box](GraphColor pen) {
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x)
        if (picture.pixel(x, y) == toQColor(pen).rgb()) return true;
    return false;
  };
  EXPECT_TRUE(shows(kBlue));
  EXPECT_TRUE(shows(Purple));
  EXPECT_FALSE(shows(kRed)); // slot 2 is empty
  // The diagonal runs under the box's lowest row, inside its frame: the box's fill covers it.
  const int row = box.bottom() - 2;
  const int column = g.graph.XToPixel(g.graph.PixelToY(row));
  ASSERT_TRUE(box.contains(column, row));
  EXPECT_NE(g.graph.CurveLayer()->pixel(column, row), 0xFFFFFFFF);
  EXPECT_EQ(picture.pixel(column, row), toQColor(kLightYellow).rgb());
}

// Press on the box's middle, move by the offset and let go there. The view never pans.
TEST(Legend, ADragMovesTheBoxToTheCornerNearestToWhereItIsLetGo) {
  using enum LegendCorner;
  for (const auto& [offset, corner] :
       {std::pair{QPoint(0, 0), TopRight}, {QPoint(-2, 1), TopRight}, {QPoint(-60, 0), TopRight},
        {QPoint(-200, 10), TopLeft}, {QPoint(-10, 220), BottomRight},
        {QPoint(-180, 1000), BottomLeft}}) {
    SCOPED_TRACE(offset.x());
    LegendGraph g;
    g.graph.show();
    const QRect start = g.graph.LegendRect();
    QTest::mousePress(&g.graph, Qt::LeftButton, {}, start.center());
    QTest::mouseMove(&g.graph, start.center() + offset / 2);
    QTest::mouseMove(&g.graph, start.center() + offset);
    if (offset.manhattanLength() > QApplication::startDragDistance())
      EXPECT_EQ(g.graph.LegendRect(), start.translated(offset));
    QTest::mouseRelease(&g.graph, Qt::LeftButton, {}, start.center() + offset);
    EXPECT_EQ(g.graph.Legend().corner, corner);
    EXPECT_TRUE(g.plot().contains(g.graph.LegendRect()));
    EXPECT_EQ(g.graph.Mapping().graphRange(), GraphRange{});
  }
}

TEST(Legend, TextsAreCutToThePlotAndNoUsedSlotShowsNoBox) {
  LegendGraph g;
  g.graph.setFormulaText(1, QStringLiteral("x+") + QString(400, QLatin1Char('1')));
  g.graph.resize(150, 316);
  EXPECT_TRUE(g.plot().contains(g.graph.LegendRect()));
  g.graph.setFormulaText(1, QString());
  g.graph.setFormulaText(3, QString());
  EXPECT_TRUE(g.graph.LegendRect().isEmpty());
}

TEST(Legend, TheSceneHoldsTheBoxTheScreenShowsAndThePngCarriesIt) {
  LegendGraph g;
  const GraphScene scene = graphScene(g.graph);
  EXPECT_EQ(scene.legend.box, g.graph.LegendRect());
  ASSERT_EQ(scene.legend.texts.size(), 2u);
  EXPECT_EQ(scene.legend.texts[1].text, QStringLiteral("f3: x"));
  ASSERT_EQ(scene.legend.samples.size(), 2u);
  EXPECT_EQ(scene.legend.samples[1].pen.color(), toQColor(Purple));
  const QString png = g.dir.filePath(QStringLiteral("g.png"));
  ExportGraph(g.graph, png, ExportFormat::Png);
  EXPECT_EQ(QImage(png).pixel(scene.legend.samples[0].from), toQColor(kBlue).rgb());
}

TEST(PrintGraph, APageOfAPdfFileHoldsEveryAxisValueAndTheLegend) {
  LegendGraph g;
  const GraphScene scene = graphScene(g.graph);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(g.dir.filePath(QStringLiteral("printed.pdf")));
  ASSERT_TRUE(printGraph(scene, printer));
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {printer.outputFileName(), QStringLiteral("-")});
  ASSERT_TRUE(pdftotext.waitForFinished(60000)) << "pdftotext (poppler-utils) is needed";
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
  ASSERT_GT(scene.values.size(), 10u);
  for (const SceneText& value : scene.values)
    EXPECT_TRUE(text.contains(value.text)) << value.text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("f1: sin(x)")));
}

} // namespace
