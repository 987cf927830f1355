// analysis_bench: the time the analysis takes for the notable points (roots, turning points,
// y-intercepts, intersections of every pair) of five of the engine benchmark's formulas over
// a range of 1920 pixel columns, evaluated through the binding as the program does.
#include "FiveCurveGraph.h"
#include "GraphCurves.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("analysis_bench", evalon, graph);
  const AnalysisRange range{static_cast<double>(graph.XMin()), static_cast<double>(graph.XMax()),
                            1920};

  std::vector<double> ms;
  std::size_t found = 0;
  for (int n = 0; n < FiveCurveRepetitions; ++n) {
    const auto start = std::chrono::steady_clock::now();
    found = CurveAnalysis::points(graphCurves(graph), range).size();
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const std::size_t middle = ms.size() / 2;
  std::printf("Analysis, five formulas, x from %g to %g over 1920 columns (%d runs)\n", range.xMin,
              range.xMax, FiveCurveRepetitions);
  std::printf("  points found  %zu\n", found);
  std::printf("  fastest       %7.3f ms\n", ms.front());
  std::printf("  median        %7.3f ms\n", (ms[middle - 1] + ms[middle]) / 2);
  return 0;
}
