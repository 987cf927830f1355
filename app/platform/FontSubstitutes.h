// The typefaces that graphs and windows name ("ＭＳ Ｐゴシック", "ＭＳ ゴシック") are kept as
// names in documents; these substitutes draw them with an installed Japanese font.
#pragma once

// Registers the substitutes with Qt's font matching; call once after the application object
// exists and before any text is measured.
void installFontSubstitutes();
