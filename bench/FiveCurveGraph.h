// The graph that the drawing benchmarks time: five of the engine benchmark's formulas on a
// 1920 x 1080 control, evaluated through the binding as the program does.
#pragma once

#include "Evalon.h"
#include "FuncGraph.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

inline constexpr int FiveCurveRepetitions = 30;
inline constexpr const char* FiveCurveFormulas[] = {
    "sin(x)*2^3", "x*x*x-2*x+1", "sqrt(abs(x))+cos(x)/(1+x*x)", "exp(-x*x/2)*sin(10*x)",
    "log(abs(x)+1)*atan(x)-tan(x/4)"};

// Loads the engine into the binding and sets the graph up; a benchmark without its engine
// would time nothing, so the program ends with a message naming itself.
inline void setUpFiveCurveGraph(const char* program, TEvalon& evalon, TFuncGraph& graph) {
  if (!evalon.LoadEngine()) {
    std::fprintf(stderr, "%s: the engine library did not load\n", program);
    std::exit(EXIT_FAILURE);
  }
  graph.setEvalon(&evalon);
  graph.resize(1920, 1080);
  graph.UpdateGraph();
  for (int slot = 1; slot <= TFuncGraph::FormulaCount; ++slot)
    graph.setFormulaText(slot, QString::fromLatin1(FiveCurveFormulas[slot - 1]));
}
