// A sampled curve drawn on a canvas in the canvas's pen, with the canvas's pixel rules.
#pragma once

#include "GraphMapping.h"
#include "SampledCurve.h"

class Canvas;

// Each piece is drawn from point to point as the screen draws its lines, without the end
// pixel of the last one unless the piece is closed; each band is drawn down its column over
// the rows of its range that lie on the plot.
void drawCurve(Canvas& canvas, const GraphMapping& mapping, const SampledCurve& curve);
