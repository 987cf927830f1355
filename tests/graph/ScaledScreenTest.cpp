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

// Painting puts each layer pixel on one device pixel, also where only a part is repainted.
TEST(ScaledScreen, TheScreenShowsThePicturePixelForPixel) {
  ShownGraph g;
  g.graph->setFormulaText(1, QStringLiteral("x"));
  g.graph->setFormulaText(2, QStringLiteral("1-x*x"));
  g.graph->DrawFunctions();
  const QImage picture = g.graph->Picture();
  const QImage shown = g.graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(672, 632));
  EXPECT_EQ(shown, picture);
  const QImage part =
      g.graph->grab(QRect(100, 90, 70, 50)).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(part, picture.copy(200, 180, 140, 100));
}

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
