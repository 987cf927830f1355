#include "QrLeastSquares.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Eps = std::numeric_limits<double>::epsilon();
constexpr double Inf = std::numeric_limits<double>::infinity();

} // namespace

double euclideanNorm(const double* v, std::size_t n) {
  double largest = 0;
  for (std::size_t i = 0; i < n; ++i)
    largest = std::max(largest, std::abs(v[i]));
  if (largest == 0 || !std::isfinite(largest)) return largest;
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double scaled = v[i] / largest;
    sum += scaled * scaled;
  }
  return largest * std::sqrt(sum);
}

LeastSquaresSolution solveLeastSquares(DenseMatrix a, std::vector<double> b) {
  const std::size_t m = a.rows;
  const std::size_t k = a.cols;
  LeastSquaresSolution solution;
  solution.x.assign(k, 0.0);
  solution.inverseDiagonal.assign(k, Inf);
  std::vector<double> scale(k);
  for (std::size_t j = 0; j < k; ++j) {
    scale[j] = euclideanNorm(a.column(j), m);
    if (scale[j] == 0 || !std::isfinite(scale[j])) {
      solution.fullRank = false;
      return solution;
    }
    for (std::size_t i = 0; i < m; ++i)
      a.at(i, j) /= scale[j];
  }
  std::vector<double> diagonal(k);
  for (std::size_t j = 0; j < k; ++j) {
    const double length = euclideanNorm(a.column(j) + j, m - j);
    if (length == 0) {
      solution.fullRank = false;
      return solution;
    }
    const double alpha = a.at(j, j) > 0 ? -length : length;
    // v = a[j.., j] - alpha e_1, kept in place of the column.
    a.at(j, j) -= alpha;
    const double vv = euclideanNorm(a.column(j) + j, m - j);
    const double vv2 = vv * vv;
    const auto reflect = [&](double* target) {
      double dot = 0;
      for (std::size_t i = j; i < m; ++i)
        dot += a.at(i, j) * target[i];
      const double factor = 2 * dot / vv2;
      for (std::size_t i = j; i < m; ++i)
        target[i] -= factor * a.at(i, j);
    };
    for (std::size_t c = j + 1; c < k; ++c)
      reflect(a.column(c));
    reflect(b.data());
    diagonal[j] = alpha;
  }
  double largest = 0;
  for (const double d : diagonal)
    largest = std::max(largest, std::abs(d));
  for (const double d : diagonal)
    if (std::abs(d) <= largest * Eps * double(std::max(m, k))) solution.fullRank = false;
  if (!solution.fullRank) return solution;
  // R is diagonal[] on its diagonal and a above it.
  const auto r = [&](std::size_t i, std::size_t j) { return i == j ? diagonal[i] : a.at(i, j); };
  for (std::size_t j = k; j-- > 0;) {
    double sum = b[j];
    for (std::size_t c = j + 1; c < k; ++c)
      sum -= r(j, c) * solution.x[c];
    solution.x[j] = sum / diagonal[j];
  }
  // (A^T A)^-1 = S^-1 R^-1 R^-T S^-1: the diagonal is the squared rows of R^-1 over the scales.
  DenseMatrix inverse(k, k);
  for (std::size_t c = 0; c < k; ++c) {
    for (std::size_t j = c + 1; j-- > 0;) {
      double sum = j == c ? 1.0 : 0.0;
      for (std::size_t l = j + 1; l <= c; ++l)
        sum -= r(j, l) * inverse.at(l, c);
      inverse.at(j, c) = sum / diagonal[j];
    }
  }
  for (std::size_t j = 0; j < k; ++j) {
    double sum = 0;
    for (std::size_t c = j; c < k; ++c)
      sum += inverse.at(j, c) * inverse.at(j, c);
    solution.x[j] /= scale[j];
    solution.inverseDiagonal[j] = sum / (scale[j] * scale[j]);
  }
  return solution;
}
