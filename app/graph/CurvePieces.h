// The pieces of a curve as a vector picture draws them: polylines through the points the
// screen's sampler finds (one sample per plot column, and where it looked closer the points
// between) and more samples between columns where the curve bends, broken where the screen
// breaks the curve, clipped to the picture and thinned where points add nothing visible; and
// the sampler's bands as filled shapes.
#pragma once

#include "CurveSampler.h"
#include "GraphMapping.h"

#include <QPolygonF>
#include <QRectF>

#include <vector>

struct CurveSampling {
  // Samples per pixel column: the screen's one, and more between where both ends are good and
  // the curve bends too much for a straight line, so that an enlarged picture stays smooth.
  int perColumn = 4;
  // Where a pixel's point lies within the pixel: 0.5 puts it at the centre.
  double offset = 0.5;
  // Points are kept where leaving them out would move the line by more than this (pixels).
  double tolerance = 0.05;
};

// In picture coordinates (pixel column c spans c to c + 1), rounded to hundredths of a pixel.
struct VectorCurve {
  std::vector<QPolygonF> lines; // each of two points or more
  // One shape per run of neighbouring band columns: along the tops of the columns' ranges
  // and back along their bottoms, through the columns' centres and held within the plot; a
  // single column's is a vertical line. Drawn filled and outlined in the curve's pen.
  std::vector<QPolygonF> bands;
};

VectorCurve curvePieces(const GraphMapping& mapping, const CurveFunction& curve,
                        const QRectF& picture, const CurveSampling& sampling);

// A picture coordinate as vector pictures hold it: rounded to hundredths of a pixel.
double hundredths(double v);

// The parts of a polyline inside the rectangle.
std::vector<QPolygonF> clipPolyline(const QPolygonF& line, const QRectF& bounds);

// The polyline with only the points that move it by more than the tolerance (Douglas-Peucker);
// its ends stay.
QPolygonF thinPolyline(const QPolygonF& line, double tolerance);
