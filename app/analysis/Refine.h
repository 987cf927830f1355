// The two refinements of a candidate found between samples: a root inside a sign change
// (Brent's method) and a turning point inside a bracket where the slope changes sign
// (bisection on the sign of a central difference). Both keep a bracket and report its ends,
// so that the caller can tell a crossing from a jump or a pole.
#pragma once

#include <functional>
#include <optional>

// A function of x; nothing where it has no finite value.
using SampledFunction = std::function<std::optional<double>(double)>;

struct Bracket {
  double a;
  double fa;
  double b;
  double fb;
  // The end with the smaller |f|: the refined point.
  double x() const;
  double y() const;
};

// The bracket of a sign change of f shrunk by Brent's method to a few ulps (or 200 steps);
// fa and fb have opposite signs or one is zero. Nothing when f fails inside.
std::optional<Bracket> refineRoot(const SampledFunction& f, double a, double fa, double b,
                                  double fb);

struct Turn {
  double x;
  double y;
  // |f| between the two points of the last central difference about x: next to nothing at a
  // true turn, the height of the step where the bisection ran into a jump.
  double step;
};

// The turning point of f in [a, b], where f rises at a and falls at b (maximum) or the
// reverse (minimum): bisection on the sign of the slope, taken as a central difference, to
// about 1e-15 * max(1, |x|). Near a flat top the values differ only in their last digits while
// the slope still has a clear sign, so this finds the position far closer than comparing
// values can. Nothing when f fails inside or the slope keeps one sign up to an end.
std::optional<Turn> refineTurn(const SampledFunction& f, double a, double b, bool maximum);
