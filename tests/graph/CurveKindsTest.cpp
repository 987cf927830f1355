// Parametric, polar and x = f(y) curves as the graph draws them through the engine, judged by
// their pixels against the true curves, at screen ratios 1 and 2.
#include "FuncGraph.h"

#include "Evalon.h"
#include "SlotCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using std::numbers::pi;

constexpr QRgb White = 0xFFFFFFFF;

struct KindGraph {
  TEvalon evalon;
  TFuncGraph graph;

  KindGraph(CurveKind kind, const QString& formula, const QString& formulaY, double half,
            qreal ratio = 1, int pixels = 420) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    // Margins of the same size on every side give a square plot on a square control.
    graph.setMarginBottom(10);
    graph.resize(pixels, pixels);
    graph.setRenderScale(ratio);
    graph.setXMin(-half);
    graph.setXMax(half);
    graph.setYMin(-half);
    graph.setYMax(half);
    graph.setFormulaKind(1, kind);
    graph.setFormulaText(1, formula);
    graph.setFormulaYText(1, formulaY);
    graph.DrawFunctions();
  }
  const GraphMapping& m() const { return graph.DeviceMapping(); }
  const QImage& layer() const { return *graph.CurveLayer(); }
  bool ink(int x, int y) const {
    return x >= 0 && y >= 0 && x < layer().width() && y < layer().height() &&
           layer().pixel(x, y) != White;
  }
  // The pixel position of a graph point, unrounded.
  QPointF at(long double x, long double y) const {
    return {double(m().xToColumn(x)), double(m().yToRow(y))};
  }
  template <class Visit> void forEachInk(Visit visit) const {
    for (int y = 0; y < layer().height(); ++y)
      for (int x = 0; x < layer().width(); ++x)
        if (ink(x, y)) visit(x, y);
  }
  bool inkWithin(QPointF p, double reach) const {
    for (int y = int(std::floor(p.y() - reach)); y <= int(std::ceil(p.y() + reach)); ++y)
      for (int x = int(std::floor(p.x() - reach)); x <= int(std::ceil(p.x() + reach)); ++x)
        if (ink(x, y) && std::hypot(x - p.x(), y - p.y()) <= reach) return true;
    return false;
  }
};

// The unit circle, drawn as x = cos(t), y = sin(t) and as r = 1: every pixel of it lies within
// half a pixel and the pen of the true circle, and every point of the true circle has a pixel
// within that reach, so there is no gap, also where the curve closes at t = 2π.
TEST(CurveKinds, TheUnitCircleLiesOnTheTrueCircleWithNoGap) {
  struct Case {
    CurveKind kind;
    const char* x;
    const char* y;
    qreal ratio;
  };
  for (const Case& c : {Case{CurveKind::Parametric, "cos(t)", "sin(t)", 1},
                        Case{CurveKind::Parametric, "cos(t)", "sin(t)", 2},
                        Case{CurveKind::Polar, "1", "", 1}}) {
    SCOPED_TRACE(c.x);
    KindGraph g(c.kind, QString::fromLatin1(c.x), QString::fromLatin1(c.y), 1.25, c.ratio);
    const QPointF centre = g.at(0, 0);
    const double radius = g.at(1, 0).x() - centre.x();
    const double reach = 0.5 + g.graph.Formula(1).Pen.Width * c.ratio;
    g.forEachInk([&](int x, int y) {
      EXPECT_LE(std::abs(std::hypot(x - centre.x(), y - centre.y()) - radius), reach)
          << x << "," << y;
    });
    for (int k = 0; k < 3600; ++k) {
      const double angle = 2 * pi * k / 3600;
      ASSERT_TRUE(g.inkWithin(g.at(std::cos(angle), std::sin(angle)), reach)) << angle;
    }
    // The vector picture's polyline: one closed line whose points lie on the circle.
    TFormula copy = g.graph.Formula(1);
    const CurveSampling sampling;
    const QRectF picture(QPointF(0, 0), QSizeF(g.layer().size()));
    const VectorCurve vector = withCurve(copy, &g.evalon, [&](GraphCurve& curve) {
      return curve.pieces(g.m(), picture, sampling);
    });
    ASSERT_EQ(vector.lines.size(), 1u);
    const QPointF middle = centre + QPointF(sampling.offset, sampling.offset);
    for (const QPointF& p : vector.lines.front())
      EXPECT_NEAR(std::hypot(p.x() - middle.x(), p.y() - middle.y()), radius, 0.5);
    EXPECT_EQ(vector.lines.front().front(), vector.lines.front().back());
  }
}

