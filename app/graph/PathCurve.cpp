#include "PathCurve.h"

#include "Canvas.h"
#include "Evalon.h"
#include "FuncFormula.h"
#include "PathDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

// Evenly spread points at which the range of a curve's y is read.
constexpr int ExtentPoints = 2048;

} // namespace

RunningVariableKeeper::RunningVariableKeeper(TEvalon* evalon, const char* name)
    : evalon(evalon), name(name) {
  if (evalon) kept = evalon->VariableValue(this->name);
}

RunningVariableKeeper::~RunningVariableKeeper() {
  if (evalon && kept) evalon->SetVariable(name, *kept);
}

PathCurve::PathCurve(TFormula& slot, TEvalon* evalon)
    : slot(slot), evalon(evalon), keeper(evalon, runningVariable(slot.Kind)) {}

PathFunction PathCurve::function() {
  if (slot.Kind == CurveKind::XOfY)
    return [this](long double v, long double& x, long double& y) {
      x = slot.Calculate(evalon, v);
      y = v;
      return !slot.Error();
    };
  return [this](long double v, long double& x, long double& y) {
    return slot.CalculatePoint(evalon, v, x, y);
  };
}

// A t range stored the wrong way round runs the other way; one of no width draws nothing. The
// rows of an x = f(y) curve reach one row beyond the plot, as a y = f(x) curve's columns do.
std::pair<long double, long double> PathCurve::runningRange(const GraphMapping& mapping) const {
  if (slot.Kind == CurveKind::XOfY) {
    const GraphRange& range = mapping.graphRange();
    const long double row = 1.0L / mapping.yScale();
    return {range.yMin - row, range.yMax + row};
  }
  return std::minmax(slot.TMin, slot.TMax);
}

SampledPath PathCurve::sample(const GraphMapping& mapping, const QRectF& view) {
  const auto [first, last] = runningRange(mapping);
  if (!(first < last) || !std::isfinite(first) || !std::isfinite(last) || view.isEmpty())
    return {};
  const PathView pixels{view.left(), view.top(), view.right(), view.bottom()};
  SampledPath path = samplePath(mapping, pixels, first, last, function());
  // The slot's error state tells of the curve's end, as a y = f(x) slot's tells of its last
  // column.
  long double x = 0.0L;
  long double y = 0.0L;
  function()(last, x, y);
  return path;
}

// The curve is clipped to the plot, within the reach of a wide pen around the layer.
void PathCurve::draw(Canvas& canvas, const GraphMapping& mapping) {
  const int reach = canvas.pen().width();
  const QRectF layer(-reach, -reach, canvas.size().width() + 2.0 * reach,
                     canvas.size().height() + 2.0 * reach);
  const QRectF plot = plotWithin(mapping, layer);
  drawPaths(canvas, sample(mapping, plot).pieces, plot);
}

VectorCurve PathCurve::pieces(const GraphMapping& mapping, const QRectF& picture,
                              const CurveSampling& sampling) {
  const QRectF plot = plotWithin(mapping, picture.translated(-sampling.offset, -sampling.offset))
                          .translated(sampling.offset, sampling.offset);
  return vectorPaths(sample(mapping, plot).pieces, plot, sampling);
}

std::optional<long double> PathCurve::valueAt(long double) {
  return std::nullopt;
}

std::optional<PlanePoint> PathCurve::pointAt(long double v) {
  PlanePoint point{};
  if (!function()(v, point.x, point.y)) return std::nullopt;
  return point;
}

QString PathCurve::reason() const {
  return evalon ? evalon->ErrorMessage() : QString();
}

// Read at evenly spread values: the fit of the y range is a view to start from, not an
// analysis.
bool PathCurve::yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
                        long double& max) {
  const auto [first, last] = runningRange(mapping);
  if (!(first < last) || !std::isfinite(first) || !std::isfinite(last)) return false;
  const ColumnSpan span = mapping.columnsWithin(0, width - 1);
  if (span.last < span.first) return false;
  const long double left = mapping.pixelToX(span.first);
  const long double right = mapping.pixelToX(span.last);
  bool any = false;
  for (int i = 0; i <= ExtentPoints; ++i) {
    const std::optional<PlanePoint> p = pointAt(first + (last - first) * i / ExtentPoints);
    if (!p || !std::isfinite(p->y) || p->x < left || p->x > right) continue;
    if (!any || p->y > max) max = p->y;
    if (!any || p->y < min) min = p->y;
    any = true;
  }
  return any;
}
