// kurvo-render's text output for scripts: the notable points of a loaded graph's curves, and
// a value table of its used slots.
#pragma once

#include "ValueTable.h"

#include <QString>

#include <optional>

class TFuncGraph;

// "START,STEP,COUNT"; nothing unless START and STEP are numbers and COUNT a whole number that
// together make a valid span.
std::optional<TableSpan> parseTableSpan(const QString& text);

// One line per point, "KIND<TAB>SLOTS<TAB>X<TAB>Y", in the analysis order.
void printPoints(const TFuncGraph& graph);

// A header "x<TAB>f1..." naming the used slots, then one row per x; a failed value is empty.
void printTable(const TFuncGraph& graph, const TableSpan& span);
