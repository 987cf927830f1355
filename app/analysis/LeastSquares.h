// Least-squares fits of a model y = f(x; p1..pk) to points, through a plain callable: the
// program binds it to a formula slot whose parameters are engine variables, the tests to C++
// lambdas. A model that is linear in its parameters (a*x+b, a*x^2+b*x+c, a*sin(x)+b) is found
// by probing it and solved exactly by a QR factorization; any other is fitted by
// Levenberg-Marquardt from the start values.
//
// Failures are results with a status, never exceptions: too few points, a model that cannot be
// computed at the start, no convergence within the budget. fitStatusText gives the message.
#pragma once

#include <functional>
#include <limits>
#include <span>
#include <vector>

// Writes the model's value at every x[i] into y[i] (x and y have the same size) for the
// parameters p. A value that cannot be computed is written as NaN (any non-finite value counts
// so). Called once per parameter vector, so that a binding sets its parameter variables once and
// then runs over the points.
using FitModel =
    std::function<void(std::span<const double> p, std::span<const double> x, std::span<double> y)>;

// A model of one point at a time.
FitModel pointwiseModel(std::function<double(double x, std::span<const double> p)> f);

enum class FitStatus {
  Converged,
  NoParameters,  // nothing to fit
  TooFewPoints,  // fewer points than parameters
  StartFailed,   // the model has no value at some point for the start values
  NoConvergence, // the iteration budget ran out
  StepFailed,    // the model has no value near the current values, so no slope can be found
};

struct FitOptions {
  // Levenberg-Marquardt iterations, each with one Jacobian (2k model calls) and the trial steps
  // it takes.
  int maxIterations = 200;
  // Done when a step changes the scaled parameters by at most this, relatively ...
  double stepTolerance = 1e-10;
  // ... or when the sum of squares falls, and was predicted to fall, by at most this relatively.
  double ssrTolerance = 1e-14;
  // Whether a model linear in its parameters is solved in closed form.
  bool detectLinear = true;
};

struct FitResult {
  FitStatus status = FitStatus::Converged;
  // The best values when the fit converged; otherwise the start values (a fit that fails
  // moves no slider). lastValues holds where the iterations stopped.
  std::vector<double> values;
  std::vector<double> lastValues;
  // sqrt(s^2 (J^T J)^-1_ii); infinite where the points do not determine the parameter; NaN
  // without degrees of freedom (as many points as parameters).
  std::vector<double> standardErrors;
  double ssr = std::numeric_limits<double>::quiet_NaN();        // sum of squared residuals
  double sst = std::numeric_limits<double>::quiet_NaN();        // sum of squares about the mean y
  double rSquared = std::numeric_limits<double>::quiet_NaN();   // 1 - SSR/SST
  double residualSd = std::numeric_limits<double>::quiet_NaN(); // s = sqrt(SSR/(n - p))
  bool linear = false;                                          // solved in closed form
  int iterations = 0;
  int evaluations = 0; // calls of the model

  bool ok() const { return status == FitStatus::Converged; }
};

// The least-squares values of the parameters for the points (x[i], y[i]), starting from start
// (whose size is the number of parameters). The points must be finite.
FitResult fitLeastSquares(const FitModel& model, std::span<const double> x,
                          std::span<const double> y, std::span<const double> start,
                          const FitOptions& options = {});

// Whether f(x; p) = f(x; 0) + sum p_i (f(x; e_i) - f(x; 0)) holds to rounding at every x for the
// start values and two other parameter vectors: a model linear in its parameters.
bool isLinearInParameters(const FitModel& model, std::span<const double> x,
                          std::span<const double> start);

// The status in the program's words (UTF-8), for the message the window shows; empty for
// Converged.
const char* fitStatusText(FitStatus status);
