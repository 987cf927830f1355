// Linear least squares min |A x - b| by Householder QR, never through the normal equations, for
// the fits: the exact solve of a model linear in its parameters, each Levenberg-Marquardt step,
// and the standard errors from the Jacobian.
#pragma once

#include <cstddef>
#include <vector>

// A dense matrix of m rows and k columns, stored column by column.
struct DenseMatrix {
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<double> data;
  DenseMatrix(std::size_t m, std::size_t k) : rows(m), cols(k), data(m * k, 0.0) {}
  double& at(std::size_t i, std::size_t j) { return data[j * rows + i]; }
  double at(std::size_t i, std::size_t j) const { return data[j * rows + i]; }
  double* column(std::size_t j) { return data.data() + j * rows; }
  const double* column(std::size_t j) const { return data.data() + j * rows; }
};

// The Euclidean norm of n values, without overflow or underflow on the way.
double euclideanNorm(const double* v, std::size_t n);

struct LeastSquaresSolution {
  std::vector<double> x;
  // The diagonal of (A^T A)^-1; infinite throughout when A has not full rank.
  std::vector<double> inverseDiagonal;
  bool fullRank = true;
};

// The columns are scaled to unit length first, so that parameters of very different sizes
// (b1 ~ 500 beside b2 ~ 1e-4) are judged alike by the rank test. A has at least as many rows as
// columns.
LeastSquaresSolution solveLeastSquares(DenseMatrix a, std::vector<double> b);
