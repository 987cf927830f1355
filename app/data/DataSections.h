// The data sets in a graph document: one section per set, "[Data01]" to "[Data08]" in the
// graph's order, written only for a graph that has sets. A section holds
//
//   Name=Messung 1
//   MarkerShape=0          MarkerShape's stored number
//   MarkerSize=7           pixels
//   MarkerColor=11826975   a colour as the document writes colours
//   Line=0                 1: a line through the points, with the pen below
//   LinePenColor=11826975  the pen group "Line" (PenColor, PenStyle, PenWidth)
//   LinePenStyle=0
//   LinePenWidth=1
//   Hidden=0
//   Points1=0,1.5;0.1,1.75;...
//   Points2=...
//
// The points are "x,y" pairs joined by ';', as many to a key as fit in the document's
// 1023-byte values, each number in the shortest form that reads back as the same double (never
// more than the 17 significant digits of "%.17g", usually far fewer: 0.1 stays "0.1"), so the
// points round-trip bit for bit.
#pragma once

#include "DataSet.h"

class IniFile;

// Writes each set into a section of its own, rewritten whole: the section of a set is erased
// first, so no key of an earlier save with more points stays, and sections beyond the sets are
// erased too. A graph without sets writes nothing: its document stays as it was byte for byte.
void WriteDataSets(IniFile& ini, const DataSets& sets);
// The sets of the sections "[Data01]" to "[Data08]" that exist, in that order. A damaged
// section loads what it can: a missing or malformed setting takes its default, a pair that is
// not two finite numbers is skipped, and the points keys are taken in their number's order
// whatever their order in the file, gaps and all. At most DataSet::MaxTotalPoints points are
// read in all.
DataSets ReadDataSets(const IniFile& ini);
