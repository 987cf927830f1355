// The notable points of curves over an x range: roots, local minima and maxima, the value at
// x = 0 and the intersections of every pair. Each curve is sampled at least four times per
// pixel column of the plot, and every candidate between samples is refined to full double
// precision; stretches where a curve fails split it, so nothing is reported across them.
#pragma once

#include "Refine.h"

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
};

class CurveAnalysis {
public:
  static constexpr int SamplesPerColumn = 4;

  // The points of the curves (slots in rising order), sorted by slot, then by the second
  // slot (single-curve points first), then by x.
  static std::vector<CurvePoint> points(const std::vector<Curve>& curves,
                                        const AnalysisRange& range);
};
