// curve_kinds_bench: what parametric and polar curves cost on a 1920 x 1080 control with a
// square plot: the unit circle (target: at most 10 000 evaluations) and the spiral r = t over
// 0..20π seen whole (target: at most 20 000 evaluations and a redraw under 5 ms), with a rose
// and a cycloid besides; each with its evaluations and its redraw alone. Then relations on the
// whole 1920 x 1080 control: the frame of x^2+y^2=1 and of an inequality (target: under 30 ms),
// and the frame a slider gives x^2+y^2=r^2 (target: under 30 ms).
#include "FrameTimes.h"
#include "ImplicitSampler.h"
#include "FuncFormula.h"
#include "PathSampler.h"
#include "SlotCurve.h"

#include "Evalon.h"
#include "FuncGraph.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Repetitions = 30;

struct KindCase {
  const char* name;
  CurveKind kind;
  const char* x;
  const char* y;
  long double tMax;
  double half; // the view: -half..half on both axes
};

constexpr KindCase Cases[] = {
    {"unit circle", CurveKind::Parametric, "cos(t)", "sin(t)", TFormula::DefaultTMax, 1.1},
    {"spiral r = t, 0..20pi", CurveKind::Polar, "t", "", 62.83185307179586L, 65},
    {"rose r = cos(5*t)", CurveKind::Polar, "cos(5*t)", "", TFormula::DefaultTMax, 1.1},
    {"cycloid, 0..8pi", CurveKind::Parametric, "t-sin(t)", "1-cos(t)", 25.132741228718345L, 14},
};

// The evaluations of the slot's curve over the whole plot, as the screen samples it.
std::int64_t evaluations(TFuncGraph& graph, TEvalon& evalon) {
  TFormula formula = graph.Formula(1);
  const GraphMapping& m = graph.DeviceMapping();
  const PathView view{0, 0, 1919, 1079};
  const PathFunction f = [&](long double t, long double& x, long double& y) {
    return formula.CalculatePoint(&evalon, t, x, y);
  };
  return samplePath(m, view, formula.TMin, formula.TMax, f).evaluations;
}

// The evaluations of the relation over the whole plot, as the screen samples it.
std::int64_t relationEvaluations(TFuncGraph& graph, TEvalon& evalon, int regionSign) {
  TFormula formula = graph.Formula(1);
  const GraphMapping& m = graph.DeviceMapping();
  const PlaneFunction f = [&](long double x, long double y, long double& value) {
    return formula.CalculateRelation(&evalon, x, y, value);
  };
  const ImplicitView view{m.plotLeft(), m.plotTop(), m.plotRight(), m.plotBottom()};
  return sampleImplicit(m, view, f, regionSign).evaluations;
}

void reportRelations(TFuncGraph& graph, TEvalon& evalon) {
  const GraphMargins plain;
  graph.setMarginLeft(plain.left);
  graph.setMarginRight(plain.right);
  graph.setMarginTop(plain.top);
  graph.setMarginBottom(plain.bottom);
  graph.setXMin(-3.2);
  graph.setXMax(3.2);
  graph.setYMin(-1.8);
  graph.setYMax(1.8);
  graph.setFormulaKind(1, CurveKind::Relation);
  std::printf("\nRelations, 1920 x 1080, x from -3.2 to 3.2 and y from -1.8 to 1.8\n");
  std::printf("  %-26s %12s %14s %14s\n", "relation", "evaluations", "frame fastest", "median");
  const struct {
    const char* text;
    int regionSign;
  } relations[] = {{"x^2+y^2=1", 0}, {"y<sin(3*x)", -1}, {"x*y=1", 0}};
  for (const auto& r : relations) {
    graph.setFormulaText(1, QString::fromLatin1(r.text));
    const std::int64_t n = relationEvaluations(graph, evalon, r.regionSign);
    const FrameTimes frame = timeFrames(Repetitions, [&graph](int) { graph.DrawFunctions(); });
    std::printf("  %-26s %12lld %11.3f ms %11.3f ms\n", r.text, static_cast<long long>(n),
                frame.fastest, frame.median);
  }
  graph.setFormulaText(1, QStringLiteral("x^2+y^2=r^2"));
  const int row = graph.Parameters().indexOf(QStringLiteral("r"));
  const FrameTimes slider = timeFrames(Repetitions, [&graph, row](int i) {
    graph.setParameterValue(row, 0.5 + 0.04 * i);
  });
  std::printf("  %-26s %12s %11.3f ms %11.3f ms\n", "slider on x^2+y^2=r^2", "", slider.fastest,
              slider.median);
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  if (!evalon.LoadEngine()) {
    std::fprintf(stderr, "curve_kinds_bench: the engine library did not load\n");
    return EXIT_FAILURE;
  }
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.resize(1920, 1080);
  // A square plot of 1060 pixels in the middle of the control.
  graph.setMarginLeft(430);
  graph.setMarginRight(430);
  graph.setMarginTop(10);
  graph.setMarginBottom(10);
  std::printf("Curves of other kinds, 1920 x 1080, a square plot of 1060 pixels\n");
  std::printf("  %-26s %12s %14s %14s %14s\n", "curve", "evaluations", "sampling alone",
              "redraw fastest", "median");
  for (const KindCase& c : Cases) {
    graph.setXMin(-c.half);
    graph.setXMax(c.half);
    graph.setYMin(-c.half);
    graph.setYMax(c.half);
    graph.setFormulaKind(1, c.kind);
    graph.setFormulaText(1, QString::fromLatin1(c.x));
    graph.setFormulaYText(1, QString::fromLatin1(c.y));
    graph.setFormulaTRange(1, 0, c.tMax);
    graph.UpdateGraph();
    const std::int64_t n = evaluations(graph, evalon);
    const FrameTimes sampling =
        timeFrames(Repetitions, [&graph, &evalon](int) { evaluations(graph, evalon); });
    const FrameTimes redraw = timeFrames(Repetitions, [&graph](int) { graph.DrawFunctions(); });
    std::printf("  %-26s %12lld %11.3f ms %11.3f ms %11.3f ms\n", c.name,
                static_cast<long long>(n), sampling.fastest, redraw.fastest, redraw.median);
  }
  reportRelations(graph, evalon);
  return EXIT_SUCCESS;
}
