// Tests of the least-squares fits through plain callables: models linear in their parameters
// solved exactly (to 1e-12 against the closed form), a nonlinear model (NIST's Misra1a shape)
// fitted from far away to the optimum that an independent one-dimensional search finds, and
// the failures as results.
#include "LeastSquares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Params = std::span<const double>;

std::vector<double> grid(double from, double step, int count) {
  std::vector<double> x;
  for (int i = 0; i < count; ++i)
    x.push_back(from + step * i);
  return x;
}

std::vector<double> valuesOf(double (*f)(double, Params), const std::vector<double>& x,
                             const std::vector<double>& p) {
  std::vector<double> y;
  for (const double v : x)
    y.push_back(f(v, p));
  return y;
}

struct LinearCase {
  const char* name;
  double (*f)(double, Params);
  std::vector<double> truth;
};

const LinearCase LinearCases[] = {
    {"line", [](double x, Params p) { return p[0] * x + p[1]; }, {2.5, -1.25}},
    {"parabola", [](double x, Params p) { return p[0] * x * x + p[1] * x + p[2]; }, {0.75, -3, 12}},
    {"trigonometric",
     [](double x, Params p) { return p[0] * std::sin(x) + p[1] * std::cos(x) + p[2]; },
     {1.5, -0.5, 4}},
    {"offset and exponential",
     [](double x, Params p) { return 3 + p[0] * std::exp(x / 4) + p[1] / (1 + x * x); },
     {-2, 7}},
};

class LinearFitTest : public ::testing::TestWithParam<LinearCase> {};

TEST_P(LinearFitTest, ExactDataGiveTheParametersTo1e12) {
  const LinearCase& test = GetParam();
  const std::vector<double> x = grid(-5, 0.5, 21);
  const std::vector<double> y = valuesOf(test.f, x, test.truth);
  const std::vector<double> start(test.truth.size(), 1.0);
  const FitResult fit = fitLeastSquares(pointwiseModel(test.f), x, y, start);
  ASSERT_TRUE(fit.ok()) << fitStatusText(fit.status);
  EXPECT_TRUE(fit.linear);
  EXPECT_EQ(fit.iterations, 0);
  for (std::size_t i = 0; i < test.truth.size(); ++i)
    EXPECT_NEAR(fit.values[i], test.truth[i], 1e-12 * std::max(1.0, std::abs(test.truth[i])));
  EXPECT_NEAR(fit.rSquared, 1, 1e-12);
  EXPECT_LT(fit.ssr, 1e-20);
  EXPECT_TRUE(isLinearInParameters(pointwiseModel(test.f), x, start));
}

INSTANTIATE_TEST_SUITE_P(Models, LinearFitTest, ::testing::ValuesIn(LinearCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == ' ') c = '_';
                           return name;
                         });

// A small disturbance that is the same on every run.
double disturbance(int i, double size) {
  return size * std::sin(1.7 * i + 0.3) * std::cos(0.61 * i);
}

