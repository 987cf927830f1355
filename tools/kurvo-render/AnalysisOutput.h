// kurvo-render's text output for scripts: the notable points of a loaded graph's curves, and
// a value table of its used slots.
#pragma once

#include "ValueTable.h"

#include <QString>

#include <optional>
#include <utility>

class TFuncGraph;

// "START,STEP,COUNT"; nothing unless START and STEP are numbers and COUNT a whole number that
// together make a valid span.
std::optional<TableSpan> parseTableSpan(const QString& text);

// One line per point, "KIND<TAB>SLOTS<TAB>X<TAB>Y", in the analysis order.
void printPoints(const TFuncGraph& graph);

// A header "x<TAB>f1..." naming the used slots, then one row per x; a failed value is empty.
void printTable(const TFuncGraph& graph, const TableSpan& span);

// "A,B": two decimal numbers, each also -inf or inf.
std::optional<std::pair<double, double>> parseBounds(const QString& text);
// One line per used slot, "N<TAB>VALUE<TAB>ERROR", or "N<TAB><TAB><TAB>MESSAGE" without a value.
void printIntegrals(const TFuncGraph& graph, double a, double b);
// One line per used slot, "N<TAB>SLOPE", or "N<TAB><TAB>MESSAGE" without a slope.
void printSlopes(const TFuncGraph& graph, double x);
