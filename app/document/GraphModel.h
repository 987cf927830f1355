// GraphModel: everything a graph document holds, as plain values. Documents are read into it and
// written from it with no widget, so the reader can be exercised at speed; the graph control
// converts to it for a save and from it after a load (GraphDocument.cpp).
#pragma once

#include "FuncFormula.h"
#include "GraphAxis.h"
#include "GraphBrush.h"
#include "GraphColor.h"
#include "GraphFont.h"
#include "GraphMapping.h"
#include "GraphParameters.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class IniFile;

// A visible label. Its colour is the graph's fill when it was made; a document's stored colour is
// not applied, since labels are transparent.
struct GraphLabelRecord {
  QString caption;
  GraphColor color = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t tag = 0;
  TFont font;
  bool operator==(const GraphLabelRecord&) const = default;
};

struct GraphModel {
  static constexpr int FormulaCount = 5;
  static constexpr int LabelCount = 16;

  TAxis xAxis;
  TAxis yAxis;
  GraphRange range;
  GraphMargins margins;
  bool borderLine = false;
  TBrush backBrush;
  std::array<TFormula, FormulaCount> formulas;                    // their text and pen
  std::array<std::optional<GraphLabelRecord>, LabelCount> labels; // slot n at n - 1
  bool autoRedraw = false;
  GraphParameters parameters;

  // Equal in everything a document holds.
  bool operator==(const GraphModel& other) const;
};

// Reads the document over the model: a missing key keeps the model's value, as opening a file
// keeps the graph's. Raises KurvoError, and changes nothing, when the text holds none of the
// document's sections.
void ReadGraphModel(const IniFile& ini, GraphModel& model);
// Writes every section, changing only the keys the document holds.
void WriteGraphModel(IniFile& ini, const GraphModel& model);
