// The graph explored with the real wheel and mouse events.
#include "FuncGraph.h"

#include "Evalon.h"
#include "QtObjects.h"

#include <QApplication>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr QRgb Black = 0xFF000000;

// A shown window holding a 336 x 316 graph with the engine loaded.
struct Explorer {
  QWidget window;
  TEvalon evalon;
  TFuncGraph* graph = new TFuncGraph(&window);

  Explorer() {
    evalon.LoadEngine();
    graph->setEvalon(&evalon);
    window.resize(400, 360);
    graph->setGeometry(0, 0, 336, 316);
    window.show();
    graph->UpdateGraph();
  }
  void wheel(QPointF at, int delta, Qt::KeyboardModifiers modifiers = {}, bool horizontal = false) {
    const QPoint angle = horizontal ? QPoint(delta, 0) : QPoint(0, delta);
    QWheelEvent event(at, graph->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(graph, &event);
  }
  void drag(QPoint from, QPoint to) {
    QTest::mousePress(graph, Qt::LeftButton, {}, from);
    QTest::mouseMove(graph, to);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
  }
  GraphRange range() const { return {graph->XMin(), graph->XMax(), graph->YMin(), graph->YMax()}; }
  // Where a graph point lands, in unrounded client pixels.
  QPointF place(long double x, long double y) const {
    const GraphMapping& m = graph->Mapping();
    return {static_cast<double>((x - graph->XMin()) * m.xScale() + m.plotLeft()),
            static_cast<double>((graph->YMax() - y) * m.yScale() + m.plotTop())};
  }
};

} // namespace

TEST(GraphExplore, TheWheelZoomsAboutThePointUnderThePointer) {
  Explorer e;
  e.graph->setFormulaText(1, QStringLiteral("sin(x)"));
  const QPointF at(100, 80);
  const long double x = e.graph->PixelToX(100);
  const long double y = e.graph->PixelToY(80);
  e.wheel(at, 120);
  EXPECT_NEAR(static_cast<double>(e.graph->XMax() - e.graph->XMin()), 4.8, 1e-12);
  EXPECT_NEAR(static_cast<double>(e.graph->YMax() - e.graph->YMin()), 4.8, 1e-12);
  EXPECT_NEAR(e.place(x, y).x(), 100, 0.5);
  EXPECT_NEAR(e.place(x, y).y(), 80, 0.5);
  ASSERT_NE(e.graph->CurveLayer(), nullptr); // the curves follow at once
  e.wheel(at, -120);
  EXPECT_NEAR(static_cast<double>(e.graph->XMax() - e.graph->XMin()), 6.0, 1e-12);
  EXPECT_NEAR(e.place(x, y).x(), 100, 0.5);
}

TEST(GraphExplore, ShiftZoomsOnlyXAndControlOnlyY) {
  Explorer e;
  e.wheel(QPointF(200, 100), 120, Qt::ShiftModifier);
  EXPECT_NEAR(static_cast<double>(e.graph->XMax() - e.graph->XMin()), 4.8, 1e-12);
  EXPECT_EQ(e.graph->YMin(), -3.0L);
  EXPECT_EQ(e.graph->YMax(), 3.0L);
  // Shift turned into a horizontal turn by the platform zooms X alike.
  e.wheel(QPointF(200, 100), 120, Qt::ShiftModifier, true);
  EXPECT_NEAR(static_cast<double>(e.graph->XMax() - e.graph->XMin()), 3.84, 1e-12);
  EXPECT_EQ(e.graph->YMax(), 3.0L);
  e.wheel(QPointF(200, 100), -120, Qt::ControlModifier);
  EXPECT_NEAR(static_cast<double>(e.graph->YMax() - e.graph->YMin()), 7.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(e.graph->XMax() - e.graph->XMin()), 3.84, 1e-12);
}

TEST(GraphExplore, HundredsOfNotchesLeaveFiniteOrderedRanges) {
  Explorer e;
  e.graph->setXMin(3);
  e.graph->setXMax(-3); // reversed
  for (int n = 0; n < 300; ++n)
    e.wheel(QPointF(250, 60), 120);
  EXPECT_GT(e.graph->XMin(), e.graph->XMax());
  EXPECT_LT(e.graph->YMin(), e.graph->YMax());
  EXPECT_GT(e.graph->XMin() - e.graph->XMax(), 0.999e-9L);
  for (int n = 0; n < 600; ++n)
    e.wheel(QPointF(250, 60), -120);
  for (const long double v : {e.graph->XMin(), e.graph->XMax(), e.graph->YMin(), e.graph->YMax()})
    EXPECT_TRUE(std::isfinite(v));
  EXPECT_GT(e.graph->XMin(), e.graph->XMax());
  EXPECT_LE(e.graph->YMax() - e.graph->YMin(), 1e12L);
}

