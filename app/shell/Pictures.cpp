#include "Pictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace {

// Every picture is drawn on a 24 x 24 grid that the painter scales to the wanted size, with
// strokes of at least 1.5 grid units so that they still cover a whole pixel at 16 x 16.
constexpr qreal Grid = 24.0;

const QColor Ink(0x30, 0x30, 0x38);
const QColor Paper(0xff, 0xff, 0xff);

QPen inkPen(qreal width = 1.5, const QColor& color = Ink) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawNew(QPainter& p) {
  const QPolygonF page{{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}};
  p.setPen(inkPen());
  p.setBrush(Paper);
  p.drawPolygon(page);
  const QPolygonF fold{{15, 2}, {15, 7}, {20, 7}};
  p.setBrush(QColor(0xc8, 0xd0, 0xdc));
  p.drawPolygon(fold);
}

void drawOpen(QPainter& p) {
  p.setPen(inkPen());
  const QPolygonF back{{2, 5}, {9, 5}, {11, 7.5}, {19, 7.5}, {19, 20}, {2, 20}};
  p.setBrush(QColor(0xd9, 0xa4, 0x2b));
  p.drawPolygon(back);
  const QPolygonF front{{6, 11}, {23, 11}, {19, 20}, {2, 20}};
  p.setBrush(QColor(0xff, 0xd5, 0x5c));
  p.drawPolygon(front);
}

void drawSave(QPainter& p) {
  p.setPen(inkPen());
  p.setBrush(QColor(0x2f, 0x6f, 0xc8));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
  // The metal shutter at the top with its window, the paper label at the bottom.
  p.setBrush(QColor(0xd8, 0xdc, 0xe2));
  p.drawRect(QRectF(7.5, 3, 9, 6.5));
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  p.drawRect(QRectF(12.5, 4.5, 2.5, 3.5));
  p.setPen(inkPen());
  p.setBrush(Paper);
  p.drawRect(QRectF(6, 13, 12, 8));
}

void drawSheet(QPainter& p, const QRectF& sheet) {
  p.setPen(inkPen());
  p.setBrush(Paper);
  p.drawRect(sheet);
  p.setPen(inkPen(1.2, QColor(0x80, 0x90, 0xa8)));
  for (qreal y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3)
    p.drawLine(QPointF(sheet.left() + 2.5, y), QPointF(sheet.right() - 2.5, y));
}

void drawCopy(QPainter& p) {
  drawSheet(p, QRectF(2.5, 2, 12, 14));
  drawSheet(p, QRectF(9.5, 8, 12, 14));
}

// Axes with arrow tips in the given square, the frame shared by the graph pictures.
void drawAxes(QPainter& p, const QRectF& box, qreal width) {
  p.setPen(inkPen(width));
  const qreal tip = box.width() * 0.12;
  p.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.right(), box.bottom()));
  p.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.left(), box.top()));
  p.drawPolyline(QPolygonF{{box.right() - tip, box.bottom() - tip},
                           {box.right(), box.bottom()},
                           {box.right() - tip, box.bottom() + tip}});
  p.drawPolyline(QPolygonF{{box.left() - tip, box.top() + tip},
                           {box.left(), box.top()},
                           {box.left() + tip, box.top() + tip}});
}

// One period of a sine over the box, starting and ending at its middle height.
QPainterPath sinePath(const QRectF& box, qreal periods = 1.0) {
  QPainterPath path;
  constexpr int Steps = 48;
  for (int i = 0; i <= Steps; ++i) {
    const qreal t = static_cast<qreal>(i) / Steps;
    const qreal y =
        box.center().y() - box.height() / 2 * std::sin(2 * std::numbers::pi * periods * t);
    const QPointF point(box.left() + t * box.width(), y);
    if (i == 0)
      path.moveTo(point);
    else
      path.lineTo(point);
  }
  return path;
}

void drawGear(QPainter& p, const QPointF& centre, qreal radius) {
  constexpr int Teeth = 8;
  QPolygonF outline;
  for (int i = 0; i < Teeth * 4; ++i) {
    // Each tooth: two points on the outer circle, then two on the root circle.
    const qreal angle = 2 * std::numbers::pi * (i - 0.5) / (Teeth * 4);
    const qreal r = (i % 4 < 2) ? radius : radius * 0.72;
    outline << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
  }
  p.setPen(inkPen(1.0));
  p.setBrush(QColor(0x8a, 0x94, 0xa6));
  p.drawPolygon(outline);
  p.setBrush(Paper);
  p.drawEllipse(centre, radius * 0.3, radius * 0.3);
}

void drawSetGraph(QPainter& p) {
  drawAxes(p, QRectF(3, 3, 16, 15), 1.5);
  p.setPen(inkPen(1.8, QColor(0xd0, 0x30, 0x30)));
  p.setBrush(Qt::NoBrush);
  p.drawPath(sinePath(QRectF(4, 5, 13, 9)));
  drawGear(p, QPointF(17.5, 17.5), 6);
}

void drawSetFunction(QPainter& p) {
  QFont font(QStringLiteral("serif"));
  font.setItalic(true);
  font.setBold(true);
  font.setPixelSize(15);
  p.setFont(font);
  p.setPen(QColor(0x1f, 0x4f, 0xa8));
  p.drawText(QRectF(0, 0, Grid, Grid), Qt::AlignCenter, QStringLiteral("f(x)"));
}

