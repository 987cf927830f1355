// parameter_bench: the time of one "parameter frame", what a slider step or a step of play
// costs on a 1920 x 1080 graph with five of the engine benchmark's formulas: the parameter set
// through the graph (stored, written into the engine), the five curves redrawn, and the
// picture composed, once as Picture() builds it and once as the screen gets it (the control
// painted into a picture of its size, as explore_bench does). The first formula is scaled by
// the parameter, so every frame draws a new curve.
#include "FiveCurveGraph.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

struct Times {
  double fastest;
  double median;
};

// Every frame is timed; on a shared machine the fastest shows the code, the median the wait.
Times measure(TFuncGraph& graph, int parameter, const std::function<void()>& compose) {
  std::vector<double> ms;
  for (int n = 0; n < Repetitions; ++n) {
    const auto start = std::chrono::steady_clock::now();
    graph.setParameterValue(parameter, 0.5 + 0.05 * n);
    compose();
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), (ms[Repetitions / 2 - 1] + ms[Repetitions / 2]) / 2};
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
  const Times picture = measure(graph, parameter, [&graph] {
    if (graph.Picture().isNull()) std::exit(EXIT_FAILURE);
  });
  QImage screen(graph.size(), QImage::Format_RGB32);
  const Times painted = measure(graph, parameter, [&graph, &screen] {
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
