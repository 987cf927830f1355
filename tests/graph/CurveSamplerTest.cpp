// The sampler of y = f(x) curves through plain functions, on a 1920 x 1080 graph of x and y
// from -10 to 10: what it finds between columns (poles, jumps, domain edges, extremes, bands),
// what the pieces then hold, and what it costs.
#include "CurveSampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

using std::numbers::pi_v;

const GraphMapping Wide(GraphRange{-10, 10, -10, 10}, GraphMargins{}, 1920, 1080);
const long double Width = 20.0L / 1900; // of a column, in x

ColumnSpan plotColumns(const GraphMapping& m) {
  return {m.plotLeft(), m.plotRight()};
}

struct Sampled {
  SampledCurve curve;
  int evaluations = 0;
};

template <class F> Sampled sampled(F f, const GraphMapping& m = Wide) {
  Sampled s;
  const CurveFunction counted = [&f, &s](long double x, long double& y) {
    ++s.evaluations;
    return f(x, y);
  };
  s.curve = sampleCurve(m, plotColumns(m), counted);
  return s;
}

// A formula that never fails.
template <class F> auto everywhere(F f) {
  return [f](long double x, long double& y) {
    y = f(x);
    return true;
  };
}

std::vector<CurveBreak> jumps(const SampledCurve& c) {
  std::vector<CurveBreak> found;
  for (const CurveBreak& b : c.breaks)
    if (b.kind == BreakKind::Jump) found.push_back(b);
  return found;
}

// Calls check with the x and y of every two joined neighbouring points of the pieces.
template <class Check> void forEachSegment(const SampledCurve& c, const GraphMapping& m,
                                           Check check) {
  for (const CurvePiece& p : c.pieces)
    for (std::size_t k = p.first + 1; k < p.last; ++k)
      check(m.columnToX(c.vertices[k - 1].column), c.vertices[k - 1].y,
            m.columnToX(c.vertices[k].column), c.vertices[k].y);
}

TEST(CurveSampler, PolesAndJumpsBreakAndSteepRisesStayJoined) {
  const struct {
    std::string formula;
    long double (*f)(long double);
    std::vector<long double> at; // where the curve breaks
  } cases[] = {
      {"tan(x)", [](long double x) { return std::tan(x); },
       {-2.5L * pi_v<long double>, -1.5L * pi_v<long double>, -0.5L * pi_v<long double>,
        0.5L * pi_v<long double>, 1.5L * pi_v<long double>, 2.5L * pi_v<long double>}},
      {"1/(x-0.001)", [](long double x) { return 1 / (x - 0.001L); }, {0.001L}},
      {"x*(x-3)/(x-3.001)", [](long double x) { return x * (x - 3) / (x - 3.001L); }, {3.001L}},
      {"(x>0)-(x<0)", [](long double x) { return (x > 0 ? 1.0L : 0.0L) - (x < 0 ? 1.0L : 0.0L); },
       {0, 0}},
      {"atan(10000*(x-1))", [](long double x) { return std::atan(10000 * (x - 1)); }, {}},
      {"1/(x-0.3)^2", [](long double x) { return 1 / ((x - 0.3L) * (x - 0.3L)); }, {0.3L}},
  };
  for (const auto& c : cases) {
    const SampledCurve curve = sampled(everywhere(c.f)).curve;
    const std::vector<CurveBreak> found = jumps(curve);
    ASSERT_EQ(found.size(), c.at.size()) << c.formula;
    for (std::size_t k = 0; k < found.size(); ++k) {
      EXPECT_NEAR(found[k].left, c.at[k], 1e-12L) << c.formula;
      EXPECT_NEAR(found[k].right, c.at[k], 1e-12L) << c.formula;
    }
    // No segment of the pieces spans a break.
    forEachSegment(curve, Wide, [&](long double x0, long double, long double x1, long double) {
      for (const long double at : c.at)
        EXPECT_FALSE(std::min(x0, x1) < at && at < std::max(x0, x1)) << c.formula << " " << x0;
    });
  }
}

// The least and greatest value of sin(40 / x) for x from a to b.
std::pair<long double, long double> rangeOfSin40(long double a, long double b) {
  if (a <= 0 && 0 <= b) return {-1, 1};
  const long double p = std::min(40 / a, 40 / b);
  const long double q = std::max(40 / a, 40 / b);
  const auto reaches = [p, q](long double phase) { // phase + 2 pi k within [p, q]
    return std::floor((q - phase) / (2 * pi_v<long double>)) >=
           std::ceil((p - phase) / (2 * pi_v<long double>));
  };
  const long double ends[] = {std::sin(p), std::sin(q)};
  return {reaches(-pi_v<long double> / 2) ? -1 : std::min(ends[0], ends[1]),
          reaches(pi_v<long double> / 2) ? 1 : std::max(ends[0], ends[1])};
}

