#include "PenWidgets.h"

#include "QtObjects.h"

#include <QMouseEvent>
#include <QPainter>

TPenSample::TPenSample(PenSource source, QWidget* parent)
    : QWidget(parent), penSource(std::move(source)) {}

void TPenSample::paintEvent(QPaintEvent*) {
  const TPen* pen = penSource ? penSource() : nullptr;
  if (!pen) return;
  QPainter painter(this);
  QPen line = toQPen(*pen);
  // Flat ends: the line covers exactly the columns 0 .. width-1, also for a wide pen.
  line.setCapStyle(Qt::FlatCap);
  painter.setPen(line);
  const int middle = height() / 2;
  painter.drawLine(QPoint(0, middle), QPoint(width(), middle));
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
