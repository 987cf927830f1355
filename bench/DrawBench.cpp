// draw_bench: the time of a full redraw of the graph control (DrawFunctions) with five of
// the engine benchmark's formulas on a 1920 x 1080 control, and its shares: the engine
// (the same samples through the same binding), pending messages, and drawing (the rest).
#include "FiveCurveGraph.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

// The fastest of several runs, in milliseconds: on a shared machine the slower runs measure
// the neighbours as much as the code.
double fastest(const std::function<void()>& run) {
  double best = 1e300;
  for (int n = 0; n < Repetitions; ++n) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const auto end = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
  }
  return best;
}

// Every sample that a redraw takes, through the same binding, without drawing.
void sampleAll(TFuncGraph& graph, TEvalon& evalon) {
  const GraphMapping& mapping = graph.Mapping();
  for (int slot = 1; slot <= TFuncGraph::FormulaCount; ++slot) {
    TFormula formula;
    formula.Formula = graph.FormulaText(slot);
    for (int c = mapping.plotLeft(); c <= mapping.plotRight(); ++c)
      formula.Calculate(&evalon, mapping.pixelToX(c));
  }
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("draw_bench", evalon, graph);

  const double redraw = fastest([&] { graph.DrawFunctions(); });
  const double engine = fastest([&] { sampleAll(graph, evalon); });
  const double messages = fastest([] {
    for (int slot = 1; slot <= TFuncGraph::FormulaCount; ++slot)
      QCoreApplication::processEvents();
  });
  const double drawing = std::max(0.0, redraw - engine - messages);
  std::printf("DrawFunctions, five formulas, 1920 x 1080 control (fastest of %d)\n", Repetitions);
  std::printf("  full redraw       %7.3f ms\n", redraw);
  std::printf("  engine            %7.3f ms  %5.1f %%\n", engine, 100.0 * engine / redraw);
  std::printf("  drawing           %7.3f ms  %5.1f %%\n", drawing, 100.0 * drawing / redraw);
  std::printf("  pending messages  %7.3f ms  %5.1f %%\n", messages, 100.0 * messages / redraw);
  return EXIT_SUCCESS;
}
