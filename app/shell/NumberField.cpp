#include "NumberField.h"

#include "KurvoError.h"
#include "NumberFormat.h"

#include <QLineEdit>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString notAFloatText(const QString& text) {
  return QStringLiteral("'%1' は浮動小数点数ではありません").arg(text);
}

// The number as a double; nothing beyond the range of double, where the conversion is undefined.
std::optional<double> asDouble(long double number) {
  if (!(std::fabs(number) <= std::numeric_limits<double>::max())) return std::nullopt;
  return static_cast<double>(number);
}

bool reads(long double shown, long double value) {
  return shown == value;
}

bool reads(long double shown, double value) {
  return asDouble(shown) == value;
}

template <class Real> void refresh(QLineEdit* field, Real value) {
  if (field->isModified()) return;
  const std::optional<long double> shown = localeTextToFloat(field->text());
  if (shown && reads(*shown, value)) return;
  showFieldNumber(field, value);
}

} // namespace

void refuseField(QLineEdit* field, const QString& message) {
  field->setFocus();
  field->selectAll();
  throw KurvoError(message);
}

long double fieldNumber(QLineEdit* field) {
  const std::optional<long double> value = localeTextToFloat(field->text());
  if (!value) refuseField(field, notAFloatText(field->text()));
  return *value;
}

double fieldDouble(QLineEdit* field) {
  const std::optional<double> value = asDouble(fieldNumber(field));
  if (!value) refuseField(field, notAFloatText(field->text()));
  return *value;
}

int fieldInteger(QLineEdit* field, int least, int most) {
  const std::optional<std::int32_t> value = textToInteger(field->text());
  if (!value || *value < least || *value > most)
    refuseField(field, QStringLiteral("'%1' は %2 から %3 までの整数ではありません")
                           .arg(field->text())
                           .arg(least)
                           .arg(most));
  return *value;
}

void showFieldNumber(QLineEdit* field, long double value) {
  field->setText(formatGeneral(value));
  field->setCursorPosition(0);
  field->setModified(false);
}

void refreshFieldNumber(QLineEdit* field, long double value) {
  refresh(field, value);
}

void refreshFieldNumber(QLineEdit* field, double value) {
  refresh(field, value);
}
