#include "Integral.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The 15 Kronrod nodes on [-1, 1] (the positive half, the centre last) and their weights; the
// 7-point Gauss rule uses every second node.
constexpr double Nodes[8] = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.000000000000000000000000000000000};
constexpr double KronrodWeights[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr double GaussWeights[4] = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

constexpr double Epsilon = std::numeric_limits<double>::epsilon();

struct Piece {
  double a, b;
  double value, error;
  double magnitude; // the integral of |f|, which bounds what rounding leaves of any sum
  bool operator<(const Piece& other) const { return error < other.error; }
};

// The integrand on the finite variable t, and where a t lies in x.
class Mapped {
public:
  Mapped(const SampledFunction& f, double a, double b) : f(f), a(a), b(b) {}

  // One bound infinite (the caller splits a line at 0): x = a + t / (1 - t) on [0, 1), or its
  // mirror x = b + t / (1 + t) on (-1, 0]; none: x = t.
  double lower() const { return std::isinf(a) ? -1 : std::isinf(b) ? 0 : a; }
  double upper() const { return std::isinf(b) ? 1 : std::isinf(a) ? 0 : b; }

  double x(double t) const {
    if (std::isinf(b)) return a + t / (1 - t);
    if (std::isinf(a)) return b + t / (1 + t);
    return t;
  }

  double weight(double t) const {
    if (std::isinf(b)) return 1 / ((1 - t) * (1 - t));
    if (std::isinf(a)) return 1 / ((1 + t) * (1 + t));
    return 1;
  }

  // The integrand at t; nothing where f fails, and then `failedAt` says where.
  std::optional<double> operator()(double t) {
    ++evaluations;
    const double at = x(t);
    const double w = weight(t);
    const auto y = f(at);
    if (!y || !std::isfinite(*y)) {
      failedAt = at;
      return std::nullopt;
    }
    // Far out on an infinite bound the weight overflows where f has long gone to zero.
    return *y == 0 ? 0 : *y * w;
  }

  int evaluations = 0;
  double failedAt = 0;

private:
  const SampledFunction& f;
  double a, b;
};

// One Gauss–Kronrod step on [a, b], with the error estimate of the classic packages.
std::optional<Piece> kronrod(Mapped& g, double a, double b) {
  const double centre = (a + b) / 2;
  const double half = (b - a) / 2;
  const auto fc = g(centre);
  if (!fc) return std::nullopt;
  double kronrod = *fc * KronrodWeights[7];
  double gauss = *fc * GaussWeights[3];
  double absolute = std::fabs(kronrod);
  double values[15];
  values[7] = *fc;
  for (int i = 0; i < 7; ++i) {
    const auto left = g(centre - half * Nodes[i]);
    const auto right = g(centre + half * Nodes[i]);
    if (!left || !right) return std::nullopt;
    values[i] = *left;
    values[14 - i] = *right;
    kronrod += KronrodWeights[i] * (*left + *right);
    absolute += KronrodWeights[i] * (std::fabs(*left) + std::fabs(*right));
    if (i % 2 == 1) gauss += GaussWeights[i / 2] * (*left + *right);
  }
  const double mean = kronrod / 2;
  double spread = KronrodWeights[7] * std::fabs(*fc - mean);
  for (int i = 0; i < 7; ++i)
    spread += KronrodWeights[i] * (std::fabs(values[i] - mean) + std::fabs(values[14 - i] - mean));
  spread *= std::fabs(half);
  absolute *= std::fabs(half);
  double error = std::fabs((kronrod - gauss) * half);
  if (spread != 0 && error != 0) error = spread * std::min(1.0, std::pow(200 * error / spread, 1.5));
  if (absolute > std::numeric_limits<double>::min() / (50 * Epsilon))
    error = std::max(error, 50 * Epsilon * absolute);
  return Piece{a, b, kronrod * half, error, absolute};
}

} // namespace

// The pieces form a heap on their errors; the running sums are summed again from the pieces
// before they are trusted, so that no drift of the updates decides the end.
IntegralResult integral(const SampledFunction& f, double a, double b, const IntegralAim& aim) {
  if (a == b) return {};
  if (std::isnan(a) || std::isnan(b)) return {0, 0, IntegralFailure::NoValue, a};
  if (b < a) {
    IntegralResult reversed = integral(f, b, a, aim);
    reversed.value = -reversed.value;
    return reversed;
  }
  // The whole line is two halves: a mapping symmetric about 0 would cancel an odd integrand
  // (sin) that has no integral at all.
  if (std::isinf(a) && std::isinf(b)) {
    const IntegralResult left = integral(f, a, 0, aim);
    if (!left.ok()) return left;
    IntegralResult right = integral(f, 0, b, aim);
    right.evaluations += left.evaluations;
    if (!right.ok()) return right;
    right.value += left.value;
    right.error += left.error;
    return right;
  }
  Mapped g(f, a, b);
  // A value that fails only out where x overflows belongs to an integral that diverges.
  const auto fail = [&g](IntegralFailure failure) {
    if (failure == IntegralFailure::NoValue && std::isinf(g.failedAt))
      failure = IntegralFailure::NoConvergence;
    return IntegralResult{0, 0, failure, g.failedAt, g.evaluations};
  };
  std::vector<Piece> pieces;
  const auto whole = kronrod(g, g.lower(), g.upper());
  if (!whole) return fail(IntegralFailure::NoValue);
  pieces.push_back(*whole);
  double value = whole->value;
  double error = whole->error;
  // Where the integrand cancels itself (many oscillations), rounding of the sums of |f| sets a
  // floor no refinement goes below; that floor is aim enough.
  double magnitude = whole->magnitude;
  const auto aimed = [&] {
    return std::max({aim.absolute, aim.relative * std::fabs(value), 100 * Epsilon * magnitude});
  };
  while (true) {
    if (error <= aimed()) {
      value = error = magnitude = 0;
      for (const Piece& piece : pieces) {
        value += piece.value;
        error += piece.error;
        magnitude += piece.magnitude;
      }
      if (error <= aimed()) return {value, error, IntegralFailure::None, 0, g.evaluations};
    }
    if (static_cast<int>(pieces.size()) >= aim.intervals) return fail(IntegralFailure::NoConvergence);
    std::pop_heap(pieces.begin(), pieces.end());
    const Piece worst = pieces.back();
    pieces.pop_back();
    const double middle = worst.a / 2 + worst.b / 2;
    // An interval that no longer halves in doubles cannot be refined.
    if (!(middle > worst.a && middle < worst.b)) return fail(IntegralFailure::NoConvergence);
    const auto left = kronrod(g, worst.a, middle);
    const auto right = kronrod(g, middle, worst.b);
    if (!left || !right) return fail(IntegralFailure::NoValue);
    for (const Piece& piece : {*left, *right}) {
      pieces.push_back(piece);
      std::push_heap(pieces.begin(), pieces.end());
    }
    value += left->value + right->value - worst.value;
    error += left->error + right->error - worst.error;
    magnitude += left->magnitude + right->magnitude - worst.magnitude;
  }
}
