// The graph control's legend: its box drawn for the screen in the layers' pixels, placed in its
// corner of the plot, and moved with the mouse.
#include "FuncGraph.h"

#include "Canvas.h"

#include <QApplication>
#include <QMouseEvent>

void TFuncGraph::setLegendVisible(bool on) {
  model.legend.visible = on;
  refreshLegend();
  emit Edited();
}

void TFuncGraph::setLegendCorner(LegendCorner corner) {
  model.legend.corner = corner;
  refreshLegend();
  emit Edited();
}

QRect TFuncGraph::LegendRect() const {
  if (legendPicture.isNull()) return {};
  const qreal ratio = legendPicture.devicePixelRatio();
  return QRectF(QPointF(legendAt) / ratio, QSizeF(legendPicture.size()) / ratio).toAlignedRect();
}

// Drawn once for each change of what it shows, so that painting only copies it. A graph
// squeezed to nothing shows no legend.
void TFuncGraph::refreshLegend() {
  update(LegendRect());
  legendBox = LegendBox();
  legendPicture = QImage();
  if (!model.legend.visible || !backLayer || backLayer->isNull()) return;
  const qreal ratio = RenderScale();
  QImage probe(1, 1, QImage::Format_RGB32);
  probe.setDevicePixelRatio(ratio);
  Canvas measure(probe);
  legendBox = layoutLegend(model, deviceMapping, measure);
  if (legendBox.isEmpty()) return;
  legendPicture = newLayer(legendBox.size);
  legendPicture.setDevicePixelRatio(ratio);
  Canvas canvas(legendPicture);
  drawLegend(canvas, legendBox, QPoint(0, 0));
  legendAt = legendBox.placeIn(deviceMapping, model.legend.corner);
  update(LegendRect());
}

bool TFuncGraph::pressLegend(const QMouseEvent* event) {
  if (!LegendRect().contains(event->position().toPoint())) return false;
  legendDrag = LegendDrag{true, false, event->position(), legendAt};
  return true;
}

// The box follows the pointer freely; only where it is let go counts.
bool TFuncGraph::moveLegend(const QMouseEvent* event) {
  if (!legendDrag.armed || !(event->buttons() & Qt::LeftButton)) return false;
  const QPointF moved = event->position() - legendDrag.press;
  if (!legendDrag.active && moved.manhattanLength() < QApplication::startDragDistance())
    return true;
  legendDrag.active = true;
  update(LegendRect());
  legendAt = legendDrag.start + (moved * RenderScale()).toPoint();
  update(LegendRect());
  return true;
}

// A click that never started a drag changes nothing.
bool TFuncGraph::releaseLegend(const QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !legendDrag.armed) return false;
  const bool dropped = legendDrag.active;
  legendDrag = LegendDrag{};
  if (dropped) setLegendCorner(legendBox.nearestCorner(deviceMapping, legendAt));
  return true;
}

void TFuncGraph::showPointer(QPointF pos) {
  const Qt::CursorShape shape =
      LegendRect().contains(pos.toPoint()) ? Qt::SizeAllCursor : Qt::OpenHandCursor;
  if (cursor().shape() != shape) setCursor(shape);
}
