// The definite integral of a function from a to b, to a relative error of about 1e-12 where
// the function allows: adaptive Gauss–Kronrod quadrature (7 and 15 points) that always halves
// the interval with the largest error, with the error estimate of the classic quadrature
// packages, which is pessimistic by design so that it bounds the true error. Infinite bounds
// are mapped onto finite ones; singularities at the ends that are integrable are approached by
// halving. Where the function has no value inside, or the halving does not converge within its
// budget (a singularity that cannot be integrated, as 1/x across 0), there is no number.
#pragma once

#include "Refine.h"

enum class IntegralFailure {
  None,
  NoValue,       // the function has no finite value at `where`
  NoConvergence, // the error stayed above the aim when the budget ran out
};

struct IntegralResult {
  double value = 0;
  double error = 0; // a bound of |value - integral|
  IntegralFailure failure = IntegralFailure::None;
  double where = 0; // where the function failed
  int evaluations = 0;
  bool ok() const { return failure == IntegralFailure::None; }
};

struct IntegralAim {
  double relative = 1e-12;
  double absolute = 1e-300;
  int intervals = 2000; // the budget: 15 evaluations each
};

// a and b may be infinite; b < a gives the negative of the integral from b to a.
IntegralResult integral(const SampledFunction& f, double a, double b, const IntegralAim& aim = {});
