// The used slots of a graph as curves to analyse and tabulate, evaluated through the curve
// interface as the graph's drawing does, with whatever variables the engine holds (parameters,
// pi and e). Each works on a copy of its slot, so that the slot's error state stays the
// drawing's.
#pragma once

#include "CurveAnalysis.h"
#include "ValueTable.h"

#include <QString>

#include <optional>
#include <vector>

class TFuncGraph;

std::vector<Curve> graphCurves(const TFuncGraph& graph);

// The x range of the graph and the width of its plot in device pixels.
AnalysisRange graphRange(const TFuncGraph& graph);

// One cell of a value table: the value, or the engine's reason for having none (empty when it
// gave none).
struct TableCell {
  std::optional<double> value;
  QString reason;
};

struct TableRow {
  double x;
  std::vector<TableCell> cells; // one per used slot
};

struct GraphTable {
  std::vector<int> slotNumbers; // the used slots, in rising order
  std::vector<TableRow> rows;
};

// The value table of the used slots over the span, which the caller has checked is valid.
GraphTable graphTable(const TFuncGraph& graph, const TableSpan& span);
