// The graph drawn for screens of a device pixel ratio above 1: layers with r times the pixels,
// drawn on the device mapping, while everything a user meets stays in window coordinates.
#include "FuncGraph.h"

#include "Evalon.h"
#include "GraphPen.h"

#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Paper = 0xFFFFFFE0; // the default light yellow background

// The main window's graph, 336 x 316 client pixels, drawn at the given ratio.
struct ScaledGraph {
  TEvalon evalon;
  TFuncGraph graph;

  explicit ScaledGraph(qreal ratio) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.setRenderScale(ratio);
    graph.UpdateGraph();
  }
  const GraphMapping& device() const { return graph.DeviceMapping(); }
  QRgb back(int x, int y) const { return graph.BackLayer()->pixel(x, y); }
  QRgb curve(int x, int y) const { return graph.CurveLayer()->pixel(x, y); }
  // The rows of column x (from top to bottom) where the curve layer is not white.
  int curveRowsAt(int x, int top, int bottom) const {
    int rows = 0;
    for (int y = top; y <= bottom; ++y)
      if (curve(x, y) != White) ++rows;
    return rows;
  }
};

// The first and last rows between top and bottom with ink (anything but the background)
// between the columns; -1 for none.
std::pair<int, int> inkRows(const QImage& layer, int left, int right, int top, int bottom) {
  int first = -1;
  int last = -1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (layer.pixel(x, y) != Paper) {
        if (first < 0) first = y;
        last = y;
      }
  return {first, last};
}

class GraphScale : public ::testing::TestWithParam<qreal> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Ratios, GraphScale, ::testing::Values(2.0, 1.5));

TEST_P(GraphScale, LayersHaveTheDevicePixelsAndCarryTheRatio) {
  const qreal r = GetParam();
  ScaledGraph g(r);
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.DrawFunctions();
  const QSize device(qRound(336 * r), qRound(316 * r));
  for (const QImage* layer : {g.graph.BackLayer(), g.graph.CurveLayer()}) {
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->size(), device);
    EXPECT_EQ(layer->devicePixelRatio(), r);
  }
  EXPECT_EQ(g.device().plotLeft(), qRound(10 * r));
  EXPECT_EQ(g.device().plotRight(), device.width() - qRound(10 * r));
  EXPECT_EQ(g.device().plotBottom(), device.height() - qRound(20 * r));
  const QImage picture = g.graph.Picture();
  EXPECT_EQ(picture.size(), device);
  EXPECT_EQ(picture.devicePixelRatio(), r);
}

// Every device column of the plot has the diagonal exactly where the device mapping puts it,
// and the one-pixel pen is round(r) pixels thick.
TEST_P(GraphScale, TheDiagonalLiesOnTheDeviceMapping) {
  const qreal r = GetParam();
  ScaledGraph g(r);
  g.graph.setFormulaText(1, QStringLiteral("x"));
  ASSERT_TRUE(g.graph.DrawFunctions());
  const GraphMapping& m = g.device();
  const int width = qRound(r);
  const int height = g.graph.CurveLayer()->height();
  for (int c = m.plotLeft(); c < m.plotRight(); ++c) {
    const int row = m.yToPixel(m.pixelToX(c));
    EXPECT_EQ(g.curveRowsAt(c, row, row + width - 1), width) << c;
    // The dot of the column before reaches at most one row further.
    EXPECT_LE(g.curveRowsAt(c, 0, height - 1), width + 1) << c;
  }
  EXPECT_EQ(g.curve(m.plotLeft() - 1, m.plotBottom()), White);
}

