// The font dialog for a font of the graph. The dialog can only show installed faces: a typeface
// that the graph names but draws with a substitute ("ＭＳ Ｐゴシック") is shown as some other
// face. What the user leaves as the dialog showed it therefore keeps the graph's own value.
#pragma once

#include "GraphFont.h"

#include <optional>

class QWidget;

// Runs the font dialog on font; nothing when the user cancels. The typeface, the size and each
// style bit the user changed come from the dialog; the others, and the character set and colour,
// which the dialog does not offer, stay as they are in font.
std::optional<TFont> chooseFont(const TFont& font, QWidget* parent);
