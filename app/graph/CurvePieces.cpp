#include "CurvePieces.h"

#include "CurveJoin.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Positions far outside the picture are held within 32 bits, as the screen's pixels are; the
// clipped line keeps its direction across the picture.
double bounded(long double position) {
  constexpr long double Limit = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(position)) return -Limit;
  return static_cast<double>(std::clamp(position, -Limit, Limit));
}

double hundredths(double v) {
  return std::round(v * 100.0) / 100.0;
}

class PieceBuilder {
public:
  PieceBuilder(const GraphMapping& mapping, const CurveFunction& curve, const QRectF& picture,
               const CurveSampling& sampling)
      : mapping(mapping), curve(curve), sampling(sampling),
        span(mapping.columnsWithin(static_cast<std::int32_t>(std::floor(picture.left())),
                                   static_cast<std::int32_t>(std::ceil(picture.right())))) {}

  std::vector<QPolygonF> build() {
    sampleColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (!columns[i].joined)
        endPiece();
      else if (bends(i))
        addBetween(i);
      if (columns[i].good) piece << columns[i].at;
    }
    endPiece();
    return std::move(pieces);
  }

private:
  // The screen's sample of one column.
  struct Column {
    long double x;
    QPointF at; // when good
    bool good;
    bool joined; // to the column before
  };

  void sampleColumns() {
    CurveJoin join;
    for (std::int32_t c = span.first; c <= span.last; ++c) {
      const long double x = mapping.pixelToX(c);
      long double y = 0.0L;
      const bool good = curve(x, y);
      const bool joined = join.next(!good, good && mapping.inGraphRange(x, y));
      columns.push_back({x, good ? point(c, y) : QPointF(), good, joined});
    }
  }

  // Whether the line from column i - 1 to column i strays from the curve by more than the
  // tolerance, judged by the curve's bend (second difference) at either end: a parabola
  // leaves its chord by an eighth of it. Where no bend can be told, it is taken to stray.
  bool bends(std::size_t i) const {
    const auto bend = [this](std::size_t j) {
      if (j == 0 || j + 1 >= columns.size()) return -1.0;
      const Column& a = columns[j - 1];
      const Column& b = columns[j];
      const Column& c = columns[j + 1];
      if (!a.good || !b.good || !c.good) return -1.0;
      return std::fabs(a.at.y() - 2 * b.at.y() + c.at.y());
    };
    const double before = bend(i - 1);
    const double after = bend(i);
    if (before < 0 && after < 0) return true;
    return std::max(before, after) / 8 > sampling.tolerance;
  }

  QPointF point(long double column, long double y) const {
    const GraphRange& range = mapping.graphRange();
    const long double row = mapping.plotTop() + (range.yMax - y) * mapping.yScale();
    return {bounded(column + sampling.offset), bounded(row + sampling.offset)};
  }

  // The samples between column i - 1 and column i, only when every one of them is good: a
  // sample failing between two good ones is not seen by the screen either, which joins them
  // straight.
  void addBetween(std::size_t i) {
    const long double from = columns[i - 1].x;
    const long double to = columns[i].x;
    const std::int32_t c = span.first + static_cast<std::int32_t>(i) - 1;
    QPolygonF between;
    for (int k = 1; k < sampling.perColumn; ++k) {
      const long double t = static_cast<long double>(k) / sampling.perColumn;
      long double y = 0.0L;
      if (!curve(from + (to - from) * t, y) || !std::isfinite(y)) return;
      between << point(c + t, y);
    }
    piece << between;
  }

  void endPiece() {
    if (piece.size() >= 2) pieces.push_back(std::move(piece));
    piece.clear();
  }

  const GraphMapping& mapping;
  const CurveFunction& curve;
  const CurveSampling& sampling;
  const ColumnSpan span;
  std::vector<Column> columns;
  QPolygonF piece;
  std::vector<QPolygonF> pieces;
};

// Liang-Barsky: the part of the segment inside the rectangle as the parameters [t0, t1].
bool clipSegment(QPointF a, QPointF b, const QRectF& r, double& t0, double& t1) {
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  t0 = 0.0;
  t1 = 1.0;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  return t0 <= t1;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF d = b - a;
  const double length2 = QPointF::dotProduct(d, d);
  const double t =
      length2 == 0.0 ? 0.0 : std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0);
  const QPointF nearest = a + d * t;
  return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

} // namespace

std::vector<QPolygonF> clipPolyline(const QPolygonF& line, const QRectF& bounds) {
  std::vector<QPolygonF> parts;
  QPolygonF part;
  const auto endPart = [&] {
    if (part.size() >= 2) parts.push_back(part);
    part.clear();
  };
  for (qsizetype i = 1; i < line.size(); ++i) {
    const QPointF a = line[i - 1];
    const QPointF b = line[i];
    double t0 = 0.0;
    double t1 = 1.0;
    if (!clipSegment(a, b, bounds, t0, t1)) {
      endPart();
      continue;
    }
    if (t0 > 0.0 || part.isEmpty()) {
      endPart();
      part << a + (b - a) * t0;
    }
    part << a + (b - a) * t1;
    if (t1 < 1.0) endPart();
  }
  endPart();
  return parts;
}

QPolygonF thinPolyline(const QPolygonF& line, double tolerance) {
  if (line.size() <= 2) return line;
  std::vector<bool> keep(line.size(), false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<qsizetype, qsizetype>> spans{{0, line.size() - 1}};
  while (!spans.empty()) {
    const auto [first, last] = spans.back();
    spans.pop_back();
    double farthest = tolerance;
    qsizetype index = -1;
    for (qsizetype i = first + 1; i < last; ++i) {
      const double d = distanceToSegment(line[i], line[first], line[last]);
      if (d > farthest) {
        farthest = d;
        index = i;
      }
    }
    if (index < 0) continue;
    keep[index] = true;
    spans.emplace_back(first, index);
    spans.emplace_back(index, last);
  }
  QPolygonF thin;
  for (qsizetype i = 0; i < line.size(); ++i)
    if (keep[i]) thin << line[i];
  return thin;
}

std::vector<QPolygonF> curvePieces(const GraphMapping& mapping, const CurveFunction& curve,
                                   const QRectF& picture, const CurveSampling& sampling) {
  std::vector<QPolygonF> result;
  for (const QPolygonF& piece : PieceBuilder(mapping, curve, picture, sampling).build())
    for (const QPolygonF& part : clipPolyline(piece, picture)) {
      QPolygonF thin = thinPolyline(part, sampling.tolerance);
      for (QPointF& p : thin)
        p = QPointF(hundredths(p.x()), hundredths(p.y()));
      result.push_back(std::move(thin));
    }
  return result;
}
