// The derivative of a function at a point, to about eight digits or better where the function
// is smooth: Ridders' extrapolation of central differences to a step of zero, with its own
// estimate of the error. Where the function is not differentiable (a corner as |x| at 0, an
// infinite slope as sqrt at 0, a jump) or has no value near the point, there is no number but a
// reason.
#pragma once

#include "Refine.h"

enum class DerivativeFailure {
  None,
  NoValue,           // the function has no value at the point or on either side of it
  NotDifferentiable, // the slopes from the left and the right differ, or do not settle
};

struct DerivativeResult {
  double value = 0;
  double error = 0; // an estimate of |value - f'(x)|
  DerivativeFailure failure = DerivativeFailure::None;
  bool ok() const { return failure == DerivativeFailure::None; }
};

// The slope at x, checked from both sides.
DerivativeResult derivative(const SampledFunction& f, double x);
// The slope at x without the check of the sides: what a derivative curve needs at each column,
// where a corner between columns is no matter; still no number where the slope does not settle.
DerivativeResult centralDerivative(const SampledFunction& f, double x);