TEST(LinearFit, NoisyLineAgreesWithTheClosedForm) {
  const std::vector<double> x = grid(0.5, 0.75, 40);
  std::vector<double> y;
  for (std::size_t i = 0; i < x.size(); ++i)
    y.push_back(2.5 * x[i] - 1 + disturbance(int(i), 0.3));
  const FitResult fit =
      fitLeastSquares(pointwiseModel([](double v, Params p) { return p[0] * v + p[1]; }), x, y,
                      std::vector<double>{0, 0});
  ASSERT_TRUE(fit.ok());
  ASSERT_TRUE(fit.linear);

  // The closed form of the straight line, with centred sums.
  const double n = double(x.size());
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    mx += x[i] / n;
    my += y[i] / n;
  }
  double sxx = 0, sxy = 0, syy = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxy += (x[i] - mx) * (y[i] - my);
    syy += (y[i] - my) * (y[i] - my);
  }
  const double slope = sxy / sxx;
  const double intercept = my - slope * mx;
  double ssr = 0;
  for (std::size_t i = 0; i < x.size(); ++i)
    ssr += std::pow(y[i] - (slope * x[i] + intercept), 2);
  const double s = std::sqrt(ssr / (n - 2));
  EXPECT_NEAR(fit.values[0], slope, 1e-12 * std::abs(slope));
  EXPECT_NEAR(fit.values[1], intercept, 1e-12 * std::abs(intercept));
  EXPECT_NEAR(fit.ssr, ssr, 1e-10 * ssr);
  EXPECT_NEAR(fit.rSquared, 1 - ssr / syy, 1e-12);
  EXPECT_NEAR(fit.residualSd, s, 1e-10 * s);
  EXPECT_NEAR(fit.standardErrors[0], s / std::sqrt(sxx), 1e-10 * s / std::sqrt(sxx));
  const double interceptError = s * std::sqrt(1 / n + mx * mx / sxx);
  EXPECT_NEAR(fit.standardErrors[1], interceptError, 1e-10 * interceptError);

  // The iterations reach the same line when not told it is linear.
  const FitResult iterated =
      fitLeastSquares(pointwiseModel([](double v, Params p) { return p[0] * v + p[1]; }), x, y,
                      std::vector<double>{0, 0}, {.detectLinear = false});
  ASSERT_TRUE(iterated.ok());
  EXPECT_FALSE(iterated.linear);
  EXPECT_NEAR(iterated.values[0], slope, 1e-8 * std::abs(slope));
  EXPECT_NEAR(iterated.values[1], intercept, 1e-8 * std::abs(intercept));
  EXPECT_NEAR(iterated.standardErrors[0], fit.standardErrors[0], 1e-6 * fit.standardErrors[0]);
}

struct ProbeCase {
  const char* formula;
  double (*f)(double, Params);
  bool linear;
};

const ProbeCase ProbeCases[] = {
    {"a*x+b", [](double x, Params p) { return p[0] * x + p[1]; }, true},
    {"a*x^3+b*sqrt(x+9)",
     [](double x, Params p) { return p[0] * x * x * x + p[1] * std::sqrt(x + 9); }, true},
    {"a*exp(b*x)", [](double x, Params p) { return p[0] * std::exp(p[1] * x); }, false},
    {"a*x+b^2", [](double x, Params p) { return p[0] * x + p[1] * p[1]; }, false},
    {"a*b*x", [](double x, Params p) { return p[0] * p[1] * x; }, false},
    {"log(a)*x", [](double x, Params p) { return std::log(p[0]) * x + p[1]; }, false},
    {"a*x+b+1e-6*a*b", [](double x, Params p) { return p[0] * x + p[1] + 1e-6 * p[0] * p[1]; },
     false},
};

TEST(LinearFit, TheProbeTellsLinearModelsApart) {
  const std::vector<double> x = grid(-4, 0.25, 33);
  for (const ProbeCase& test : ProbeCases)
    EXPECT_EQ(isLinearInParameters(pointwiseModel(test.f), x, std::vector<double>{0.5, 2}),
              test.linear)
        << test.formula;
}

// NIST's Misra1a x values; y from b1 = 240, b2 = 0.0005 with a small disturbance.
const std::vector<double> MisraX = {77.6,  114.9, 141.1, 190.8, 239.9, 289.0, 332.8,
                                    378.4, 434.8, 477.3, 536.8, 593.1, 689.1, 760.0};

double misra(double x, Params p) {
  return p[0] * (1 - std::exp(-p[1] * x));
}

std::vector<double> misraY() {
  std::vector<double> y;
  for (std::size_t i = 0; i < MisraX.size(); ++i)
    y.push_back(240 * (1 - std::exp(-0.0005 * MisraX[i])) + disturbance(int(i), 0.4));
  return y;
}

// The optimum found another way: for a fixed b2 the best b1 is a closed form, and at the
// optimum the derivative of the remaining sum of squares by b2 is 0; bisection on that
// derivative in long double.
struct Optimum {
  long double b1 = 0;
  long double b2 = 0;
};

