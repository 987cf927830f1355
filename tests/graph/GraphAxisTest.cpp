#include "GraphAxis.h"

#include "Canvas.h"
#include "NumberFormat.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr QRgb Background = 0xFFFFFFE0; // the graph's light yellow
constexpr QRgb Black = 0xFF000000;

// The default graph on the reference control, with a fresh background layer.
struct AxisPicture {
  QImage image{336, 316, QImage::Format_RGB32};
  GraphMapping mapping{GraphRange{}, GraphMargins{}, 336, 316};
  TAxis xAxis;
  TAxis yAxis;

  AxisPicture() { image.fill(Background); }
  void draw(bool x = true, bool y = true) {
    Canvas canvas(image);
    canvas.setBrush(QBrush(QColor::fromRgb(Background)));
    if (x) DrawXAxis(canvas, mapping, xAxis);
    if (y) DrawYAxis(canvas, mapping, yAxis, xAxis);
  }
  bool black(int x, int y) const { return image.pixel(x, y) == Black; }
  // Pixels that are neither background nor black in a rectangle: value text.
  int inked(int x0, int y0, int width, int height) const {
    int count = 0;
    for (int y = y0; y < y0 + height; ++y)
      for (int x = x0; x < x0 + width; ++x)
        if (image.valid(x, y) && image.pixel(x, y) != Background) ++count;
    return count;
  }
  int ticksOnRow(int row) const {
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
      if (black(x, row)) ++count;
    return count;
  }
};

// The ticks that show along the default graph's x pixels: with a period of 0.2 or more each
// tick of -3 .. 3 has a pixel of its own.
std::vector<long double> ticks(long double lower, long double upper, long double period) {
  const GraphMapping mapping{GraphRange{}, GraphMargins{}, 336, 316};
  const AxisPixels pixels{[&](long double v) { return mapping.xToPixel(v); },
                          [&](std::int32_t c) { return mapping.pixelToX(c); }, 0, 335};
  std::vector<long double> values;
  forEachTick(lower, upper, period, pixels,
              [&](long double v, std::int32_t) { values.push_back(v); });
  return values;
}

// The marks of both axes drawn tick by tick along the whole running sum, however many there
// are: what the axes must look like.
QImage everyTick(const GraphMapping& mapping, long double period) {
  QImage image(336, 316, QImage::Format_RGB32);
  image.fill(Background);
  Canvas canvas(image);
  const int row = mapping.originY();
  const int column = mapping.originX();
  canvas.moveTo(mapping.plotLeft(), row);
  canvas.lineTo(mapping.plotRight(), row);
  canvas.moveTo(column, mapping.plotTop());
  canvas.lineTo(column, mapping.plotBottom());
  const GraphRange& range = mapping.graphRange();
  for (long double v = std::ceil(range.xMin / period) * period; v <= range.xMax; v += period) {
    canvas.moveTo(mapping.xToPixel(v), row - 3);
    canvas.lineTo(mapping.xToPixel(v), row + 4);
  }
  for (long double v = std::ceil(range.yMin / period) * period; v <= range.yMax; v += period) {
    canvas.moveTo(column + 3, mapping.yToPixel(v));
    canvas.lineTo(column - 4, mapping.yToPixel(v));
  }
  return image;
}

TEST(GraphAxis, DefaultsDrawLinesTicksAndValues) {
  AxisPicture p;
  p.draw();
  // Lines and ticks as the picture shows them.
  EXPECT_TRUE(p.black(10, 153));
  EXPECT_TRUE(p.black(168, 10));
  EXPECT_FALSE(p.black(9, 153));
  // Both-sided ticks cover 3 pixels above and below the axis row.
  const int c = p.mapping.xToPixel(2.0L);
  EXPECT_TRUE(p.black(c, 150));
  EXPECT_TRUE(p.black(c, 156));
  EXPECT_FALSE(p.black(c, 149));
  EXPECT_FALSE(p.black(c, 157));
  const int r = p.mapping.yToPixel(-1.0L);
  EXPECT_TRUE(p.black(171, r));
  EXPECT_TRUE(p.black(165, r));
  EXPECT_FALSE(p.black(172, r));
  EXPECT_FALSE(p.black(164, r));
  // Seven ticks per axis; the one at 0 lies on the Y axis line.
  EXPECT_EQ(p.ticksOnRow(151), 7);
  // X values start 2 pixels right of and below each tick point; the Y axis writes no 0.
  EXPECT_GT(p.inked(c + 2, 155, 10, 14), 0);
  EXPECT_EQ(p.inked(c - 12, 157, 10, 14), 0);
}

// Without ticks at the ends, the lines show their excluded end pixel.
TEST(GraphAxis, AxisLinesExcludeTheirEndPixel) {
  AxisPicture p;
  p.xAxis.GauageType = gtNone;
  p.yAxis.GauageType = gtNone;
  p.draw();
  EXPECT_TRUE(p.black(325, 153));
  EXPECT_FALSE(p.black(326, 153));
  EXPECT_TRUE(p.black(168, 295));
  EXPECT_FALSE(p.black(168, 296));
}

