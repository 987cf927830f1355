// The fonts of Kurvo's windows, named as the program names them; the font substitutes draw
// them with an installed Japanese face.
#pragma once

#include <QFont>
#include <QString>

// A font of the family at a height in pixels.
inline QFont pixelFont(const QString& family, int pixels) {
  QFont font(family);
  font.setPixelSize(pixels);
  return font;
}

// The font of every window and dialog: "ＭＳ Ｐゴシック", 12 pixels high.
inline QFont formFont() {
  return pixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12);
}
