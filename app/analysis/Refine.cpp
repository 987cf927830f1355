#include "Refine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxSteps = 200;
constexpr double Epsilon = std::numeric_limits<double>::epsilon();

bool sameSign(double u, double v) {
  return (u > 0 && v > 0) || (u < 0 && v < 0);
}

// The step Brent's method takes by interpolation, or nothing when it should bisect instead.
// a is the previous iterate, c the far end of the bracket, m half the bracket from b.
std::optional<double> interpolatedStep(double a, double fa, double b, double fb, double c,
                                       double fc, double m, double tol, double e) {
  if (std::abs(e) < tol || std::abs(fa) <= std::abs(fb)) return std::nullopt;
  const double s = fb / fa;
  double p;
  double q;
  if (a == c) { // secant
    p = 2 * m * s;
    q = 1 - s;
  } else { // inverse quadratic
    const double qa = fa / fc;
    const double r = fb / fc;
    p = s * (2 * m * qa * (qa - r) - (b - a) * (r - 1));
    q = (qa - 1) * (r - 1) * (s - 1);
  }
  if (p > 0)
    q = -q;
  else
    p = -p;
  // Comparisons with NaN fail, so overflowing values near a pole bisect too.
  if (2 * p < std::min(3 * m * q - std::abs(tol * q), std::abs(e * q))) return p / q;
  return std::nullopt;
}

} // namespace

double Bracket::x() const {
  return std::abs(fa) <= std::abs(fb) ? a : b;
}

double Bracket::y() const {
  return std::abs(fa) <= std::abs(fb) ? fa : fb;
}

std::optional<Bracket> refineRoot(const SampledFunction& f, double a, double fa, double b,
                                  double fb) {
  double c = b;
  double fc = fb;
  double d = b - a;
  double e = d;
  for (int step = 0; step < MaxSteps; ++step) {
    if (sameSign(fb, fc)) {
      c = a;
      fc = fa;
      d = e = b - a;
    }
    if (std::abs(fc) < std::abs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol = Epsilon * std::abs(b) + std::numeric_limits<double>::min();
    const double m = (c - b) / 2;
    if (std::abs(m) <= tol || fb == 0) break;
    if (const std::optional<double> p = interpolatedStep(a, fa, b, fb, c, fc, m, tol, e)) {
      e = d;
      d = *p;
    } else {
      d = e = m;
    }
    a = b;
    fa = fb;
    b += std::abs(d) > tol ? d : (m > 0 ? tol : -tol);
    const std::optional<double> value = f(b);
    if (!value) return std::nullopt;
    fb = *value;
  }
  return Bracket{b, fb, c, fc};
}

std::optional<Turn> refineTurn(const SampledFunction& f, double a, double b, bool maximum) {
  // The difference step: small against the bracket, yet wide enough that the slope near the
  // turn outweighs the rounding of the values.
  const double width = b - a;
  const auto delta = [width](double x) {
    return std::min(width / 8, 1e-6 * std::max(1.0, std::abs(x)));
  };
  double lo = a;
  double hi = b;
  for (int step = 0; step < MaxSteps; ++step) {
    const double m = lo + (hi - lo) / 2;
    if (hi - lo <= 4 * Epsilon * std::max(1.0, std::abs(m)) || m <= lo || m >= hi) break;
    const std::optional<double> right = f(m + delta(m));
    const std::optional<double> left = f(m - delta(m));
    if (!right || !left) return std::nullopt;
    const double slope = *right - *left;
    if (slope == 0) {
      lo = hi = m;
      break;
    }
    if ((slope > 0) == maximum)
      lo = m;
    else
      hi = m;
  }
  // A slope of one sign all the way to an end of the bracket: the samples' turn was a pole or
  // a jump there.
  if (lo == a || hi == b) return std::nullopt;
  const double x = lo + (hi - lo) / 2;
  const std::optional<double> y = f(x);
  const std::optional<double> right = f(x + delta(x));
  const std::optional<double> left = f(x - delta(x));
  if (!y || !right || !left) return std::nullopt;
  return Turn{x, *y, std::abs(*right - *left)};
}
