// The calculus marks of a graph as shapes in the pixels of a mapping: areas as filled polygons
// in a tint of their slot's colour, derivative curves as dashed polylines and tangents as solid
// lines across the plot, both in the slot's colour. The screen paints them into its curve layer
// (the fills before the curves, the lines after), vector pictures from the graph's scene.
#pragma once

#include "GraphCalculus.h"
#include "GraphMapping.h"
#include "GraphPen.h"

#include <QColor>
#include <QPen>
#include <QPolygonF>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

struct CalculusFill {
  QColor color;
  std::vector<QPolygonF> polygons;
};

struct CalculusLine {
  QPen pen;
  std::vector<QPolygonF> pieces;
};

struct CalculusMarks {
  std::vector<CalculusFill> fills;
  std::vector<CalculusLine> lines;
};

// The value of slot n's curve at x; nothing where it fails.
using SlotValue = std::function<std::optional<double>(int slot, double x)>;

// The marks of the slots that hold formulas (used[n - 1]), sampled once per column of the
// mapping's plot; a point lies at the centre of its pixel.
CalculusMarks calculusMarks(const GraphCalculus& calculus, const GraphMapping& mapping,
                            const std::array<TPen, 5>& pens, const std::array<bool, 5>& used,
                            const SlotValue& value);

// The tint of a pen's colour that an area is filled with: a quarter of the colour on white.
QColor areaTint(const QColor& pen);

void paintFills(const CalculusMarks& marks, QPainter& painter);
void paintLines(const CalculusMarks& marks, QPainter& painter);
