#include "GraphPrint.h"

#include "GraphScene.h"
#include "ScenePainter.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

// The painter starts at the printable area's top-left corner, in the printer's device pixels.
bool printGraph(const GraphScene& scene, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  if (!scene.size.isEmpty()) {
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const qreal scale =
        std::min(area.width() / scene.size.width(), area.height() / scene.size.height());
    painter.translate((area.width() - scene.size.width() * scale) / 2, 0);
    painter.scale(scale, scale);
    paintScene(scene, painter);
  }
  return painter.end();
}
