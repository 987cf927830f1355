// The used slots of a graph as curves to analyse, evaluated through the graph's engine binding
// as its drawing does, with whatever variables the engine holds (parameters, pi and e).
#pragma once

#include "CurveAnalysis.h"

class TFuncGraph;

std::vector<Curve> graphCurves(const TFuncGraph& graph);

// The x range of the graph and the width of its plot in device pixels.
AnalysisRange graphRange(const TFuncGraph& graph);
