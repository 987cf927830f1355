#include "RelationCurve.h"

#include "Canvas.h"
#include "Evalon.h"
#include "FuncFormula.h"
#include "PathDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

// The plot's pixels within the rectangle, as whole pixels.
ImplicitView pixelsOf(const GraphMapping& mapping, const QRectF& view) {
  const auto within = [](long double v, double low, double high) {
    return static_cast<std::int32_t>(std::clamp<long double>(v, std::ceil(low), std::floor(high)));
  };
  return {within(mapping.plotLeft(), view.left(), view.right()),
          within(mapping.plotTop(), view.top(), view.bottom()),
          within(mapping.plotLeft() + mapping.plotWidth(), view.left(), view.right()),
          within(mapping.plotTop() + mapping.plotHeight(), view.top(), view.bottom())};
}

} // namespace

RelationCurve::RelationCurve(TFormula& slot, TEvalon* evalon)
    : slot(slot), evalon(evalon), keeper(evalon, "y") {}

int RelationCurve::regionSign() {
  const std::optional<Relation>& relation = slot.RelationOf();
  if (!relation || !relation->isInequality()) return 0;
  return relation->sign == RelationSign::Less || relation->sign == RelationSign::LessOrEqual ? -1
                                                                                             : 1;
}

ImplicitCurve RelationCurve::sample(const GraphMapping& mapping, const QRectF& view,
                                    int regionSign) {
  long double value = 0;
  if (!slot.RelationOf()) {
    slot.CalculateRelation(evalon, 0, 0, value); // marks the slot failed
    return {};
  }
  const PlaneFunction f = [this](long double x, long double y, long double& value) {
    return slot.CalculateRelation(evalon, x, y, value);
  };
  ImplicitCurve curve = sampleImplicit(mapping, pixelsOf(mapping, view), f, regionSign);
  // The slot's error state tells whether the relation had a value anywhere, as the graph
  // reports it: evaluated again where it last had one.
  const PathPoint at = curve.lastGood.value_or(PathPoint{0, 0});
  slot.CalculateRelation(evalon, mapping.columnToX(at.column), mapping.rowToY(at.row), value);
  return curve;
}

// The boundary of < and > is not part of the region: it is dashed, as a one-pixel pen draws
// dashes.
void RelationCurve::draw(Canvas& canvas, const GraphMapping& mapping) {
  const std::optional<Relation>& relation = slot.RelationOf();
  if (relation && !relation->includesBoundary()) {
    QPen pen = canvas.pen();
    pen.setStyle(Qt::DashLine);
    canvas.setPen(pen);
  }
  const int reach = canvas.pen().width();
  const QRectF layer(-reach, -reach, canvas.size().width() + 2.0 * reach,
                     canvas.size().height() + 2.0 * reach);
  drawPaths(canvas, sample(mapping, layer, 0).lines, plotWithin(mapping, layer));
}

VectorCurve RelationCurve::pieces(const GraphMapping& mapping, const QRectF& picture,
                                  const CurveSampling& sampling) {
  const QRectF view = picture.translated(-sampling.offset, -sampling.offset);
  return vectorPaths(sample(mapping, view, 0).lines, picture, sampling);
}

// The fill's pixel corners are pixel centres, so that a cell covers the pixels between them.
std::vector<QPolygonF> RelationCurve::fills(const GraphMapping& mapping, const QRectF& picture) {
  const int sign = regionSign();
  if (sign == 0) return {};
  std::vector<QPolygonF> polygons;
  for (const std::vector<PathPoint>& region : sample(mapping, picture, sign).regions) {
    QPolygonF polygon;
    for (const PathPoint& p : region)
      polygon << pictureOf(p, 0.5);
    polygons.push_back(std::move(polygon));
  }
  return polygons;
}

std::optional<long double> RelationCurve::valueAt(long double) {
  return std::nullopt;
}

std::optional<PlanePoint> RelationCurve::pointAt(long double) {
  return std::nullopt;
}

QString RelationCurve::reason() const {
  return evalon ? evalon->ErrorMessage() : QString();
}

bool RelationCurve::yExtent(const GraphMapping&, std::int32_t, long double&, long double&) {
  return false;
}

RelationCurve::Showing RelationCurve::showing(const GraphMapping& mapping) {
  const QRectF plot(mapping.plotLeft(), mapping.plotTop(), double(mapping.plotWidth()),
                    double(mapping.plotHeight()));
  const ImplicitCurve curve = sample(mapping, plot, regionSign());
  if (!curve.lines.empty() || !curve.regions.empty()) return Showing::Something;
  return curve.lastGood ? Showing::Nothing : Showing::NoValue;
}
