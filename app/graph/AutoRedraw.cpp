// Curves that follow the graph: with AutoRedraw on, a change asks for a redraw through a
// zero-time single-shot timer, so that all the changes of one event (a dialog setting model.range,
// axes and model.margins in turn) cost one DrawFunctions, drawn once control is back in the event
// loop. A DrawFunctions answers every change made before it; a change made while it lets
// messages run gets a redraw of its own after it, never one nested inside it.
#include "FuncGraph.h"

#include <utility>

void TFuncGraph::initAutoRedraw() {
  redrawTimer.setSingleShot(true);
  redrawTimer.setInterval(0);
  connect(&redrawTimer, &QTimer::timeout, this, &TFuncGraph::autoRedrawNow);
}

// Turned on, the curves catch up with whatever changed while it was off.
void TFuncGraph::setAutoRedraw(bool on) {
  model.autoRedraw = on;
  scheduleRedraw();
}

// The legend shows the pens too.
void TFuncGraph::CurvesChanged() {
  refreshLegend();
  scheduleRedraw();
}

void TFuncGraph::scheduleRedraw() {
  curvesStale = true;
  emit Edited();
  if (model.autoRedraw) redrawTimer.start();
}

void TFuncGraph::autoRedrawNow() {
  if (!model.autoRedraw) return;
  if (drawing)
    redrawDeferred = true;
  else
    DrawFunctions();
}

TFuncGraph::DrawingScope::DrawingScope(TFuncGraph& graph) : graph(graph), outer(graph.drawing) {
  graph.drawing = true;
  graph.curvesStale = false;
  graph.redrawTimer.stop();
  if (!outer) graph.redrawDeferred = false;
}

TFuncGraph::DrawingScope::~DrawingScope() {
  graph.drawing = outer;
  if (outer || !std::exchange(graph.redrawDeferred, false)) return;
  graph.scheduleRedraw();
}
