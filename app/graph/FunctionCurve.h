// FunctionCurve: the curve of a slot that holds y = f(x): one sample per plot column, joined
// as CurveJoin tells, and polylines with more samples where the curve bends.
#pragma once

#include "GraphCurve.h"

class TEvalon;
class TFormula;

class FunctionCurve : public GraphCurve {
public:
  FunctionCurve(TFormula& slot, TEvalon* evalon) : slot(slot), evalon(evalon) {}

  void draw(Canvas& canvas, const GraphMapping& mapping) override;
  std::vector<QPolygonF> pieces(const GraphMapping& mapping, const QRectF& picture,
                                const CurveSampling& sampling) override;
  std::optional<long double> valueAt(long double x) override;
  QString reason() const override;
  bool yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
               long double& max) override;

private:
  TFormula& slot;
  TEvalon* evalon;
};
