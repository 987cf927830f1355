// The graph on a screen scaled to 200 %, with no ratio forced: it takes the screen's ratio, and
// what the screen shows is its picture pixel for pixel. The program's own main sets the scale
// before the application starts, as a desktop does.
#include "FuncGraph.h"

#include "Evalon.h"

#include <QApplication>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

struct ShownGraph {
  QWidget window;
  TEvalon evalon;
  TFuncGraph* graph = new TFuncGraph(&window);

  ShownGraph() {
    evalon.LoadEngine();
    graph->setEvalon(&evalon);
    window.resize(400, 360);
    graph->setGeometry(0, 0, 336, 316);
    window.show();
    graph->UpdateGraph();
  }
};

} // namespace

TEST(ScaledScreen, TheGraphDrawsAtTheScreensRatio) {
  ShownGraph g;
  ASSERT_EQ(g.graph->devicePixelRatioF(), 2.0);
  EXPECT_EQ(g.graph->RenderScale(), 2.0);
  g.graph->setFormulaText(1, QStringLiteral("x"));
  g.graph->setFormulaText(2, QStringLiteral("1-x*x"));
  g.graph->DrawFunctions();
  EXPECT_EQ(g.graph->BackLayer()->size(), QSize(672, 632));
  EXPECT_EQ(g.graph->CurveLayer()->size(), QSize(672, 632));
  EXPECT_EQ(g.graph->XToPixel(3.0L), 326); // the window's own coordinates
}

// Painting puts each layer pixel, and each of the legend's, on one device pixel, also where only
// a part is repainted.
TEST(ScaledScreen, TheScreenShowsThePicturePixelForPixel) {
  ShownGraph g;
  g.graph->setFormulaText(1, QStringLiteral("x"));
  g.graph->setFormulaText(2, QStringLiteral("1-x*x"));
  g.graph->setLegendVisible(true);
  g.graph->DrawFunctions();
  const QImage picture = g.graph->Picture();
  const QImage shown = g.graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(672, 632));
  EXPECT_EQ(shown, picture);
  for (const QRect& part : {QRect(100, 90, 70, 50), g.graph->LegendRect()}) {
    ASSERT_FALSE(part.isEmpty());
    const QImage partShown = g.graph->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(partShown, picture.copy(QRect(part.topLeft() * 2, part.size() * 2)));
  }
}

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
