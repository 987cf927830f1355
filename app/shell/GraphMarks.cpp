#include "GraphMarks.h"

#include "FuncGraph.h"

#include <QEvent>
#include <QPainter>

TGraphMarks::TGraphMarks(TFuncGraph* graph) : QWidget(graph), graph(graph) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
  graph->installEventFilter(this);
  connect(graph, &TFuncGraph::CurvesDrawn, this, &TGraphMarks::clearMarks);
}

void TGraphMarks::setMark(long double x, long double y, const QColor& color, const QString& text) {
  mark = Mark{x, y, color, text};
  setGeometry(graph->rect());
  raise();
  show();
  update();
}

void TGraphMarks::clearMarks() {
  mark.reset();
  hide();
}

QPoint TGraphMarks::markPixel() const {
  if (!mark) return {};
  return {graph->XToPixel(mark->x), graph->YToPixel(mark->y)};
}

void TGraphMarks::paintEvent(QPaintEvent*) {
  if (!mark) return;
  QPainter painter(this);
  const QPoint centre = markPixel();
  painter.setPen(QPen(mark->color, 2));
  painter.drawEllipse(centre, Radius, Radius);
  // The text on the side with more room, on a pale box so that it stays legible over curves
  // and axes.
  QRect box = painter.fontMetrics().boundingRect(mark->text).adjusted(-2, 0, 2, 0);
  const bool left = centre.x() > width() / 2;
  box.moveTopLeft(centre + QPoint(left ? -Radius - 4 - box.width() : Radius + 4, -box.height()));
  painter.setPen(mark->color);
  painter.fillRect(box, QColor(255, 255, 255, 200));
  painter.drawText(box, Qt::AlignCenter, mark->text);
}

bool TGraphMarks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == graph && event->type() == QEvent::Resize) clearMarks();
  return QWidget::eventFilter(watched, event);
}
