#include "FontChoice.h"

#include "QtObjects.h"

#include <QFontDialog>

std::optional<TFont> chooseFont(const TFont& font, QWidget* parent) {
  QFontDialog dialog(parent);
  dialog.setCurrentFont(toQFont(font));
  const TFont shown = fromQFont(dialog.currentFont(), font);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const TFont chosen = fromQFont(dialog.selectedFont(), font);
  TFont result = font;
  if (chosen.Name != shown.Name) result.Name = chosen.Name;
  if (chosen.Size != shown.Size) result.Size = chosen.Size;
  result.Style ^= chosen.Style ^ shown.Style; // the bits the user switched
  return result;
}