// A curve that is 1 at every other device column of the plot and -1 at the others zigzags
// between both rows: drawn a sample per logical column, it would be flat.
TEST_P(GraphScale, EveryDeviceColumnIsASample) {
  ScaledGraph g(GetParam());
  const GraphMapping& m = g.device();
  const QString scale = QString::number(static_cast<double>(m.xScale()), 'g', 17);
  g.graph.setFormulaText(1, QStringLiteral("cos(pi*(x+3)*%1)").arg(scale));
  ASSERT_TRUE(g.graph.DrawFunctions());
  const int high = m.yToPixel(1.0L);
  const int low = m.yToPixel(-1.0L);
  for (int c = m.plotLeft(); c < m.plotRight(); ++c)
    EXPECT_NE(g.curve(c, (c - m.plotLeft()) % 2 == 0 ? high : low), White) << c;
}

// The axes lie on the device mapping's origin, pens round(r) wide, ticks reaching round(3r)
// pixels to either side of the line.
TEST_P(GraphScale, AxesAndTicksLieWhereTheDeviceMappingPutsThem) {
  const qreal r = GetParam();
  ScaledGraph g(r);
  const GraphMapping& m = g.device();
  const int width = qRound(r);
  const int reach = qRound(3 * r); // halves away from zero, as lengths are rounded
  const int line = m.originY();
  const auto [axisTop, axisBottom] =
      inkRows(*g.graph.BackLayer(), m.xToPixel(-2.5L), m.xToPixel(-2.5L), line - 20, line + 20);
  EXPECT_EQ(axisTop, line);
  EXPECT_EQ(axisBottom, line + width - 1);
  const int tick = m.xToPixel(1.0L);
  // Above the axis nothing but the tick is drawn: no value is written there.
  EXPECT_EQ(inkRows(*g.graph.BackLayer(), tick, tick, line - 20, line).first, line - reach);
  EXPECT_EQ(g.back(tick - 1, line - reach), Paper); // light yellow left of the tick
  EXPECT_EQ(g.back(tick + width - 1, line - reach), Black);
  EXPECT_EQ(g.back(tick + width, line - reach), Paper);
  const int column = m.originX();
  const int yTick = m.yToPixel(2.0L);
  EXPECT_EQ(g.back(column + reach + width - 1, yTick), Black);
  EXPECT_EQ(g.back(column + reach + width, yTick), Paper);
  EXPECT_EQ(g.back(column - reach, yTick), Black);
  EXPECT_EQ(g.back(column - reach - 1, yTick), Paper);
}

// Wide pens grow with the ratio; a dotted one-pixel pen keeps its dots instead of turning solid.
TEST_P(GraphScale, PenWidthsAndDashesScale) {
  const qreal r = GetParam();
  ScaledGraph g(r);
  g.graph.setFormulaText(1, QStringLiteral("1"));
  g.graph.FormulaPen(1).Width = 3;
  g.graph.setFormulaText(2, QStringLiteral("-1"));
  g.graph.FormulaPen(2).Style = PenStyle::Dot;
  g.graph.DrawFunctions();
  const GraphMapping& m = g.device();
  const int mid = m.xToPixel(0.5L);
  const int wide = qRound(3 * r);
  EXPECT_EQ(g.curveRowsAt(mid, m.yToPixel(1.5L), m.yToPixel(0.5L)), wide);
  int on = 0;
  int gaps = 0;
  const int row = m.yToPixel(-1.0L);
  for (int c = m.plotLeft(); c < m.plotRight(); ++c)
    (g.curve(c, row) != White ? on : gaps) += 1;
  EXPECT_GT(on, 0);
  EXPECT_GT(gaps, (m.plotRight() - m.plotLeft()) / 4);
}

// Values are written in their font at device resolution: r times as tall as at ratio 1.
TEST_P(GraphScale, ValuesAreWrittenAtDeviceResolution) {
  const qreal r = GetParam();
  ScaledGraph scaled(r);
  ScaledGraph plain(1);
  const auto valueHeight = [](const ScaledGraph& g) {
    const GraphMapping& m = g.graph.DeviceMapping();
    const int tick = m.xToPixel(1.0L);
    const int below = m.originY() + qRound(4 * g.graph.RenderScale()) + 1;
    const auto [top, bottom] =
        inkRows(*g.graph.BackLayer(), tick + 1, m.xToPixel(1.5L), below, m.plotBottom());
    return bottom - top + 1;
  };
  const int plainHeight = valueHeight(plain);
  ASSERT_GT(plainHeight, 3);
  EXPECT_NEAR(valueHeight(scaled), plainHeight * r, r + 1);
}

