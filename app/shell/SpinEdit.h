// TSpinEdit: an integer box with up and down arrows. Its value is read from its text at every
// use, so the text may hold anything typed; a text that is not an integer counts as the lower
// bound of a bounded box and as 0 for an unbounded one. Every step is one: the arrows, the up
// and down keys and, in a box that can be typed into, each notch of the mouse wheel. Page Up
// and Page Down do not step.
#pragma once

#include <QAbstractSpinBox>

class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  // A bounded box shows values clamped into min..max; a new box is unbounded.
  void setRange(int min, int max);
  // Off: only the arrows and the arrow keys change the value; nothing can be typed and the
  // wheel passes the box by.
  void setEditorEnabled(bool enabled);

  int value() const;
  // Shows the value, clamped when the box is bounded.
  void setValue(int value);
  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

signals:
  // Every change of the text, by typing, by the arrows or by setValue. Also raised when setValue
  // had to clamp a value although the text stayed the same, so that a listener that writes the
  // shown value back never keeps a value the box does not show.
  void changed();

protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  int clamped(long long value) const;
  static bool isTypeable(QChar c);

  bool bounded = false;
  int minValue = 0;
  int maxValue = 0;
  // The part of the wheel's turn not yet taken as a step (a notch is 120).
  int wheelRemainder = 0;
};
