#include "GraphScene.h"

#include "Canvas.h"
#include "FuncGraph.h"
#include "LegendBox.h"
#include "SlotCurve.h"
#include "QtObjects.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <utility>

namespace {

// The typeface the font resolves to, under its own name.
QFont resolvedFont(const QFont& font) {
  QFont resolved = font;
  resolved.setFamilies({QFontInfo(font).family()});
  return resolved;
}

// Keeps the axes' lines and texts as the background's canvas draws them.
class AxisRecorder : public CanvasObserver {
public:
  explicit AxisRecorder(GraphScene& scene) : scene(scene) {}
  void line(QPoint from, QPoint to, const QPen& pen) override {
    scene.axisLines.push_back({from, to, pen});
  }
  void text(const QRect& cell, int ascent, const QString& text, const Canvas& canvas) override {
    const bool filled = canvas.brush().style() == Qt::SolidPattern;
    scene.values.push_back(
        {cell, ascent, text, resolvedFont(canvas.font()), canvas.fontColor(), filled});
  }

private:
  GraphScene& scene;
};

void addAxes(TFuncGraph& graph, GraphScene& scene) {
  QImage background = newLayer(scene.size);
  Canvas canvas(background);
  AxisRecorder recorder(scene);
  canvas.setObserver(&recorder);
  canvas.setBrush(scene.back);
  DrawGrid(canvas, graph.Mapping(), graph.XAxis(), graph.YAxis());
  DrawXAxis(canvas, graph.Mapping(), graph.XAxis());
  DrawYAxis(canvas, graph.Mapping(), graph.YAxis(), graph.XAxis());
}

// The screen's pen: widths from 1 up to the canvas's widest, dashes on one-pixel pens only.
QPen curvePen(const TPen& pen) {
  QPen result = toQPen(pen);
  result.setWidth(std::clamp(result.width(), 1, Canvas::kWidestPen));
  if (result.width() > 1 && result.style() != Qt::NoPen) result.setStyle(Qt::SolidLine);
  return result;
}

// Each curve evaluates a copy of its slot, so that the slot's error state stays the screen's.
void addCurves(TFuncGraph& graph, GraphScene& scene, CurveSampling sampling) {
  if (!graph.CurveLayer()) return;
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n) {
    TFormula formula = graph.Formula(n);
    const QPen pen = curvePen(formula.Pen);
    if (!formula.Used() || pen.style() == Qt::NoPen) continue;
    // A pen's dot is centred on its pixel for odd widths, and between it and the next for even.
    sampling.offset = pen.width() % 2 == 0 ? 1.0 : 0.5;
    const double reach = pen.width();
    const QRectF bounds = QRectF(QPointF(0, 0), scene.size).adjusted(-reach, -reach, reach, reach);
    withCurve(formula, graph.Evalon(), [&](GraphCurve& curve) {
      std::vector<QPolygonF> regions = curve.fills(graph.Mapping(), QRectF(QPointF(0, 0), scene.size));
      if (!regions.empty()) scene.fills.push_back({areaTint(pen.color()), std::move(regions)});
      VectorCurve shapes = curve.pieces(graph.Mapping(), bounds, sampling);
      scene.curves.push_back({pen, std::move(shapes.lines), std::move(shapes.bands)});
    });
  }
}

// The marks of the calculus page come with the curves they belong to.
void addCalculus(TFuncGraph& graph, GraphScene& scene) {
  if (!graph.CurveLayer()) return;
  const CalculusMarks marks = graph.CalculusShapes(graph.Mapping());
  for (const CalculusFill& fill : marks.fills)
    scene.fills.push_back({fill.color, fill.polygons});
  for (const CalculusLine& line : marks.lines)
    scene.curves.push_back({line.pen, line.pieces});
}

// Laid out at the graph's own pixels, as a screen of ratio 1 shows it, in the corner the
// model names.
void addLegend(const TFuncGraph& graph, GraphScene& scene) {
  const GraphModel model = graph.Model();
  if (!model.legend.visible) return;
  QImage device(1, 1, QImage::Format_RGB32);
  Canvas measure(device);
  const LegendBox box = layoutLegend(model, graph.Mapping(), measure);
  if (box.isEmpty()) return;
  const QPoint at = box.placeIn(graph.Mapping(), model.legend.corner);
  scene.legend.box = QRect(at, box.size);
  scene.legend.fill = box.fill;
  const QFont font = toQFont(box.font);
  const int ascent = QFontMetrics(font, &device).ascent();
  for (const LegendRow& row : box.rows) {
    const QPen pen = curvePen(row.pen);
    if (pen.style() != Qt::NoPen)
      scene.legend.samples.push_back({at + row.sample.p1(), at + row.sample.p2(), pen});
    scene.legend.texts.push_back({row.textCell.translated(at), ascent, row.text, resolvedFont(font),
                                  toQColor(box.font.Color), false});
  }
}

void addLabels(const TFuncGraph& graph, GraphScene& scene) {
  const QImage device(1, 1, QImage::Format_RGB32); // the layers' resolution, for the metrics
  for (const QObject* child : graph.children()) {
    const auto* label = qobject_cast<const TGraphLabel*>(child);
    if (!label || label->isHidden()) continue;
    const QFont font = toQFont(label->Font());
    const QFontMetrics metrics(font, &device);
    const QRect cell(label->Left(), label->Top(), metrics.horizontalAdvance(label->Caption()),
                     metrics.height());
    scene.labels.push_back({cell, metrics.ascent(), label->Caption(), resolvedFont(font),
                            toQColor(label->Font().Color), scene.back.style() == Qt::SolidPattern});
  }
}

} // namespace

GraphScene graphScene(TFuncGraph& graph, const CurveSampling& sampling) {
  GraphScene scene;
  scene.size = graph.size();
  scene.back = toQBrush(graph.BackBrush());
  if (scene.size.isEmpty()) return scene;
  addAxes(graph, scene);
  addCurves(graph, scene, sampling);
  addCalculus(graph, scene);
  addLegend(graph, scene);
  addLabels(graph, scene);
  return scene;
}
