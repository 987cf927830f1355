// The vector curve's pieces: where they break, what their points are, and the clipping and
// thinning of polylines.
#include "CurvePieces.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The main window's graph: 336 x 316 pixels with the default range and margins.
const GraphMapping Mapping(GraphRange{}, GraphMargins{}, 336, 316);
const QRectF Picture(0, 0, 336, 316);

// The row of a value on the mapping, unrounded.
double rowOf(long double y) {
  return static_cast<double>(Mapping.plotTop() +
                             (Mapping.graphRange().yMax - y) * Mapping.yScale());
}

CurveSampling unthinned() {
  CurveSampling sampling;
  sampling.tolerance = -1.0; // every point kept
  return sampling;
}

TEST(CurvePieces, PointsLieOnTheMappingAtPixelCentresWithSamplesBetweenColumns) {
  const CurveFunction square = [](long double x, long double& y) {
    y = x * x - 2;
    return true;
  };
  const std::vector<QPolygonF> pieces = curvePieces(Mapping, square, Picture, unthinned()).lines;
  // x * x - 2 leaves the range at both sides: one piece from where it enters to where it ends.
  ASSERT_EQ(pieces.size(), 1u);
  const QPolygonF& piece = pieces.front();
  for (const QPointF& p : piece) {
    const long double column = p.x() - 0.5;
    const long double x = (column - Mapping.plotLeft()) / Mapping.xScale() - 3.0L;
    EXPECT_NEAR(p.y(), rowOf(x * x - 2) + 0.5, 0.006) << p.x();
  }
  // Four points per column where the curve is in the range.
  int inColumn200 = 0;
  for (const QPointF& p : piece)
    if (p.x() >= 200 && p.x() < 201) ++inColumn200;
  EXPECT_EQ(inColumn200, 4);
}

TEST(CurvePieces, SamplesBetweenColumnsOnlyWhereTheCurveBends) {
  int evaluations = 0;
  const auto counted = [&evaluations](long double k) {
    return CurveFunction([&evaluations, k](long double x, long double& y) {
      ++evaluations;
      y = std::sin(x * k);
      return true;
    });
  };
  const int columns = Mapping.plotRight() - Mapping.plotLeft() + 1;
  // Gentle: a line between the screen's samples is within the tolerance everywhere.
  curvePieces(Mapping, counted(1), Picture, {});
  EXPECT_EQ(evaluations, columns);
  // Tight waves: three more between almost every two columns.
  evaluations = 0;
  curvePieces(Mapping, counted(20), Picture, {});
  EXPECT_GT(evaluations, columns * 3);
}

TEST(CurvePieces, FailedSamplesBreakThePieceWhereTheScreenDoes) {
  // Fails for x in (-1, 1) and, between two columns only, near 2: the screen sees no failure
  // there and joins the columns straight, and so do the pieces. Where the failing stretch
  // begins and ends, the pieces run to it, to within 1/256 of a column.
  const long double hole = (Mapping.pixelToX(270) + Mapping.pixelToX(271)) / 2;
  const CurveFunction holes = [hole](long double x, long double& y) {
    y = 0.5L;
    return !(x > -1 && x < 1) && std::fabs(x - hole) > 1e-3L;
  };
  const std::vector<QPolygonF> pieces = curvePieces(Mapping, holes, Picture, unthinned()).lines;
  ASSERT_EQ(pieces.size(), 2u);
  const auto centreOf = [](long double x) {
    return static_cast<double>(Mapping.xToColumn(x)) + 0.5;
  };
  EXPECT_EQ(pieces[0].first().x(), Mapping.plotLeft() + 0.5);
  EXPECT_NEAR(pieces[0].last().x(), centreOf(-1), 1.0 / 256 + 0.005);
  EXPECT_NEAR(pieces[1].first().x(), centreOf(1), 1.0 / 256 + 0.005);
  EXPECT_EQ(pieces[1].last().x(), Mapping.plotRight() + 0.5);
  for (const QPointF& p : pieces[1])
    EXPECT_FALSE(p.x() > 270.5 && p.x() < 271.5) << p.x(); // straight across the hole
}

