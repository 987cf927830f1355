// The derivative and the integral against closed forms: near full precision where the function
// is smooth, an error estimate that bounds the true error, and no number where there is none.
#include "Derivative.h"
#include "Integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Inf = std::numeric_limits<double>::infinity();

// A plain function as the analysis takes it: nothing where it is not finite.
SampledFunction plain(std::function<double(double)> f) {
  return [f](double x) -> std::optional<double> {
    const double y = f(x);
    return std::isfinite(y) ? std::optional<double>(y) : std::nullopt;
  };
}

TEST(Derivative, SmoothFunctionsToEightDigitsAcrossARange) {
  const struct {
    const char* name;
    std::function<double(double)> f, slope;
  } cases[] = {
      {"sin", [](double x) { return std::sin(x); }, [](double x) { return std::cos(x); }},
      {"exp", [](double x) { return std::exp(x); }, [](double x) { return std::exp(x); }},
      {"x^3", [](double x) { return x * x * x; }, [](double x) { return 3 * x * x; }},
      {"sqrt", [](double x) { return std::sqrt(x); }, [](double x) { return 0.5 / std::sqrt(x); }},
  };
  for (const auto& test : cases)
    for (double x = -20; x <= 20; x += 0.73) {
      if (test.name == std::string("sqrt") && x <= 0) continue;
      const DerivativeResult d = derivative(plain(test.f), x);
      const double exact = test.slope(x);
      ASSERT_TRUE(d.ok()) << test.name << " at " << x;
      EXPECT_LE(std::fabs(d.value - exact), 1e-8 * std::max(1.0, std::fabs(exact)))
          << test.name << " at " << x;
    }
}

TEST(Derivative, NoNumberWhereThereIsNoSlope) {
  const struct {
    const char* name;
    std::function<double(double)> f;
    double x;
    DerivativeFailure failure;
  } cases[] = {
      {"|x| at 0", [](double x) { return std::fabs(x); }, 0, DerivativeFailure::NotDifferentiable},
      {"sqrt at 0", [](double x) { return std::sqrt(x); }, 0, DerivativeFailure::NotDifferentiable},
      {"a jump", [](double x) { return double((x > 0) - (x < 0)); }, 0,
       DerivativeFailure::NotDifferentiable},
      {"a corner off 0", [](double x) { return std::fabs(x - 2); }, 2,
       DerivativeFailure::NotDifferentiable},
      {"no value", [](double x) { return std::log(x); }, -1, DerivativeFailure::NoValue},
  };
  for (const auto& test : cases)
    EXPECT_EQ(derivative(plain(test.f), test.x).failure, test.failure) << test.name;
}

TEST(Integral, ClosedFormsToTwelveDigitsWithAnErrorThatBoundsTheTrueOne) {
  const struct {
    const char* name;
    std::function<double(double)> f;
    double a, b, exact;
  } cases[] = {
      {"sin on 0..pi", [](double x) { return std::sin(x); }, 0, Pi, 2},
      {"sqrt on 0..1", [](double x) { return std::sqrt(x); }, 0, 1, 2.0 / 3},
      {"1/x on 1..e^10", [](double x) { return 1 / x; }, 1, std::exp(10.0), 10},
      {"x^-1/2 on 0..1", [](double x) { return 1 / std::sqrt(x); }, 0, 1, 2},
      {"exp(-x^2) on the line", [](double x) { return std::exp(-x * x); }, -Inf, Inf,
       std::sqrt(Pi)},
      {"exp(-x) on 0..inf", [](double x) { return std::exp(-x); }, 0, Inf, 1},
      {"1/x^2 on -inf..-1", [](double x) { return 1 / (x * x); }, -Inf, -1, 1},
      {"many oscillations", [](double x) { return std::sin(100 * x); }, 0, 10,
       (1 - std::cos(1000.0)) / 100},
      {"reversed bounds", [](double x) { return x; }, 2, 0, -2},
  };
  for (const auto& test : cases) {
    const IntegralResult r = integral(plain(test.f), test.a, test.b);
    ASSERT_TRUE(r.ok()) << test.name;
    const double trueError = std::fabs(r.value - test.exact);
    EXPECT_LE(trueError, 1e-10 * std::fabs(test.exact)) << test.name;
    EXPECT_LE(trueError, r.error + 4 * std::numeric_limits<double>::epsilon() * std::fabs(test.exact))
        << test.name;
  }
}

// Across a pole the halving either lands on it or runs out of budget: a reason either way.
TEST(Integral, NoNumberForWhatCannotBeIntegrated) {
  const struct {
    const char* name;
    std::function<double(double)> f;
    double a, b;
  } cases[] = {
      {"1/x on -1..1", [](double x) { return 1 / x; }, -1, 1},
      {"1/x on -1..2", [](double x) { return 1 / x; }, -1, 2},
      {"1/x on 0..1", [](double x) { return 1 / x; }, 0, 1},
      {"sqrt on -1..1", [](double x) { return std::sqrt(x); }, -1, 1},
      {"1 on 0..inf", [](double) { return 1.0; }, 0, Inf},
      {"sin on the line", [](double x) { return std::sin(x); }, -Inf, Inf},
      {"|x| on the line", [](double x) { return std::fabs(x); }, -Inf, Inf},
  };
  for (const auto& test : cases) {
    const IntegralResult r = integral(plain(test.f), test.a, test.b);
    EXPECT_FALSE(r.ok()) << test.name << " gave " << r.value;
  }
  const IntegralResult r = integral(plain([](double x) { return std::sqrt(x); }), -1, 1);
  EXPECT_EQ(r.failure, IntegralFailure::NoValue);
  EXPECT_LT(r.where, 0);
}

} // namespace
