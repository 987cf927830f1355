// Two small pictures of the pen dialogs: a pen's sample line and a filled colour rectangle.
#pragma once

#include "GraphColor.h"
#include "GraphPen.h"

#include <QWidget>

#include <functional>

// A transparent picture of a pen: a horizontal line through the middle row, across the whole
// width. It asks for the pen each time it paints, so it always shows the pen as it is now;
// with no pen it shows nothing. A click raises `clicked`.
class TPenSample : public QWidget {
  Q_OBJECT

public:
  using PenSource = std::function<const TPen*()>;

  explicit TPenSample(PenSource source, QWidget* parent = nullptr);

signals:
  void clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  PenSource penSource;
};

// A rectangle filled with a colour inside a black one-pixel frame.
class TColorShape : public QWidget {
public:
  explicit TColorShape(QWidget* parent = nullptr) : QWidget(parent) {}

  GraphColor Color() const { return color; }
  void setColor(GraphColor value);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  GraphColor color = kWhite;
};