void drawTrash(QPainter& p) {
  p.setPen(inkPen());
  p.setBrush(QColor(0xb8, 0xc0, 0xcc));
  const QPolygonF body{{5.5, 7}, {18.5, 7}, {17, 22}, {7, 22}};
  p.drawPolygon(body);
  p.setPen(inkPen(1.2));
  for (qreal x : {9.5, 12.0, 14.5})
    p.drawLine(QPointF(x, 10), QPointF(x, 19.5));
  p.setPen(inkPen());
  p.setBrush(QColor(0x8a, 0x94, 0xa6));
  p.drawRoundedRect(QRectF(3.5, 4, 17, 3), 1, 1);
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(9.5, 1.5, 5, 2.5), 1, 1);
}

void drawRedraw(QPainter& p) {
  const QColor green(0x2a, 0x9d, 0x3a);
  const QRectF ring(4, 4, 16, 16);
  p.setPen(QPen(green, 3.0, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  // Qt counts angles in sixteenths of a degree, counter-clockwise from three o'clock.
  p.drawArc(ring, 100 * 16, 280 * 16);
  // The arrow head at the arc's open end (at the top), pointing on clockwise.
  p.setPen(Qt::NoPen);
  p.setBrush(green);
  p.drawPolygon(QPolygonF{{11.5, 0.5}, {17.5, 4.2}, {11.5, 7.9}});
}

void drawFont(QPainter& p) {
  QFont font(QStringLiteral("serif"));
  font.setBold(true);
  font.setPixelSize(21);
  p.setFont(font);
  p.setPen(Ink);
  p.drawText(QRectF(0, -1.5, Grid, Grid), Qt::AlignCenter, QStringLiteral("A"));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd0, 0x30, 0x30));
  p.drawRect(QRectF(4, 20.5, 16, 2.5));
}

void drawColor(QPainter& p) {
  const QColor swatches[] = {
      {0xe0, 0x30, 0x30}, {0x30, 0xa8, 0x40}, {0x2f, 0x6f, 0xc8}, {0xf5, 0xc4, 0x1b}};
  p.setPen(inkPen(1.2));
  for (int i = 0; i < 4; ++i) {
    p.setBrush(swatches[i]);
    p.drawRoundedRect(QRectF(2.5 + (i % 2) * 10, 2.5 + (i / 2) * 10, 9, 9), 1.5, 1.5);
  }
}

void drawProgram(QPainter& p) {
  p.setPen(inkPen(1.0, QColor(0x50, 0x60, 0x78)));
  p.setBrush(QColor(0xff, 0xff, 0xe0));
  p.drawRoundedRect(QRectF(1, 1, 22, 22), 3, 3);
  p.setPen(inkPen(0.5, QColor(0xc8, 0xcc, 0xb4)));
  for (qreal v : {7.0, 17.0}) {
    p.drawLine(QPointF(v, 3), QPointF(v, 21));
    p.drawLine(QPointF(3, v), QPointF(21, v));
  }
  p.setPen(inkPen(1.3));
  p.drawLine(QPointF(3, 12), QPointF(21, 12));
  p.drawLine(QPointF(12, 21), QPointF(12, 3));
  p.setPen(inkPen(2.0, QColor(0xd0, 0x30, 0x30)));
  p.setBrush(Qt::NoBrush);
  p.drawPath(sinePath(QRectF(3.5, 5, 17, 14)));
}

void drawPicture(QPainter& p, ShellPicture picture) {
  switch (picture) {
  case ShellPicture::New:
    return drawNew(p);
  case ShellPicture::Open:
    return drawOpen(p);
  case ShellPicture::Save:
    return drawSave(p);
  case ShellPicture::Copy:
    return drawCopy(p);
  case ShellPicture::SetGraph:
    return drawSetGraph(p);
  case ShellPicture::SetFunction:
    return drawSetFunction(p);
  case ShellPicture::Trash:
    return drawTrash(p);
  case ShellPicture::Redraw:
    return drawRedraw(p);
  case ShellPicture::Font:
    return drawFont(p);
  case ShellPicture::Color:
    return drawColor(p);
  case ShellPicture::Program:
    return drawProgram(p);
  }
}

// Grey of the same lightness, drawn paler, with the transparency kept.
QPixmap greyed(const QPixmap& pixmap) {
  QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = 128 + qGray(line[x]) / 2;
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 3);
    }
  }
  QPixmap result = QPixmap::fromImage(image);
  result.setDevicePixelRatio(pixmap.devicePixelRatio());
  return result;
}

} // namespace

QPixmap shellPicture(ShellPicture picture, int size) {
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(size / Grid, size / Grid);
  drawPicture(painter, picture);
  return pixmap;
}

QIcon shellIcon(ShellPicture picture) {
  QIcon icon;
  for (int size : {16, 25, 32, 48, 64, 128, 256}) {
    const QPixmap pixmap = shellPicture(picture, size);
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(greyed(pixmap), QIcon::Disabled);
  }
  return icon;
}
