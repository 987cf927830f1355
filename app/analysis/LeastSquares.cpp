#include "LeastSquares.h"

#include "QrLeastSquares.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace {

constexpr double Eps = std::numeric_limits<double>::epsilon();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

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
              const std::vector<double>& f, DenseMatrix& j) {
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
  DenseMatrix basis{0, 0};
};

LinearForm linearForm(Evaluator& evaluate, std::size_t m, std::span<const double> start) {
  const std::size_t k = start.size();
  LinearForm form;
  std::vector<double> p(k, 0.0);
  if (!evaluate(p, form.offset)) return form;
  form.basis = DenseMatrix(m, k);
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

namespace {

// The closed-form fit of a model linear in its parameters; nothing when it is not, or when the
// points do not determine the parameters (the iterations then find one of the many best fits).
std::optional<FitResult> fitLinear(Evaluator& evaluate, std::span<const double> y,
                                   std::span<const double> start) {
  const std::size_t n = y.size();
  const LinearForm form = linearForm(evaluate, n, start);
  if (!form.linear) return std::nullopt;
  std::vector<double> target(n);
  for (std::size_t i = 0; i < n; ++i)
    target[i] = y[i] - form.offset[i];
  const LeastSquaresSolution solution = solveLeastSquares(form.basis, target);
  std::vector<double> f;
  if (!solution.fullRank || !evaluate(solution.x, f)) return std::nullopt;
  FitResult result;
  result.values = solution.x;
  result.lastValues = solution.x;
  result.linear = true;
  std::vector<double> residuals;
  result.ssr = sumOfSquares(y, f, residuals);
  addStatistics(result, y, solution.inverseDiagonal, true);
  return result;
}

// The state of the Levenberg-Marquardt iterations at the current parameters.
struct Iterate {
  std::vector<double> p;
  std::vector<double> f;         // model values
  std::vector<double> residuals; // y - f
  double ssr = 0;
};

enum class StepOutcome { Accepted, Rejected, Converged };

// Moré's scaling: the damping is lambda D^2, D the largest column lengths of J seen so far.
class Marquardt {
public:
  Marquardt(Evaluator& evaluate, std::span<const double> y, const FitOptions& options)
      : m_evaluate(evaluate), m_y(y), m_options(options) {}

  // One trial step from the iterate with the Jacobian j: solves [J; sqrt(lambda) D] d = [r; 0]
  // by QR, takes the step when the sum of squares falls, and follows the gain ratio with the
  // damping (Nielsen's update).
  StepOutcome step(Iterate& current, const DenseMatrix& j, const std::vector<double>& d);

private:
  void raiseDamping() {
    m_lambda *= m_nu;
    m_nu *= 2;
  }

  Evaluator& m_evaluate;
  std::span<const double> m_y;
  const FitOptions& m_options;
  double m_lambda = 1e-3;
  double m_nu = 2;
  Iterate m_trial;
};

StepOutcome Marquardt::step(Iterate& current, const DenseMatrix& j, const std::vector<double>& d) {
  const std::size_t n = m_y.size();
  const std::size_t k = current.p.size();
  DenseMatrix augmented(n + k, k);
  std::vector<double> rhs(n + k, 0.0);
  for (std::size_t c = 0; c < k; ++c) {
    std::copy(j.column(c), j.column(c) + n, augmented.column(c));
    augmented.at(n + c, c) = std::sqrt(m_lambda) * (d[c] > 0 ? d[c] : 1.0);
  }
  std::copy(current.residuals.begin(), current.residuals.end(), rhs.begin());
  const LeastSquaresSolution solution = solveLeastSquares(augmented, rhs);
  if (!solution.fullRank) {
    raiseDamping();
    return StepOutcome::Rejected;
  }
  const std::vector<double>& delta = solution.x;
  // The scaled sizes of the step and of the parameters.
  double stepSize = 0;
  double size = 0;
  m_trial.p.resize(k);
  for (std::size_t c = 0; c < k; ++c) {
    const double scale = d[c] > 0 ? d[c] : 1.0;
    stepSize = std::hypot(stepSize, scale * delta[c]);
    size = std::hypot(size, scale * current.p[c]);
    m_trial.p[c] = current.p[c] + delta[c];
  }
  const bool tinyStep = stepSize <= m_options.stepTolerance * size;
  // The decrease the linear model predicts: |r|^2 - |r - J d|^2.
  double linearSsr = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double jd = 0;
    for (std::size_t c = 0; c < k; ++c)
      jd += j.at(i, c) * delta[c];
    linearSsr += (current.residuals[i] - jd) * (current.residuals[i] - jd);
  }
  const double predicted = current.ssr - linearSsr;
  if (!m_evaluate(m_trial.p, m_trial.f)) {
    raiseDamping();
    return tinyStep ? StepOutcome::Converged : StepOutcome::Rejected;
  }
  m_trial.ssr = sumOfSquares(m_y, m_trial.f, m_trial.residuals);
  const double actual = current.ssr - m_trial.ssr;
  if (actual > 0) {
    const double rho = predicted > 0 ? actual / predicted : 0;
    m_lambda *= std::max(1.0 / 3.0, 1 - std::pow(2 * rho - 1, 3));
    m_nu = 2;
    const double before = current.ssr;
    std::swap(current, m_trial);
    const bool small =
        actual <= m_options.ssrTolerance * before && predicted <= m_options.ssrTolerance * before;
    return tinyStep || current.ssr == 0 || small ? StepOutcome::Converged : StepOutcome::Accepted;
  }
  // No decrease: a step this small means the sum of squares is at its least within rounding.
  if (tinyStep || (predicted >= 0 && predicted <= m_options.ssrTolerance * current.ssr))
    return StepOutcome::Converged;
  raiseDamping();
  return StepOutcome::Rejected;
}

// The trial steps one Jacobian allows before the damping has grown beyond any need; the budget
// counts iterations (Jacobians), not these.
constexpr int MaxStepsPerIteration = 60;

FitResult levenbergMarquardt(Evaluator& evaluate, std::span<const double> y,
                             std::span<const double> start, std::vector<double> f,
                             const FitOptions& options) {
  const std::size_t n = y.size();
  const std::size_t k = start.size();
  FitResult result;
  result.values.assign(start.begin(), start.end());
  Iterate current{result.values, std::move(f), {}, 0};
  current.ssr = sumOfSquares(y, current.f, current.residuals);
  std::vector<double> typical(k);
  for (std::size_t c = 0; c < k; ++c)
    typical[c] = std::abs(start[c]);
  std::vector<double> d(k, 0.0);
  DenseMatrix j(n, k);
  Marquardt marquardt(evaluate, y, options);
  bool converged = current.ssr == 0;
  while (!converged && result.iterations < options.maxIterations) {
    ++result.iterations;
    if (!jacobian(evaluate, current.p, typical, current.f, j)) {
      result.status = FitStatus::StepFailed;
      result.lastValues = current.p;
      return result;
    }
    for (std::size_t c = 0; c < k; ++c)
      d[c] = std::max(d[c], euclideanNorm(j.column(c), n));
    for (int trial = 0; trial < MaxStepsPerIteration; ++trial) {
      const StepOutcome outcome = marquardt.step(current, j, d);
      converged = outcome == StepOutcome::Converged;
      if (outcome != StepOutcome::Rejected) break;
    }
  }
  result.lastValues = current.p;
  if (!converged) {
    result.status = FitStatus::NoConvergence;
    return result;
  }
  result.values = current.p;
  result.ssr = current.ssr;
  // The standard errors from the Jacobian at the result.
  LeastSquaresSolution covariance;
  covariance.fullRank = jacobian(evaluate, current.p, typical, current.f, j);
  if (covariance.fullRank) covariance = solveLeastSquares(j, std::vector<double>(n, 0.0));
  addStatistics(result, y, covariance.inverseDiagonal, covariance.fullRank);
  return result;
}

} // namespace

FitResult fitLeastSquares(const FitModel& model, std::span<const double> x,
                          std::span<const double> y, std::span<const double> start,
                          const FitOptions& options) {
  const std::size_t n = std::min(x.size(), y.size());
  x = x.first(n);
  y = y.first(n);
  FitResult failed;
  failed.values.assign(start.begin(), start.end());
  failed.lastValues = failed.values;
  if (start.empty() || n < start.size()) {
    failed.status = start.empty() ? FitStatus::NoParameters : FitStatus::TooFewPoints;
    return failed;
  }
  Evaluator evaluate(model, x);
  std::vector<double> f;
  const bool started = evaluate(start, f);
  std::optional<FitResult> result;
  if (!started) {
    failed.status = FitStatus::StartFailed;
    result = failed;
  } else if (options.detectLinear) {
    result = fitLinear(evaluate, y, start);
  }
  if (!result) result = levenbergMarquardt(evaluate, y, start, std::move(f), options);
  // A fit that fails moves no parameter.
  if (!result->ok()) result->values = failed.values;
  result->evaluations = evaluate.calls;
  return *result;
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
