// The status bar's text of the graph coordinates under the mouse, and the width its panel needs
// so that no text of that form is ever cut.
#pragma once

#include <QString>

class QFontMetrics;

// "(x,y)", each value in the general number format with three significant digits.
QString CoordinatesText(long double x, long double y);

// At least the width of every text CoordinatesText can give, in the font of the metrics.
int WidestCoordinatesText(const QFontMetrics& metrics);