// Labels stand at their window position; the clipboard's picture writes them at the device
// position in device-resolution fonts.
TEST_P(GraphScale, TheClipboardPictureWritesLabelsAtDevicePositions) {
  const qreal r = GetParam();
  ScaledGraph g(r);
  TAxis hidden;
  hidden.Visible = false;
  g.graph.setYAxis(hidden);
  g.graph.AddLabel(50, 40);
  EXPECT_EQ(g.graph.Label(1)->pos(), QPoint(50, 40));
  const QImage picture = g.graph.ClipboardPicture();
  EXPECT_EQ(picture.devicePixelRatio(), r);
  const int left = qRound(50 * r);
  const int top = qRound(40 * r);
  const int bottom = qRound((40 + 30) * r);
  const auto [first, last] = inkRows(picture, left, left + qRound(30 * r), top, bottom);
  EXPECT_GE(first, top);
  EXPECT_GT(last - first, 6 * r);
  EXPECT_EQ(inkRows(picture, 0, left - 1, 0, bottom).first, -1); // nothing left of it
  EXPECT_EQ(inkRows(picture, left, left + qRound(30 * r), 0, top - 1).first, -1);
}

// Zoom and pan go by window coordinates whatever the ratio.
TEST(GraphScaleExplore, WheelAndDragWorkInWindowCoordinates) {
  QWidget window;
  TEvalon evalon;
  evalon.LoadEngine();
  auto* graph = new TFuncGraph(&window);
  graph->setEvalon(&evalon);
  window.resize(400, 360);
  graph->setGeometry(0, 0, 336, 316);
  graph->setRenderScale(2);
  window.show();
  graph->UpdateGraph();
  EXPECT_EQ(graph->XToPixel(3.0L), 326);
  EXPECT_EQ(graph->DeviceMapping().xToPixel(3.0L), 652);
  const long double x = graph->PixelToX(100);
  const QPointF at(100, 80);
  QWheelEvent wheel(at, graph->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, {},
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(graph, &wheel);
  EXPECT_NEAR(static_cast<double>(graph->XMax() - graph->XMin()), 4.8, 1e-12);
  EXPECT_NEAR(static_cast<double>((x - graph->XMin()) * graph->Mapping().xScale() + 10), 100, 0.5);
  const long double scaleX = graph->Mapping().xScale();
  const long double xMin = graph->XMin();
  QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(graph, QPoint(130, 100));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(130, 100));
  EXPECT_EQ(graph->XMin(), xMin - 30 / scaleX);
  ASSERT_NE(graph->CurveLayer(), nullptr);
  EXPECT_EQ(graph->CurveLayer()->size(), QSize(672, 632));
}

// A new ratio redraws what is shown; back at 1 the picture is the one of a graph never scaled.
TEST(GraphScaleExplore, ANewRatioRedrawsTheLayers) {
  ScaledGraph g(1);
  g.graph.setFormulaText(1, QStringLiteral("x*x-1"));
  g.graph.DrawFunctions();
  const QImage before = g.graph.Picture();
  g.graph.setRenderScale(2);
  ASSERT_NE(g.graph.CurveLayer(), nullptr);
  EXPECT_EQ(g.graph.CurveLayer()->size(), QSize(672, 632));
  EXPECT_EQ(g.graph.BackLayer()->size(), QSize(672, 632));
  g.graph.setRenderScale(1);
  EXPECT_EQ(g.graph.Picture(), before);
}
