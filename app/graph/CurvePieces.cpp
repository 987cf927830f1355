#include "CurvePieces.h"

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

class PieceBuilder {
public:
  PieceBuilder(const GraphMapping& mapping, const CurveFunction& curve, const QRectF& picture,
               const CurveSampling& sampling)
      : mapping(mapping), curve(curve), sampling(sampling),
        sampled(sampleCurve(
            mapping,
            mapping.columnsWithin(static_cast<std::int32_t>(std::floor(picture.left())),
                                  static_cast<std::int32_t>(std::ceil(picture.right()))),
            curve)) {}

  std::vector<QPolygonF> lines() {
    std::vector<QPolygonF> pieces;
    for (const CurvePiece& piece : sampled.pieces) {
      QPolygonF line;
      for (std::size_t k = piece.first; k < piece.last; ++k) {
        const CurveVertex& v = sampled.vertices[k];
        if (k > piece.first && betweenColumns(sampled.vertices[k - 1], v))
          addBetween(line, columnIndex(v));
        line << point(v.column, v.y);
      }
      if (line.size() == 1) line << line.front(); // a closed piece of one point is a dot
      pieces.push_back(std::move(line));
    }
    return pieces;
  }

  // Runs of neighbouring band columns, each as one shape.
  std::vector<QPolygonF> bands() const {
    std::vector<QPolygonF> shapes;
    const std::vector<CurveBand>& all = sampled.bands;
    for (std::size_t first = 0; first < all.size();) {
      std::size_t last = first + 1;
      while (last < all.size() && all[last].column == all[last - 1].column + 1)
        ++last;
      QPolygonF shape;
      for (std::size_t k = first; k < last; ++k)
        shape << point(all[k].column, heldInPlot(all[k].high));
      for (std::size_t k = last; k-- > first;)
        shape << point(all[k].column, heldInPlot(all[k].low));
      shapes.push_back(std::move(shape));
      first = last;
    }
    return shapes;
  }

private:
  std::size_t columnIndex(const CurveVertex& v) const {
    return static_cast<std::size_t>(v.column - sampled.firstColumn);
  }

  // Two samples of neighbouring columns with nothing found between them.
  bool betweenColumns(const CurveVertex& a, const CurveVertex& b) const {
    return a.sample && b.sample && b.column == a.column + 1;
  }

  long double heldInPlot(long double y) const {
    const GraphRange& range = mapping.graphRange();
    return std::clamp(y, std::min(range.yMin, range.yMax), std::max(range.yMin, range.yMax));
  }

  long double row(std::size_t i) const { return mapping.yToRow(sampled.columns[i].y); }

  // Whether the line from column i - 1 to column i strays from the curve by more than the
  // tolerance, judged by the curve's bend (second difference) at either end: a parabola
  // leaves its chord by an eighth of it. Where no bend can be told, it is taken to stray.
  bool bends(std::size_t i) const {
    const auto bend = [this](std::size_t j) {
      const std::vector<CurveSample>& columns = sampled.columns;
      if (j == 0 || j + 1 >= columns.size()) return -1.0;
      if (!columns[j - 1].good || !columns[j].good || !columns[j + 1].good) return -1.0;
      return std::fabs(bounded(row(j - 1)) - 2 * bounded(row(j)) + bounded(row(j + 1)));
    };
    const double before = bend(i - 1);
    const double after = bend(i);
    if (before < 0 && after < 0) return true;
    return std::max(before, after) / 8 > sampling.tolerance;
  }

  QPointF point(long double column, long double y) const {
    return {bounded(column + sampling.offset), bounded(mapping.yToRow(y) + sampling.offset)};
  }

  // The samples between column i - 1 and column i, only when every one of them is good: a
  // sample failing between two good ones is not seen by the screen either, which joins them
  // straight.
  void addBetween(QPolygonF& line, std::size_t i) const {
    if (!bends(i)) return;
    const long double from = sampled.columns[i - 1].x;
    const long double to = sampled.columns[i].x;
    const long double c = sampled.firstColumn + static_cast<long double>(i) - 1;
    QPolygonF between;
    for (int k = 1; k < sampling.perColumn; ++k) {
      const long double t = static_cast<long double>(k) / sampling.perColumn;
      long double y = 0.0L;
      if (!curve(from + (to - from) * t, y) || !std::isfinite(y)) return;
      between << point(c + t, y);
    }
    line << between;
  }

  const GraphMapping& mapping;
  const CurveFunction& curve;
  const CurveSampling& sampling;
  const SampledCurve sampled;
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

double hundredths(double v) {
  return std::round(v * 100.0) / 100.0;
}

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

VectorCurve curvePieces(const GraphMapping& mapping, const CurveFunction& curve,
                        const QRectF& picture, const CurveSampling& sampling) {
  VectorCurve result;
  PieceBuilder builder(mapping, curve, picture, sampling);
  for (const QPolygonF& piece : builder.lines())
    for (const QPolygonF& part : clipPolyline(piece, picture)) {
      QPolygonF thin = thinPolyline(part, sampling.tolerance);
      for (QPointF& p : thin)
        p = QPointF(hundredths(p.x()), hundredths(p.y()));
      result.lines.push_back(std::move(thin));
    }
  for (QPolygonF shape : builder.bands()) {
    for (QPointF& p : shape)
      p = QPointF(hundredths(std::clamp(p.x(), picture.left(), picture.right())),
                  hundredths(std::clamp(p.y(), picture.top(), picture.bottom())));
    result.bands.push_back(std::move(shape));
  }
  return result;
}
