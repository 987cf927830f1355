// Printing the graph: its scene, the one the PDF export draws, painted as vectors on a page
// of a printer.
#pragma once

class QPrinter;
struct GraphScene;

// Paints the scene on one page, as large as the printable area allows with its aspect kept:
// centred across the page and at its top, so that the rest of a page below a wide graph is
// free for writing. The printer takes the graph's resolution, 96 dots per inch; the page stays
// a vector one. False when the printer cannot be painted on (a file that cannot be written).
bool printGraph(const GraphScene& scene, QPrinter& printer);
