// PathCurve: the curve of a parametric, polar or x = f(y) slot, sampled over the value it runs
// over (t, or y) by the path sampler (PathSampler.h). Parametric and polar curves run over
// the slot's t range; x = f(y) curves over the rows of the plot.
#pragma once

#include "GraphCurve.h"
#include "PathSampler.h"

#include <QByteArray>

class TEvalon;
class TFormula;

// The engine variable a curve runs over may also be a parameter of another slot (t or y in a
// y = f(x) formula): it is given back its value once the curve is done with it.
class RunningVariableKeeper {
public:
  RunningVariableKeeper(TEvalon* evalon, const char* name);
  ~RunningVariableKeeper();
  RunningVariableKeeper(const RunningVariableKeeper&) = delete;
  RunningVariableKeeper& operator=(const RunningVariableKeeper&) = delete;

private:
  TEvalon* evalon;
  QByteArray name;
  std::optional<double> kept;
};

class PathCurve : public GraphCurve {
public:
  PathCurve(TFormula& slot, TEvalon* evalon);

  void draw(Canvas& canvas, const GraphMapping& mapping) override;
  VectorCurve pieces(const GraphMapping& mapping, const QRectF& picture,
                     const CurveSampling& sampling) override;
  std::optional<long double> valueAt(long double x) override;
  std::optional<PlanePoint> pointAt(long double v) override;
  QString reason() const override;
  bool yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
               long double& max) override;

  // The values the curve runs over on the mapping: the t range, or the plot's rows' y.
  std::pair<long double, long double> runningRange(const GraphMapping& mapping) const;

private:
  PathFunction function();
  SampledPath sample(const GraphMapping& mapping, const QRectF& view);

  TFormula& slot;
  TEvalon* evalon;
  RunningVariableKeeper keeper;
};
