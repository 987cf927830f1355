#include "LeastSquares.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double Eps = std::numeric_limits<double>::epsilon();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A dense matrix of m rows and k columns, column by column.
struct Matrix {
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<double> data;
  Matrix(std::size_t m, std::size_t k) : rows(m), cols(k), data(m * k, 0.0) {}
  double& at(std::size_t i, std::size_t j) { return data[j * rows + i]; }
  double at(std::size_t i, std::size_t j) const { return data[j * rows + i]; }
  double* column(std::size_t j) { return data.data() + j * rows; }
};

// The Euclidean norm without overflow or underflow on the way.
double norm(const double* v, std::size_t n) {
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

struct LeastSquaresSolution {
  std::vector<double> x;
  // The diagonal of (A^T A)^-1; infinite throughout when A has not full rank.
  std::vector<double> inverseDiagonal;
  bool fullRank = true;
};

// min |A x - b| by Householder QR, never through the normal equations. The columns are scaled
// to unit length first, so that parameters of very different sizes (b1 ~ 500 beside b2 ~ 1e-4)
// are judged alike by the rank test.
LeastSquaresSolution solveLeastSquares(Matrix a, std::vector<double> b) {
  const std::size_t m = a.rows;
  const std::size_t k = a.cols;
  LeastSquaresSolution solution;
  solution.x.assign(k, 0.0);
  solution.inverseDiagonal.assign(k, Inf);
  std::vector<double> scale(k);
  for (std::size_t j = 0; j < k; ++j) {
    scale[j] = norm(a.column(j), m);
    if (scale[j] == 0 || !std::isfinite(scale[j])) {
      solution.fullRank = false;
      return solution;
    }
    for (std::size_t i = 0; i < m; ++i)
      a.at(i, j) /= scale[j];
  }
  std::vector<double> diagonal(k);
  for (std::size_t j = 0; j < k; ++j) {
    const double length = norm(a.column(j) + j, m - j);
    if (length == 0) {
      solution.fullRank = false;
      return solution;
    }
    const double alpha = a.at(j, j) > 0 ? -length : length;
    // v = a[j.., j] - alpha e_1, kept in place of the column.
    a.at(j, j) -= alpha;
    const double vv = norm(a.column(j) + j, m - j);
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
  Matrix inverse(k, k);
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

bool allFinite(std::span<const double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The model with a count of its calls.
class Evaluator {
public:
  Evaluator(const FitModel& model, std::span<const double> x) : m_model(model), m_x(x) {}
  // False when some value is not finite.
  bool operator()(std::span<const double> p, std::vector<double>& y) {
    y.assign(m_x.size(), NaN);
    ++calls;
    m_model(p, m_x, y);
    return allFinite(y);
  }
  int calls = 0;

private:
  const FitModel& m_model;
  std::span<const double> m_x;
};

double sumOfSquares(std::span<const double> y, const std::vector<double>& f,
                    std::vector<double>& residuals) {
  residuals.resize(y.size());
  double sum = 0;
  for (std::size_t i = 0; i < y.size(); ++i) {
    residuals[i] = y[i] - f[i];
    sum += residuals[i] * residuals[i];
  }
  return sum;
}

// The Jacobian of the model values by central differences, each step about the cube root of
// epsilon relative to the parameter (or to its typical size when it is near 0) and made exact in
// floating point; one side alone where the other has no value. False when neither has.
bool jacobian(Evaluator& evaluate, std::span<const double> p, std::span<const double> typical,
              const std::vector<double>& f, Matrix& j) {
  const std::size_t m = f.size();
  std::vector<double> q(p.begin(), p.end());
  std::vector<double> plus;
  std::vector<double> minus;
  const double relative = std::cbrt(Eps);
  for (std::size_t c = 0; c < p.size(); ++c) {
    const double size = std::max(std::abs(p[c]), typical[c]);
    const double up = p[c] + relative * (size > 0 ? size : 1.0);
    const double h = up - p[c];
    q[c] = p[c] + h;
    const bool hasPlus = evaluate(q, plus);
    q[c] = p[c] - h;
    const bool hasMinus = evaluate(q, minus);
    q[c] = p[c];
    for (std::size_t i = 0; i < m; ++i) {
      if (hasPlus && hasMinus)
        j.at(i, c) = (plus[i] - minus[i]) / (2 * h);
      else if (hasPlus)
        j.at(i, c) = (plus[i] - f[i]) / h;
      else if (hasMinus)
        j.at(i, c) = (f[i] - minus[i]) / h;
      else
        return false;
    }
  }
  return true;
}

// The parameter vectors the linearity probe tries besides the start: fixed pseudo-random
// values in [-2, 2], the same on every run.
std::vector<std::vector<double>> probePoints(std::span<const double> start) {
  std::vector<std::vector<double>> probes{std::vector<double>(start.begin(), start.end())};
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int n = 0; n < 2; ++n) {
    std::vector<double> probe;
    for (std::size_t i = 0; i < start.size(); ++i) {
      state = state * 6364136223846793005u + 1442695040888963407u;
      probe.push_back(-2.0 + 4.0 * double(state >> 11) / double(std::uint64_t(1) << 53));
    }
    probes.push_back(std::move(probe));
  }
  return probes;
}

// The columns f(x; e_i) - f(x; 0) and the offset f(x; 0) when the model is linear in its
// parameters, as the probe finds it.
struct LinearForm {
  bool linear = false;
  std::vector<double> offset;
  Matrix basis{0, 0};
};

LinearForm linearForm(Evaluator& evaluate, std::size_t m, std::span<const double> start) {
  const std::size_t k = start.size();
  LinearForm form;
  std::vector<double> p(k, 0.0);
  if (!evaluate(p, form.offset)) return form;
  form.basis = Matrix(m, k);
  std::vector<double> values;
  std::vector<double> magnitude(m * k); // |f(x; e_i)| + |f(x; 0)|
  for (std::size_t c = 0; c < k; ++c) {
    p[c] = 1;
    if (!evaluate(p, values)) return form;
    p[c] = 0;
    for (std::size_t i = 0; i < m; ++i) {
      form.basis.at(i, c) = values[i] - form.offset[i];
      magnitude[c * m + i] = std::abs(values[i]) + std::abs(form.offset[i]);
    }
  }
  // Rounding in the model and in the sum stays within a few hundred units of the last place of
  // the magnitudes involved; a model that is not linear misses by far more at these points.
  constexpr double Tolerance = 1e-10;
  for (const std::vector<double>& probe : probePoints(start)) {
    if (!evaluate(probe, values)) return form;
    for (std::size_t i = 0; i < m; ++i) {
      double predicted = form.offset[i];
      double size = std::abs(form.offset[i]) + std::abs(values[i]);
      for (std::size_t c = 0; c < k; ++c) {
        predicted += probe[c] * form.basis.at(i, c);
        size += std::abs(probe[c]) * magnitude[c * m + i];
      }
      if (!(std::abs(values[i] - predicted) <= Tolerance * size)) return form;
    }
  }
  form.linear = true;
  return form;
}

// R^2, s and the standard errors of a result whose values and SSR are set.
void addStatistics(FitResult& result, std::span<const double> y,
                   const std::vector<double>& inverseDiagonal, bool fullRank) {
  const std::size_t n = y.size();
  const std::size_t k = result.values.size();
  double mean = 0;
  for (const double v : y)
    mean += v;
  mean /= double(n);
  double sst = 0;
  for (const double v : y)
    sst += (v - mean) * (v - mean);
  result.sst = sst;
  result.rSquared = sst > 0 ? 1 - result.ssr / sst : (result.ssr == 0 ? 1.0 : NaN);
  const double variance = n > k ? result.ssr / double(n - k) : NaN;
  result.residualSd = std::sqrt(variance);
  result.standardErrors.assign(k, NaN);
  for (std::size_t j = 0; j < k; ++j)
    result.standardErrors[j] =
        fullRank ? std::sqrt(variance * inverseDiagonal[j]) : (n > k ? Inf : NaN);
}

} // namespace

FitModel pointwiseModel(std::function<double(double x, std::span<const double> p)> f) {
  return [f = std::move(f)](std::span<const double> p, std::span<const double> x,
                            std::span<double> y) {
    for (std::size_t i = 0; i < x.size(); ++i)
      y[i] = f(x[i], p);
  };
}

bool isLinearInParameters(const FitModel& model, std::span<const double> x,
                          std::span<const double> start) {
  Evaluator evaluate(model, x);
  return linearForm(evaluate, x.size(), start).linear;
}

FitResult fitLeastSquares(const FitModel& model, std::span<const double> x,
                          std::span<const double> y, std::span<const double> start,
                          const FitOptions& options) {
  const std::size_t n = std::min(x.size(), y.size());
  x = x.first(n);
  y = y.first(n);
  const std::size_t k = start.size();
  FitResult result;
  result.values.assign(start.begin(), start.end());
  result.lastValues = result.values;
  if (k == 0) {
    result.status = FitStatus::NoParameters;
    return result;
  }
  if (n < k) {
    result.status = FitStatus::TooFewPoints;
    return result;
  }
  Evaluator evaluate(model, x);
  std::vector<double> f;
  std::vector<double> residuals;
  if (!evaluate(start, f)) {
    result.status = FitStatus::StartFailed;
    result.evaluations = evaluate.calls;
    return result;
  }

  if (options.detectLinear) {
    const LinearForm form = linearForm(evaluate, n, start);
    if (form.linear) {
      std::vector<double> target(n);
      for (std::size_t i = 0; i < n; ++i)
        target[i] = y[i] - form.offset[i];
      const LeastSquaresSolution solution = solveLeastSquares(form.basis, target);
      // Points that do not determine the parameters are left to the iterations, which find
      // one of the many best fits.
      if (solution.fullRank && evaluate(solution.x, f)) {
        result.values = solution.x;
        result.lastValues = solution.x;
        result.linear = true;
        result.ssr = sumOfSquares(y, f, residuals);
        addStatistics(result, y, solution.inverseDiagonal, true);
        result.evaluations = evaluate.calls;
        return result;
      }
      evaluate(start, f);
    }
  }

  // Levenberg-Marquardt with Moré's scaling: the damping is lambda D^2, D the largest column
  // lengths of J seen so far, and each step solves [J; sqrt(lambda) D] d = [r; 0] by QR. The
  // damping follows the gain ratio (Nielsen's update).
  std::vector<double> p(start.begin(), start.end());
  std::vector<double> typical(k);
  for (std::size_t c = 0; c < k; ++c)
    typical[c] = std::abs(start[c]);
  double ssr = sumOfSquares(y, f, residuals);
  std::vector<double> d(k, 0.0);
  double lambda = 1e-3;
  double nu = 2;
  Matrix j(n, k);
  std::vector<double> trial(k);
  std::vector<double> trialF;
  std::vector<double> trialResiduals;
  bool converged = ssr == 0;
  int iteration = 0;
  while (!converged && iteration < options.maxIterations) {
    ++iteration;
    if (!jacobian(evaluate, p, typical, f, j)) {
      result.status = FitStatus::StepFailed;
      result.lastValues = p;
      result.iterations = iteration;
      result.evaluations = evaluate.calls;
      return result;
    }
    for (std::size_t c = 0; c < k; ++c)
      d[c] = std::max(d[c], norm(j.column(c), n));
    // A trial step per pass; a rejected one raises the damping. Enough passes that the damping
    // grows beyond any need; the budget counts iterations, not passes.
    for (int pass = 0; pass < 60 && !converged; ++pass) {
      Matrix augmented(n + k, k);
      std::vector<double> rhs(n + k, 0.0);
      for (std::size_t c = 0; c < k; ++c) {
        for (std::size_t i = 0; i < n; ++i)
          augmented.at(i, c) = j.at(i, c);
        augmented.at(n + c, c) = std::sqrt(lambda) * (d[c] > 0 ? d[c] : 1.0);
      }
      std::copy(residuals.begin(), residuals.end(), rhs.begin());
      const LeastSquaresSolution step = solveLeastSquares(augmented, rhs);
      if (!step.fullRank) {
        lambda *= nu;
        nu *= 2;
        continue;
      }
      // The scaled sizes of the step and of the parameters.
      double stepSize = 0;
      double size = 0;
      for (std::size_t c = 0; c < k; ++c) {
        const double scale = d[c] > 0 ? d[c] : 1.0;
        stepSize = std::hypot(stepSize, scale * step.x[c]);
        size = std::hypot(size, scale * p[c]);
        trial[c] = p[c] + step.x[c];
      }
      const bool tinyStep = stepSize <= options.stepTolerance * size;
      // The decrease the linear model predicts: |r|^2 - |r - J d|^2.
      double linearSsr = 0;
      for (std::size_t i = 0; i < n; ++i) {
        double jd = 0;
        for (std::size_t c = 0; c < k; ++c)
          jd += j.at(i, c) * step.x[c];
        linearSsr += (residuals[i] - jd) * (residuals[i] - jd);
      }
      const double predicted = ssr - linearSsr;
      if (!evaluate(trial, trialF)) {
        if (tinyStep) converged = true;
        lambda *= nu;
        nu *= 2;
        continue;
      }
      const double trialSsr = sumOfSquares(y, trialF, trialResiduals);
      const double actual = ssr - trialSsr;
      if (actual > 0) {
        const double rho = predicted > 0 ? actual / predicted : 0;
        lambda *= std::max(1.0 / 3.0, 1 - std::pow(2 * rho - 1, 3));
        nu = 2;
        p = trial;
        f.swap(trialF);
        residuals.swap(trialResiduals);
        const double before = ssr;
        ssr = trialSsr;
        converged = tinyStep || trialSsr == 0 ||
                    (actual <= options.ssrTolerance * before &&
                     predicted <= options.ssrTolerance * before);
        break;
      }
      // No decrease: a step this small means the sum of squares is at its least within
      // rounding.
      if (tinyStep || (predicted >= 0 && predicted <= options.ssrTolerance * ssr)) {
        converged = true;
        break;
      }
      lambda *= nu;
      nu *= 2;
    }
  }
  result.iterations = iteration;
  result.lastValues = p;
  if (!converged) {
    result.status = FitStatus::NoConvergence;
    result.evaluations = evaluate.calls;
    return result;
  }
  result.values = p;
  result.ssr = ssr;
  // The standard errors from the Jacobian at the result.
  LeastSquaresSolution covariance;
  if (jacobian(evaluate, p, typical, f, j)) {
    covariance = solveLeastSquares(j, std::vector<double>(n, 0.0));
  } else {
    covariance.fullRank = false;
  }
  addStatistics(result, y, covariance.inverseDiagonal, covariance.fullRank);
  result.evaluations = evaluate.calls;
  return result;
}

const char* fitStatusText(FitStatus status) {
  switch (status) {
  case FitStatus::Converged:
    return "";
  case FitStatus::NoParameters:
    return "近似するパラメータがありません";
  case FitStatus::TooFewPoints:
    return "点の数がパラメータの数より少ないので近似できません";
  case FitStatus::StartFailed:
    return "パラメータの初期値で式を計算できない点があります";
  case FitStatus::NoConvergence:
    return "反復の上限までに収束しませんでした";
  case FitStatus::StepFailed:
    return "パラメータの近くで式を計算できないので近似を続けられません";
  }
  return "";
}
