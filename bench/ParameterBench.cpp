// parameter_bench: the time of one "parameter frame", what a slider step or a step of play
// costs on a 1920 x 1080 graph with five of the engine benchmark's formulas: the parameter set
// through the graph (stored, written into the engine), the five curves redrawn, and the
// picture composed, once as Picture() builds it and once as the screen gets it (the control
// painted into a picture of its size, as explore_bench does). The first formula is scaled by
// the parameter, so every frame draws a new curve.
#include "FiveCurveGraph.h"
#include "FrameTimes.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

FrameTimes measure(TFuncGraph& graph, int parameter, const std::function<void()>& compose) {
  return timeFrames(Repetitions, [&](int n) {
    graph.setParameterValue(parameter, 0.5 + 0.05 * n);
    compose();
  });
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("parameter_bench", evalon, graph);
  graph.setFormulaText(1, QStringLiteral("a*(%1)").arg(QLatin1String(FiveCurveFormulas[0])));
  const int parameter = graph.Parameters().indexOf(QStringLiteral("a"));
  if (parameter < 0) return EXIT_FAILURE;
  graph.DrawFunctions();
  const FrameTimes picture = measure(graph, parameter, [&graph] {
    if (graph.Picture().isNull()) std::exit(EXIT_FAILURE);
  });
  QImage screen(graph.size(), QImage::Format_RGB32);
  const FrameTimes painted = measure(graph, parameter, [&graph, &screen] {
    QPainter painter(&screen);
    graph.render(&painter);
  });
  std::printf("Parameter frame: set a, redraw five formulas, compose; 1920 x 1080 (%d frames)\n",
              Repetitions);
  std::printf("                      fastest     median\n");
  std::printf("  with Picture()   %8.2f ms %8.2f ms\n", picture.fastest, picture.median);
  std::printf("  painted          %8.2f ms %8.2f ms\n", painted.fastest, painted.median);
  return EXIT_SUCCESS;
}
