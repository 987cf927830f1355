// The calculus marks through the graph's pixels: a tangent lies on its line across the plot,
// an area is tinted between the curve and the axis and nowhere else, and a derivative curve
// runs where the slope is.
#include "Evalon.h"
#include "FuncGraph.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct MarkedGraph {
  TEvalon evalon;
  TFuncGraph graph;
  MarkedGraph(const QString& formula, const GraphCalculus& calculus) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(400, 400);
    graph.UpdateGraph();
    graph.setFormulaText(1, formula);
    TPen pen = graph.FormulaPen(1);
    pen.Color = 0x0000FF; // red, so that its tint is told apart from the yellow back
    graph.FormulaPen(1) = pen;
    graph.setCalculus(calculus);
  }
  QRgb at(long double x, long double y) const {
    return graph.CurveLayer()->pixel(graph.XToPixel(x), graph.YToPixel(y));
  }
};

const QRgb White = qRgb(255, 255, 255);

TEST(CalculusMarks, TheTangentOfSinAtOneLiesOnItsLine) {
  GraphCalculus calculus;
  calculus.tangents.push_back({1, 1.0});
  MarkedGraph marked(QStringLiteral("sin(x)"), calculus);
  const auto tangent = [](double x) { return std::cos(1.0) * (x - 1) + std::sin(1.0); };
  // A line drawn between pixel centres inks the row of its point or the one beside it.
  const auto inked = [&](double x) {
    const int column = marked.graph.XToPixel(x);
    const int row = marked.graph.YToPixel(tangent(x));
    for (int r = row - 1; r <= row + 1; ++r)
      if (marked.graph.CurveLayer()->pixel(column, r) == qRgb(255, 0, 0)) return true;
    return false;
  };
  for (double x : {-2.5, -1.5, 2.5})
    EXPECT_TRUE(inked(x)) << x;
  EXPECT_EQ(marked.at(-2.5, tangent(-2.5) + 0.3), White);
}

TEST(CalculusMarks, TheAreaOfXSquaredOnZeroToOneIsTintedUnderTheCurveOnly) {
  GraphCalculus calculus;
  calculus.areas.push_back({1, 0, 0.0, 1.0});
  MarkedGraph marked(QStringLiteral("x*x"), calculus);
  const QRgb tint = qRgb(255, 191, 191);
  for (double x : {0.3, 0.5, 0.9})
    EXPECT_EQ(marked.at(x, x * x / 3), tint) << x;
  EXPECT_EQ(marked.at(0.5, 0.6), White);
  EXPECT_EQ(marked.at(1.5, 0.5), White);
  EXPECT_EQ(marked.at(-0.5, 0.1), White);
}

TEST(CalculusMarks, TheDerivativeCurveRunsDashedAlongTheSlope) {
  GraphCalculus calculus;
  calculus.derivatives[0] = true;
  MarkedGraph marked(QStringLiteral("x*x*x-2*x"), calculus);
  int on = 0;
  int columns = 0;
  for (double x = -1.2; x <= 1.2; x += 0.01, ++columns)
    on += marked.at(x, 3 * x * x - 2) == qRgb(255, 0, 0);
  // Dashes: most columns carry ink, some do not.
  EXPECT_GT(on, columns / 3);
  EXPECT_LT(on, columns);
}

} // namespace
