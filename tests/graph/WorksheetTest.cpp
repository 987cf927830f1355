// The worksheet features of the graph: ticks in units of π and their fitted interval, grid lines,
// the equal scale, and labels pinned to a graph point.
#include "FuncGraph.h"
#include "PiMultiples.h"
#include "ViewNavigation.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// The texts of the ticks of an axis in units of π over the range, walked as the axis walks them.
QStringList piTicks(long double period, long double lower, long double upper) {
  TAxis axis;
  axis.PiTicks = true;
  axis.GuagePeriod = period;
  const GraphMapping mapping({lower, upper, -1, 1}, {0, 0, 0, 0}, 2000, 100);
  const AxisPixels pixels{[&](long double v) { return mapping.xToPixel(v); },
                          [&](std::int32_t c) { return mapping.pixelToX(c); }, 0, 1999};
  QStringList texts;
  forEachTick(lower, upper, axis.tickStep(), pixels,
              [&](long double v, std::int32_t) { texts << TickValueText(axis, v); });
  return texts;
}

TEST(PiTicks, ValuesAreReducedFractionsOfPi) {
  const struct {
    long double period, lower, upper;
    const char16_t* texts;
  } cases[] = {
      {0.25L, -3.2L, 3.2L, u"-π -3π/4 -π/2 -π/4 0 π/4 π/2 3π/4 π"},
      {0.5L, -6.3L, 6.3L, u"-2π -3π/2 -π -π/2 0 π/2 π 3π/2 2π"},
      {1, -10, 10, u"-3π -2π -π 0 π 2π 3π"},
      {2, -20, 20, u"-6π -4π -2π 0 2π 4π 6π"},
      {0.5L, -7, -1, u"-2π -3π/2 -π -π/2"},
      {1.0L / 3, 0, 3.2L, u"0 π/3 2π/3 π"},
  };
  for (const auto& test : cases)
    EXPECT_EQ(piTicks(test.period, test.lower, test.upper).join(QLatin1Char(' ')),
              QString::fromUtf16(test.texts))
        << static_cast<double>(test.period);
  EXPECT_EQ(PiMultipleText(0.3183L), QStringLiteral(u"0.32π"));
}

// Below π the fitted intervals halve, from π on they follow 1-2-5; spans count π.
TEST(PiTicks, TheFittedIntervalIsAFractionOrA125MultipleOfPi) {
  const auto width = [](long double v) { return 7 * static_cast<int>(PiMultipleText(v).size()); };
  const struct {
    long double lower, upper;
    std::int32_t pixels;
    long double period;
  } cases[] = {
      {-3 / Pi, 3 / Pi, 316, 0.5L}, {-10, 10, 316, 5},     {-0.1L, 0.1L, 1000, 1.0L / 64},
      {-1, 1, 300, 0.5L},           {-2, 2, 300, 1},       {0, 100, 500, 20},
  };
  for (const auto& test : cases)
    EXPECT_EQ(ViewNavigation::fittedPiPeriod(test.lower, test.upper, test.pixels, 1, width),
              test.period)
        << static_cast<double>(test.upper);
}

// A graph of the program's starting size, range and colours.
struct Sheet {
  TFuncGraph graph;
  Sheet() {
    graph.resize(336, 316);
    graph.UpdateGraph();
  }
  QRgb at(int column, int row) const { return graph.BackLayer()->pixel(column, row); }
};

// The grid lies a quarter of the way from the light yellow back to the black axes.
TEST(GraphGrid, LinesStandAtEveryTickOfTheAxesThatAskForThem) {
  const QRgb back = qRgb(255, 255, 224);
  const QRgb grid = qRgb(191, 191, 168);
  for (const bool xGrid : {false, true})
    for (const bool yGrid : {false, true}) {
      Sheet sheet;
      TAxis x = sheet.graph.XAxis();
      TAxis y = sheet.graph.YAxis();
      x.Grid = xGrid;
      y.Grid = yGrid;
      sheet.graph.setXAxis(x);
      sheet.graph.setYAxis(y);
      const GraphMapping& m = sheet.graph.Mapping();
      // Beside the axes' lines and their tick marks, on the plot.
      for (int v : {-3, -2, -1, 1, 2, 3}) {
        EXPECT_EQ(sheet.at(m.xToPixel(v), m.plotTop() + 5), xGrid ? grid : back) << v;
        EXPECT_EQ(sheet.at(m.plotLeft() + 5, m.yToPixel(v)), yGrid ? grid : back) << v;
        if (v < 3) EXPECT_EQ(sheet.at(m.xToPixel(v + 0.5L), m.plotTop() + 5), back);
      }
      EXPECT_EQ(sheet.at(m.xToPixel(1), m.plotBottom() + 3), back); // not beyond the plot
    }
}

TEST(EqualScale, OneUnitIsAsLongOnBothAxesAndTheNarrowerRangeWidens) {
  for (const QSize size : {QSize(600, 300), QSize(300, 600), QSize(336, 316)}) {
    const GraphRange start{-3, 3, -2, 2};
    const GraphMapping before(start, {10, 10, 10, 20}, size.width(), size.height());
    const GraphRange equal = ViewNavigation(before).equalScale();
    const GraphMapping after(equal, {10, 10, 10, 20}, size.width(), size.height());
    EXPECT_NEAR(static_cast<double>(after.xScale() / after.yScale()), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(equal.xMin + equal.xMax), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(equal.yMin + equal.yMax), 0, 1e-12);
    // Only the axis with more pixels to its unit changes, and only wider.
    const bool xWidens = before.xScale() > before.yScale();
    EXPECT_EQ(equal.yMax == start.yMax, xWidens) << size.width();
    EXPECT_GE(equal.xMax - equal.xMin, 6);
    EXPECT_GE(equal.yMax - equal.yMin, 4);
  }
}

// A pinned label follows its graph point through zoom, pan and resize; another keeps its pixels.
TEST(PinnedLabel, StaysOnItsGraphPointWhateverTheView) {
  QWidget window;
  auto* graph = new TFuncGraph(&window);
  graph->setGeometry(0, 0, 336, 316);
  window.show();
  graph->UpdateGraph();
  graph->AddLabel(graph->XToPixel(1), graph->YToPixel(2));
  graph->AddLabel(40, 50);
  graph->Label(1)->setPinned(true);
  // The graph point under the corner is (1, 2) to within a pixel.
  const auto onPoint = [graph] {
    const QPoint corner = graph->Label(1)->pos();
    const GraphMapping& m = graph->Mapping();
    return std::fabs(graph->PixelToX(corner.x()) - 1) <= 1 / m.xScale() &&
           std::fabs(graph->PixelToY(corner.y()) - 2) <= 1 / m.yScale();
  };
  graph->ShowRange({-1, 4, -1, 4});
  EXPECT_TRUE(onPoint());
  graph->ShowRange({0, 5, 0, 5});
  EXPECT_TRUE(onPoint());
  graph->resize(500, 260);
  EXPECT_TRUE(onPoint());
  EXPECT_EQ(graph->Label(2)->pos(), QPoint(40, 50));
  graph->setModel(graph->Model());
  graph->UpdateGraph();
  EXPECT_TRUE(onPoint());
}

} // namespace
