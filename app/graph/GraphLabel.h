// TGraphLabel: a free text label lying on a graph control, moved by dragging it with the left
// button and edited with the right button in TGraphLabelDlg.
#pragma once

#include "GraphColor.h"
#include "GraphFont.h"
#include "GraphLabels.h"

#include <QDialog>
#include <QLabel>
#include <QPoint>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TFuncGraph;

// A widget that takes part in dragging a label: while a label is dragged over it, it is asked
// whether it accepts the dragged object at pos (in its own coordinates); a drop on it follows
// only when it accepted the last position.
class TDragTarget {
public:
  virtual bool DragOver(QObject* source, QPoint pos) = 0;
  virtual void DragDrop(QObject* source, QPoint pos) = 0;

protected:
  ~TDragTarget() = default;
};

class TGraphLabel : public QLabel, public TDragTarget {
  Q_OBJECT

public:
  // A visible, transparent, self-sizing label showing plain text, with slot number tag. It
  // takes the graph's font (the default font) and the graph's colour (its back brush colour).
  TGraphLabel(TFuncGraph* graph, std::int32_t tag);
  ~TGraphLabel() override;

  QString Caption() const { return text(); }
  void setCaption(const QString& caption);
  const TFont& Font() const { return m_font; }
  void setFont(const TFont& font);
  GraphColor Color() const { return m_color; }
  void setColor(GraphColor color) { m_color = color; }
  std::int32_t Left() const { return x(); }
  std::int32_t Top() const { return y(); }
  std::int32_t Tag() const { return m_tag; }
  void setTag(std::int32_t tag) { m_tag = tag; }
  QPoint GrabOffset() const { return m_grab; }
  // The graph point the label is pinned to; none for a label that stays on its pixels.
  const std::optional<LabelPin>& Pin() const { return m_pin; }
  void setPin(const std::optional<LabelPin>& pin) { m_pin = pin; }
  // Pins the label to the graph point under its top-left corner, or lets it go.
  void setPinned(bool pinned);
  QSize sizeHint() const override;

  // Another label dragged over this one moves as over the graph.
  bool DragOver(QObject* source, QPoint pos) override;
  void DragDrop(QObject* source, QPoint pos) override;

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  // A left press arms the drag; it starts once the pointer has moved the drag distance.
  struct Drag {
    bool armed = false;
    bool active = false;
    bool cursorSet = false;
    QPoint pressGlobal;
  };

  // Asks the drag target under the global position to take this label, and with drop drops it
  // there when it did; true when it did.
  bool dragTo(QPoint global, bool drop);
  void showDragCursor(bool accepted);
  void endDrag();

  TFuncGraph* m_graph;
  TFont m_font;
  GraphColor m_color;
  std::int32_t m_tag;
  QPoint m_grab;
  Drag m_drag;
  std::optional<LabelPin> m_pin;
};

// The label edit dialog: the caption in the label's font, a font button, and OK. Closing it by
// its frame cancels; the label changes only on OK.
class TGraphLabelDlg : public QDialog {
  Q_OBJECT

public:
  explicit TGraphLabelDlg(QWidget* parent = nullptr);
  // Runs the dialog for the label (nothing happens for none); returns the dialog's result.
  int Execute(TGraphLabel* label);

  QLineEdit* EditLabelCaption;
  QToolButton* btnFont;
  QCheckBox* CheckPin; // 座標に固定: the label stays on its graph point

private:
  void btnFontClick();
  // Lets the edit follow its font, then makes the dialog that much taller than the edit.
  void fitHeight(int difference);

  QPushButton* BitBtn1;
  // The font being edited: it changes only when a font is chosen.
  TFont editedFont;
};
