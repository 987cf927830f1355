// The notable points of curves over an x range: roots, local minima and maxima, the value at
// x = 0 and the intersections of every pair. Each curve is sampled at least four times per
// pixel column of the plot, and every candidate between samples is refined to full double
// precision; stretches where a curve fails split it, so nothing is reported across them. Given
// the picture the curves are drawn in, a curve's roots and turning points are also looked for
// among the points the picture's sampler evaluated, and never across the breaks it found, so
// that near poles, jumps and spikes they agree with what the picture shows.
#pragma once

#include "GraphMapping.h"
#include "Refine.h"

#include <optional>
#include <vector>

enum class PointKind { Root, Minimum, Maximum, YIntercept, Intersection };

struct CurvePoint {
  PointKind kind;
  int slot;
  int otherSlot; // the second curve of an intersection; 0 otherwise
  double x;
  double y;
};

struct Curve {
  int slot;
  SampledFunction f;
};

struct AnalysisRange {
  double xMin;
  double xMax;
  int pixelColumns; // of the plot that shows the range
  // The mapping of that plot, whose columns from its left edge on (pixelColumns of them) the
  // picture's sampler takes; none for a range without a picture.
  std::optional<GraphMapping> picture = std::nullopt;
};

class CurveAnalysis {
public:
  static constexpr int SamplesPerColumn = 4;

  // The points of the curves (slots in rising order), sorted by slot, then by the second
  // slot (single-curve points first), then by x.
  static std::vector<CurvePoint> points(const std::vector<Curve>& curves,
                                        const AnalysisRange& range);
  // Where g crosses or touches zero, from its samples at xs (in rising order): each as the
  // x where it was found and the value of g there.
  static std::vector<std::pair<double, double>> zerosOf(const SampledFunction& g,
                                                        const std::vector<double>& xs);
};
