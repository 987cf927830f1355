// The calculus marks in a graph document: a section per tangent ("[Tangent01]" .., keys Slot
// and X) and per area ("[Area01]" .., keys Slot, Other, From and To), and a key per slot whose
// derivative curve is drawn ("Func01Derivative=1" in [Function]). Nothing is written for a graph
// without them.
#pragma once

#include "GraphCalculus.h"

class IniFile;

// Sections beyond the marks, left from a save with more of them, are erased.
void WriteCalculus(IniFile& ini, const GraphCalculus& calculus);
// A section whose slot is not 1..5, or whose points cannot be read as finite numbers, is
// skipped.
GraphCalculus ReadCalculus(const IniFile& ini);
