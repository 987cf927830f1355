// GraphModel: everything a graph document holds, as one plain value: range, margins, border,
// back brush, the two axes, the five function slots, the labels, the parameters, the
// options and the data sets. The graph control holds one and draws it; documents are read into it and written
// from it with no widget (app/document).
#pragma once

#include "DataSet.h"
#include "FuncFormula.h"
#include "GraphAxis.h"
#include "GraphBrush.h"
#include "GraphCalculus.h"
#include "GraphColor.h"
#include "GraphLabels.h"
#include "GraphLegend.h"
#include "GraphMapping.h"
#include "GraphParameters.h"

#include <array>

struct GraphModel {
  static constexpr int FormulaCount = 5;
  static constexpr int LabelCount = GraphLabels::Count;
  static constexpr GraphColor DefaultBackColor = kLightYellow;

  TAxis xAxis;
  TAxis yAxis;
  GraphRange range;
  GraphMargins margins;
  bool borderLine = false;
  TBrush backBrush{DefaultBackColor, BrushStyle::Solid};
  std::array<TFormula, FormulaCount> formulas; // their text and pen
  GraphLabels labels;
  bool autoRedraw = false;
  // What a document that does not name AutoRedraw gives, and what a new graph starts with. Not
  // stored: the window that shows the graph decides it (the main window turns it on, so that
  // the curves always follow), and only a graph that differs from it writes the key.
  bool autoRedrawByDefault = false;
  GraphParameters parameters;
  GraphCalculus calculus; // derivative curves, tangents and areas
  GraphLegend legend; // an option, stored in [Options] with the others
  DataSets dataSets; // up to DataSet::MaxCount sets of points, drawn with the curves

  // What a new graph holds: the defaults, and each slot's pen in its own colour.
  static GraphModel NewGraph();
  // Equal in everything a document holds.
  bool operator==(const GraphModel&) const = default;
};