Optimum misraOptimum(const std::vector<double>& y) {
  const auto bestB1 = [&](long double b2) {
    long double gy = 0, gg = 0;
    for (std::size_t i = 0; i < MisraX.size(); ++i) {
      const long double g = 1 - std::exp(-b2 * MisraX[i]);
      gy += g * y[i];
      gg += g * g;
    }
    return gy / gg;
  };
  // d SSR / d b2 with b1 at its best (its own derivative is 0 there), up to the factor -2 b1.
  const auto slope = [&](long double b2) {
    const long double b1 = bestB1(b2);
    long double sum = 0;
    for (std::size_t i = 0; i < MisraX.size(); ++i) {
      const long double e = std::exp(-b2 * MisraX[i]);
      sum += (y[i] - b1 * (1 - e)) * MisraX[i] * e;
    }
    return sum;
  };
  long double low = 1e-4L, high = 2e-3L;
  const bool lowSign = slope(low) > 0;
  EXPECT_NE(lowSign, slope(high) > 0);
  for (int i = 0; i < 200; ++i) {
    const long double middle = (low + high) / 2;
    ((slope(middle) > 0) == lowSign ? low : high) = middle;
  }
  return {bestB1(low), low};
}

TEST(NonlinearFit, MisraFromFarAwayReachesTheOptimum) {
  const std::vector<double> y = misraY();
  const FitResult fit =
      fitLeastSquares(pointwiseModel(misra), MisraX, y, std::vector<double>{500, 0.0001});
  ASSERT_TRUE(fit.ok()) << fitStatusText(fit.status);
  EXPECT_FALSE(fit.linear);
  EXPECT_GT(fit.iterations, 1);
  EXPECT_LT(fit.iterations, 100);

  // The gradient J^T r is 0 against the sizes it is made of.
  const double b1 = fit.values[0];
  const double b2 = fit.values[1];
  double g1 = 0, g2 = 0, n1 = 0, n2 = 0, nr = 0;
  for (std::size_t i = 0; i < MisraX.size(); ++i) {
    const double e = std::exp(-b2 * MisraX[i]);
    const double r = y[i] - b1 * (1 - e);
    g1 += (1 - e) * r;
    g2 += b1 * MisraX[i] * e * r;
    n1 += (1 - e) * (1 - e);
    n2 += std::pow(b1 * MisraX[i] * e, 2);
    nr += r * r;
  }
  EXPECT_LT(std::abs(g1) / std::sqrt(n1 * nr), 1e-8);
  EXPECT_LT(std::abs(g2) / std::sqrt(n2 * nr), 1e-8);

  const Optimum optimum = misraOptimum(y);
  EXPECT_NEAR(b1, double(optimum.b1), 1e-9 * double(optimum.b1));
  EXPECT_NEAR(b2, double(optimum.b2), 1e-9 * double(optimum.b2));
  EXPECT_NEAR(b1, 240, 5);
  EXPECT_NEAR(b2, 0.0005, 2e-5);
  EXPECT_GT(fit.rSquared, 0.999);
  EXPECT_LT(fit.rSquared, 1);
  EXPECT_GT(fit.standardErrors[0], 0);
  EXPECT_GT(fit.standardErrors[1], 0);
  EXPECT_NEAR(fit.residualSd, std::sqrt(fit.ssr / 12), 1e-15);
}

TEST(FitFailures, NoConvergenceWithinTheBudgetIsReported) {
  const FitResult fit = fitLeastSquares(pointwiseModel(misra), MisraX, misraY(),
                                        std::vector<double>{500, 0.0001}, {.maxIterations = 3});
  EXPECT_EQ(fit.status, FitStatus::NoConvergence);
  EXPECT_FALSE(fit.ok());
  EXPECT_EQ(fit.values, (std::vector<double>{500, 0.0001}));
  EXPECT_NE(fit.lastValues, fit.values);
  EXPECT_EQ(fit.iterations, 3);
  EXPECT_EQ(std::string(fitStatusText(fit.status)), "反復の上限までに収束しませんでした");
}

