#include "Derivative.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Ridders' tableau: each step shrinks by Shrink, at most Steps steps, and stops once the
// extrapolation grows worse by Safe times the best error seen.
constexpr double Shrink = 1.4;
constexpr int Steps = 12;
constexpr double Safe = 2.0;
// A slope whose estimated error is above this share of its size has not settled.
constexpr double Settled = 1e-7;
// One-sided slopes that differ by more than this share do not meet.
constexpr double SidesMeet = 1e-5;

// A difference quotient at step h; nothing where the function fails.
using Quotient = std::optional<double> (*)(const SampledFunction&, double x, double h);

std::optional<double> central(const SampledFunction& f, double x, double h) {
  const auto right = f(x + h);
  const auto left = f(x - h);
  if (!right || !left) return std::nullopt;
  return (*right - *left) / (2 * h);
}

// The one-sided quotients reach back to x itself: their error shrinks with h, not h².
std::optional<double> forward(const SampledFunction& f, double x, double h) {
  const auto here = f(x);
  const auto there = f(x + h);
  if (!here || !there) return std::nullopt;
  return (*there - *here) / h;
}

std::optional<double> backward(const SampledFunction& f, double x, double h) {
  return forward(f, x, -h);
}

// The extrapolated limit of the quotients as h goes to zero; `order` is the power of h in their
// leading error (2 central, 1 one-sided).
DerivativeResult ridders(const SampledFunction& f, double x, double h, Quotient quotient,
                         int order) {
  const double factor = std::pow(Shrink, order);
  std::array<std::array<double, Steps>, Steps> table{};
  DerivativeResult best{0, std::numeric_limits<double>::infinity(), DerivativeFailure::NoValue};
  for (int i = 0; i < Steps; ++i, h /= Shrink) {
    const auto q = quotient(f, x, h);
    if (!q || !std::isfinite(*q)) return best;
    table[0][i] = *q;
    double scale = factor;
    for (int j = 1; j <= i; ++j, scale *= factor) {
      table[j][i] = (table[j - 1][i] * scale - table[j - 1][i - 1]) / (scale - 1);
      const double error = std::max(std::fabs(table[j][i] - table[j - 1][i]),
                                    std::fabs(table[j][i] - table[j - 1][i - 1]));
      if (error <= best.error) best = {table[j][i], error, DerivativeFailure::None};
    }
    if (i > 0 && std::fabs(table[i][i] - table[i - 1][i - 1]) >= Safe * best.error) break;
  }
  return best;
}

bool settled(const DerivativeResult& d) {
  return d.ok() && d.error <= Settled * std::max(1.0, std::fabs(d.value));
}

// The first step at which both quotients of a central difference have values, from a tenth of
// the point's scale down: near a domain edge the step shrinks until it fits.
double firstStep(const SampledFunction& f, double x) {
  const double scale = std::max(1.0, std::fabs(x));
  for (double h = 0.1 * scale; h > 1e-9 * scale; h /= 10)
    if (f(x + h) && f(x - h)) return h;
  return 0;
}

// Of two starting steps the one whose extrapolation claims the smaller error: a large step
// suits slow functions, a small one fast ones.
DerivativeResult bestOf(const SampledFunction& f, double x, double h, Quotient quotient,
                        int order) {
  const DerivativeResult wide = ridders(f, x, h, quotient, order);
  const DerivativeResult narrow = ridders(f, x, h / 100, quotient, order);
  return narrow.ok() && (!wide.ok() || narrow.error < wide.error) ? narrow : wide;
}

} // namespace

DerivativeResult centralDerivative(const SampledFunction& f, double x) {
  const auto here = f(x);
  if (!here || !std::isfinite(*here)) return {0, 0, DerivativeFailure::NoValue};
  const double h = firstStep(f, x);
  if (h == 0) return {0, 0, DerivativeFailure::NotDifferentiable};
  DerivativeResult d = bestOf(f, x, h, central, 2);
  if (d.ok() && !settled(d)) d.failure = DerivativeFailure::NotDifferentiable;
  return d;
}

// A corner has a central slope that settles (|x| gives 0 at 0), so the two sides are asked too.
DerivativeResult derivative(const SampledFunction& f, double x) {
  DerivativeResult d = centralDerivative(f, x);
  if (!d.ok()) return d;
  const double h = firstStep(f, x);
  const DerivativeResult right = bestOf(f, x, h, forward, 1);
  const DerivativeResult left = bestOf(f, x, h, backward, 1);
  const double size = std::max(1.0, std::fabs(d.value));
  if (!right.ok() || !left.ok() || std::fabs(right.value - d.value) > SidesMeet * size ||
      std::fabs(left.value - d.value) > SidesMeet * size)
    d.failure = DerivativeFailure::NotDifferentiable;
  return d;
}
