// analysis_bench: the time the analysis takes for the notable points (roots, turning points,
// y-intercepts, intersections of every pair) of five of the engine benchmark's formulas over
// a range of 1920 pixel columns, evaluated through the binding as the program does, with the
// points of the picture's sampler on the graph's own columns, as the analysis window takes them.
#include "FiveCurveGraph.h"
#include "FrameTimes.h"
#include "GraphCurves.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("analysis_bench", evalon, graph);
  const AnalysisRange range{static_cast<double>(graph.XMin()), static_cast<double>(graph.XMax()),
                            1920, graph.DeviceMapping()};

  std::size_t found = 0;
  const FrameTimes times = timeFrames(FiveCurveRepetitions, [&](int) {
    found = CurveAnalysis::points(graphCurves(graph), range).size();
  });
  std::printf("Analysis, five formulas, x from %g to %g over 1920 columns (%d runs)\n", range.xMin,
              range.xMax, FiveCurveRepetitions);
  std::printf("  points found  %zu\n", found);
  std::printf("  fastest       %7.3f ms\n", times.fastest);
  std::printf("  median        %7.3f ms\n", times.median);
  return 0;
}
