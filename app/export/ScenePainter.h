// Paints a graph scene with a painter on any device whose units are the graph's pixels.
//
// The screen ANDs the curves over the background. The vector devices at hand write no blend
// modes, so the painting gives the same look by its order and colours instead: the text cells,
// then the curves in their colour ANDed with a solid back colour, then the axis lines and the
// text glyphs over them (black, as the axes draw them, ANDed with anything stays black), the
// legend over those, and the labels last, as Copy draws them over everything.
#pragma once

class QPainter;
struct GraphScene;

void paintScene(const GraphScene& scene, QPainter& painter);
