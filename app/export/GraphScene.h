// GraphScene: what a graph shows, as shapes rather than pixels: the back brush, the axes with
// their ticks and values as the axes draw them, the curves as polylines, the legend and the
// visible labels, all in the graph's pixels. Vector pictures are painted from it.
#pragma once

#include "CurvePieces.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class TFuncGraph;

// A text on its cell; the baseline lies `ascent` below the cell's top. The font names the
// typeface that is actually used, so that a reader of the picture finds it.
struct SceneText {
  QRect cell;
  int ascent = 0;
  QString text;
  QFont font;
  QColor color;
  bool filled = false; // the cell is filled with the back brush
};

// A line of the screen from a pixel to a pixel, the end pixel left out.
struct SceneLine {
  QPoint from;
  QPoint to;
  QPen pen;
};

// A curve's pieces and bands; the pen is the screen's (a dashed pen is one pixel wide).
struct SceneCurve {
  QPen pen;
  std::vector<QPolygonF> pieces;
  std::vector<QPolygonF> bands; // filled in the pen's colour and outlined in the pen
};

// An area of the calculus marks: polygons in a tint of its slot's colour, under the curves.
struct SceneFill {
  QColor color;
  std::vector<QPolygonF> polygons;
};

// The legend's box (LegendBox.h) where the document puts it: a one-pixel black frame inside
// its edge around the fill, a sample line in each used slot's pen, and the slots' texts.
struct SceneLegend {
  QRect box; // empty: no legend shows
  QColor fill;
  std::vector<SceneLine> samples;
  std::vector<SceneText> texts;
};

struct GraphScene {
  QSize size;
  QBrush back;
  std::vector<SceneLine> axisLines;
  std::vector<SceneText> values;
  std::vector<SceneFill> fills;
  // Slot order, then the derivative curves and tangents: a later curve covers an earlier one.
  std::vector<SceneCurve> curves;
  SceneLegend legend;
  std::vector<SceneText> labels; // creation order
};

// The scene of the graph as it stands: the curves only when the graph shows curves (the curve
// layer exists), evaluated again with more samples between the screen's.
GraphScene graphScene(TFuncGraph& graph, const CurveSampling& sampling = {});