TEST(GraphExplore, ADragMovesTheRangeByThePixelsWorthOfTheMove) {
  Explorer e;
  e.graph->setFormulaText(1, QStringLiteral("tan(x)"));
  const long double scaleX = e.graph->Mapping().xScale();
  const long double scaleY = e.graph->Mapping().yScale();
  QTest::mousePress(e.graph, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(e.graph, QPoint(130, 80));
  EXPECT_EQ(e.graph->cursor().shape(), Qt::ClosedHandCursor);
  EXPECT_EQ(e.graph->XMin(), -3.0L - 30 / scaleX);
  EXPECT_EQ(e.graph->XMax(), 3.0L - 30 / scaleX);
  EXPECT_EQ(e.graph->YMin(), -3.0L - 20 / scaleY);
  EXPECT_EQ(e.graph->YMax(), 3.0L - 20 / scaleY);
  ASSERT_NE(e.graph->CurveLayer(), nullptr);
  QTest::mouseMove(e.graph, QPoint(90, 110)); // still from the press
  EXPECT_EQ(e.graph->XMin(), -3.0L + 10 / scaleX);
  EXPECT_EQ(e.graph->YMax(), 3.0L + 10 / scaleY);
  QTest::mouseRelease(e.graph, Qt::LeftButton, {}, QPoint(90, 110));
  EXPECT_EQ(e.graph->cursor().shape(), Qt::OpenHandCursor);
}

TEST(GraphExplore, APressWithoutADragLeavesTheView) {
  Explorer e;
  QSignalSpy changes(e.graph, &TFuncGraph::RangeChanged);
  const int near = QApplication::startDragDistance() - 1;
  e.drag(QPoint(100, 100), QPoint(100 + near, 100));
  e.drag(QPoint(100, 100), QPoint(100, 100));
  EXPECT_EQ(changes.count(), 0);
  EXPECT_EQ(e.graph->XMin(), -3.0L);
  EXPECT_EQ(e.graph->YMax(), 3.0L);
}

TEST(GraphExplore, APressOnALabelDragsTheLabelNotTheView) {
  Explorer e;
  ASSERT_TRUE(e.graph->AddLabel(50, 50));
  TGraphLabel* label = e.graph->Label(1);
  EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseMove(label, label->mapFromGlobal(e.graph->mapToGlobal(QPoint(120, 90))));
  QTest::mouseRelease(label, Qt::LeftButton, {},
                      label->mapFromGlobal(e.graph->mapToGlobal(QPoint(120, 90))));
  EXPECT_EQ(label->pos(), QPoint(117, 87));
  EXPECT_EQ(e.graph->XMin(), -3.0L);
  EXPECT_EQ(e.graph->YMin(), -3.0L);
}

// The y axis line lies at x = 0; zooming in near the right edge takes it out of the plot, to
// the left.
TEST(GraphExplore, AnAxisZoomedAwayAndBackIsDrawnAgain) {
  Explorer e;
  const int column = e.graph->Mapping().originX();
  ASSERT_EQ(e.graph->BackLayer()->pixel(column, 40), Black);
  for (int n = 0; n < 10; ++n)
    e.wheel(QPointF(300, 150), 120);
  ASSERT_LT(e.graph->Mapping().originX(), e.graph->Mapping().plotLeft() - 100);
  EXPECT_TRUE(e.graph->YAxis().Visible);
  for (int n = 0; n < 10; ++n)
    e.wheel(QPointF(300, 150), -120);
  EXPECT_TRUE(e.graph->YAxis().Visible);
  EXPECT_EQ(e.graph->Mapping().originX(), column);
  EXPECT_EQ(e.graph->BackLayer()->pixel(column, 40), Black);
  // Panned away and back within one drag.
  QTest::mousePress(e.graph, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(e.graph, QPoint(100, 290));
  EXPECT_TRUE(e.graph->XAxis().Visible);
  QTest::mouseMove(e.graph, QPoint(100, 100));
  QTest::mouseRelease(e.graph, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_TRUE(e.graph->XAxis().Visible);
  EXPECT_EQ(e.graph->BackLayer()->pixel(40, e.graph->Mapping().originY()), Black);
}

namespace {

// The narrowest gap between the value texts of neighbouring ticks of the X axis, in pixels.
double leastGapBetweenValues(TFuncGraph& graph) {
  const TAxis& axis = graph.XAxis();
  const QFontMetrics metrics(toQFont(axis.ValFont));
  const long double period = axis.GuagePeriod;
  const long double step = period * graph.Mapping().xScale();
  double least = 1e9;
  for (long double v = std::ceil(graph.XMin() / period) * period; v + period <= graph.XMax();
       v += period) {
    const int wider = std::max(metrics.horizontalAdvance(TickValueText(v)),
                               metrics.horizontalAdvance(TickValueText(v + period)));
    least = std::min(least, static_cast<double>(step - wider));
  }
  return least;
}

} // namespace

TEST(GraphExplore, AFittedTickPeriodKeepsValuesApart) {
  for (const int width : {336, 1920}) {
    Explorer e;
    e.graph->resize(width, 316);
    e.graph->setXMin(-10);
    e.graph->setXMax(10);
    e.graph->FitTickPeriod(e.graph->XAxis());
    const long double period = e.graph->XAxis().GuagePeriod;
    EXPECT_EQ(period, width == 336 ? 5.0L : 1.0L);
    EXPECT_GE(leastGapBetweenValues(*e.graph), 4) << width;
    const double apart = static_cast<double>(period * e.graph->Mapping().xScale());
    EXPECT_GE(apart, 60);
    EXPECT_LE(apart, 150);
  }
}

TEST(GraphExplore, ZoomingRespacesCrowdedOrSparseTicksAndPanningKeepsThem) {
  Explorer e;
  for (int n = 0; n < 10; ++n)
    e.wheel(QPointF(168, 153), 120);
  // 0.64 wide over 316 pixels: a tick of 1 would lie 494 pixels from the next.
  EXPECT_NEAR(static_cast<double>(e.graph->XAxis().GuagePeriod), 0.2, 1e-15);
  for (int n = 0; n < 25; ++n)
    e.wheel(QPointF(168, 153), -120);
  const double apart =
      static_cast<double>(e.graph->XAxis().GuagePeriod * e.graph->Mapping().xScale());
  EXPECT_GE(leastGapBetweenValues(*e.graph), 4);
  EXPECT_GE(apart, 60);
  e.graph->XAxis().GuagePeriod = 0.001L;
  e.drag(QPoint(100, 100), QPoint(150, 100));
  EXPECT_EQ(e.graph->XAxis().GuagePeriod, 0.001L);
}

TEST(GraphExplore, EveryChangeOfTheRangeIsTold) {
  Explorer e;
  QSignalSpy changes(e.graph, &TFuncGraph::RangeChanged);
  e.graph->setXMin(-4);
  EXPECT_EQ(changes.count(), 1);
  e.graph->setXMin(-4);
  e.graph->setMarginLeft(20);
  EXPECT_EQ(changes.count(), 1);
  e.wheel(QPointF(100, 100), 120);
  EXPECT_EQ(changes.count(), 2);
  e.drag(QPoint(100, 100), QPoint(150, 120));
  EXPECT_EQ(changes.count(), 3);
  e.graph->setFormulaText(1, QStringLiteral("x*10"));
  e.graph->FitYRange();
  EXPECT_EQ(changes.count(), 4);
  e.graph->ResetGraph();
  EXPECT_EQ(changes.count(), 5);
  // Told once, not on every refresh after it.
  e.graph->setYMax(std::numeric_limits<long double>::quiet_NaN());
  e.graph->setYMax(std::numeric_limits<long double>::quiet_NaN());
  e.graph->UpdateGraph();
  EXPECT_EQ(changes.count(), 6);
}

// After a deep zoom the ticks the zoom chose would smear a range typed back in into a band: a
// period the program chose is chosen again for each typed range, a typed period stays.
TEST(GraphExplore, AChosenTickPeriodFollowsATypedRangeAndATypedOneStays) {
  Explorer e;
  TFuncGraph fresh;
  fresh.resize(e.graph->size());
  fresh.FitTickPeriod(fresh.XAxis());
  const long double fitted = fresh.XAxis().GuagePeriod;
  for (int notch = 0; notch < 12; ++notch)
    e.wheel(QPointF(168, 158), -120);
  ASSERT_GE(e.graph->XAxis().GuagePeriod, fitted * 10);
  e.graph->setXMin(-3);
  e.graph->setXMax(3);
  e.graph->setYMin(-3);
  e.graph->setYMax(3);
  EXPECT_EQ(e.graph->XAxis().GuagePeriod, fitted);

  e.graph->setTickPeriod(e.graph->XAxis(), 0.25L);
  e.graph->setXMax(300);
  EXPECT_EQ(e.graph->XAxis().GuagePeriod, 0.25L);
}
