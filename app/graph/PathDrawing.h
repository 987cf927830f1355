// Polylines in pixel positions (the path and implicit samplers' pieces) as the screen and the
// vector pictures draw them: clipped to a rectangle, through every pixel on the screen, thinned
// and rounded to hundredths in a vector picture.
#pragma once

#include "CurvePieces.h"
#include "PathSampler.h"

#include <QPointF>
#include <QRectF>

#include <vector>

class Canvas;

// A pixel position as a picture coordinate, the pixel's point offset into it; positions far
// beyond any picture are held where they still clip alike and stay exact in a double.
QPointF pictureOf(const PathPoint& p, double offset);

// The plot's pixels, edges included, within the rectangle.
QRectF plotWithin(const GraphMapping& mapping, const QRectF& picture);

// Each piece in the canvas's pen through every pixel of its part within clip, its last pixel
// included; a piece of one point is a dot.
void drawPaths(Canvas& canvas, const std::vector<std::vector<PathPoint>>& pieces,
               const QRectF& clip);

// The pieces as a vector picture's lines, their points at the sampling's offset into their
// pixels; a piece of one point is a line of no length, which a round or square cap shows.
VectorCurve vectorPaths(const std::vector<std::vector<PathPoint>>& pieces, const QRectF& clip,
                        const CurveSampling& sampling);
