#include "CurveDrawing.h"

#include "Canvas.h"

#include <algorithm>

namespace {

QPoint pixelOf(const GraphMapping& mapping, const CurveVertex& v) {
  const int column =
      v.sample ? static_cast<int>(v.column) : GraphMapping::nearestPixel(v.column);
  return {column, mapping.yToPixel(v.y)};
}

// A line of one pixel draws its start pixel alone: the dot at the pen's position.
void dot(Canvas& canvas) {
  const QPoint at = canvas.penPos();
  canvas.lineTo(at.x(), at.y() + 1);
}

void drawBand(Canvas& canvas, const GraphMapping& mapping, const CurveBand& band) {
  const int top = std::max(mapping.yToPixel(band.high), mapping.plotTop());
  const int bottom = std::min(mapping.yToPixel(band.low), mapping.plotBottom());
  if (top > bottom) return;
  canvas.moveTo(band.column, top);
  canvas.lineTo(band.column, bottom);
  dot(canvas);
}

} // namespace

void drawCurve(Canvas& canvas, const GraphMapping& mapping, const SampledCurve& curve) {
  for (const CurvePiece& piece : curve.pieces) {
    const QPoint start = pixelOf(mapping, curve.vertices[piece.first]);
    canvas.moveTo(start.x(), start.y());
    for (std::size_t k = piece.first + 1; k < piece.last; ++k) {
      const QPoint to = pixelOf(mapping, curve.vertices[k]);
      canvas.lineTo(to.x(), to.y());
    }
    if (piece.closed) dot(canvas);
  }
  for (const CurveBand& band : curve.bands)
    drawBand(canvas, mapping, band);
}
