// curve_kinds_bench: what parametric and polar curves cost on a 1920 x 1080 control with a
// square plot: the unit circle (target: at most 10 000 evaluations) and the spiral r = t over
// 0..20π seen whole (target: at most 20 000 evaluations and a redraw under 5 ms), with a rose
// and a cycloid besides; each with its evaluations and its redraw alone.
#include "FrameTimes.h"
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
  std::printf("  %-26s %12s %14s %14s\n", "curve", "evaluations", "redraw fastest", "median");
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
    const FrameTimes redraw = timeFrames(Repetitions, [&graph](int) { graph.DrawFunctions(); });
    std::printf("  %-26s %12lld %11.3f ms %11.3f ms\n", c.name, static_cast<long long>(n),
                redraw.fastest, redraw.median);
  }
  return EXIT_SUCCESS;
}
