// RelationCurve: the curve of a relation slot, L = R or an inequality between L and R in x
// and y, found over the plot's pixels by the implicit sampler (ImplicitSampler.h). Its
// boundary is drawn in the slot's pen, dashed for < and > (whose boundary is not part of the
// region); an inequality fills its region with a tint of the pen's colour under every curve.
#pragma once

#include "GraphCurve.h"
#include "ImplicitSampler.h"
#include "PathCurve.h"

class TEvalon;
class TFormula;

class RelationCurve : public GraphCurve {
public:
  RelationCurve(TFormula& slot, TEvalon* evalon);

  void draw(Canvas& canvas, const GraphMapping& mapping) override;
  VectorCurve pieces(const GraphMapping& mapping, const QRectF& picture,
                     const CurveSampling& sampling) override;
  std::vector<QPolygonF> fills(const GraphMapping& mapping, const QRectF& picture) override;
  std::optional<long double> valueAt(long double x) override;
  std::optional<PlanePoint> pointAt(long double v) override;
  QString reason() const override;
  bool yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
               long double& max) override;

  enum class Showing { Something, NoValue, Nothing };
  // What shows over the mapping's plot: Nothing for an equation whose sides cross nowhere there
  // (no solution in view, or one where they only touch) and for an inequality that holds
  // nowhere; NoValue when the relation has no value anywhere there (reason() tells why).
  Showing showing(const GraphMapping& mapping);

private:
  ImplicitCurve sample(const GraphMapping& mapping, const QRectF& view, int regionSign);
  // -1 where L < R is wanted, +1 where L > R, 0 for an equation or a text with no relation.
  int regionSign();

  TFormula& slot;
  TEvalon* evalon;
  RunningVariableKeeper keeper; // y may be a parameter of a y = f(x) slot
};
