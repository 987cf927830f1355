// sampler_bench: what the curve sampler costs on a 1920 x 1080 control. For the five smooth
// curves of the draw benchmark, the evaluations per column and the full redraw; for the
// difficult set (a pole a thousandth beside a root, tan, a pole off a column, sin(40/x), a sign
// jump) on x and y from -10 to 10, the evaluations per curve and the full redraw of all five,
// whose target is 50 ms.
#include "CurveSampler.h"
#include "FiveCurveGraph.h"
#include "FrameTimes.h"
#include "FuncFormula.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;
constexpr const char* DifficultFormulas[] = {"x*(x-3)/(x-3.001)", "tan(x)", "1/(x-0.001)",
                                             "sin(40/x)", "(x>0)-(x<0)"};

// The evaluations the sampler spends on a slot's curve over the plot, through the binding.
std::int64_t evaluations(TFuncGraph& graph, TEvalon& evalon, int slot) {
  TFormula formula = graph.Formula(slot);
  const CurveFunction f = [&](long double x, long double& y) {
    y = formula.Calculate(&evalon, x);
    return !formula.Error();
  };
  const GraphMapping& m = graph.DeviceMapping();
  return sampleCurve(m, {m.plotLeft(), m.plotRight()}, f).evaluations;
}

void report(const char* title, TFuncGraph& graph, TEvalon& evalon) {
  const GraphMapping& m = graph.DeviceMapping();
  const long columns = m.plotRight() - m.plotLeft() + 1;
  std::printf("%s, %ld columns\n", title, columns);
  std::printf("  %-34s %12s %10s\n", "formula", "evaluations", "per column");
  for (int slot = 1; slot <= TFuncGraph::FormulaCount; ++slot) {
    const std::int64_t n = evaluations(graph, evalon, slot);
    std::printf("  %-34s %12lld %10.3f\n", graph.FormulaText(slot).toLatin1().constData(),
                static_cast<long long>(n), static_cast<double>(n) / columns);
  }
  const FrameTimes redraw = timeFrames(Repetitions, [&graph](int) { graph.DrawFunctions(); });
  std::printf("  full redraw of all five (%d redraws): fastest %.3f ms, median %.3f ms\n\n",
              Repetitions, redraw.fastest, redraw.median);
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("sampler_bench", evalon, graph);
  report("Five smooth curves, x and y from -3 to 3", graph, evalon);

  graph.setXMin(-10);
  graph.setXMax(10);
  graph.setYMin(-10);
  graph.setYMax(10);
  for (int slot = 1; slot <= TFuncGraph::FormulaCount; ++slot)
    graph.setFormulaText(slot, QString::fromLatin1(DifficultFormulas[slot - 1]));
  report("The difficult set, x and y from -10 to 10", graph, evalon);
  return EXIT_SUCCESS;
}
