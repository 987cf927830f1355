#include "GraphPrint.h"

#include "GraphScene.h"
#include "ScenePainter.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// The graph's pixels, as a screen of 96 dots per inch shows them.
constexpr int PixelsPerInch = 96;

} // namespace

// The scene's fonts are sized in points, which a device turns into its own pixels: at the
// graph's resolution their size in the graph's pixels is the screen's, and scaling the scene
// scales them with it. The painter starts at the printable area's top-left corner.
bool printGraph(const GraphScene& scene, QPrinter& printer) {
  printer.setResolution(PixelsPerInch);
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