TEST(CurvePieces, EnteringTheRangeStartsOutsideAndLeavingItEndsInside) {
  // 4 - x * 4 lies above the range left of x = 0.25 and below it right of x = 1.75.
  const CurveFunction steep = [](long double x, long double& y) {
    y = 4 - x * 4;
    return true;
  };
  const std::vector<QPolygonF> pieces = curvePieces(Mapping, steep, Picture, unthinned()).lines;
  ASSERT_EQ(pieces.size(), 1u);
  const QPointF first = pieces[0].first();
  const QPointF last = pieces[0].last();
  EXPECT_LT(first.y(), Mapping.plotTop() + 0.5); // the last sample above the range
  EXPECT_LE(last.y(), Mapping.plotBottom() + 0.5);
  EXPECT_GT(last.y(), Mapping.plotBottom() - 4);
}

TEST(CurvePieces, NothingOfAFailingCurveAndEdgeToEdgeOfAColumnWide) {
  const CurveFunction none = [](long double, long double&) { return false; };
  EXPECT_TRUE(curvePieces(Mapping, none, Picture, {}).lines.empty());
  // Only column 100's sample is good, and the formula has values only for the x of that pixel:
  // the piece runs from one domain edge to the other, half a column either side.
  const CurveFunction single = [](long double x, long double& y) {
    y = 0;
    return Mapping.xToPixel(x) == 100;
  };
  const std::vector<QPolygonF> pieces = curvePieces(Mapping, single, Picture, {}).lines;
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_NEAR(pieces[0].first().x(), 100, 1.0 / 256 + 0.005);
  EXPECT_NEAR(pieces[0].last().x(), 101, 1.0 / 256 + 0.005);
}

TEST(CurvePieces, FarPointsAreClippedToThePicture) {
  // Huge values far outside, falling steeply into the range: the entering line is clipped at
  // the picture's edge.
  const CurveFunction spike = [](long double x, long double& y) {
    y = std::exp(-4000 * x);
    return true;
  };
  const std::vector<QPolygonF> pieces = curvePieces(Mapping, spike, Picture, {}).lines;
  ASSERT_EQ(pieces.size(), 1u);
  for (const QPointF& p : pieces[0])
    EXPECT_TRUE(Picture.contains(p)) << p.x() << "," << p.y();
  EXPECT_EQ(pieces[0].first().y(), 0.0);
}

TEST(ClipPolyline, KeepsThePartsInsideAndSplitsWhereTheLineLeaves) {
  const QRectF box(0, 0, 10, 10);
  const QPolygonF line{{-5, 5}, {5, 5}, {5, 20}, {8, 5}, {8, 8}};
  const std::vector<QPolygonF> parts = clipPolyline(line, box);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], (QPolygonF{{0, 5}, {5, 5}, {5, 10}}));
  EXPECT_EQ(parts[1], (QPolygonF{{7, 10}, {8, 5}, {8, 8}}));
  EXPECT_TRUE(clipPolyline(QPolygonF{{20, 20}, {30, 30}}, box).empty());
}

TEST(ThinPolyline, DropsOnlyPointsWithinTheTolerance) {
  const QPolygonF line{{0, 0}, {1, 0.01}, {2, 0.02}, {3, 0}};
  EXPECT_EQ(thinPolyline(line, 0.05), (QPolygonF{{0, 0}, {3, 0}}));
  EXPECT_EQ(thinPolyline(line, 0.015), (QPolygonF{{0, 0}, {2, 0.02}, {3, 0}}));
  // A spike that turns back is kept: distances are to the segment, not to its line.
  const QPolygonF back{{0, 0}, {10, 0}, {5, 0}};
  EXPECT_EQ(thinPolyline(back, 0.05), back);
  EXPECT_EQ(thinPolyline(QPolygonF{{0, 0}, {1, 1}}, 1.0).size(), 2);
}

} // namespace
