#include "SpinEdit.h"

#include "NumberFormat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <optional>

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  // The value lives in the text only; the base class keeps no value of its own to track.
  setKeyboardTracking(false);
  lineEdit()->setText(QStringLiteral("0"));
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::changed);
}

void TSpinEdit::setRange(int min, int max) {
  bounded = true;
  minValue = min;
  maxValue = std::max(min, max);
}

void TSpinEdit::setEditorEnabled(bool enabled) {
  lineEdit()->setReadOnly(!enabled);
}

int TSpinEdit::value() const {
  const std::optional<std::int32_t> typed = textToInteger(text());
  if (!typed) return bounded ? minValue : 0;
  return clamped(*typed);
}

void TSpinEdit::setValue(int value) {
  const int shown = clamped(value);
  const QString text = QString::number(shown);
  if (lineEdit()->text() != text)
    lineEdit()->setText(text);
  else if (shown != value)
    emit changed();
}

void TSpinEdit::stepBy(int steps) {
  setValue(clamped(static_cast<long long>(value()) + steps));
  selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
  return std::all_of(input.cbegin(), input.cend(), isTypeable) ? QValidator::Acceptable
                                                               : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
  const int current = value();
  StepEnabled enabled = StepNone;
  if (current < (bounded ? maxValue : std::numeric_limits<int>::max())) enabled |= StepUpEnabled;
  if (current > (bounded ? minValue : std::numeric_limits<int>::min())) enabled |= StepDownEnabled;
  return enabled;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  // The base class would step by ten; the keys are left to the window.
  if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
    event->ignore();
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
  const bool refused =
      lineEdit()->isReadOnly() || !std::all_of(typed.cbegin(), typed.cend(), isTypeable);
  if (printable && refused) {
    QApplication::beep();
    event->accept();
    return;
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  if (bounded) setValue(value());
  QAbstractSpinBox::focusOutEvent(event);
}

// The base class steps by ten while Ctrl is held.
void TSpinEdit::wheelEvent(QWheelEvent* event) {
  if (lineEdit()->isReadOnly()) {
    event->ignore();
    return;
  }
  constexpr int Notch = 120;
  wheelRemainder += event->angleDelta().y();
  const int steps = wheelRemainder / Notch;
  wheelRemainder -= steps * Notch;
  if (steps != 0) stepBy(steps);
  event->accept();
}

int TSpinEdit::clamped(long long value) const {
  const long long low = bounded ? minValue : std::numeric_limits<int>::min();
  const long long high = bounded ? maxValue : std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(value, low, high));
}

bool TSpinEdit::isTypeable(QChar c) {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}
