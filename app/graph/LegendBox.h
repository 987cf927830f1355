// LegendBox: the legend of a graph laid out for one picture. A row for each used slot, in slot
// order: a short line in the slot's pen and the slot's text "f1: sin(x)" (named as the
// function window and kurvo-render name a slot in their messages, and fit for every kind of
// formula), in the X axis's value font, the graph's one text font. The box is framed in black
// and filled with the back colour, so that it stays readable over the curves.
//
// The layout is measured with the canvas the picture is drawn with, in that canvas's pixels
// (its ratio scales fonts, gaps and lines), so the screen, Copy and the vector pictures place
// the same box, each in its own pixels.
#pragma once

#include "GraphFont.h"
#include "GraphLegend.h"
#include "GraphMapping.h"
#include "GraphPen.h"

#include <QColor>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class Canvas;
struct GraphModel;

struct LegendRow {
  TPen pen;
  QString text; // cut with "…" where the plot is too narrow for all of it
  // The pen sample from its first pixel to the pixel after its last, and the text's cell,
  // relative to the box's top-left corner.
  QLine sample;
  QRect textCell;
};

struct LegendBox {
  QSize size;    // empty when no slot is used: no box shows
  int frame = 0; // the frame's width inside the box's edge
  int inset = 0; // the gap between the box and the plot's edges
  TFont font;
  QColor fill;
  std::vector<LegendRow> rows;

  bool isEmpty() const { return size.isEmpty(); }
  // Its top-left corner when it stands in the corner of the plot.
  QPoint placeIn(const GraphMapping& mapping, LegendCorner corner) const;
  // The corner whose place lies nearest to a box dropped at `at`: a box let go where it stood
  // keeps its corner, however wide it is.
  LegendCorner nearestCorner(const GraphMapping& mapping, QPoint at) const;
};

// The model's legend laid out in the pixels of the canvas and of the mapping (the same
// pixels); empty when no slot is used. The canvas measures; nothing is drawn.
LegendBox layoutLegend(const GraphModel& model, const GraphMapping& mapping, Canvas& canvas);
// Draws the box with its top-left corner at `at`.
void drawLegend(Canvas& canvas, const LegendBox& box, QPoint at);
