// The pieces of a curve as a vector picture draws them: polylines through the samples the
// screen takes (one per plot column) and more between them, broken where the screen breaks
// the curve, clipped to the picture and thinned where points add nothing visible.
#pragma once

#include "GraphMapping.h"

#include <QPolygonF>
#include <QRectF>

#include <functional>
#include <vector>

// The value of the curve at x; false when the sample fails.
using CurveFunction = std::function<bool(long double x, long double& y)>;

struct CurveSampling {
  // Samples per pixel column: the screen's one, and more between where both ends are good and
  // the curve bends too much for a straight line, so that an enlarged picture stays smooth.
  int perColumn = 4;
  // Where a pixel's point lies within the pixel: 0.5 puts it at the centre.
  double offset = 0.5;
  // Points are kept where leaving them out would move the line by more than this (pixels).
  double tolerance = 0.05;
};

// The pieces in picture coordinates (pixel column c spans c to c + 1), each of two points or
// more. Coordinates are rounded to hundredths of a pixel.
std::vector<QPolygonF> curvePieces(const GraphMapping& mapping, const CurveFunction& curve,
                                   const QRectF& picture, const CurveSampling& sampling);

// The parts of a polyline inside the rectangle.
std::vector<QPolygonF> clipPolyline(const QPolygonF& line, const QRectF& bounds);

// The polyline with only the points that move it by more than the tolerance (Douglas-Peucker);
// its ends stay.
QPolygonF thinPolyline(const QPolygonF& line, double tolerance);
