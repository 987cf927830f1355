// The parameters in a graph document: one section per row, "[Parameter01]" to "[Parameter32]"
// in row order, with the keys Name, Value, Min and Max.
#pragma once

#include "GraphParameters.h"

class IniFile;

// Writes a section per stored row; sections beyond the rows, left from a save with more of them, are
// erased so that they do not come back on loading. A graph without parameters writes nothing.
void WriteParameters(IniFile& ini, const GraphParameters& parameters);
// The rows of the sections in number order. A section whose Name is no parameter name, or a
// name already read, is skipped; a value that is missing, not a number or not finite takes its
// default, and so does a range that does not rise; a value outside its range widens it.
GraphParameters ReadParameters(const IniFile& ini);
