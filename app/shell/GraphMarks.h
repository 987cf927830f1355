// TGraphMarks: a point marked on a graph, drawn over it as a small circle with its coordinates
// beside it. It lies on the graph as a child that lets the mouse through, so the graph and its
// labels work as before; the mark is never part of the graph's picture or document, and it
// vanishes when the graph draws its curves again or changes size.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class TFuncGraph;

class TGraphMarks : public QWidget {
  Q_OBJECT

public:
  static constexpr int Radius = 4;

  explicit TGraphMarks(TFuncGraph* graph);

  // Replaces the mark: the point in graph coordinates, its colour and the text beside it.
  void setMark(long double x, long double y, const QColor& color, const QString& text);
  void clearMarks();
  bool hasMark() const { return mark.has_value(); }
  // The mark's centre in the graph's pixels.
  QPoint markPixel() const;

protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Mark {
    long double x;
    long double y;
    QColor color;
    QString text;
  };

  TFuncGraph* graph;
  std::optional<Mark> mark;
};