TEST(GraphAxis, TheYAxisWritesItsZeroOnlyWhenTheXAxisWritesNoValues) {
  AxisPicture with;
  with.draw(false, true);
  AxisPicture without;
  without.xAxis.ValPos = ptNone;
  without.draw(false, true);
  const int zeroArea = [](const AxisPicture& p) { return p.inked(170, 155, 16, 16); }(with);
  EXPECT_EQ(zeroArea, 0);
  EXPECT_GT(without.inked(170, 155, 16, 16), 0);
}

TEST(GraphAxis, PeriodsAndReversedRanges) {
  AxisPicture half;
  half.xAxis.GuagePeriod = 0.5L;
  half.draw(true, false);
  EXPECT_EQ(half.ticksOnRow(151), 13);
  EXPECT_EQ(ticks(-3.0L, 3.0L, 0.5L).size(), 13u);

  AxisPicture reversed;
  reversed.mapping = GraphMapping(GraphRange{3.0L, -3.0L, 3.0L, -3.0L}, GraphMargins{}, 336, 316);
  reversed.draw();
  EXPECT_TRUE(reversed.black(10, reversed.mapping.originY()));
  EXPECT_EQ(reversed.ticksOnRow(reversed.mapping.originY() - 2), 1); // the Y axis line only

  AxisPicture bare;
  bare.xAxis.GauageType = gtNone;
  bare.draw(true, false);
  EXPECT_EQ(bare.ticksOnRow(151), 0);
  EXPECT_EQ(bare.inked(0, 155, 336, 20), 0); // values go with ticks only
}

// The running sum carries rounding: with period 0.2 the tick at 3 is missed, and the tick
// nearest the origin shows the residue.
TEST(GraphAxis, TickValuesAreARunningSum) {
  const std::vector<long double> values = ticks(-3.0L, 3.0L, 0.2L);
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front(), -3.0L);
  EXPECT_LT(values.back(), 3.0L);
  EXPECT_EQ(values.size(), 30u);
  EXPECT_EQ(formatGeneral(values[15], 2, QStringLiteral(".")), QStringLiteral("3.5E-19"));
}

TEST(GraphAxis, DegeneratePeriodsDrawNoTicksAndNeverHang) {
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_TRUE(ticks(-3.0L, 3.0L, 0.0L).empty());
  EXPECT_TRUE(ticks(-3.0L, 3.0L, -1.0L).empty());
  EXPECT_TRUE(ticks(-3.0L, 3.0L, nan).empty());
  EXPECT_TRUE(ticks(-1e30L, 1e30L, 1.0L).empty()); // the first multiple does not fit 32 bits
  EXPECT_TRUE(ticks(-3.0L, 3.0L, 1e-9L).empty());
  // Ticks far denser than the pixels: one visit per pixel, whatever the range.
  EXPECT_EQ(ticks(-1.0L, 1.0L, 1e-6L).size(), 107u); // columns 115 .. 221
  EXPECT_LE(ticks(-1.0L, 1e300L, 1.0L).size(), 336u);
  EXPECT_LE(ticks(-1.0L, 1e300L, 1e-9L).size(), 336u);
  EXPECT_TRUE(ticks(-3.0L, 3.0L, 1e-300L).empty());
  AxisPicture huge;
  huge.mapping = GraphMapping(GraphRange{-1.0L, 1e300L, -1.0L, 1e300L}, GraphMargins{}, 336, 316);
  huge.xAxis.GuagePeriod = 1e-9L;
  huge.yAxis.GuagePeriod = 1e-9L;
  huge.draw();
  EXPECT_TRUE(huge.black(10, huge.mapping.originY()));
}

// Many ticks on each pixel, on a plain and on a mirrored mapping (margins wider than the graph):
// the marks are exactly those of every tick drawn.
TEST(GraphAxis, DenseTicksLookLikeEveryTickDrawn) {
  const GraphRange range{-5.0L, 5.0L, -5.0L, 5.0L};
  for (const GraphMargins& margins : {GraphMargins{}, GraphMargins{300, 300, 290, 290}}) {
    AxisPicture p;
    p.mapping = GraphMapping(range, margins, 336, 316);
    p.xAxis.GuagePeriod = p.yAxis.GuagePeriod = 1e-3L;
    p.xAxis.ValPos = p.yAxis.ValPos = ptNone;
    p.draw();
    EXPECT_EQ(p.image, everyTick(p.mapping, 1e-3L)) << margins.left;
  }
}

// A hundred thousand ticks and more reach both ends of both axes.
TEST(GraphAxis, TinyPeriodsTickTheWholeAxis) {
  AxisPicture p;
  p.mapping = GraphMapping(GraphRange{-5.0L, 5.0L, -5.0L, 5.0L}, GraphMargins{}, 336, 316);
  p.xAxis.GuagePeriod = p.yAxis.GuagePeriod = 1e-5L;
  p.yAxis.ValPos = ptNone; // its values would cover the X axis's ticks above the axis
  p.draw();
  for (int column = 10; column <= 326; ++column)
    ASSERT_TRUE(p.black(column, 150)) << column;
  for (int row = 10; row <= 296; ++row)
    ASSERT_TRUE(p.black(165, row)) << row;
}

} // namespace
