// Curves as the graph draws them through the engine: smooth ones pixel for pixel as one sample
// per column joined by the screen's plain rule, difficult ones with their poles, jumps, domain
// edges and bands, on a screen of ratio 1 and of ratio 2.
#include "FuncGraph.h"

#include "Canvas.h"
#include "Evalon.h"
#include "QtObjects.h"

#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using std::numbers::pi;

constexpr QRgb White = 0xFFFFFFFF;

struct Graph {
  TEvalon evalon;
  TFuncGraph graph;

  Graph(const QString& formula, QSize size, const GraphRange& range, qreal ratio = 1) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(size);
    graph.setRenderScale(ratio);
    graph.setXMin(range.xMin);
    graph.setXMax(range.xMax);
    graph.setYMin(range.yMin);
    graph.setYMax(range.yMax);
    graph.setFormulaText(1, formula);
    graph.DrawFunctions();
  }
  const GraphMapping& m() const { return graph.DeviceMapping(); }
  bool ink(int x, int y) const { return graph.CurveLayer()->pixel(x, y) != White; }
  bool inkNear(int column, int reach, int row) const {
    for (int x = column - reach; x <= column + reach; ++x)
      if (ink(x, row)) return true;
    return false;
  }
};

// The curve as one sample per column joins it, without the sampler: a failed sample has no
// point, and a sample joins the one before when both are good and it lies in the range.
QImage plainJoining(Graph& g) {
  QImage layer = newLayer(g.graph.CurveLayer()->size());
  layer.setDevicePixelRatio(g.graph.CurveLayer()->devicePixelRatio());
  Canvas canvas(layer);
  canvas.setPen(toQPen(g.graph.Formula(1).Pen));
  TFormula formula = g.graph.Formula(1);
  const GraphMapping& m = g.m();
  const int reach = canvas.pen().width();
  const ColumnSpan span = m.columnsWithin(-reach, layer.width() - 1 + reach);
  bool joined = false;
  for (std::int32_t c = span.first; c <= span.last; ++c) {
    const long double x = m.pixelToX(c);
    const long double y = formula.Calculate(&g.evalon, x);
    if (joined && !formula.Error() && m.inGraphRange(x, y))
      canvas.lineTo(c, m.yToPixel(y));
    else
      canvas.moveTo(c, m.yToPixel(y));
    joined = !formula.Error();
  }
  return layer;
}

TEST(CurvePixels, SmoothCurvesArePixelIdenticalToThePlainJoining) {
  const char* formulas[] = {"x",
                            "x*x",
                            "sin(pi*x)",
                            "exp(x)",
                            "x^3/8-x",
                            "1/(1+x*x)",
                            "sin(x)*2^3",
                            "x*x*x-2*x+1",
                            "sqrt(abs(x))+cos(x)/(1+x*x)",
                            "exp(-x*x/2)*sin(10*x)",
                            "log(abs(x)+1)*atan(x)-tan(x/4)"};
  for (const QSize size : {QSize(336, 316), QSize(1920, 1080)})
    for (const char* formula : formulas) {
      Graph g(QString::fromLatin1(formula), size, GraphRange{});
      EXPECT_TRUE(*g.graph.CurveLayer() == plainJoining(g)) << formula << " " << size.width();
    }
}

class DifficultCurves : public ::testing::TestWithParam<qreal> {
protected:
  // 1920 x 1080 device pixels, x and y from -10 to 10.
  Graph drawn(const char* formula) const {
    const qreal r = GetParam();
    return Graph(QString::fromLatin1(formula), QSize(qRound(1920 / r), qRound(1080 / r)),
                 GraphRange{-10, 10, -10, 10}, r);
  }
};

INSTANTIATE_TEST_SUITE_P(Ratios, DifficultCurves, ::testing::Values(1.0, 2.0));

