// The one place where the graph's colours, pens, brushes and fonts become Qt's.
#pragma once

#include "GraphBrush.h"
#include "GraphColor.h"
#include "GraphFont.h"
#include "GraphPen.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>

// An RGB colour as it is; a system colour from the application palette (table in QtObjects.cpp),
// black for a system colour index without an entry.
QColor toQColor(GraphColor color);
// The RGB value of a Qt colour, for storing a colour the user picked.
GraphColor fromQColor(const QColor& color);

// Widths below 1 become 1. Inside-frame draws as solid: it differs only for closed shapes.
QPen toQPen(const TPen& pen);
// A style number without a meaning fills solid.
QBrush toQBrush(const TBrush& brush);
// The font without its colour, which text drawing takes from toQColor(font.Color). Qt picks
// glyphs by script, so the character set has no counterpart. Sizes below 1 point become 1.
QFont toQFont(const TFont& font);
// A font the user chose in the font dialog, as the graph keeps it: typeface, size in points
// (from a pixel size at 96 dots per inch when the font has none) and style bits. The dialog
// offers no character set or colour, so those of base stay.
TFont fromQFont(const QFont& chosen, TFont base);
