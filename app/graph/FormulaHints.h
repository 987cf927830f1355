// formulaHint: a word on the first likely slip in a formula, read left to right: a spelling
// the engine reads otherwise than the writer probably meant (-x^2, sinx, 2^3^2) or that
// other programs know and this engine does not (ln, |x|, 1e-3, 2x, x²). A linear scan of the
// text, without the engine, cheap enough for every keystroke.
#pragma once

#include <QString>

// The hint for the first slip found; empty when there is none.
QString formulaHint(const QString& formula);