// Each side of a pole runs to the plot's edge where it leaves the plot, within a column, and no
// further: no ink in the margins above and below the plot beyond the pen's own width. Nothing
// joins the sides: no ink
// within two columns of the pole on the row of a value neither side takes there.
TEST_P(DifficultCurves, PolesAndJumpsBreakTheCurve) {
  struct Exit {
    double x;
    double y; // the plot's top or bottom
  };
  const double beside = pi / 2 - std::atan(10.0); // from a pole of tan to where |tan| = 10
  std::vector<Exit> tanExits;
  for (int k = -3; k < 3; ++k)
    tanExits.insert(tanExits.end(), {{(k + 0.5) * pi - beside, 10}, {(k + 0.5) * pi + beside, -10}});
  const struct {
    const char* formula;
    std::vector<double> poles;
    double apart; // a value neither side takes near the pole
    std::vector<Exit> exits;
  } cases[] = {
      {"x*(x-3)/(x-3.001)", {3.001}, 3.0, {{3.001, -10}, {3.001, 10}}},
      {"tan(x)", {-2.5 * pi, -1.5 * pi, -0.5 * pi, 0.5 * pi, 1.5 * pi, 2.5 * pi}, 0, tanExits},
      {"1/(x-0.001)", {0.001}, 0, {{0.001 - 0.1, -10}, {0.001 + 0.1, 10}}},
      {"(x>0)-(x<0)", {0}, 0.5, {}},
      {"(x>0)-(x<0)", {0}, -0.5, {}},
  };
  for (const auto& c : cases) {
    Graph g = drawn(c.formula);
    const GraphMapping& m = g.m();
    for (const double pole : c.poles)
      EXPECT_FALSE(g.inkNear(m.xToPixel(pole), 2, m.yToPixel(c.apart))) << c.formula << " " << pole;
    for (const Exit& exit : c.exits)
      EXPECT_TRUE(g.inkNear(m.xToPixel(exit.x), 1, m.yToPixel(exit.y))) << c.formula << " " << exit.x;
    const QImage& layer = *g.graph.CurveLayer();
    const int pen = qCeil(GetParam()); // the dot of a one-pixel pen, in device pixels
    for (int y = 0; y < layer.height(); ++y) {
      if (y >= m.plotTop() - pen && y <= m.plotBottom() + pen) continue;
      for (int x = 0; x < layer.width(); ++x)
        ASSERT_FALSE(g.ink(x, y)) << c.formula << " " << x << "," << y;
    }
  }
}

// A steep but continuous rise stays joined: every row it passes has ink near it.
TEST_P(DifficultCurves, ASteepRiseStaysJoined) {
  Graph g = drawn("atan(10000*(x-1))");
  const GraphMapping& m = g.m();
  for (int row = m.yToPixel(1.5); row <= m.yToPixel(-1.5); ++row)
    EXPECT_TRUE(g.inkNear(m.xToPixel(1), 2, row)) << row;
}

// sqrt(x-1) starts on the axis at x = 1, log(x) on the plot's bottom edge right of x = 0.
TEST_P(DifficultCurves, CurvesStartAtTheirDomainEdges) {
  const struct {
    const char* formula;
    double x;
    double y;
  } cases[] = {{"sqrt(x-1)", 1, 0}, {"log(x)", 0, -10}};
  for (const auto& c : cases) {
    Graph g = drawn(c.formula);
    const GraphMapping& m = g.m();
    int first = 0;
    while (first < m.plotRight() && [&] {
      for (int y = m.plotTop(); y <= m.plotBottom(); ++y)
        if (g.ink(first, y)) return false;
      return true;
    }())
      ++first;
    EXPECT_EQ(first, m.xToPixel(c.x)) << c.formula;
    EXPECT_TRUE(g.ink(first, m.yToPixel(c.y))) << c.formula;
  }
}

// Where the local period of sin(40/x) is under two columns, every column's ink covers at least
// 99 % of the function's range over that column, measured in rows (a pixel of row r covers
// r - 1/2 to r + 1/2).
TEST_P(DifficultCurves, FastOscillationFillsItsColumns) {
  Graph g = drawn("sin(40/x)");
  const GraphMapping& m = g.m();
  const double width = 1 / static_cast<double>(m.xScale());
  int checked = 0;
  for (int c = m.plotLeft(); c <= m.plotRight(); ++c) {
    const double x = static_cast<double>(m.pixelToX(c));
    if (2 * pi * x * x / 40 >= 2 * width) continue;
    double low = -1;
    double high = 1;
    const double a = x - width / 2;
    const double b = x + width / 2;
    if (a > 0 || b < 0) { // the phase 40/x runs over [p, q]; is an extreme within it?
      const double p = std::min(40 / a, 40 / b);
      const double q = std::max(40 / a, 40 / b);
      const auto within = [p, q](double phase) {
        return std::floor((q - phase) / (2 * pi)) >= std::ceil((p - phase) / (2 * pi));
      };
      low = within(-pi / 2) ? -1 : std::min(std::sin(p), std::sin(q));
      high = within(pi / 2) ? 1 : std::max(std::sin(p), std::sin(q));
    }
    const double top = static_cast<double>(m.yToRow(high));
    const double bottom = static_cast<double>(m.yToRow(low));
    double covered = 0;
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y)
      if (g.ink(c, y)) covered += std::max(0.0, std::min(bottom, y + 0.5) - std::max(top, y - 0.5));
    EXPECT_GE(covered, 0.99 * (bottom - top)) << c;
    ++checked;
  }
  EXPECT_GT(checked, 60);
}

} // namespace