// The rose r = cos(5t) reaches r = 1 at its five tips, at the angles 2πk/5.
TEST(CurveKinds, TheRoseReachesItsTipsWithinHalfAPixel) {
  KindGraph g(CurveKind::Polar, QStringLiteral("cos(5*t)"), QString(), 1.25);
  const QPointF centre = g.at(0, 0);
  const double radius = g.at(1, 0).x() - centre.x();
  for (int k = 0; k < 5; ++k) {
    const double angle = 2 * pi * k / 5;
    double farthest = 0;
    g.forEachInk([&](int x, int y) {
      const double dx = x - centre.x();
      const double dy = centre.y() - y;
      if (std::abs(std::remainder(std::atan2(dy, dx) - angle, 2 * pi)) < 0.05)
        farthest = std::max(farthest, std::hypot(dx, dy));
    });
    EXPECT_NEAR(farthest, radius, 0.5 + 0.5) << k;
  }
}

// x = y^2 - 2 opens to the right from its vertex at (-2, 0), and x = 1/cos(t),
// y = tan(t)/cos(t) is two branches that never meet in the band |x| < 1.
TEST(CurveKinds, AParabolaOnItsSideAndABranchedCurveAcrossPoles) {
  KindGraph parabola(CurveKind::XOfY, QStringLiteral("y^2-2"), QString(), 3);
  EXPECT_TRUE(parabola.inkWithin(parabola.at(-2, 0), 1.0));
  EXPECT_TRUE(parabola.inkWithin(parabola.at(-1, 1), 1.0));
  EXPECT_TRUE(parabola.inkWithin(parabola.at(2, -2), 1.0));
  parabola.forEachInk([&](int x, int) { EXPECT_GE(x, parabola.at(-2, 0).x() - 1.5); });

  KindGraph branches(CurveKind::Parametric, QStringLiteral("1/cos(t)"),
                     QStringLiteral("tan(t)/cos(t)"), 3);
  const double left = branches.at(-0.9, 0).x();
  const double right = branches.at(0.9, 0).x();
  int inBand = 0;
  branches.forEachInk([&](int x, int) { inBand += x > left && x < right; });
  EXPECT_EQ(inBand, 0);
  EXPECT_TRUE(branches.inkWithin(branches.at(1, 0), 1.0));
  EXPECT_TRUE(branches.inkWithin(branches.at(-1, 0), 1.0));
}

// A y = f(x) slot may use t or y as a parameter: drawing a slot that runs over it leaves the
// parameter's value as it was.
TEST(CurveKinds, ARunningVariableThatIsAlsoAParameterKeepsItsValue) {
  KindGraph g(CurveKind::Polar, QStringLiteral("t"), QString(), 3);
  g.graph.setFormulaText(2, QStringLiteral("t*x"));
  const int row = g.graph.Parameters().indexOf(QStringLiteral("t"));
  ASSERT_GE(row, 0);
  g.graph.setParameterValue(row, 0.5);
  g.graph.DrawFunctions();
  EXPECT_EQ(g.evalon.VariableValue(QByteArrayLiteral("t")), 0.5);
  EXPECT_EQ(g.graph.Formula(1).ParameterNames(), QStringList());
}

} // namespace
