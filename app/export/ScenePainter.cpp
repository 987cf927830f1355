#include "ScenePainter.h"

#include "GraphScene.h"

#include <QPainter>

namespace {

// A line of the screen covers the pixels from its start up to its end pixel; as a vector line
// along pixel centres with flat ends it covers the same squares. Axis lines run along a row or
// a column; any other line goes from centre to centre.
QLineF pixelLine(QPoint from, QPoint to) {
  const QPointF centre(0.5, 0.5);
  if (from.y() == to.y() && from.x() != to.x()) {
    const double shift = to.x() < from.x() ? 1.0 : 0.0;
    return {QPointF(from.x() + shift, from.y() + 0.5), QPointF(to.x() + shift, to.y() + 0.5)};
  }
  if (from.x() == to.x() && from.y() != to.y()) {
    const double shift = to.y() < from.y() ? 1.0 : 0.0;
    return {QPointF(from.x() + 0.5, from.y() + shift), QPointF(to.x() + 0.5, to.y() + shift)};
  }
  return {QPointF(from) + centre, QPointF(to) + centre};
}

QColor anded(const QColor& a, const QColor& b) {
  return QColor::fromRgb(a.rgb() & b.rgb());
}

void paintCells(const std::vector<SceneText>& texts, const QBrush& back, QPainter& painter) {
  for (const SceneText& text : texts)
    if (text.filled) painter.fillRect(text.cell, back);
}

void paintGlyphs(const std::vector<SceneText>& texts, QPainter& painter) {
  for (const SceneText& text : texts) {
    painter.setFont(text.font);
    painter.setPen(text.color);
    painter.drawText(QPointF(text.cell.left(), text.cell.top() + text.ascent), text.text);
  }
}

void paintCurves(const GraphScene& scene, QPainter& painter) {
  const bool solidBack = scene.back.style() == Qt::SolidPattern;
  for (const SceneCurve& curve : scene.curves) {
    QPen pen = curve.pen;
    if (solidBack) pen.setColor(anded(pen.color(), scene.back.color()));
    // The screen's dots make round ends; dashes end square, as their pixels do.
    pen.setCapStyle(pen.style() == Qt::SolidLine ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    for (const QPolygonF& piece : curve.pieces)
      painter.drawPolyline(piece);
    painter.setBrush(pen.color());
    for (const QPolygonF& band : curve.bands)
      painter.drawPolygon(band);
    painter.setBrush(Qt::NoBrush);
  }
}

void paintFills(const GraphScene& scene, QPainter& painter) {
  const bool solidBack = scene.back.style() == Qt::SolidPattern;
  painter.setPen(Qt::NoPen);
  for (const SceneFill& fill : scene.fills) {
    painter.setBrush(solidBack ? anded(fill.color, scene.back.color()) : fill.color);
    for (const QPolygonF& polygon : fill.polygons)
      painter.drawPolygon(polygon);
  }
  painter.setBrush(Qt::NoBrush);
}

void paintLines(const std::vector<SceneLine>& lines, QPainter& painter) {
  for (const SceneLine& line : lines) {
    QPen pen = line.pen;
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(pixelLine(line.from, line.to));
  }
}

// Over the curves, axes and values, as the screen draws it; the frame is a line along the
// pixels inside the box's edge.
void paintLegend(const SceneLegend& legend, QPainter& painter) {
  if (legend.box.isEmpty()) return;
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(legend.fill);
  painter.drawRect(QRectF(legend.box).adjusted(0.5, 0.5, -0.5, -0.5));
  painter.setBrush(Qt::NoBrush);
  paintLines(legend.samples, painter);
  paintGlyphs(legend.texts, painter);
}

} // namespace

void paintScene(const GraphScene& scene, QPainter& painter) {
  const QRect picture(QPoint(0, 0), scene.size);
  painter.fillRect(picture, Qt::white); // a brush with gaps shows the white of a new layer
  painter.fillRect(picture, scene.back);
  paintCells(scene.values, scene.back, painter);
  paintFills(scene, painter);
  paintCurves(scene, painter);
  paintLines(scene.axisLines, painter);
  paintGlyphs(scene.values, painter);
  paintLegend(scene.legend, painter);
  paintCells(scene.labels, scene.back, painter);
  paintGlyphs(scene.labels, painter);
}
