#include "FunctionCurve.h"

#include "Canvas.h"
#include "CurveDrawing.h"
#include "CurveSampler.h"
#include "Evalon.h"
#include "FuncFormula.h"

#include <cmath>

CurveFunction FunctionCurve::function() {
  return [this](long double x, long double& y) {
    y = slot.Calculate(evalon, x);
    return !slot.Error();
  };
}

// A wide pen reaches into the picture from columns beyond it, so those are drawn too. The
// sampler evaluates between columns after the columns themselves; the last column is
// evaluated again, so that the slot's error state is the last column's, as the graph reports it.
void FunctionCurve::draw(Canvas& canvas, const GraphMapping& mapping) {
  const std::int32_t reach = canvas.pen().width();
  const ColumnSpan span = mapping.columnsWithin(-reach, canvas.size().width() - 1 + reach);
  const SampledCurve curve = sampleCurve(mapping, span, function());
  drawCurve(canvas, mapping, curve);
  if (curve.evaluations > static_cast<std::int64_t>(curve.columns.size()))
    slot.Calculate(evalon, curve.columns.back().x);
}

VectorCurve FunctionCurve::pieces(const GraphMapping& mapping, const QRectF& picture,
                                  const CurveSampling& sampling) {
  return curvePieces(mapping, function(), picture, sampling);
}

std::optional<long double> FunctionCurve::valueAt(long double x) {
  const long double y = slot.Calculate(evalon, x);
  if (slot.Error()) return std::nullopt;
  return y;
}

std::optional<PlanePoint> FunctionCurve::pointAt(long double v) {
  const std::optional<long double> y = valueAt(v);
  if (!y) return std::nullopt;
  return PlanePoint{v, *y};
}

QString FunctionCurve::reason() const {
  return evalon ? evalon->ErrorMessage() : QString();
}

// Samples that are not finite take no part: they bound nothing.
bool FunctionCurve::yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
                            long double& max) {
  const ColumnSpan span = mapping.columnsWithin(0, width - 1);
  bool any = false;
  for (std::int32_t c = span.first; c <= span.last; ++c) {
    const long double y = slot.Calculate(evalon, mapping.pixelToX(c));
    if (!std::isfinite(y)) continue;
    if (!any || y > max) max = y;
    if (!any || y < min) min = y;
    any = true;
  }
  return any;
}