TEST(CurveSampler, ColumnsOfFastOscillationAreBandsOverTheirWholeRange) {
  const SampledCurve curve =
      sampled([](long double x, long double& y) {
        y = std::sin(40 / x);
        return std::isfinite(y);
      }).curve;
  int checked = 0;
  for (std::int32_t c = Wide.plotLeft(); c <= Wide.plotRight(); ++c) {
    const long double x = Wide.pixelToX(c);
    const long double period = 2 * pi_v<long double> * x * x / 40 / Width; // in columns
    if (period >= 2) continue;
    const auto [low, high] = rangeOfSin40(x - Width / 2, x + Width / 2);
    const auto band = std::find_if(curve.bands.begin(), curve.bands.end(),
                                   [c](const CurveBand& b) { return b.column == c; });
    ASSERT_NE(band, curve.bands.end()) << c;
    EXPECT_GE(band->low, low - 1e-9L) << c;
    EXPECT_LE(band->high, high + 1e-9L) << c;
    EXPECT_GE(std::min(band->high, high) - std::max(band->low, low), 0.99L * (high - low)) << c;
    ++checked;
  }
  EXPECT_GT(checked, 60);
}

// Where the formula stops having values, the curve runs to it: sqrt(x-1) starts at the
// domain's edge itself (its value there, 0, lies on the plot), log(x) where it comes into the
// plot from below, found to a quarter of a column; the edges are found to 1/256 of a column.
TEST(CurveSampler, CurvesRunToTheirDomainEdges) {
  const struct {
    std::string formula;
    long double (*f)(long double);
    long double edge;
    long double firstX; // of the first piece
    long double firstY;
    long double columns; // within which firstX is found
  } cases[] = {
      {"sqrt(x-1)", [](long double x) { return std::sqrt(x - 1); }, 1, 1, 0, 1.0L / 256},
      {"log(x)", [](long double x) { return std::log(x); }, 0, std::exp(-10.0L), -10, 0.25L},
      {"sqrt(1-x*x)", [](long double x) { return std::sqrt(1 - x * x); }, -1, -1, 0, 1.0L / 256},
  };
  for (const auto& c : cases) {
    const SampledCurve curve = sampled([&c](long double x, long double& y) {
                                 y = c.f(x);
                                 return std::isfinite(y);
                               }).curve;
    ASSERT_FALSE(curve.breaks.empty()) << c.formula;
    EXPECT_EQ(curve.breaks[0].kind, BreakKind::DomainEdge) << c.formula;
    EXPECT_NEAR(curve.breaks[0].left, c.edge, Width / 256) << c.formula;
    ASSERT_FALSE(curve.pieces.empty()) << c.formula;
    const CurveVertex& first = curve.vertices[curve.pieces[0].first];
    EXPECT_NEAR(Wide.columnToX(first.column), c.firstX, c.columns * Width) << c.formula;
    EXPECT_NEAR(first.y, c.firstY, 0.01L) << c.formula;
  }
}

// A narrow peak between two columns, a third of a column wide: the curve runs up to it, or,
// where it reaches beyond the plot, up to the plot's edge on both sides.
TEST(CurveSampler, AnExtremeBetweenColumnsExtendsTheCurveToIt) {
  const long double at = Wide.pixelToX(700) + 0.4L * Width;
  for (const long double height : {5.0L, 50.0L}) {
    const SampledCurve curve = sampled(everywhere([at, height](long double x) {
                                 const long double u = (x - at) / (0.3L * Width);
                                 return height / (1 + u * u);
                               })).curve;
    // The highest point within a column of the peak on either side.
    const auto highest = [&curve](long double from, long double to) {
      long double y = -1;
      for (const CurvePiece& p : curve.pieces)
        for (std::size_t k = p.first; k < p.last; ++k) {
          const long double x = Wide.columnToX(curve.vertices[k].column);
          if (from <= x && x <= to && (p.last - p.first > 1 || p.closed))
            y = std::max(y, curve.vertices[k].y);
        }
      return y;
    };
    if (height < 10) {
      EXPECT_NEAR(highest(at - Width / 4, at + Width / 4), height, 0.25L / Wide.yScale());
    } else {
      EXPECT_GE(highest(at - Width, at), 10);
      EXPECT_GE(highest(at, at + Width), 10);
    }
  }
}

// Smooth curves cost next to nothing beyond their columns; no curve more than its budget.
TEST(CurveSampler, EvaluationsStayWithinTheBudget) {
  const long double columns = Wide.plotRight() - Wide.plotLeft() + 1;
  const struct {
    std::string formula;
    long double (*f)(long double);
    long double perColumn; // at most
  } cases[] = {
      {"sin(x)*8", [](long double x) { return std::sin(x) * 8; }, 1.01L},
      {"x*x*x-2*x+1", [](long double x) { return x * x * x - 2 * x + 1; }, 1.01L},
      {"exp(-x*x/2)*sin(10*x)", [](long double x) { return std::exp(-x * x / 2) * std::sin(10 * x); },
       1.01L},
      {"sin(10000*x)*20", [](long double x) { return std::sin(10000 * x) * 20; },
       1 + ExtraEvaluationsPerColumn},
      {"tan(1000*x)", [](long double x) { return std::tan(1000 * x); },
       1 + ExtraEvaluationsPerColumn},
  };
  for (const auto& c : cases) {
    const Sampled s = sampled(everywhere(c.f));
    EXPECT_LE(s.evaluations, c.perColumn * columns) << c.formula;
    EXPECT_EQ(s.evaluations, s.curve.evaluations) << c.formula;
  }
}

} // namespace
