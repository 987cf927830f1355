#include "ColorChoice.h"

#include "QtObjects.h"

#include <QColorDialog>

std::optional<GraphColor> chooseColor(GraphColor colour, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(toQColor(colour), parent);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}
