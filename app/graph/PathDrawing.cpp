#include "PathDrawing.h"

#include "Canvas.h"

#include <algorithm>

namespace {

constexpr double FarAway = 1e9;

QPoint pixelOf(QPointF p) {
  return {GraphMapping::nearestPixel(p.x()), GraphMapping::nearestPixel(p.y())};
}

// A line of one pixel draws its start pixel alone: the dot at the pen's position.
void dotAt(Canvas& canvas, QPoint at) {
  canvas.moveTo(at.x(), at.y());
  canvas.lineTo(at.x(), at.y() + 1);
}

void drawPolyline(Canvas& canvas, const QPolygonF& line) {
  QPoint at = pixelOf(line.front());
  canvas.moveTo(at.x(), at.y());
  for (qsizetype i = 1; i < line.size(); ++i) {
    const QPoint to = pixelOf(line[i]);
    if (to == at) continue;
    canvas.lineTo(to.x(), to.y());
    at = to;
  }
  dotAt(canvas, at);
}

QPolygonF polygonOf(const std::vector<PathPoint>& piece, double offset) {
  QPolygonF line;
  line.reserve(qsizetype(piece.size()));
  for (const PathPoint& p : piece)
    line << pictureOf(p, offset);
  return line;
}

} // namespace

QPointF pictureOf(const PathPoint& p, double offset) {
  return {std::clamp(static_cast<double>(p.column), -FarAway, FarAway) + offset,
          std::clamp(static_cast<double>(p.row), -FarAway, FarAway) + offset};
}

QRectF plotWithin(const GraphMapping& mapping, const QRectF& picture) {
  const QRectF plot(QPointF(mapping.plotLeft(), mapping.plotTop()),
                    QPointF(static_cast<double>(mapping.plotLeft() + mapping.plotWidth()),
                            static_cast<double>(mapping.plotTop() + mapping.plotHeight())));
  return plot.intersected(picture);
}

void drawPaths(Canvas& canvas, const std::vector<std::vector<PathPoint>>& pieces,
               const QRectF& clip) {
  for (const std::vector<PathPoint>& piece : pieces) {
    const QPolygonF line = polygonOf(piece, 0.0);
    if (line.size() == 1) {
      if (clip.contains(line.front())) dotAt(canvas, pixelOf(line.front()));
      continue;
    }
    for (const QPolygonF& part : clipPolyline(line, clip))
      drawPolyline(canvas, part);
  }
}

VectorCurve vectorPaths(const std::vector<std::vector<PathPoint>>& pieces, const QRectF& clip,
                        const CurveSampling& sampling) {
  VectorCurve result;
  for (const std::vector<PathPoint>& piece : pieces) {
    QPolygonF line = polygonOf(piece, sampling.offset);
    if (line.size() == 1 && clip.contains(line.front())) line << line.front();
    for (const QPolygonF& part : clipPolyline(line, clip)) {
      QPolygonF thin = thinPolyline(part, sampling.tolerance);
      for (QPointF& p : thin)
        p = QPointF(hundredths(p.x()), hundredths(p.y()));
      result.lines.push_back(std::move(thin));
    }
  }
  return result;
}
