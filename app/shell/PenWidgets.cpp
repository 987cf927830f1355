#include "PenWidgets.h"

#include "Canvas.h"
#include "QtObjects.h"

#include <QMouseEvent>
#include <QPainter>

TPenSample::TPenSample(PenSource source, QWidget* parent)
    : QWidget(parent), penSource(std::move(source)) {}

// The line is drawn by the same canvas as the curves, so dashes and widths look as they will on
// the graph. The image takes the window's colour around it: the sample looks transparent.
void TPenSample::paintEvent(QPaintEvent*) {
  const TPen* pen = penSource ? penSource() : nullptr;
  if (!pen) return;
  QImage sample(size(), QImage::Format_RGB32);
  sample.fill(palette().color(backgroundRole()));
  Canvas canvas(sample);
  canvas.setPen(toQPen(*pen));
  canvas.moveTo(0, height() / 2);
  canvas.lineTo(width(), height() / 2);
  QPainter(this).drawImage(0, 0, sample);
}

void TPenSample::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void TColorShape::setColor(GraphColor value) {
  color = value;
  update();
}

void TColorShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.setBrush(toQColor(color));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
