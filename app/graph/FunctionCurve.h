// FunctionCurve: the curve of a slot that holds y = f(x), drawn and cut into pieces as the
// sampler (CurveSampler.h) finds it on the columns.
#pragma once

#include "GraphCurve.h"

class TEvalon;
class TFormula;

class FunctionCurve : public GraphCurve {
public:
  FunctionCurve(TFormula& slot, TEvalon* evalon) : slot(slot), evalon(evalon) {}

  void draw(Canvas& canvas, const GraphMapping& mapping) override;
  VectorCurve pieces(const GraphMapping& mapping, const QRectF& picture,
                     const CurveSampling& sampling) override;
  std::optional<long double> valueAt(long double x) override;
  std::optional<PlanePoint> pointAt(long double v) override;
  QString reason() const override;
  bool yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
               long double& max) override;

private:
  // The slot's value through the binding, as the sampler evaluates it.
  CurveFunction function();

  TFormula& slot;
  TEvalon* evalon;
};