TEST(FitFailures, FewerPointsThanParametersAreReported) {
  const auto f = [](double x, Params p) { return p[0] * x * x + p[1] * x + p[2]; };
  const std::vector<double> x = {1, 2};
  const std::vector<double> y = {3, 5};
  const FitResult fit = fitLeastSquares(pointwiseModel(f), x, y, std::vector<double>{1, 1, 1});
  EXPECT_EQ(fit.status, FitStatus::TooFewPoints);
  EXPECT_EQ(fit.values, (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(fit.evaluations, 0);
  EXPECT_FALSE(std::string(fitStatusText(fit.status)).empty());

  // As many points as parameters: an exact fit without degrees of freedom.
  const FitResult exact =
      fitLeastSquares(pointwiseModel([](double v, Params p) { return p[0] * v + p[1]; }), x, y,
                      std::vector<double>{0, 0});
  ASSERT_TRUE(exact.ok());
  EXPECT_NEAR(exact.values[0], 2, 1e-14);
  EXPECT_NEAR(exact.values[1], 1, 1e-14);
  EXPECT_TRUE(std::isnan(exact.residualSd));
  EXPECT_TRUE(std::isnan(exact.standardErrors[0]));
}

TEST(FitFailures, AModelWithoutValuesAtTheStartIsReported) {
  const auto f = [](double x, Params p) { return std::sqrt(p[0] * x); };
  const std::vector<double> x = {1, 2, 3};
  const std::vector<double> y = {1, 1.4, 1.7};
  const FitResult fit = fitLeastSquares(pointwiseModel(f), x, y, std::vector<double>{-1});
  EXPECT_EQ(fit.status, FitStatus::StartFailed);
  EXPECT_EQ(fit.values, (std::vector<double>{-1}));
  EXPECT_EQ(fitLeastSquares(pointwiseModel(f), x, y, std::vector<double>{}).status,
            FitStatus::NoParameters);
}

TEST(FitFailures, PointsThatDoNotDetermineAParameterGiveAnInfiniteError) {
  // b multiplies a column of zeros: any b fits as well.
  const auto f = [](double x, Params p) { return p[0] * x + p[1] * (x - x); };
  const std::vector<double> x = {1, 2, 3, 4};
  const std::vector<double> y = {2.1, 3.9, 6.2, 7.8};
  const FitResult fit = fitLeastSquares(pointwiseModel(f), x, y, std::vector<double>{1, 1});
  ASSERT_TRUE(fit.ok()) << fitStatusText(fit.status);
  EXPECT_TRUE(std::isinf(fit.standardErrors[1]));
}

} // namespace

namespace {

// NIST StRD Misra1a with its certified values, from its first start.
TEST(NonlinearFit, NistMisra1aGivesTheCertifiedValues) {
  const std::vector<double> y = {10.07, 14.73, 17.94, 23.93, 29.61, 35.18, 40.02,
                                 44.82, 50.76, 55.05, 61.01, 66.40, 75.47, 81.78};
  const FitResult fit =
      fitLeastSquares(pointwiseModel(misra), MisraX, y, std::vector<double>{500, 0.0001});
  ASSERT_TRUE(fit.ok()) << fitStatusText(fit.status);
  EXPECT_NEAR(fit.values[0], 2.3894212918E+02, 1e-8 * 2.4e2);
  EXPECT_NEAR(fit.values[1], 5.5015643181E-04, 1e-8 * 5.5e-4);
  EXPECT_NEAR(fit.standardErrors[0], 2.7070075241E+00, 1e-6 * 2.7);
  EXPECT_NEAR(fit.standardErrors[1], 7.2668688436E-06, 1e-6 * 7.3e-6);
  EXPECT_NEAR(fit.residualSd, 1.0187876330E-01, 1e-8);
  EXPECT_NEAR(fit.ssr, 1.2455138894E-01, 1e-9);
}

} // namespace
