// scaled_draw_bench: a full redraw of the five-curve graph (DrawFunctions) on a 1920 x 1080
// control drawn for a screen of device pixel ratio 2, that is into 3840 x 2160 layers with a
// sample per device column; the redraw at ratio 1 beside it for comparison.
#include "FiveCurveGraph.h"
#include "FrameTimes.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

FrameTimes redraws(TFuncGraph& graph) {
  return timeFrames(Repetitions, [&graph](int) { graph.DrawFunctions(); });
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("scaled_draw_bench", evalon, graph);
  const FrameTimes plain = redraws(graph);
  graph.setRenderScale(2);
  const FrameTimes scaled = redraws(graph);
  std::printf("DrawFunctions, five formulas, 1920 x 1080 control (%d redraws each)\n", Repetitions);
  std::printf("                          fastest     median\n");
  std::printf("  ratio 1 (1920 x 1080)  %7.3f ms %7.3f ms\n", plain.fastest, plain.median);
  std::printf("  ratio 2 (3840 x 2160)  %7.3f ms %7.3f ms\n", scaled.fastest, scaled.median);
  return EXIT_SUCCESS;
}
