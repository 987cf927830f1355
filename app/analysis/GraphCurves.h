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

// The y = f(x) slots: the curves with a value at each x.
std::vector<Curve> graphCurves(const TFuncGraph& graph);

// The relation slots, to which neither the points nor the table apply.
std::vector<int> relationSlots(const TFuncGraph& graph);

// The notable points of every used slot but the relations, sorted by slot, then by the second slot, then by x
// and y:
// the roots, extremes, y intercepts and intersections of the y = f(x) curves, and where the
// curves of other kinds cross the axes.
std::vector<CurvePoint> graphPoints(const TFuncGraph& graph);

// The x range of the graph and the width of its plot in device pixels.
AnalysisRange graphRange(const TFuncGraph& graph);

// One cell of a value table: the value, or the engine's reason for having none (empty when it
// gave none).
struct TableCell {
  std::optional<double> value;
  QString reason;
};

struct TableRow {
  double x; // the running value
  std::vector<TableCell> cells; // one per column
};

// A used slot gives one column of values (y of y = f(x), x of x = f(y)), or two, x and y at
// each t, for a parametric or polar slot.
struct TableColumn {
  int slot;
  QString name; // "f2", "f3.x", "f3.y"
};

struct GraphTable {
  // What the running value is to every used slot: "x", "t" or "y" when they all share it,
  // otherwise "v".
  QString runningName;
  std::vector<TableColumn> columns; // in slot order
  std::vector<TableRow> rows;
};

// The value table of the used slots over the span, which the caller has checked is valid.
GraphTable graphTable(const TFuncGraph& graph, const TableSpan& span);
